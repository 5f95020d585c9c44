// Helpers for the GUI tests: a message service and file dialogs that answer from a
// script, a generated language file, and a started program on private settings.
#pragma once

#include "app/app_settings.h"
#include "app/application.h"
#include "app/message_service.h"
#include "file/file_dialogs.h"

#include <QPair>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <memory>
#include <vector>

namespace vrl::gui::test {

// Answers questions in order; when the script runs out it answers `fallback`.
class ScriptedMessages : public MessageService {
  public:
    QMessageBox::StandardButton ask(const Request& request) override;
    void answer(std::initializer_list<QMessageBox::StandardButton> answers) {
        answers_.insert(answers_.end(), answers.begin(), answers.end());
    }
    QMessageBox::StandardButton fallback = QMessageBox::Ok;
    std::vector<Request> asked;
    QStringList texts() const;
    void clear() { asked.clear(); answers_.clear(); }

  private:
    std::deque<QMessageBox::StandardButton> answers_;
};

class ScriptedFileDialogs : public FileDialogs {
  public:
    QString openFile(QWidget*, const QString& folder) override {
        openFolders << folder;
        return take(openAnswers);
    }
    QString saveFile(QWidget*, const QString& proposed) override {
        saveProposals << proposed;
        return take(saveAnswers);
    }
    QString openTable(QWidget*, const QString&, const QString& folder,
                      const QStringList& filters) override {
        openFolders << folder;
        tableFilters = filters;
        return take(openAnswers);
    }
    QString saveTable(QWidget*, const QString&, const QString& proposed, const QStringList& filters,
                      int& filter) override {
        saveProposals << proposed;
        tableFilters = filters;
        filter = saveFilter;
        return take(saveAnswers);
    }
    std::optional<int> chooseGroup(QWidget*, const QString&, const QString&, int last,
                                   int proposed) override {
        groupQuestions << QPair<int, int>(last, proposed);
        if (groupAnswers.isEmpty()) return std::nullopt;
        return groupAnswers.takeFirst();
    }
    QStringList openAnswers, saveAnswers, openFolders, saveProposals;
    // The table choosers: the filters offered, the filter index a save answers
    // with, the group answers and the (last, proposed) of each group question.
    QStringList tableFilters;
    int saveFilter = 0;
    QList<int> groupAnswers;
    QList<QPair<int, int>> groupQuestions;

  private:
    static QString take(QStringList& list) { return list.isEmpty() ? QString() : list.takeFirst(); }
};

// A language file of `languages` columns: row 0 the font face, row 1 the height, every
// other row "L<language>:<row>", rows 564... the language names "Lang0", "Lang1", ...
// Row 85 carries an accelerator ("&New\tCtrl+N"), rows 84 and 117 menu captions.
QByteArray languageFileBytes(int languages = 2);
void writeLanguageFile(const QString& path, int languages = 2);

// The text a generated file holds for a row in language 0.
QString textOf(int row);

// A program started on settings in a private INI file and a generated language file
// beside a fake executable folder.
struct StartedApp {
    QTemporaryDir dir;
    std::unique_ptr<AppSettings> settings;
    ScriptedMessages messages;
    ScriptedFileDialogs files;
    std::unique_ptr<CVrl73mApp> app;
    // Answers the program's questions instead of `messages` when set before start().
    MessageService* messageService = nullptr;

    // Creates the folder, the language file and the settings file; call setting()
    // before start().
    StartedApp(int languages = 2, bool withLanguageFile = true);
    void setting(const QString& name, const QVariant& value);
    // `show` shows the main window as the program does (default: hidden).
    bool start(const QStringList& args = {}, bool show = false);
    QString iniPath() const { return dir.path() + "/settings.ini"; }
};

} // namespace vrl::gui::test
