#include "service/radio_guard.h"

#include "link/radio_hold.h"
#include "link/trunk_align_dlg.h"
#include "platform/signal_watch.h"
#include "service/test_mode_dlg.h"
#include "service/tuning_mode_dlg.h"

#include <QApplication>
#include <QPointer>
#include <QSessionManager>

namespace vrl::gui {

namespace {
// The windows to close, innermost first: Tuning Mode runs inside Test Mode.
template <typename Dialog> void closeAll() {
    for (QWidget* w : QApplication::allWidgets())
        if (auto* dlg = qobject_cast<Dialog*>(w); dlg && dlg->isVisible()) dlg->reject();
}
} // namespace

void endRadioWork() {
    endAllRadioHolds();
    closeAll<CTuningModeDlg>();
    closeAll<CTestModeDlg>();
    closeAll<CTrunkAlignDlg>();
}

void guardRadios(QObject* owner) {
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app) return;
    QObject::connect(app, &QGuiApplication::commitDataRequest, owner,
                     [](QSessionManager&) { endRadioWork(); });
    QObject::connect(app, &QCoreApplication::aboutToQuit, owner, [] { endRadioWork(); });
    platform::watchTerminationSignals(owner, [](int) {
        endRadioWork();
        // The same status as the command-line tool after a signal.
        QCoreApplication::exit(130);
    });
}

} // namespace vrl::gui
