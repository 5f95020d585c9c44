// vrl73m-cli copy: Channel Copy and Group Copy on a data file, through the same
// channel-store operations as the copy dialogs.
#include "commands.h"
#include "options.h"

#include "channels/channel_store.h"
#include "file/data_file.h"

#include <iostream>

namespace vrl::cli {

namespace {

// "G:C" (1-based) as 0-based group and channel.
std::optional<std::pair<int, int>> parseChannelRef(const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos) return std::nullopt;
    auto g = parseNumber(text.substr(0, colon));
    auto c = parseNumber(text.substr(colon + 1));
    if (!g || !c || *g < 1 || *c < 1 || *g > 255 || *c > 255) return std::nullopt;
    return std::pair{static_cast<int>(*g) - 1, static_cast<int>(*c) - 1};
}

std::optional<int> parseGroupRef(const std::string& text) {
    auto g = parseNumber(text);
    if (!g || *g < 1 || *g > 255) return std::nullopt;
    return static_cast<int>(*g) - 1;
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
        "128-channel models without trunking only. A source that does not exist, a target\n"
        "outside the model's numbers, or a copy that needs more channels than the model\n"
        "holds is refused with exit 2 and nothing is written. Copying onto itself writes the\n"
        "data unchanged.\n";
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
    std::string what;
    if (channelCopy) {
        auto from = parseChannelRef(*opts.value("--channel"));
        auto to = parseChannelRef(*opts.value("--to"));
        if (!from || !to) return fail("copy", "channels are given as G:C, both numbers from 1", kExitUsage);
        what = "channel " + refText(from->first, from->second);
        result = store.copyChannel(from->first, from->second, to->first, to->second);
        what += " to " + refText(to->first, to->second);
    } else {
        auto from = parseGroupRef(*opts.value("--group"));
        auto to = parseGroupRef(*opts.value("--to"));
        if (!from || !to) return fail("copy", "groups are given as numbers from 1", kExitUsage);
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
        return fail("copy",
                    "the model has " + std::to_string(store.groupCount()) +
                        " group(s); a number is outside its groups or channels",
                    kExitRefused);
    }
    status = writeDataFile(*out, data.image);
    if (status.result != kFileOk) return fail("copy", status.detail, kExitRefused);
    std::cout << (result == CopyResult::Unchanged ? "unchanged: " : "copied ") << what << '\n';
    return kExitOk;
}

} // namespace vrl::cli
