// vrl73m-cli copy: Channel Copy and Group Copy on a data file, through the same
// channel-store operations as the copy dialogs.
#include "commands.h"
#include "options.h"

#include "channels/channel_store.h"
#include "file/data_file.h"

#include <algorithm>
#include <iostream>

namespace vrl::cli {

namespace {

// A group or channel number as the dialogs take it: decimal digits, 1 to 255;
// 0-based on return.
std::optional<int> parseRefNumber(const std::string& text) {
    if (text.empty() || text.size() > 3 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const int n = std::stoi(text);
    if (n < 1 || n > 255) return std::nullopt;
    return n - 1;
}

// "G:C" (1-based) as 0-based group and channel.
std::optional<std::pair<int, int>> parseChannelRef(const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos) return std::nullopt;
    auto g = parseRefNumber(text.substr(0, colon));
    auto c = parseRefNumber(text.substr(colon + 1));
    if (!g || !c) return std::nullopt;
    return std::pair{*g, *c};
}

// Which number of a source or target is outside the model's groups or the group's
// channels, with its limit; empty when both are inside.
std::string outOfRange(const ChannelStore& store, const char* role, int g, std::optional<int> c) {
    if (g >= store.groupCount())
        return "the " + std::string(role) + " group " + std::to_string(g + 1) + " is outside the model's groups 1-" +
               std::to_string(store.groupCount());
    if (c && *c >= store.channelsInGroup(g))
        return "the " + std::string(role) + " channel " + std::to_string(*c + 1) + " is outside group " +
               std::to_string(g + 1) + "'s channels 1-" + std::to_string(store.channelsInGroup(g));
    return {};
}

std::string refText(int g, int c) { return std::to_string(g + 1) + ":" + std::to_string(c + 1); }

} // namespace

int cmdCopy(const Args& args) {
    static constexpr std::string_view kUsage =
        "usage: vrl73m-cli copy FILE -o OUT --channel G:C --to G:C\n"
        "       vrl73m-cli copy FILE -o OUT --group G --to G\n"
        "Channel Copy and Group Copy of the channel windows (numbers 1-based). A channel copy\n"
        "takes the whole channel (record, scan add, ID, BOT and EOT codes) and overwrites an\n"
        "existing target; a group copy replaces every channel of the target group and takes\n"
        "the group's name and group-scan setting. Copies between groups are offered on\n"
        "128-channel models without trunking only. Numbers are decimal. A source that does\n"
        "not exist, a number outside the model's groups or the group's channels (named with\n"
        "its limit), or a copy that needs more channels than the model holds is refused with\n"
        "exit 2 and nothing is written. Copying onto itself writes the data unchanged.\n";
    Options opts({"-o", "--output", "--channel", "--group", "--to"}, {});
    if (auto code = startCommand("copy", kUsage, opts, args)) return *code;
    auto out = opts.value("-o") ? opts.value("-o") : opts.value("--output");
    if (opts.positional().size() != 1 || !out)
        return fail("copy", "expected FILE and -o OUT", kExitUsage);
    const bool channelCopy = opts.has("--channel");
    if (channelCopy == opts.has("--group") || !opts.has("--to"))
        return fail("copy", "expected either --channel G:C or --group G, and --to", kExitUsage);

    RadioData data;
    DataFileStatus status = readDataFile(opts.positional()[0], data.image);
    if (status.result != kFileOk) return fail("copy", status.detail, kExitRefused);
    data.model.refresh();
    ChannelStore store(data, nullptr);

    CopyResult result;
    std::string what, range;
    if (channelCopy) {
        auto from = parseChannelRef(*opts.value("--channel"));
        auto to = parseChannelRef(*opts.value("--to"));
        if (!from || !to)
            return fail("copy", "channels are given as G:C, both decimal numbers from 1 to 255", kExitUsage);
        range = outOfRange(store, "source", from->first, from->second);
        if (range.empty()) range = outOfRange(store, "target", to->first, to->second);
        what = "channel " + refText(from->first, from->second);
        result = store.copyChannel(from->first, from->second, to->first, to->second);
        what += " to " + refText(to->first, to->second);
    } else {
        auto from = parseRefNumber(*opts.value("--group"));
        auto to = parseRefNumber(*opts.value("--to"));
        if (!from || !to) return fail("copy", "groups are given as decimal numbers from 1 to 255", kExitUsage);
        range = outOfRange(store, "source", *from, std::nullopt);
        if (range.empty()) range = outOfRange(store, "target", *to, std::nullopt);
        what = "group " + std::to_string(*from + 1) + " to " + std::to_string(*to + 1);
        result = store.copyGroup(*from, *to);
    }

    switch (result) {
    case CopyResult::Copied:
    case CopyResult::Unchanged: break;
    case CopyResult::NoSource:
        return fail("copy", channelCopy ? "the source channel does not exist"
                                        : "the source group has no channels",
                    kExitRefused);
    case CopyResult::CannotCreate:
        return fail("copy",
                    channelCopy ? "cannot create a new channel: the channel memory is full"
                                : "the copy would exceed " + std::to_string(store.maxChannels()) +
                                      " channels",
                    kExitRefused);
    case CopyResult::NotOffered:
        return fail("copy", "this model offers no copy between groups", kExitRefused);
    case CopyResult::OutOfRange:
        return fail("copy", range.empty() ? "a number is outside the model's groups or channels" : range,
                    kExitRefused);
    }
    status = writeDataFile(*out, data.image);
    if (status.result != kFileOk) return fail("copy", status.detail, kExitRefused);
    std::cout << (result == CopyResult::Unchanged ? "unchanged: " : "copied ") << what << '\n';
    return kExitOk;
}

} // namespace vrl::cli
