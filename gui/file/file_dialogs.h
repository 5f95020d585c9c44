// The Open and Save As file choosers behind an interface, so that tests pick files
// without a person.
#pragma once

#include <QString>

class QWidget;

namespace vrl::gui {

class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    // An existing .dat or .sdt file in `folder`; empty when cancelled.
    virtual QString openFile(QWidget* parent, const QString& folder) = 0;
    // A .dat file name, proposing `proposedPath`; the chooser asks before replacing
    // an existing file. Empty when cancelled.
    virtual QString saveFile(QWidget* parent, const QString& proposedPath) = 0;
};

class QtFileDialogs : public FileDialogs {
  public:
    QString openFile(QWidget* parent, const QString& folder) override;
    QString saveFile(QWidget* parent, const QString& proposedPath) override;
};

} // namespace vrl::gui
