#include "link/line_settings.h"

#include <cctype>
#include <charconv>
#include <vector>

namespace vrl {

std::string stripBlanks(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != ' ') out.push_back(c);
    return out;
}

namespace {

std::optional<int> wholeNumber(std::string_view text) {
    int value = 0;
    if (text.empty()) return std::nullopt;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

} // namespace

std::optional<LineSettings> parseLineSettings(std::string_view text) {
    const std::string compact = stripBlanks(text);
    std::vector<std::string_view> parts;
    std::string_view rest = compact;
    while (true) {
        auto comma = rest.find(',');
        parts.push_back(rest.substr(0, comma));
        if (comma == std::string_view::npos) break;
        rest.remove_prefix(comma + 1);
    }
    if (parts.size() != 4) return std::nullopt;
    LineSettings s;
    auto baud = wholeNumber(parts[0]);
    auto data = wholeNumber(parts[2]);
    auto stop = wholeNumber(parts[3]);
    if (!baud || *baud < 50 || *baud > 4000000) return std::nullopt;
    if (!data || *data < 5 || *data > 8) return std::nullopt;
    if (!stop || (*stop != 1 && *stop != 2)) return std::nullopt;
    if (parts[1].size() != 1) return std::nullopt;
    const char parity = static_cast<char>(std::toupper(static_cast<unsigned char>(parts[1][0])));
    if (std::string_view("NEOMS").find(parity) == std::string_view::npos) return std::nullopt;
    s.baud = *baud;
    s.parity = parity;
    s.dataBits = *data;
    s.stopBits = *stop;
    return s;
}

std::string formatLineSettings(const LineSettings& s) {
    return std::to_string(s.baud) + ',' + s.parity + ',' + std::to_string(s.dataBits) + ',' +
           std::to_string(s.stopBits);
}

} // namespace vrl
