// vrl73m-cli import-csv: applies a channel table (as 'channels --csv' writes it) to
// a data file through the same rules as the channel grid.
#include "commands.h"
#include "csv.h"
#include "options.h"

#include "channels/channel_csv.h"
#include "channels/keys.h"
#include "file/data_file.h"
#include "util/text_input.h"

#include <algorithm>
#include <iostream>

namespace vrl::cli {

int cmdImportCsv(const Args& args) {
    static constexpr std::string_view kUsage =
        "usage: vrl73m-cli import-csv FILE CSV -o OUT [--language N] [--fine-step] [--group G]\n"
        "                             [--groups G1-G2]\n"
        "Applies the rows of CSV (header line with the column names of 'channels --csv', in any\n"
        "order; missing columns stay unchanged) to the data file FILE and writes OUT. Rows are\n"
        "applied in file order as the channel grid would: a row for a missing channel creates\n"
        "it, an empty Receive deletes the channel, list fields must match the texts the\n"
        "windows offer in language N (default 0). Out-of-band frequencies are stored with a\n"
        "warning. Any bad row is reported by line and column and nothing is written (exit 2).\n"
        "--fine-step allows 1.25 kHz VHF steps, as the program's /STEP switch.\n"
        "A CSV in CHIRP's layout (header with Location and Frequency) is added as new\n"
        "channels in file order: into the free channel numbers of group G (default 1) and on\n"
        "into the next groups (up to G2 with --groups G1-G2, which starts at G1). Rows that\n"
        "do not all fit are refused, naming how many fit. Without --group and --groups a\n"
        "file whose Comments all name free places (\"G2 C5\", as 'channels --csv --format\n"
        "chirp' writes them) goes back to those places. --group and --groups with a CSV of\n"
        "the own layout are an error. Numbers must be whole numbers (a decimal comma\n"
        "allowed), names longer than the model takes are cut with a warning, and a CSV\n"
        "larger than 16 MiB is refused (exit 2).\n";
    Options opts({"--language", "-o", "--output", "--group", "--groups"}, {"--fine-step"});
    if (auto code = startCommand("import-csv", kUsage, opts, args)) return *code;
    auto out = opts.value("-o") ? opts.value("-o") : opts.value("--output");
    if (opts.positional().size() != 2 || !out)
        return fail("import-csv", "expected FILE, CSV and -o OUT", kExitUsage);
    int code = kExitOk;
    const auto language = languageOf(opts, "import-csv", code);
    if (!language) return code;
    long group = 1;
    if (auto text = opts.value("--group")) {
        auto v = parseNumber(*text);
        if (!v || *v < 1 || *v > 128)
            return fail("import-csv", "--group must be 1 to 128", kExitUsage);
        group = *v;
    }
    // --groups G1-G2 (or G): the groups CHIRP rows may fill, starting at G1 or --group.
    long lastGroup = 0;
    if (auto text = opts.value("--groups")) {
        const auto dash = text->find('-');
        auto from = parseNumber(text->substr(0, dash));
        auto to = dash == std::string::npos ? from : parseNumber(text->substr(dash + 1));
        if (!from || !to || *from < 1 || *to < *from || *to > 128)
            return fail("import-csv", "--groups must be G1-G2 with 1 <= G1 <= G2 <= 128",
                        kExitUsage);
        if (opts.value("--group") && (group < *from || group > *to))
            return fail("import-csv", "--group must lie within --groups", kExitUsage);
        if (!opts.value("--group")) group = *from;
        lastGroup = *to;
    }
    std::string error;
    auto table = loadLanguageForCli(*language, error);
    if (!table) return fail("import-csv", error, kExitRefused);

    RadioData data;
    DataFileStatus status = readDataFile(opts.positional()[0], data.image);
    if (status.result != kFileOk) return fail("import-csv", status.detail, kExitRefused);
    data.model.refresh();
    data.model.options.fineStep = opts.has("--fine-step");

    std::string text;
    if (!readTextInput(opts.positional()[1], text, error))
        return fail("import-csv", error + "; nothing written", kExitRefused);
    const ChannelCsv csv = readChannelCsv(text);
    if (csv.error) return fail("import-csv", csv.error->format(), kExitRefused);
    if (csv.format == ChannelCsvFormat::Own && opts.value("--group"))
        return fail("import-csv",
                    "--group is for a CSV in CHIRP's layout; this CSV names its groups in its "
                    "Group column; nothing written",
                    kExitUsage);

    TextSource texts = [&table](int i) { return table->text(i); };
    KeyAssignment keys(data, texts);
    ChannelStore store(data, texts, &keys);
    if (csv.format == ChannelCsvFormat::Chirp && std::max(group, lastGroup) > store.groupCount())
        return fail("import-csv",
                    std::string(lastGroup ? "--groups" : "--group") + " must be 1 to " +
                        std::to_string(store.groupCount()),
                    kExitUsage);
    if (csv.format == ChannelCsvFormat::Own && opts.value("--groups"))
        return fail("import-csv", "--groups goes with a CSV in CHIRP's layout", kExitUsage);
    const ChirpTarget target{static_cast<int>(group - 1), static_cast<int>(lastGroup - 1),
                             !opts.value("--group") && !opts.value("--groups")};
    const ImportReport report = importChannelCsv(store, csv, target);
    for (const auto& w : report.warnings)
        std::cerr << "vrl73m-cli import-csv: warning: " << w.format() << '\n';
    for (const auto& e : report.errors)
        std::cerr << "vrl73m-cli import-csv: " << e.format() << '\n';
    if (!report.ok()) {
        std::cerr << "vrl73m-cli import-csv: nothing written\n";
        return kExitRefused;
    }
    status = writeDataFile(*out, data.image);
    if (status.result != kFileOk) return fail("import-csv", status.detail, kExitRefused);
    if (const int outside = rowsOutOfBand(report))
        std::cerr << "vrl73m-cli import-csv: " << outside << (outside == 1 ? " row" : " rows")
                  << " stored outside the band of " << data.model.label() << '\n';
    std::cout << report.created << " created, " << report.changed << " changed, " << report.deleted
              << " deleted\n";
    return kExitOk;
}

} // namespace vrl::cli
