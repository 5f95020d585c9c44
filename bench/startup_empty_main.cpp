// The reference for the start-up benchmark: an empty Qt main window that ends when
// it has painted for the first time, the way vrl73m --quit-when-shown does.
// With "--with-text" the window has one menu and a status-bar text, so that it
// pays the font set-up that every window showing text pays.
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>

#include <cstdio>
#include <cstdlib>

namespace {
class QuitOnFirstPaint : public QObject {
  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            std::fflush(nullptr);
            std::_Exit(0); // as vrl73m --quit-when-shown: no tear-down in the timing
        }
        return false;
    }
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    QuitOnFirstPaint quit;
    window.installEventFilter(&quit);
    if (QApplication::arguments().contains(QStringLiteral("--with-text"))) {
        window.menuBar()->addMenu(QStringLiteral("&File"));
        window.statusBar()->showMessage(QStringLiteral("Ready"));
    }
    window.resize(1024, 720);
    window.show();
    return QApplication::exec();
}
