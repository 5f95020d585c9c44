// Bounds-checked access to little-endian fields, bits, BCD digits and texts in a
// byte buffer. Every image accessor goes through these, so no editor ever reads
// past a record or type-puns a multi-byte value.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vrl::bytes {

inline void checkRange(std::span<const uint8_t> buf, size_t offset, size_t length) {
    if (offset > buf.size() || length > buf.size() - offset)
        throw std::out_of_range("byte access outside the buffer at offset " +
                                std::to_string(offset));
}

inline uint8_t u8(std::span<const uint8_t> buf, size_t offset) {
    checkRange(buf, offset, 1);
    return buf[offset];
}

inline void setU8(std::span<uint8_t> buf, size_t offset, uint8_t value) {
    checkRange(buf, offset, 1);
    buf[offset] = value;
}

inline uint16_t le16(std::span<const uint8_t> buf, size_t offset) {
    checkRange(buf, offset, 2);
    return static_cast<uint16_t>(buf[offset] | (buf[offset + 1] << 8));
}

inline void setLe16(std::span<uint8_t> buf, size_t offset, uint16_t value) {
    checkRange(buf, offset, 2);
    buf[offset] = static_cast<uint8_t>(value & 0xFF);
    buf[offset + 1] = static_cast<uint8_t>(value >> 8);
}

inline uint32_t le32(std::span<const uint8_t> buf, size_t offset) {
    checkRange(buf, offset, 4);
    return static_cast<uint32_t>(buf[offset]) | (static_cast<uint32_t>(buf[offset + 1]) << 8) |
           (static_cast<uint32_t>(buf[offset + 2]) << 16) |
           (static_cast<uint32_t>(buf[offset + 3]) << 24);
}

inline void setLe32(std::span<uint8_t> buf, size_t offset, uint32_t value) {
    checkRange(buf, offset, 4);
    for (int i = 0; i < 4; ++i) buf[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

inline bool bit(std::span<const uint8_t> buf, size_t offset, int bitNo) {
    return (u8(buf, offset) >> bitNo) & 1;
}

inline void setBit(std::span<uint8_t> buf, size_t offset, int bitNo, bool on) {
    uint8_t v = u8(buf, offset);
    const auto mask = static_cast<uint8_t>(1u << bitNo);
    buf[offset] = on ? static_cast<uint8_t>(v | mask) : static_cast<uint8_t>(v & ~mask);
}

// Bits [lowBit, lowBit + width) of the byte at `offset`.
inline uint8_t bits(std::span<const uint8_t> buf, size_t offset, int lowBit, int width) {
    return static_cast<uint8_t>((u8(buf, offset) >> lowBit) & ((1u << width) - 1));
}

inline void setBits(std::span<uint8_t> buf, size_t offset, int lowBit, int width, uint8_t value) {
    const unsigned mask = ((1u << width) - 1) << lowBit;
    const unsigned v = u8(buf, offset);
    buf[offset] = static_cast<uint8_t>((v & ~mask) | ((unsigned(value) << lowBit) & mask));
}

inline void fill(std::span<uint8_t> buf, size_t offset, size_t length, uint8_t value) {
    checkRange(buf, offset, length);
    for (size_t i = 0; i < length; ++i) buf[offset + i] = value;
}

inline bool allEqual(std::span<const uint8_t> buf, size_t offset, size_t length, uint8_t value) {
    checkRange(buf, offset, length);
    for (size_t i = 0; i < length; ++i)
        if (buf[offset + i] != value) return false;
    return true;
}

inline void copyIn(std::span<uint8_t> buf, size_t offset, std::span<const uint8_t> src) {
    checkRange(buf, offset, src.size());
    for (size_t i = 0; i < src.size(); ++i) buf[offset + i] = src[i];
}

inline void writeAscii(std::span<uint8_t> buf, size_t offset, std::string_view text) {
    checkRange(buf, offset, text.size());
    for (size_t i = 0; i < text.size(); ++i) buf[offset + i] = static_cast<uint8_t>(text[i]);
}

inline std::string readAscii(std::span<const uint8_t> buf, size_t offset, size_t length) {
    checkRange(buf, offset, length);
    return std::string(reinterpret_cast<const char*>(buf.data() + offset), length);
}

// Text field padded with blanks or ended by 0xFF: the characters before the first
// 0xFF, trailing blanks removed.
inline std::string readPaddedText(std::span<const uint8_t> buf, size_t offset, size_t length) {
    checkRange(buf, offset, length);
    std::string out;
    for (size_t i = 0; i < length && buf[offset + i] != 0xFF; ++i)
        out.push_back(static_cast<char>(buf[offset + i]));
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

// Writes `text` blank-padded to `length`; an all-blank text is stored as all 0xFF.
inline void writePaddedText(std::span<uint8_t> buf, size_t offset, size_t length,
                            std::string_view text) {
    checkRange(buf, offset, length);
    if (text.find_first_not_of(' ') == std::string_view::npos) {
        fill(buf, offset, length, 0xFF);
        return;
    }
    for (size_t i = 0; i < length; ++i)
        buf[offset + i] = i < text.size() ? static_cast<uint8_t>(text[i]) : uint8_t(' ');
}

inline std::string hex(std::span<const uint8_t> data) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(data.size() * 2);
    for (uint8_t b : data) {
        out.push_back(kDigits[b >> 4]);
        out.push_back(kDigits[b & 0xF]);
    }
    return out;
}

} // namespace vrl::bytes
