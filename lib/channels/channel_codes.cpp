#include "channels/channel_codes.h"

#include <algorithm>

namespace vrl {

std::string readIdCode(std::span<const uint8_t> b) {
    std::string out;
    for (size_t i = 0; i < 2 * kIdCodeBytes && i / 2 < b.size(); ++i) {
        const int nibble = (i % 2 == 0) ? (b[i / 2] & 0x0F) : (b[i / 2] >> 4);
        if (nibble > 9) break;
        out.push_back(static_cast<char>('0' + nibble));
    }
    return out;
}

std::optional<std::array<uint8_t, kIdCodeBytes>> packIdCode(std::string_view digits) {
    if (digits.size() > 2 * kIdCodeBytes) return std::nullopt;
    std::array<uint8_t, kIdCodeBytes> out;
    out.fill(0xFF);
    for (size_t i = 0; i < digits.size(); ++i) {
        const char c = digits[i];
        if (c < '0' || c > '9') return std::nullopt;
        const auto d = static_cast<uint8_t>(c - '0');
        uint8_t& byte = out[i / 2];
        byte = (i % 2 == 0) ? static_cast<uint8_t>(0xF0 | d)
                            : static_cast<uint8_t>((byte & 0x0F) | (d << 4));
    }
    return out;
}

namespace {
constexpr char kDtmfDigits[] = "0123456789ABCD*#";

int dtmfValue(char c) {
    c = filterDtmfChar(c);
    if (c == 0) return -1;
    for (int i = 0; i < 16; ++i)
        if (kDtmfDigits[i] == c) return i;
    return -1;
}
} // namespace

char filterDtmfChar(char c) {
    if (c >= 'a' && c <= 'd') return static_cast<char>(c - 'a' + 'A');
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'D') || c == '*' || c == '#') return c;
    return 0;
}

std::string readDtmfDigits(std::span<const uint8_t> b, size_t count) {
    std::string out;
    for (size_t i = 0; i < count && i / 2 < b.size(); ++i) {
        const int nibble = (i % 2 == 0) ? (b[i / 2] & 0x0F) : (b[i / 2] >> 4);
        out.push_back(kDtmfDigits[nibble]);
    }
    return out;
}

void packDtmfDigits(std::string_view text, std::span<uint8_t> bytes) {
    std::fill(bytes.begin(), bytes.end(), uint8_t{0xFF});
    for (size_t i = 0; i < text.size() && i / 2 < bytes.size(); ++i) {
        const int v = dtmfValue(text[i]);
        const auto nibble = static_cast<uint8_t>(v < 0 ? 0xF : v);
        uint8_t& byte = bytes[i / 2];
        byte = (i % 2 == 0) ? static_cast<uint8_t>(0xF0 | nibble)
                            : static_cast<uint8_t>((byte & 0x0F) | (nibble << 4));
    }
}

std::string readDtmfCode(std::span<const uint8_t> b) {
    if (b.size() < kDtmfCodeBytes) return {};
    const size_t count = b[15];
    if (count > kMaxDtmfDigits) return {};
    return readDtmfDigits(b, count);
}

std::optional<std::array<uint8_t, kDtmfCodeBytes>> packDtmfCode(std::string_view text) {
    std::array<uint8_t, kDtmfCodeBytes> out;
    out.fill(0xFF);
    if (text.size() > kMaxDtmfDigits) return std::nullopt;
    if (text.empty()) return out;
    for (char c : text)
        if (dtmfValue(c) < 0) return std::nullopt;
    packDtmfDigits(text, std::span<uint8_t>(out.data(), 15));
    out[15] = static_cast<uint8_t>(text.size());
    return out;
}

std::string readName(std::span<const uint8_t> b) {
    std::string out;
    for (size_t i = 0; i < kNameBytes && i < b.size(); ++i) {
        if (b[i] == 0xFF) break;
        out.push_back(static_cast<char>(b[i]));
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

char filterNameChar(char c) {
    if (c == 0 || kNameCharacters.find(c) == std::string_view::npos) return 0;
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
    return c;
}

std::optional<std::array<uint8_t, kNameBytes>> packName(std::string_view text, int maxLength) {
    std::array<uint8_t, kNameBytes> out;
    out.fill(' ');
    const size_t limit = static_cast<size_t>(std::clamp(maxLength, 0, static_cast<int>(kNameBytes)));
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = filterNameChar(text[i]);
        if (c == 0) return std::nullopt;
        if (i < limit) out[i] = static_cast<uint8_t>(c);
    }
    if (std::all_of(out.begin(), out.end(), [](uint8_t b) { return b == ' '; })) out.fill(0xFF);
    return out;
}

} // namespace vrl
