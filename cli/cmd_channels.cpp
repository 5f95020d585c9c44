// vrl73m-cli channels: every existing channel of a data file, one line each, with
// the texts the channel windows show.
#include "commands.h"
#include "csv.h"
#include "options.h"

#include "channels/channel_csv.h"
#include "channels/keys.h"
#include "file/data_file.h"
#include "util/utf8.h"

#include <algorithm>
#include <iostream>

namespace vrl::cli {

int cmdChannels(const Args& args) {
    static constexpr std::string_view kUsage =
        "usage: vrl73m-cli channels FILE [--csv [--format own|chirp]] [--language N]\n"
        "Lists every existing channel of a data file, one line each: Group, Channel and the\n"
        "19 channel fields as the channel windows show them, in language N (default 0).\n"
        "With --csv the output is RFC 4180 CSV with a header line, as import-csv reads it;\n"
        "--format chirp writes CHIRP's CSV layout instead (power names in language N).\n";
    Options opts({"--language", "--format"}, {"--csv"});
    if (auto code = startCommand("channels", kUsage, opts, args)) return *code;
    if (opts.positional().size() != 1)
        return fail("channels", "expected one data file", kExitUsage);
    int code = kExitOk;
    const auto language = languageOf(opts, "channels", code);
    if (!language) return code;
    const std::string format = opts.value("--format").value_or("own");
    if (format != "own" && format != "chirp")
        return fail("channels", "--format must be own or chirp", kExitUsage);
    if (format == "chirp" && !opts.has("--csv"))
        return fail("channels", "--format chirp goes with --csv", kExitUsage);
    std::string error;
    auto table = loadLanguageForCli(*language, error);
    if (!table) return fail("channels", error, kExitRefused);

    RadioData data;
    DataFileStatus status = readDataFile(opts.positional()[0], data.image);
    if (status.result != kFileOk) return fail("channels", status.detail, kExitRefused);
    data.model.refresh();
    TextSource texts = [&table](int i) { return table->text(i); };
    KeyAssignment keys(data, texts);
    ChannelStore store(data, texts, &keys);

    if (opts.has("--csv")) {
        std::cout << channelCsvText(store, format == "chirp" ? ChannelCsvFormat::Chirp
                                                             : ChannelCsvFormat::Own);
        return kExitOk;
    }
    std::vector<TextRow> rows = exportChannelRows(store);
    TextRow header(kChannelColumns.begin(), kChannelColumns.end());
    // Plain table: columns padded to their widest text.
    rows.insert(rows.begin(), header);
    std::vector<size_t> width(header.size(), 0);
    for (const auto& row : rows)
        for (size_t i = 0; i < row.size(); ++i)
            width[i] = std::max(width[i], row[i].size());
    for (const auto& row : rows) {
        std::string line;
        for (size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) line += std::string(width[i] - row[i].size() + 2, ' ');
        }
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        std::cout << validUtf8(line) << '\n';
    }
    return kExitOk;
}

} // namespace vrl::cli
