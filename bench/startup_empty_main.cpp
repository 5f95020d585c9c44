// The reference for the start-up benchmark: an empty Qt main window that ends as
// soon as it is shown, the way vrl73m --quit-when-shown does.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.resize(1024, 720);
    window.show();
    QTimer::singleShot(0, &app, &QApplication::quit);
    return QApplication::exec();
}
