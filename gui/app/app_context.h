// What every window of the desktop program reaches: the one document, the language
// table, the message service and the notifications that keep open windows in step.
// Windows hold no data of their own; they read and write the image through the
// core accessors and refresh when told.
#pragma once

#include "app/message_service.h"
#include "lang/language_table.h"
#include "model/edit_history.h"
#include "model/radio_data.h"

#include <QFont>
#include <QObject>
#include <QString>

namespace vrl {
class ChannelPlanEditor;
}

namespace vrl::gui {

class FileDialogs;

// Language text shown instead of a file name while the data have none.
inline constexpr int kTextUntitled = 77;

class AppContext : public QObject {
    Q_OBJECT
  public:
    AppContext(RadioData& data, LanguageTable& lang, MessageService& messages)
        : data_(data), lang_(lang), messages_(messages) {
        history_.reset(data_.image);
        // New, Open and a radio read start a new history.
        connect(this, &AppContext::dataReplaced, this, &AppContext::resetHistory);
    }

    RadioData& data() { return data_; }
    LanguageTable& lang() { return lang_; }
    MessageService& messages() { return messages_; }

    // Language text of an index in the current language.
    QString text(int index) const { return QString::fromUtf8(lang_.text(index).c_str()); }
    // Text of the supplement by key ("fleet.title"), for the newer windows.
    QString text(const char* key) const { return QString::fromUtf8(lang_.text(key).c_str()); }
    // The current language's font, set on every control of a window when it opens.
    QFont font() const {
        const auto spec = lang_.font(lang_.currentLanguage());
        QFont f(QString::fromUtf8(spec.face.c_str()));
        f.setPixelSize(spec.pixelHeight > 0 ? spec.pixelHeight : 13);
        return f;
    }

    // The serial port number 1-20 ("ComPort"); the radio link reads it when it opens
    // the port and the Communication Port dialog changes it.
    int comPort() const { return comPort_; }
    // "Verify after writing" ("VerifyAfterWrite", on unless stored as 0): a radio
    // write reads its blocks back.
    bool verifyAfterWrite() const { return verifyAfterWrite_; }
    void setVerifyAfterWrite(bool on) { verifyAfterWrite_ = on; }
    void setComPort(int port) {
        comPort_ = port;
        emit comPortChanged(port);
    }

    // The current data file: full path; its name is the last path component.
    const QString& currentFilePath() const { return filePath_; }
    QString currentFileName() const;
    void setCurrentFilePath(const QString& path) {
        filePath_ = path;
        proposedName_.clear();
        nameChangedByProgram_ = false;
    }
    // A file name the user did not choose (the default name after a model change,
    // a name an undo step brought back): the next Save asks for the name first.
    void setProgramFilePath(const QString& path) {
        setCurrentFilePath(path);
        nameChangedByProgram_ = true;
    }
    bool saveAsksForName() const { return isUntitled() || nameChangedByProgram_; }
    // Data read from a radio belong to no file yet: the path keeps only the folder,
    // and Save asks for a name, proposing `proposedName` in that folder.
    void setUntitled(const QString& proposedName) {
        filePath_ = currentFolder();
        proposedName_ = proposedName;
    }
    bool isUntitled() const { return currentFileName().isEmpty(); }
    // The file name as the title and the questions show it ("Untitled" when none).
    QString shownFileName() const { return isUntitled() ? text(kTextUntitled) : currentFileName(); }
    // The path Save As proposes: the current file, or the proposed name of new data.
    QString proposedFilePath() const {
        return isUntitled() ? currentFolder() + proposedName_ : filePath_;
    }
    // The folder of the current file, with its trailing '/'.
    QString currentFolder() const;

    // The file dialogs of Open and Save As (replaced by tests).
    FileDialogs& fileDialogs();
    void setFileDialogs(FileDialogs* dialogs) { fileDialogs_ = dialogs; }

    // The channel store's side of a model change (deleting or adjusting trunking
    // groups); null until a channel store is registered.
    ChannelPlanEditor* channelPlanEditor() const { return channelPlanEditor_; }
    void setChannelPlanEditor(ChannelPlanEditor* editor) { channelPlanEditor_ = editor; }

    // The steps of Edit > Undo and Edit > Redo.
    EditHistory& history() { return history_; }
    const EditHistory& history() const { return history_; }
    // One undo step for what was just committed, named `label` (the field's label,
    // the window's title); nothing when the image did not change.
    void recordEdit(const QString& label) {
        if (history_.record(data_.image, label.toStdString(), filePath_.toStdString()))
            emit historyChanged();
    }
    void resetHistory() {
        history_.reset(data_.image, filePath_.toStdString());
        emit historyChanged();
    }

  signals:
    // The image changed in a way other open windows show (a channel, a group, a key,
    // the DTMF signalling, ...): they reload their fields.
    void dataChanged();
    // The model identity changed (New, Open, Read, Model Information OK).
    void modelChanged();
    // The whole image was replaced by other data (New, Open, Read): what belongs to
    // the old data, such as the channel copy buffer, is dropped.
    void dataReplaced();
    // The language changed: windows re-read their texts and font.
    void languageChanged();
    void comPortChanged(int port);
    // A step was recorded, undone or redone, or the history was cleared.
    void historyChanged();

  private:
    RadioData& data_;
    LanguageTable& lang_;
    MessageService& messages_;
    int comPort_ = 1;
    bool verifyAfterWrite_ = true;
    QString filePath_;
    QString proposedName_;
    bool nameChangedByProgram_ = false;
    FileDialogs* fileDialogs_ = nullptr;
    ChannelPlanEditor* channelPlanEditor_ = nullptr;
    EditHistory history_;
};

} // namespace vrl::gui
