// Text for files and terminals that must be valid UTF-8: bytes of the radio's memory
// (names typed on other tools, stray bytes) are shown as the windows show them, a
// valid UTF-8 sequence as its character and any other byte as U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace vrl {

inline std::string validUtf8(std::string_view in) {
    std::string out;
    out.reserve(in.size());
    size_t i = 0;
    while (i < in.size()) {
        const auto b = static_cast<unsigned char>(in[i]);
        size_t len = b < 0x80 ? 1 : (b >> 5) == 0x6 ? 2 : (b >> 4) == 0xE ? 3 : (b >> 3) == 0x1E ? 4 : 0;
        bool ok = len > 0 && i + len <= in.size() && !(b == 0xC0 || b == 0xC1 || b > 0xF4);
        for (size_t k = 1; ok && k < len; ++k)
            ok = (static_cast<unsigned char>(in[i + k]) & 0xC0) == 0x80;
        if (ok && len == 3) {
            const auto b1 = static_cast<unsigned char>(in[i + 1]);
            ok = !(b == 0xE0 && b1 < 0xA0) && !(b == 0xED && b1 >= 0xA0); // overlong, surrogate
        }
        if (ok && len == 4) {
            const auto b1 = static_cast<unsigned char>(in[i + 1]);
            ok = !(b == 0xF0 && b1 < 0x90) && !(b == 0xF4 && b1 >= 0x90);
        }
        if (ok) {
            out.append(in.substr(i, len));
            i += len;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

} // namespace vrl
