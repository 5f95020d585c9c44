#include "model/identity.h"

#include "util/bytes.h"

namespace vrl {

std::string ModelIdentity::hex() const { return bytes::hex(bytes); }

std::optional<ModelIdentity> ModelIdentity::fromHex(std::string_view text) {
    if (text.size() != 16) return std::nullopt;
    auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') return c - '0';
        if (c >= 'a' && c <= 'f') return c - 'a' + 10;
        if (c >= 'A' && c <= 'F') return c - 'A' + 10;
        return -1;
    };
    ModelIdentity id;
    for (size_t i = 0; i < 8; ++i) {
        int hi = nibble(text[2 * i]), lo = nibble(text[2 * i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        id.bytes[i] = static_cast<uint8_t>(hi << 4 | lo);
    }
    return id;
}

} // namespace vrl
