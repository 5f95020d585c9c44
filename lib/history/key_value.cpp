#include "history/key_value.h"

#include "channels/channel_store.h"
#include "channels/channel_table.h"
#include "channels/keys.h"
#include "features/field_table.h"

#include <charconv>
#include <memory>

namespace vrl::history {

namespace {

std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// "channel.G.C.Column"
std::optional<std::string> channelValue(RadioData& data, const TextSource& texts, std::string_view key) {
    std::string_view rest = key.substr(8);
    const size_t dot1 = rest.find('.');
    if (dot1 == std::string_view::npos) return std::nullopt;
    const size_t dot2 = rest.find('.', dot1 + 1);
    if (dot2 == std::string_view::npos) return std::nullopt;
    const auto group = wholeNumber(rest.substr(0, dot1));
    const auto channel = wholeNumber(rest.substr(dot1 + 1, dot2 - dot1 - 1));
    const std::string_view column = rest.substr(dot2 + 1);
    size_t col = 0;
    while (col < kChannelColumns.size() && kChannelColumns[col] != column)
        ++col;
    if (!group || !channel || col == kChannelColumns.size()) return std::nullopt;
    auto keys = std::make_unique<KeyAssignment>(data, texts);
    const ChannelStore store(data, texts, keys.get());
    for (const TextRow& row : exportChannelRows(store))
        if (wholeNumber(row[0]) == group && wholeNumber(row[1]) == channel) return row[col];
    return std::nullopt;
}

} // namespace

std::optional<std::string> keyValue(RadioData& data, const TextSource& texts, std::string_view key) {
    if (key.substr(0, 8) == "channel.") return channelValue(data, texts, key);
    const FieldContext ctx{data, texts};
    const auto field = findField(ctx, key);
    if (!field) return std::nullopt;
    return field->shownText(ctx);
}

bool sameValue(std::string_view a, std::string_view b) {
    if (a == b) return true;
    auto number = [](std::string_view t) -> std::optional<double> {
        double v = 0;
        const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), v);
        if (t.empty() || ec != std::errc() || end != t.data() + t.size()) return std::nullopt;
        return v;
    };
    const auto x = number(a);
    const auto y = number(b);
    return x && y && *x == *y;
}

} // namespace vrl::history
