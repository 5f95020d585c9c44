#include "model/tone_code.h"

#include "util/bytes.h"

#include <cstdio>
#include <cstdlib>

namespace vrl {

namespace {
std::string formatTenths(long tenths) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.1f", tenths * 0.1);
    return buf;
}

constexpr std::array<int, 39> kStTenths{
    670,  693,  719,  744,  770,  797,  825,  854,  885,  915,  948,  974,  1000,
    1035, 1072, 1109, 1148, 1188, 1230, 1273, 1318, 1365, 1413, 1462, 1514, 1567,
    1622, 1679, 1738, 1799, 1862, 1928, 2035, 2107, 2181, 2257, 2336, 2418, 2503};

constexpr std::array<int, 83> kCstCodes{
    023, 025, 026, 031, 032, 043, 047, 051, 054, 065, 071, 072, 073, 074, 0114, 0115, 0116,
    0125, 0131, 0132, 0134, 0143, 0152, 0155, 0156, 0162, 0165, 0172, 0174, 0205, 0223, 0226,
    0243, 0244, 0245, 0251, 0261, 0263, 0265, 0271, 0306, 0311, 0315, 0331, 0343, 0346, 0351,
    0364, 0365, 0371, 0411, 0412, 0413, 0423, 0431, 0432, 0445, 0464, 0465, 0466, 0503, 0506,
    0516, 0532, 0546, 0565, 0606, 0612, 0624, 0627, 0631, 0632, 0654, 0662, 0664, 0703, 0712,
    0723, 0731, 0732, 0734, 0743, 0754};

std::string cstText(int octal, bool inverted) {
    std::string s = "D";
    s.push_back(static_cast<char>('0' + ((octal >> 6) & 7)));
    s.push_back(static_cast<char>('0' + ((octal >> 3) & 7)));
    s.push_back(static_cast<char>('0' + (octal & 7)));
    s.push_back(inverted ? 'I' : 'N');
    return s;
}
} // namespace

std::string FormatTone(ToneCode code, std::string_view offText) {
    if (code == 0xFFFF || code == 0x7FFF) return std::string(offText);
    if (code & 0x2000) return cstText(code & 0x1FF, (code & 0x8000) != 0);
    return formatTenths(code);
}

void NormalizeToneText(std::string& text) {
    if (text.empty()) return;
    if (text[0] == 'D') {
        while (text.size() < 5) text.push_back('0');
        text.resize(5);
        for (int i = 1; i <= 3; ++i) {
            if (text[i] < '0') text[i] = '0';
            if (text[i] > '7') text[i] = '7';
        }
        if (text[4] != 'I') text[4] = 'N';
        return;
    }
    double value = std::strtod(text.c_str(), nullptr); // 0 when there is no number
    long tenths = static_cast<long>(value * 10);
    if (tenths < 670) tenths = 670;
    if (tenths > 2503) tenths = 2503;
    text = formatTenths(tenths);
}

ToneCode ParseTone(std::string text, std::string_view offText) {
    if (text == offText) text.clear();
    NormalizeToneText(text);
    if (text.empty()) return kToneOff;
    if (text[0] == 'D') {
        int octal = ((text[1] & 7) << 6) | ((text[2] & 7) << 3) | (text[3] & 7);
        return static_cast<ToneCode>(0x0800 + octal + (text[4] == 'I' ? 0xA000 : 0x2000));
    }
    double value = std::strtod(text.c_str(), nullptr);
    return static_cast<ToneCode>(static_cast<long>(value * 10 + 0.5));
}

const std::array<std::string, kToneListSize>& toneList() {
    static const std::array<std::string, kToneListSize> list = [] {
        std::array<std::string, kToneListSize> out;
        size_t i = 0;
        for (int tenths : kStTenths) out[i++] = formatTenths(tenths);
        for (int code : kCstCodes) out[i++] = cstText(code, false);
        for (int code : kCstCodes) out[i++] = cstText(code, true);
        return out;
    }();
    return list;
}

char filterToneChar(char c) {
    if ((c >= '0' && c <= '9') || c == '.' || c == ',' || c == 'D' || c == 'I' || c == 'N')
        return c;
    if (c == 'd' || c == 'i' || c == 'n') return static_cast<char>(c - 'a' + 'A');
    return 0;
}

ToneCode readTone(std::span<const uint8_t> image, size_t offset) {
    return bytes::le16(image, offset);
}

void writeTone(std::span<uint8_t> image, size_t offset, ToneCode code) {
    bytes::setLe16(image, offset, code);
}

} // namespace vrl
