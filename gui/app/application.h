// CVrl73mApp: starts the program (settings, language file, fresh data for the
// remembered model, main frame) and writes the remembered values back at exit. It
// owns the long-lived objects every window reaches through the AppContext.
#pragma once

#include "lang/language_table.h"
#include "model/radio_data.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace vrl::gui {

class AppContext;
class AppSettings;
class CMainFrame;
class MessageService;

class CVrl73mApp {
  public:
    // Where the program looks for its files.
    struct Environment {
        QStringList arguments; // without the program name
        QString exeDir;
        QString currentDir;
        QString pathEnv;
        QString installDataDir; // <prefix>/share/vrl73m
        QString sourceDataDir;  // the source tree's data folder, for a build-tree run
        // Where data files go when the executable's folder is no place for them
        // (read-only, or a build tree); none when empty.
        QString userDataDir;
        // The running program's environment and build-time folders.
        static Environment current(const QStringList& arguments);
    };

    CVrl73mApp(AppSettings& settings, MessageService& messages, Environment env);
    ~CVrl73mApp();

    // Start-up; false ends the program (the language file could not be loaded).
    // `show` false keeps the main window hidden (tests).
    bool start(bool show = true);
    // Writes "LastModel", "ComPort", "LastFilePath" and "Language" when start-up had
    // completed.
    void exit();

    bool started() const { return started_; }
    RadioData& data() { return *data_; }
    LanguageTable& lang() { return lang_; }
    AppContext& context() { return *ctx_; }
    CMainFrame* mainFrame() { return frame_.get(); }
    // Where the language file was found.
    const QString& languageFile() const { return languageFile_; }

  private:
    bool loadLanguage();
    void loadSupplement();
    void restoreModel();
    void placeMainFrame(bool show);
    void installHelp();

    static constexpr int kHelpFileText = 3; // the help file's name

    AppSettings& settings_;
    MessageService& messages_;
    Environment env_;
    LanguageTable lang_;
    std::unique_ptr<RadioData> data_;
    std::unique_ptr<AppContext> ctx_;
    std::unique_ptr<CMainFrame> frame_;
    QString languageFile_;
    bool started_ = false;
};

} // namespace vrl::gui
