#include "link/board_commands.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/frame_host.h"
#include "app/registries.h"
#include "app/ui_helpers.h"
#include "features/model_predicates.h"
#include "history/history_recording.h"
#include "link/board_align.h"
#include "link/board_transfer.h"
#include "link/gui_transfer_ui.h"
#include "link/link_service.h"
#include "link/transfer.h"
#include "link/texts.h"
#include "link/transfer_dlg.h"
#include "link/trunk_align_dlg.h"

#include <algorithm>
#include <vector>

namespace vrl::gui {

namespace {

bool hasBoard(AppContext& ctx) { return predicates::hasTrunkingBoard(ctx.data().image); }

std::vector<uint8_t> boardText(const CDataImage& image) {
    const auto bytes = image.bytes().subspan(layout::kTrunkData, layout::kTrunkDataSize);
    return {bytes.begin(), bytes.end()};
}

void putBoardText(CDataImage& image, const std::vector<uint8_t>& text) {
    std::copy(text.begin(), text.end(), image.bytes().begin() + layout::kTrunkData);
}

} // namespace

void runReadFromTrunkingBoard(FrameHost& host) {
    AppContext& ctx = host.context();
    if (!hasBoard(ctx)) return;
    {
        CommitFocus commit;
    }
    CDataImage& image = ctx.data().image;
    const std::vector<uint8_t> before = boardText(image);
    RadioLink& link = LinkService::of(ctx).link();
    std::optional<int> result;
    CTransferDlg dlg(ctx, TransferKind::ReadBoard,
                     [&](TransferUi& ui) { return *(result = readTrunkingBoard(link, image, ui)); },
                     host.mainWindow());
    if (dlg.exec() != QDialog::Accepted) putBoardText(image, before);
    if (result)
        recordTransfer(ctx, host.mainWindow(), history::kTrunkRead, *result,
                       *result == kTransferOk ? &ctx.data() : nullptr, {}, false);
    if (boardText(image) != before) emit ctx.dataChanged();
}

void runWriteToTrunkingBoard(FrameHost& host) {
    AppContext& ctx = host.context();
    if (!hasBoard(ctx)) return;
    CommitFocus commit; // an edit in progress is part of what is written
    CDataImage& image = ctx.data().image;
    const std::vector<uint8_t> before = boardText(image);
    RadioLink& link = LinkService::of(ctx).link();
    std::optional<int> result;
    CTransferDlg dlg(ctx, TransferKind::WriteBoard,
                     [&](TransferUi& ui) { return *(result = writeTrunkingBoard(link, image, ui)); },
                     host.mainWindow());
    dlg.exec();
    if (result)
        recordTransfer(ctx, host.mainWindow(), history::kTrunkWrite, *result, &ctx.data(),
                       ctx.currentFileName(), false);
    // The access code typed may now be stored in the data.
    if (boardText(image) != before) emit ctx.dataChanged();
}

void runTrunkingAlignment(FrameHost& host) {
    AppContext& ctx = host.context();
    if (!hasBoard(ctx)) return;
    host.setBusy(true);
    {
        GuiTransferUi ui(ctx, host.mainWindow());
        BoardAlignment mode(LinkService::of(ctx).link(), ui);
        if (mode.start()) {
            CTrunkAlignDlg dlg(ctx, [&mode] { mode.finish(); }, host.mainWindow());
            dlg.exec();
            // An end the board did not echo may leave the radio transmitting.
            if (!mode.finish())
                ctx.messages().ask({ctx.text("service.board_not_released"),
                                    ctx.text(texts::kCaptionError), MessageService::Icon::Error,
                                    MessageService::Buttons::Ok});
        }
        mode.finish();
    }
    host.setBusy(false);
}

VRL_REGISTER_COMMAND(cmd::kReadFromTrunkingBoard, runReadFromTrunkingBoard);
VRL_REGISTER_COMMAND(cmd::kWriteToTrunkingBoard, runWriteToTrunkingBoard);
VRL_REGISTER_COMMAND(cmd::kTrunkingAlignment, runTrunkingAlignment);

} // namespace vrl::gui
