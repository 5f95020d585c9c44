// The file choosers of Open, Save As and Import / Export Channels, and the group
// question of the channel import, behind an interface, so that tests answer them
// without a person.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

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
    // An existing file in `folder`, offering the name `filters` (the first one
    // selected). Empty when cancelled.
    virtual QString openTable(QWidget* parent, const QString& title, const QString& folder,
                              const QStringList& filters) = 0;
    // A file name proposing `proposedPath`, offering `filters`; `filter` receives
    // the index of the chosen one. The chooser asks before replacing a file.
    virtual QString saveTable(QWidget* parent, const QString& title, const QString& proposedPath,
                              const QStringList& filters, int& filter) = 0;
    // A group number 1..`last`, proposing `proposed`; nullopt when cancelled.
    virtual std::optional<int> chooseGroup(QWidget* parent, const QString& title,
                                           const QString& label, int last, int proposed) = 0;
};

class QtFileDialogs : public FileDialogs {
  public:
    QString openFile(QWidget* parent, const QString& folder) override;
    QString saveFile(QWidget* parent, const QString& proposedPath) override;
    QString openTable(QWidget* parent, const QString& title, const QString& folder,
                      const QStringList& filters) override;
    QString saveTable(QWidget* parent, const QString& title, const QString& proposedPath,
                      const QStringList& filters, int& filter) override;
    std::optional<int> chooseGroup(QWidget* parent, const QString& title, const QString& label,
                                   int last, int proposed) override;
};

} // namespace vrl::gui
