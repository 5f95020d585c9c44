// vrl73m-cli diff: what differs between two data files, or a data file and a
// radio, named by setting key, channel and column, key and image offset.
#include "commands.h"
#include "csv.h"
#include "history_common.h"
#include "link_common.h"
#include "json_out.h"
#include "options.h"

#include "features/compare.h"
#include "file/data_file.h"
#include "link/transfer.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <iostream>
#include <memory>

namespace vrl::cli {

namespace {

constexpr std::string_view kCommand = "diff";
constexpr std::string_view kRadioPrefix = "radio:";
constexpr std::string_view kHistoryPrefix = "history:";

// As diff(1) does, 1 means "different"; a bad command line is trouble (2).
int troubleExit(int code) {
    return code == kExitUsage ? kExitRefused : code;
}

struct Side {
    std::string source; // the argument: a file path or radio:PORT
    RadioData data;
};

bool isRadio(const Side& side) {
    return side.source.compare(0, kRadioPrefix.size(), kRadioPrefix) == 0;
}

// Reads one side: a data file, or the radio's memory on radio:PORT (no file is
// written, not even a backup). nullopt when it is loaded, else the exit status.
std::optional<int> loadSide(Side& side, const Options& opts) {
    const std::string& source = side.source;
    if (source.compare(0, kHistoryPrefix.size(), kHistoryPrefix) == 0) {
        std::string error;
        if (!loadHistoryImage(source.substr(kHistoryPrefix.size()), side.data, error))
            return fail(kCommand, error, kExitRefused);
        return std::nullopt;
    }
    if (!isRadio(side)) {
        const DataFileStatus status = readDataFile(source, side.data.image);
        if (status.result != kFileOk)
            return fail(kCommand, source + ": " + status.detail, kExitRefused);
        side.data.model.refresh();
        return std::nullopt;
    }
    const std::string port = source.substr(kRadioPrefix.size());
    if (port.empty())
        return fail(kCommand, "radio: needs a port (radio:/dev/ttyUSB0, radio:virtual)",
                    kExitRefused);
    Args linkArgs{"--port", port};
    for (const char* name : {"--retries", "--trace"})
        if (auto v = opts.value(name)) linkArgs.insert(linkArgs.end(), {name, *v});
    Options linkOpts(linkValuedOptions({}), {});
    linkOpts.parse(linkArgs);
    LinkSession session;
    if (auto code = session.start(kCommand, linkOpts)) return troubleExit(*code);
    CliUi ui(kCommand, session, false, opts.value("--password"));
    ui.setProgressVerb("reading");
    const int result = readDataFromRadio(session.link(), side.data, ui);
    ui.endProgress();
    if (result != kTransferOk) return ui.failureExit();
    side.data.model.refresh();
    return std::nullopt;
}

nlohmann::json sideJson(const Side& side) {
    return {{"source", side.source},
            {"identity", side.data.image.identity().hex()},
            {"label", std::string(side.data.model.label())}};
}

std::string sideLine(const Side& side) {
    const std::string label(side.data.model.label());
    return side.source + " (" + (label.empty() ? "unknown model" : label) + ", " +
           side.data.image.identity().hex() + ")";
}

void printJson(const Side& a, const Side& b, const Comparison& result) {
    nlohmann::json list = nlohmann::json::array();
    for (const Difference& d : result.differences) {
        nlohmann::json o{{"area", d.area}};
        if (d.isMemory()) {
            o["offset"] = d.offset;
            o["length"] = d.length;
        } else {
            o["key"] = d.key;
            o["label"] = d.label;
        }
        o["a"] = d.a;
        o["b"] = d.b;
        list.push_back(std::move(o));
    }
    nlohmann::json notes = nlohmann::json::array();
    for (const std::string& n : result.notes)
        notes.push_back(n);
    const nlohmann::json out{{"a", sideJson(a)},
                             {"b", sideJson(b)},
                             {"same_model", result.sameModel},
                             {"notes", notes},
                             {"differences", list}};
    std::cout << jsonText(out) << '\n';
}

// One line per difference, in area order (the key names the area):
//   message.line_1 (Line 1): "" -> "HELLO"
//   memory 0x7F10-0x7F11: FF FF -> 12 34
void printPlain(const Side& a, const Side& b, const Comparison& result) {
    if (result.equal() && result.notes.empty()) return;
    std::cout << "--- " << sideLine(a) << "\n+++ " << sideLine(b) << '\n';
    for (const std::string& n : result.notes)
        std::cout << "note: " << n << '\n';
    for (const Difference& d : result.differences) {
        if (d.isMemory())
            std::cout << "memory " << d.label << ": " << d.a << " -> " << d.b << '\n';
        else
            std::cout << d.key << " (" << d.label << "): \"" << d.a << "\" -> \"" << d.b << "\"\n";
    }
}

} // namespace

int cmdDiff(const Args& args) {
    static const std::string kUsage =
        std::string("usage: vrl73m-cli diff A B [--json] [--language N] [--password DIGITS]\n"
                    "Lists what differs between A and B, each a data file, history:ID (the image\n"
                    "of a radio history event) or radio:PORT (the radio's memory read on PORT,\n"
                    "\"virtual\" included; no file is written):\n"
                    "settings by key with their shown texts, channels by group, channel and CSV\n"
                    "column, key assignments, and every other differing image byte as an offset\n"
                    "range with both byte runs in hex. Different models are compared by settings,\n"
                    "channels and keys only. --json prints an object with a, b and differences.\n"
                    "Exit status: 0 equal, 1 different, 2 trouble (file refused, bad command\n"
                    "line), 3 communication with the radio failed.\n") +
        std::string(kLinkOptionsHelp).substr(std::string(kLinkOptionsHelp).find("  --retries")) +
        "  --password DIGITS  the radio's data password, when it has one\n";
    Options opts({"--language", "--retries", "--trace", "--password"}, {"--json"});
    if (auto code = startCommand(kCommand, kUsage, opts, args)) return troubleExit(*code);
    if (opts.positional().size() != 2)
        return fail(kCommand, "expected two sides A and B\n" + kUsage, kExitRefused);
    int code = kExitOk;
    const auto language = languageOf(opts, kCommand, code);
    if (!language) return troubleExit(code);
    std::string error;
    auto table = loadLanguageForCli(*language, error);
    if (!table) return fail(kCommand, error, kExitRefused);
    const TextSource texts = [&table](int i) { return table->text(i); };

    auto a = std::make_unique<Side>();
    auto b = std::make_unique<Side>();
    a->source = opts.positional()[0];
    b->source = opts.positional()[1];
    // Files first: a radio compared with a file is read over a copy of it, and what a
    // read does not bring is taken from the file (noted).
    for (Side* side : {a.get(), b.get()})
        if (!isRadio(*side))
            if (auto failed = loadSide(*side, opts)) return *failed;
    const Side* file = !isRadio(*a) ? a.get() : !isRadio(*b) ? b.get() : nullptr;
    std::vector<std::string> notes;
    for (Side* side : {a.get(), b.get()}) {
        if (!isRadio(*side)) continue;
        if (file) {
            const auto from = file->data.image.bytes();
            std::copy(from.begin(), from.end(), side->data.image.bytes().begin());
        }
        if (auto failed = loadSide(*side, opts)) return *failed;
        if (file)
            for (std::string& n : takeUnreadFromFile(side->data, file->data))
                notes.push_back(std::move(n));
    }

    Comparison result = compareDocuments(a->data, b->data, texts);
    result.notes.insert(result.notes.end(), notes.begin(), notes.end());
    if (opts.has("--json"))
        printJson(*a, *b, result);
    else
        printPlain(*a, *b, result);
    return result.equal() ? kExitOk : 1;
}

} // namespace vrl::cli
