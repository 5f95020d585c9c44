// The help viewer: one non-modal window that shows the program's HTML help file at the
// section of a help topic. Sections are anchors named by the topic number in hex
// ("0x20095"); a topic without its own anchor shows its window's section, and a window
// without one shows the contents ("contents").
#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

class QTextBrowser;

namespace vrl::gui {

class CHelpViewer : public QWidget {
    Q_OBJECT
  public:
    // The anchor of the contents section.
    static QString contentsAnchor() { return QStringLiteral("contents"); }
    // "0x" followed by the topic number in upper-case hex digits.
    static QString anchorFor(int topic);

    // The one viewer window, or nullptr while none is open.
    static CHelpViewer* instance();
    // Creates the viewer when needed, shows `file` at the first of `topics` (anchor
    // names) that the file holds, else at its contents, and raises the window.
    static CHelpViewer* showFile(const QString& file, const QStringList& anchors);

    QTextBrowser* browser() const { return browser_; }
    QString file() const { return file_; }
    // The anchor the viewer was last opened at.
    QString currentAnchor() const { return anchor_; }
    // Every anchor name of the loaded document.
    QStringList anchors() const;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    CHelpViewer();
    void show(const QString& file, const QStringList& anchors);

    QTextBrowser* browser_;
    QString file_;
    QString anchor_;
};

namespace help {

// Where the help file is looked for and how a missing file is reported.
struct ViewerSetup {
    QStringList folders;                            // searched in order
    std::function<QString()> fileName;              // the help file's name (language text 3)
    std::function<void(const QString&)> reportMissing;
};

// The first of folder/fileName that is a readable file; empty when there is none.
QString findHelpFile(const QString& fileName, const QStringList& folders);

// Makes the viewer the program's help handler; uninstallViewer() restores the default
// handler and closes the viewer.
void installViewer(ViewerSetup setup);
void uninstallViewer();

// The help file the installed viewer opens, empty when none is installed or found.
QString helpFile();
// Opens the contents; without a help file reports it and returns false.
bool openContents();

} // namespace help

} // namespace vrl::gui
