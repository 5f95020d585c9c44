#include "channels/channel_keys.h"

#include "channels/channel_table.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <memory>

namespace vrl {

namespace {

constexpr std::string_view kOne = "channel.";
constexpr std::string_view kEvery = "channels.";
constexpr size_t kFirstField = 2; // after Group and Channel

bool sameLetters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::optional<std::string_view> columnNamed(std::string_view name) {
    for (size_t i = kFirstField; i < kChannelColumns.size(); ++i)
        if (sameLetters(kChannelColumns[i], name)) return kChannelColumns[i];
    return std::nullopt;
}

std::optional<int> positiveNumber(std::string_view text) {
    int v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || v < 1) return std::nullopt;
    return v;
}

// Applies `value` in `column` to the channels (1-based group, channel) as rows of a
// channel CSV; on any error the image is put back and the first error returned.
std::string storeCells(FieldContext& ctx, std::string_view column,
                       const std::vector<std::pair<int, int>>& channels, const std::string& value,
                       std::string& note) {
    const auto before = std::make_unique<CDataImage>(ctx.data.image);
    ChannelStore store(ctx.data, ctx.texts);
    const TextRow header{"Group", "Channel", std::string(column)};
    std::vector<TableRow> rows;
    for (auto [g, c] : channels)
        rows.push_back({static_cast<int>(rows.size()) + 1, {std::to_string(g), std::to_string(c), value}});
    const ImportReport report = importChannelRows(store, header, rows, 0);
    if (!report.ok()) {
        ctx.data.image = *before;
        const ImportMessage& e = report.errors.front();
        if (channels.size() == 1) return e.text;
        const auto& row = rows[static_cast<size_t>(std::clamp(e.line - 1, 0, int(rows.size()) - 1))].cells;
        return "channel " + row[0] + "." + row[1] + ": " + e.text;
    }
    if (!report.warnings.empty()) note = report.warnings.front().text;
    return {};
}

} // namespace

bool isChannelKey(std::string_view key) {
    return key.substr(0, kOne.size()) == kOne || key.substr(0, kEvery.size()) == kEvery;
}

std::optional<Field> channelKeyField(const FieldContext&, std::string_view key) {
    Field f;
    f.key = std::string(key);
    f.kind = FieldKind::Cell;
    if (key.substr(0, kEvery.size()) == kEvery) {
        const auto column = columnNamed(key.substr(kEvery.size()));
        if (!column) return std::nullopt;
        const std::string_view col = *column;
        f.label = "every channel: " + std::string(col);
        const size_t code = static_cast<size_t>(std::find(kChannelColumns.begin(), kChannelColumns.end(), col) -
                                                kChannelColumns.begin()) - kFirstField;
        // What the first channel in use then shows.
        f.text = [code](const FieldContext& x) {
            ChannelStore store(x.data, x.texts);
            const auto all = store.existingChannels();
            if (all.empty()) return std::string();
            return store.getText(fieldOf(static_cast<int>(code)), all.front().first, all.front().second).value_or("");
        };
        f.storeChecked = [col](FieldContext& x, const std::string& value, std::string& note) {
            std::vector<std::pair<int, int>> all;
            for (auto [g, c] : ChannelStore(x.data, x.texts).existingChannels()) all.emplace_back(g + 1, c + 1);
            if (all.empty()) return std::string("the data hold no channels");
            return storeCells(x, col, all, value, note);
        };
        return f;
    }
    // channel.G.C.COLUMN
    const std::string_view rest = key.substr(kOne.size());
    const size_t dot1 = rest.find('.');
    const size_t dot2 = dot1 == std::string_view::npos ? dot1 : rest.find('.', dot1 + 1);
    if (dot2 == std::string_view::npos) return std::nullopt;
    const auto g = positiveNumber(rest.substr(0, dot1));
    const auto c = positiveNumber(rest.substr(dot1 + 1, dot2 - dot1 - 1));
    const auto column = columnNamed(rest.substr(dot2 + 1));
    if (!g || !c || !column) return std::nullopt;
    const std::string_view col = *column;
    const int group = *g, channel = *c;
    f.label = "channel " + std::to_string(group) + "." + std::to_string(channel) + ": " + std::string(col);
    const size_t code = static_cast<size_t>(std::find(kChannelColumns.begin(), kChannelColumns.end(), col) -
                                            kChannelColumns.begin()) - kFirstField;
    f.text = [group, channel, code](const FieldContext& x) {
        ChannelStore store(x.data, x.texts);
        return store.getText(fieldOf(static_cast<int>(code)), group - 1, channel - 1).value_or("");
    };
    f.storeChecked = [group, channel, col](FieldContext& x, const std::string& value, std::string& note) {
        return storeCells(x, col, {{group, channel}}, value, note);
    };
    return f;
}

} // namespace vrl
