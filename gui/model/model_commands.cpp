#include "model/model_commands.h"

#include "app/app_context.h"
#include "app/frame_host.h"
#include "app/ui_helpers.h"
#include "model/model_info_dlg.h"
#include "model/new_data.h"

namespace vrl::gui {

void runNewCommand(FrameHost& host) {
    AppContext& ctx = host.context();
    const auto answer = ctx.messages().ask({ctx.text(21), ctx.text(82), MessageService::Icon::Warning,
                                            MessageService::Buttons::OkCancel, true});
    if (answer != QMessageBox::Ok) return;
    if (!host.promptToSaveChanges()) return;
    WaitCursor wait;
    host.closeAllFunctionWindows();
    newData(ctx.data());
    ctx.setCurrentFilePath(ctx.currentFolder() + QStringLiteral("vrl73m.dat"));
    emit ctx.dataReplaced();
    emit ctx.modelChanged(); // the frame rebuilds flags, menus, tree view and title
    host.openDefaultWindow();
}

void runModelInformation(FrameHost& host) {
    AppContext& ctx = host.context();
    CModelInfoDlg dlg(ctx, host.mainWindow());
    if (dlg.exec() != QDialog::Accepted || !dlg.changed()) return;
    WaitCursor wait;
    host.closeAllFunctionWindows();
    if (dlg.fileNameReset()) ctx.setProgramFilePath(ctx.currentFolder() + QStringLiteral("Vrl73m.dat"));
    emit ctx.modelChanged(); // the frame rebuilds flags, menus, tree view and title
    host.openDefaultWindow();
}

} // namespace vrl::gui
