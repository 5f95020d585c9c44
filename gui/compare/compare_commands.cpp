// File > Compare with File and Program > Compare with Radio: the other data are read
// into a scratch copy and listed against the current data in the compare window.
// The current data, their file name, undo history and modified state stay as
// they are.
#include "compare/compare_window.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/frame_host.h"
#include "app/registries.h"
#include "app/ui_helpers.h"
#include "file/file_commands.h"
#include "file/file_dialogs.h"
#include "link/link_service.h"
#include "features/compare.h"
#include "link/transfer.h"
#include "link/transfer_dlg.h"

#include <QFileInfo>

namespace vrl::gui {

namespace {

constexpr int kTextCompareFile = 486;
constexpr int kTextCompareRadio = 487;
constexpr int kTextRadio = 488;

QString labelOf(const RadioData& data) {
    return QString::fromStdString(std::string(data.model.label()));
}

} // namespace

void runCompareWithFile(FrameHost& host) {
    AppContext& ctx = host.context();
    {
        CommitFocus commit; // an edit in progress is part of the current data
    }
    const QString path = ctx.fileDialogs().openFile(host.mainWindow(), ctx.currentFolder());
    if (path.isEmpty()) return;
    auto other = std::make_unique<RadioData>();
    FileCommands files(host);
    if (!files.readFile(path, other->image)) return;
    other->model.refresh();
    CCompareWindow::showFor(host, {std::move(other), kTextCompareFile, QFileInfo(path).fileName()});
}

void runCompareWithRadio(FrameHost& host) {
    AppContext& ctx = host.context();
    { CommitFocus commit; }
    // What a Read would leave: the radio's memory over a copy of the current data
    // (the bytes beyond the radio memory are not read and stay as they are).
    auto other = std::make_unique<RadioData>();
    const auto bytes = ctx.data().image.bytes();
    std::copy(bytes.begin(), bytes.end(), other->image.bytes().begin());
    RadioLink& link = LinkService::of(ctx).link();
    RadioData& target = *other;
    CTransferDlg dlg(
        ctx, TransferKind::ReadRadio,
        [&](TransferUi& ui) { return readDataFromRadio(link, target, ui); }, host.mainWindow());
    if (dlg.exec() != QDialog::Accepted) return;
    // What a read does not bring (blocks the radio does not send) is not a difference.
    takeUnreadFromFile(*other, ctx.data());
    other->model.refresh();
    const QString label = labelOf(*other);
    CCompareWindow::showFor(host, {std::move(other), kTextCompareRadio, label, kTextRadio});
}

VRL_REGISTER_COMMAND(cmd::kFileCompare, runCompareWithFile);
VRL_REGISTER_COMMAND(cmd::kCompareWithRadio, runCompareWithRadio);

} // namespace vrl::gui
