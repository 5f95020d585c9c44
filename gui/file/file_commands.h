// The File commands Open, Save and Save As, and the modified-data prompt that
// guards New, Open, Exit and reading from the radio.
#pragma once

#include "file/safe_save.h"

#include <QString>

#include <string>

namespace vrl {
class CDataImage;
}

namespace vrl::gui {

class FrameHost;

class FileCommands {
  public:
    explicit FileCommands(FrameHost& host) : host_(host) {}

    // Open: the prompt, the file chooser, then the data of the chosen file; a file
    // that cannot be read or is no data file leaves the data as they were.
    void open();
    // Save to the current path, asking first when the file exists; data without a
    // file name go through Save As. True when written.
    bool save();
    // Save under a chosen name; the previous name comes back when writing fails.
    bool saveAs();
    // Unsaved data: ask whether to save them. False when the command that asked
    // must not go on: the user cancelled, or chose to save and the data were not
    // saved (the chooser was cancelled or writing failed), so nothing is lost.
    bool promptToSaveChanges();

    // Reads `path` as Open does after the chooser. True on success.
    bool openPath(const QString& path);
    // Reads the data file `path` into `into` (a scratch image, not the current
    // data); a file that cannot be read or is no data file is refused with the
    // message Open shows, and false.
    bool readFile(const QString& path, CDataImage& into);
    // Writes the current path and takes the snapshot; shows the failure message.
    bool writeCurrent();

    // A failed save of `path`: a protected file or folder is named with the reason,
    // other failures name the file and give the system's own text; `lead` (when
    // not empty) comes first.
    void showSaveFailure(const QString& path, SaveRefusal refusal, int systemError,
                         const std::string& detail, const QString& lead = {});

    // A file message says which file and why: `text` (when not empty), the path as
    // the system writes it, then the reason.
    static QString aboutFile(const QString& text, const QString& path, const QString& reason);

    // The name a file takes once opened: ".sdt" (any case) becomes ".dat".
    static QString openedName(const QString& path);
    // The name proposed for data read from a radio: the model label in characters
    // every file system takes, then the radio's serial number when it is known
    // ("RM-160A-128CH-K_A1234567.dat").
    static QString proposedName(const QString& modelLabel, const QString& serial);

  private:
    void showSystemError(const QString& path, int systemError, const QString& detail,
                         const QString& lead = {});

    FrameHost& host_;
};

} // namespace vrl::gui
