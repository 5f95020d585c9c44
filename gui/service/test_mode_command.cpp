// The Program menu's Test Mode command: opens the port, brings the radio into its
// test state, checks it against the data and shows the Test Mode dialog; the radio
// leaves the test state and the port closes whichever way the dialog ends.
#include "app/app_context.h"
#include "app/commands.h"
#include "app/frame_host.h"
#include "app/registries.h"
#include "app/ui_helpers.h"
#include "history/history_recording.h"
#include "link/transfer.h"
#include "link/gui_transfer_ui.h"
#include "link/link_service.h"
#include "service/test_mode_dlg.h"
#include "service/tuning_mode_dlg.h"

namespace vrl::gui {

void runTestMode(FrameHost& host) {
    AppContext& ctx = host.context();
    {
        CommitFocus commit; // the test frequencies being edited are part of the check
    }
    GuiTransferUi ui(ctx, host.mainWindow());
    TestModeSession session(LinkService::of(ctx).link(), ctx.data(), ui);
    if (session.open() != kTestModeOk) { // refused or cancelled: already told
        recordTransfer(ctx, host.mainWindow(), history::kTestMode, kTransferStopped, nullptr, {}, false);
        return;
    }
    CTestModeDlg dlg(ctx, session, host.mainWindow());
    dlg.setTuningOpener([&ctx, &dlg](TestModeSession& s, int item) {
        return CTuningModeDlg::run(ctx, s, item, &dlg);
    });
    dlg.exec();
    const bool failed = session.failed();
    session.end();
    recordTransfer(ctx, host.mainWindow(), history::kTestMode, failed ? kTransferStopped : kTransferOk, nullptr,
                   ctx.currentFileName(), false);
}

VRL_REGISTER_COMMAND(cmd::kTestMode, runTestMode);

} // namespace vrl::gui
