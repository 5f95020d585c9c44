// File > Import Channels and File > Export Channels: the channel table as a CSV
// file in the program's own layout or in CHIRP's. The import runs on a copy of the
// data and takes effect only when every row is accepted, as one undo step.
#include "app/app_context.h"
#include "app/commands.h"
#include "app/frame_host.h"
#include "app/registries.h"
#include "app/ui_helpers.h"
#include "channels/channel_csv.h"
#include "channels/channel_info_view.h"
#include "channels/channel_services.h"
#include "file/file_commands.h"
#include "file/file_dialogs.h"
#include "file/safe_save.h"
#include "util/text_input.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <memory>
#include <span>

namespace vrl::gui {

namespace {

constexpr int kTextImport = 113;
constexpr int kTextExport = 114;
constexpr int kTextOwnFilter = 115;
constexpr int kTextChirpFilter = 116;
constexpr int kTextNotImported = 121;
constexpr int kTextImportWarnings = 122;
constexpr int kTextNotExported = 123;
constexpr int kCaptionError = 79;
constexpr int kCaptionWarning = 82;
// Messages shown in one box; the rest are summed up as "...".
constexpr size_t kShownMessages = 12;

// A menu text as a title: without the access key, the accelerator and the dots.
QString titleOf(AppContext& ctx, int textIndex) {
    QString text = ctx.text(textIndex).remove('&').section('\t', 0, 0);
    while (text.endsWith('.'))
        text.chop(1);
    return text.trimmed();
}

// The two layouts in the order of the choosers' filters.
QStringList filters(AppContext& ctx) {
    return {ctx.text(kTextOwnFilter), ctx.text(kTextChirpFilter)};
}

QString messageList(const QString& lead, const std::vector<ImportMessage>& messages) {
    QString text = lead + '\n';
    for (size_t i = 0; i < messages.size() && i < kShownMessages; ++i)
        text += '\n' + QString::fromStdString(messages[i].format());
    if (messages.size() > kShownMessages) text += QStringLiteral("\n...");
    return text;
}

void show(AppContext& ctx, const QString& text, int caption, MessageService::Icon icon) {
    ctx.messages().ask({text, ctx.text(caption), icon, MessageService::Buttons::Ok, false});
}

// The first group CHIRP rows go to on models with more than one (rows that do
// not fit go on into the next groups): the channel grid's group when its window
// is open, else the first. Nullopt when the user cancelled.
std::optional<int> targetGroup(FrameHost& host, const ChannelStore& store) {
    if (store.groupCount() <= 1) return 0;
    AppContext& ctx = host.context();
    const CChannelInfoView* grid = CChannelInfoView::openIn(ctx);
    const int proposed = grid ? std::clamp(grid->group() + 1, 1, store.groupCount()) : 1;
    QString label = ctx.text("import.chirp_first_group");
    label.replace(QStringLiteral("%d"), QString::number(store.groupCount()));
    const auto group = ctx.fileDialogs().chooseGroup(host.mainWindow(), titleOf(ctx, kTextImport),
                                                     label, store.groupCount(), proposed);
    if (!group) return std::nullopt;
    return *group - 1;
}

void importChannels(FrameHost& host) {
    AppContext& ctx = host.context();
    CommitFocus commit; // an edit being typed is a step of its own
    const QString path = ctx.fileDialogs().openTable(host.mainWindow(), titleOf(ctx, kTextImport),
                                                     ctx.currentFolder(), filters(ctx));
    if (path.isEmpty()) return;
    // Read with the cap on text inputs: a device or a runaway file is refused.
    std::string bytes, readError;
    if (!readTextInput(QFile::encodeName(path).toStdString(), bytes, readError)) {
        show(ctx, FileCommands::aboutFile(ctx.text(15), path, QString::fromStdString(readError)),
             kCaptionError, MessageService::Icon::Error);
        return;
    }
    const ChannelCsv csv = readChannelCsv(bytes);

    // CHIRP rows whose Comments name free places (as the export writes them) go
    // back there; others fill from a group asked for.
    ChannelStore& live = ChannelServices::of(ctx).store();
    ChirpTarget target;
    if (!csv.error && csv.format == ChannelCsvFormat::Chirp) {
        target.byPlace = chirpRowsCarryPlaces(live, csv.header, csv.rows);
        if (!target.byPlace) {
            const auto chosen = targetGroup(host, live);
            if (!chosen) return;
            target.first = *chosen;
        }
    }

    // The rows go into a copy; the data change only when all of them are taken.
    RadioData& data = ctx.data();
    auto scratch = std::make_unique<RadioData>();
    std::copy(data.image.bytes().begin(), data.image.bytes().end(), scratch->image.bytes().begin());
    scratch->model.options = data.model.options;
    scratch->model.refresh();
    const TextSource texts = [&ctx](int i) { return ctx.lang().text(i); };
    KeyAssignment keys(*scratch, texts);
    ChannelStore store(*scratch, texts, &keys);
    const ImportReport report = importChannelCsv(store, csv, target);
    if (!report.ok()) {
        show(ctx, messageList(ctx.text(kTextNotImported), report.errors), kCaptionError,
             MessageService::Icon::Error);
        return;
    }
    std::copy(scratch->image.bytes().begin(), scratch->image.bytes().end(),
              data.image.bytes().begin());
    ctx.recordEdit(titleOf(ctx, kTextImport));
    emit ctx.dataChanged();
    if (report.warnings.empty()) return;
    QString text = messageList(ctx.text(kTextImportWarnings), report.warnings);
    if (const int outside = rowsOutOfBand(report))
        text += "\n\n" + ctx.text(outside == 1 ? "import.row_out_of_band" : "import.rows_out_of_band")
                             .arg(outside)
                             .arg(QString::fromUtf8(data.model.label().data(),
                                                    static_cast<qsizetype>(data.model.label().size())));
    show(ctx, text, kCaptionWarning, MessageService::Icon::Warning);
}

void exportChannels(FrameHost& host) {
    AppContext& ctx = host.context();
    CommitFocus commit;
    QString proposed = QFileInfo(ctx.currentFilePath()).completeBaseName();
    if (proposed.isEmpty()) proposed = QStringLiteral("channels");
    int filter = 0;
    const QString path =
        ctx.fileDialogs().saveTable(host.mainWindow(), titleOf(ctx, kTextExport),
                                    ctx.currentFolder() + proposed + ".csv", filters(ctx), filter);
    if (path.isEmpty()) return;
    const ChannelCsvFormat format = filter == 1 ? ChannelCsvFormat::Chirp : ChannelCsvFormat::Own;
    const std::string text = channelCsvText(ChannelServices::of(ctx).store(), format);
    SaveOutcome outcome;
    {
        WaitCursor wait;
        const auto* begin = reinterpret_cast<const uint8_t*>(text.data());
        outcome = saveFileSafely(QFile::encodeName(path).toStdString(),
                                 {std::span<const uint8_t>(begin, text.size())});
    }
    if (!outcome.ok)
        FileCommands(host).showSaveFailure(path, outcome.refusal, outcome.systemError,
                                           outcome.detail, ctx.text(kTextNotExported));
}

} // namespace

VRL_REGISTER_COMMAND(cmd::kFileImportChannels, importChannels);
VRL_REGISTER_COMMAND(cmd::kFileExportChannels, exportChannels);

} // namespace vrl::gui
