// vrl73m-cli new / info / dump: data files without a radio.
#include "commands.h"
#include "json_out.h"
#include "options.h"

#include "file/data_file.h"
#include "model/new_data.h"

#include <cstdio>
#include <iostream>

namespace vrl::cli {

int cmdNew(const Args& args) {
    static constexpr std::string_view kUsage =
        "usage: vrl73m-cli new --row N [--band POS] [--option none|trunking|scr] -o FILE\n"
        "Writes the data that New gives for model row N (see 'models'), band position POS\n"
        "(default 0) and option board (default none). A trunking board is refused for the\n"
        "E, (N)E and (N)E,(N)T variants.\n";
    Options opts({"--row", "--band", "--option", "-o", "--output"}, {});
    if (auto code = startCommand("new", kUsage, opts, args)) return *code;
    auto rowText = opts.value("--row");
    auto out = opts.value("-o") ? opts.value("-o") : opts.value("--output");
    if (!rowText || !out || !opts.positional().empty())
        return fail("new", std::string("--row and -o are required\n") + std::string(kUsage), kExitUsage);
    auto row = parseNumber(*rowText);
    if (!row || *row < 0 || *row >= kModelRowCount)
        return fail("new", "--row must be 0 to 37", kExitUsage);
    const ModelRow& r = modelTable()[*row];
    long band = 0;
    if (auto b = opts.value("--band")) {
        auto v = parseNumber(*b);
        if (!v) return fail("new", "--band must be a number", kExitUsage);
        band = *v;
    }
    if (band < 0 || band >= r.bandCount)
        return fail("new", std::string(r.label) + " carries " + std::to_string(r.bandCount) +
                               " band(s); --band must be 0 to " + std::to_string(r.bandCount - 1),
                    kExitRefused);
    ModelChoice choice{static_cast<int>(*row), static_cast<int>(band), OptionBoard::None, 1};
    const std::string option = opts.value("--option").value_or("none");
    if (option == "trunking") {
        if (!models::trunkingAllowed(r.label))
            return fail("new", std::string(r.label) + " cannot carry a trunking board", kExitRefused);
        choice.board = OptionBoard::Trunking;
    } else if (option == "scr") {
        choice.board = OptionBoard::Scr;
    } else if (option != "none") {
        return fail("new", "--option must be none, trunking or scr", kExitUsage);
    }

    RadioData data;
    data.model.options.scrOffered = choice.board == OptionBoard::Scr;
    newDataFor(data, identityOfChoice(choice));
    data.image.rebuildDirectory();
    DataFileStatus status = writeDataFile(*out, data.image);
    if (status.result != kFileOk) return fail("new", status.detail, kExitRefused);
    std::cout << "wrote " << *out << ": " << r.label << ", " << r.band(static_cast<int>(band))
              << '\n';
    return kExitOk;
}

int cmdInfo(const Args& args) {
    static constexpr std::string_view kUsage =
        "usage: vrl73m-cli info FILE [--json]\n"
        "Checks a data file as the program does when opening it and shows its identity,\n"
        "model, band, data version, allocation counts and block directory.\n";
    Options opts({}, {"--json"});
    if (auto code = startCommand("info", kUsage, opts, args)) return *code;
    if (opts.positional().size() != 1) return fail("info", "expected one data file", kExitUsage);
    RadioData data;
    DataFileStatus status = readDataFile(opts.positional()[0], data.image);
    if (status.result != kFileOk) return fail("info", status.detail, kExitRefused);

    const CDataImage& image = data.image;
    const ModelIdentity id = image.identity();
    const uint8_t groups = image.u8(layout::kGroupsInUse);
    const uint8_t channels = image.u8(layout::kChannelsInUse);
    const auto dir = image.directory();
    if (opts.has("--json")) {
        nlohmann::json out;
        out["identity"] = id.hex();
        out["row"] = data.model.row();
        out["label"] = std::string(data.model.label());
        out["band"] = std::string(data.model.bandText());
        out["version"] = image.readAscii(layout::kVersionText, layout::kVersionTextSize);
        out["groups_in_use"] = groups == 0xFF ? 0 : groups;
        out["channels_in_use"] = channels == 0xFF ? 0 : channels;
        out["directory"] = std::vector<int>(dir.begin(), dir.end());
        std::cout << jsonText(out) << '\n';
        return kExitOk;
    }
    std::cout << "identity  " << id.hex() << "\nmodel     row " << data.model.row() << ", "
              << data.model.label() << ", " << data.model.bandText() << "\nversion   "
              << image.readAscii(layout::kVersionText, layout::kVersionTextSize)
              << "\ngroups    " << (groups == 0xFF ? 0 : groups) << "\nchannels  "
              << (channels == 0xFF ? 0 : channels) << "\ndirectory";
    for (uint16_t w : dir) {
        char buf[8];
        std::snprintf(buf, sizeof buf, " %04X", w);
        std::cout << buf;
    }
    std::cout << '\n';
    return kExitOk;
}

int cmdDump(const Args& args) {
    static constexpr std::string_view kUsage =
        "usage: vrl73m-cli dump FILE [--from OFFSET] [--length N]\n"
        "Hex dump of the image bytes of a data file, 16 per line, with image offsets.\n"
        "OFFSET and N are decimal or 0x-prefixed hexadecimal.\n";
    Options opts({"--from", "--length"}, {});
    if (auto code = startCommand("dump", kUsage, opts, args)) return *code;
    if (opts.positional().size() != 1) return fail("dump", "expected one data file", kExitUsage);
    long from = 0, length = static_cast<long>(CDataImage::kSize);
    if (auto v = opts.value("--from")) {
        auto n = parseNumber(*v);
        if (!n || *n < 0 || *n >= static_cast<long>(CDataImage::kSize))
            return fail("dump", "--from must lie inside the image (0 to 0x818C)", kExitUsage);
        from = *n;
        length = static_cast<long>(CDataImage::kSize) - from;
    }
    if (auto v = opts.value("--length")) {
        auto n = parseNumber(*v);
        if (!n || *n < 0) return fail("dump", "--length must be a positive number", kExitUsage);
        length = std::min(*n, static_cast<long>(CDataImage::kSize) - from);
    }
    RadioData data;
    DataFileStatus status = readDataFile(opts.positional()[0], data.image);
    if (status.result != kFileOk) return fail("dump", status.detail, kExitRefused);
    const auto bytes = data.image.bytes();
    for (long line = from; line < from + length; line += 16) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%04lX ", line);
        std::cout << buf;
        for (long i = line; i < std::min(line + 16, from + length); ++i) {
            std::snprintf(buf, sizeof buf, " %02X", bytes[static_cast<size_t>(i)]);
            std::cout << buf;
        }
        std::cout << '\n';
    }
    return kExitOk;
}

} // namespace vrl::cli
