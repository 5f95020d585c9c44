#include "link/link_commands.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/frame_host.h"
#include "app/registries.h"
#include "app/ui_helpers.h"
#include "channels/channel_services.h"
#include "file/checksum_dlg.h"
#include "file/file_commands.h"
#include "history/history_recording.h"
#include "link/comm_port_dlg.h"
#include "link/gui_transfer_ui.h"
#include "link/link_service.h"
#include "link/radio_info_dlg.h"
#include "link/transfer.h"
#include "link/transfer_dlg.h"
#include "platform/data_folder.h"

#include <algorithm>
#include <vector>

namespace vrl::gui {

namespace {

constexpr int kBackupFailed = 56;

std::vector<uint8_t> copyOf(const CDataImage& image) {
    return {image.bytes().begin(), image.bytes().end()};
}

void putBack(CDataImage& image, const std::vector<uint8_t>& copy) {
    std::copy(copy.begin(), copy.end(), image.bytes().begin());
}

// Every image read from a radio is kept in the backup folder; a failure to keep it
// does not undo the read, but the user hears of it.
QString labelOf(AppContext& ctx) {
    const std::string_view text = ctx.data().model.label();
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void keepBackup(AppContext& ctx) {
    QString error;
    if (!platform::saveBackup(ctx.data().image, labelOf(ctx), &error).isEmpty()) return;
    ctx.messages().ask({ctx.text(kBackupFailed) + '\n' + error, ctx.text(82),
                        MessageService::Icon::Warning,
                        MessageService::Buttons::Ok});
}

} // namespace

void runReadFromRadio(FrameHost& host) {
    AppContext& ctx = host.context();
    {
        CommitFocus commit;
    }
    if (!host.promptToSaveChanges()) return;
    CDataImage& image = ctx.data().image;
    const std::vector<uint8_t> before = copyOf(image);
    const ModelIdentity identityBefore = image.identity();

    RadioLink& link = LinkService::of(ctx).link();
    RadioData& data = ctx.data();
    std::optional<int> result; // set once the exchange has run
    CTransferDlg dlg(ctx, TransferKind::ReadRadio,
                     [&](TransferUi& ui) { return *(result = readDataFromRadio(link, data, ui)); },
                     host.mainWindow());
    if (dlg.exec() != QDialog::Accepted) {
        if (result) recordTransfer(ctx, host.mainWindow(), history::kRead, *result, nullptr, {}, false);
        putBack(image, before);
        data.model.refresh();
        emit ctx.dataChanged(); // windows show the data as they were
        return;
    }
    WaitCursor wait;
    // Copied channels belong to the data that were replaced.
    ChannelServices::of(ctx).store().copyBuffer().clear();
    // Windows of the old model may show fields the new one does not have.
    if (image.identity().bytes != identityBefore.bytes) host.closeAllFunctionWindows();
    image.takeSnapshot();
    // The radio's data belong to no file: the file that was open must not receive
    // them by a plain Save.
    ctx.setUntitled(FileCommands::proposedName(
        labelOf(ctx), LinkService::of(ctx).serialFor(image.identity().bytes)));
    emit ctx.dataReplaced();
    emit ctx.modelChanged(); // flags, menus, tree view and title
    host.refreshAllWindows();
    host.openDefaultWindow();
    // Opened before the backup is kept: a new history imports the older backups only.
    const history::Event event =
        recordTransfer(ctx, host.mainWindow(), history::kRead, kTransferOk, &data, {}, true);
    keepBackup(ctx);
    announceLastWrite(ctx, host.mainWindow(), event);
}

void runWriteToRadio(FrameHost& host) {
    AppContext& ctx = host.context();
    CommitFocus commit; // an edit in progress is part of what is written
    CDataImage& image = ctx.data().image;
    const std::vector<uint8_t> before = copyOf(image);
    RadioLink& link = LinkService::of(ctx).link();
    RadioData& data = ctx.data();
    std::optional<int> result;
    CTransferDlg dlg(ctx, TransferKind::WriteRadio,
                     [&](TransferUi& ui) {
                         WriteOptions options;
                         options.verify = ctx.verifyAfterWrite();
                         return *(result = writeDataToRadio(link, data, ui, options));
                     },
                     host.mainWindow());
    dlg.exec();
    if (result)
        recordTransfer(ctx, host.mainWindow(), history::kWrite, *result, &data, ctx.currentFileName(), true);
    // Writing to the oldest firmware may have cleared the passwords.
    if (!std::equal(before.begin(), before.end(), image.bytes().begin())) emit ctx.dataChanged();
}

void runRadioInformation(FrameHost& host) {
    AppContext& ctx = host.context();
    RadioInformation info;
    int result = kTransferStopped;
    {
        GuiTransferUi ui(ctx, host.mainWindow());
        result = queryRadioInformation(LinkService::of(ctx).link(), ui, info);
    }
    if (result != kTransferOk) return;
    LinkService::of(ctx).rememberSerial(info.identity, info.block);
    CRadioInfoDlg dlg(ctx, info, host.mainWindow());
    dlg.exec();
}

void runCheckSum(FrameHost& host) {
    AppContext& ctx = host.context();
    CCheckSumDlg dlg(ctx, LinkService::of(ctx).link(), host.mainWindow());
    dlg.exec();
}

void runCommunicationPort(FrameHost& host) {
    AppContext& ctx = host.context();
    CCommPortDlg dlg(ctx, LinkService::of(ctx), host.mainWindow());
    dlg.exec();
}

VRL_REGISTER_COMMAND(cmd::kReadFromRadio, runReadFromRadio);
VRL_REGISTER_COMMAND(cmd::kWriteToRadio, runWriteToRadio);
VRL_REGISTER_COMMAND(cmd::kRadioInformation, runRadioInformation);
VRL_REGISTER_COMMAND(cmd::kCheckSum, runCheckSum);
VRL_REGISTER_COMMAND(cmd::kCommunicationPort, runCommunicationPort);

} // namespace vrl::gui
