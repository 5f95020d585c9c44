// vrl73m: the VRL-73M dealer programming tool.
//
// Besides the "/STEP" and "/SCR" switches the program knows two switches for the
// documentation: "--screenshot FILE" saves a picture of the main window and ends,
// "--screenshot-model-info FILE" does the same for the Model Information dialog.
// "--quit-when-shown" ends the program as soon as its main window is shown (the
// start-up benchmark). None of the three writes settings.

#include "app/app_settings.h"
#include "app/application.h"
#include "app/main_frame.h"
#include "app/qt_message_service.h"
#include "app/qt_translations.h"
#include "app/quit_on_first_paint.h"
#include "app/app_context.h"
#include "app/commands.h"
#include "model/model_info_dlg.h"
#include "service/radio_guard.h"

#include <QApplication>
#include <QEventLoop>
#include <QScreen>
#include <QTimer>

#include <clocale>
#include <cstdio>
#include <cstring>

namespace {

QString optionValue(const QStringList& args, const QString& name) {
    const qsizetype i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args.at(i + 1) : QString();
}

} // namespace

// Answered before any window system is needed.
constexpr const char* kUsage =
    "usage: vrl73m [/STEP] [/SCR] [--screenshot FILE] [--screenshot-model-info FILE]\n"
    "              [--quit-when-shown]\n"
    "       vrl73m --help | --version\n"
    "The VRL-73M dealer programming tool.\n"
    "  /STEP                        allow 1.25 kHz VHF channel steps\n"
    "  /SCR                         offer the scrambler settings\n"
    "  --screenshot FILE            save a picture of the main window and end\n"
    "  --screenshot-model-info FILE save a picture of the Model Information dialog and end\n"
    "  --quit-when-shown            end as soon as the main window is shown\n"
    "  --help                       show this text and end\n"
    "  --version                    show the version and end\n";

int main(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs("vrl73m " VRL_VERSION "\n", stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("NORVALE"));
    QApplication::setApplicationName(QStringLiteral("vrl73m"));
    // The user's locale for texts, dates and collation; numbers keep the '.' point.
    std::setlocale(LC_NUMERIC, "C");

    QStringList args = QApplication::arguments();
    args.removeFirst();
    const QString shotMain = optionValue(args, QStringLiteral("--screenshot"));
    const QString shotModel = optionValue(args, QStringLiteral("--screenshot-model-info"));

    vrl::gui::AppSettings settings;
    vrl::gui::QtMessageService messages;
    vrl::gui::CVrl73mApp vrlApp(settings, messages, vrl::gui::CVrl73mApp::Environment::current(args));
    if (!vrlApp.start()) return 1;
    // Quit, logout and termination signals unkey and release any radio first.
    vrl::gui::guardRadios(&app);
    vrl::gui::CMainFrame* frame = vrlApp.mainFrame();
    messages.setParentWidget(frame);
    messages.setFont(vrlApp.context().font());
    messages.setTextSource([&vrlApp](int index) { return vrlApp.context().text(index); });
    vrl::gui::QtTranslations qtTranslations;
    qtTranslations.apply(vrlApp.context().text(vrl::gui::kTextQtLocale));
    QObject::connect(&vrlApp.context(), &vrl::gui::AppContext::languageChanged, frame, [&] {
        messages.setFont(vrlApp.context().font());
        qtTranslations.apply(vrlApp.context().text(vrl::gui::kTextQtLocale));
    });

    if (args.contains(QStringLiteral("--quit-when-shown"))) {
        vrl::gui::QuitOnFirstPaint quit(frame);
        return QApplication::exec();
    }
    if (!shotMain.isEmpty() || !shotModel.isEmpty()) {
        QTimer::singleShot(600, frame, [&] {
            if (!shotMain.isEmpty()) {
                // The main window with its tree view beside the work area.
                frame->runCommand(vrl::gui::cmd::kTreeView);
                if (QWidget* tree = frame->treeView())
                    tree->move(frame->geometry().right() - tree->width() - 40,
                               frame->geometry().top() + 400);
                // Every window paints before the picture is taken.
                QEventLoop settle;
                QTimer::singleShot(300, &settle, &QEventLoop::quit);
                settle.exec();
                QScreen* screen = frame->screen();
                screen->grabWindow(0, frame->x(), frame->y(), frame->frameGeometry().width(),
                                   frame->frameGeometry().height())
                    .save(shotMain);
            }
            if (!shotModel.isEmpty()) {
                vrl::gui::CModelInfoDlg dlg(vrlApp.context(), frame);
                dlg.show();
                QApplication::processEvents();
                dlg.grab().save(shotModel);
            }
            QApplication::exit(0);
        });
        return QApplication::exec();
    }

    // The main frame's own close guard asks before the window closes; closing it ends
    // the program.
    const int rc = QApplication::exec();
    vrlApp.exit();
    return rc;
}
