// The 8-byte model identity kept at image offset 0x00A7 and sent by a radio:
//   0    family letter 'M' (mobile) or 'P' (portable)
//   1-4  the model-code characters after the family letter ("1400")
//   5    market code (high nibble) and band code (low nibble)
//   6    option-board byte: bit 5 clear = trunking board; bit 5 set and bits 7-6 = 01 = SCR
//   7    flags: bit 6 set = no data password
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vrl {

enum class OptionBoard : int { None = 0, Scr = 1, Trunking = 2 };

// Option-board bytes written by the Model Information choice.
inline constexpr uint8_t kOptionByteTrunking = 0xDF;
inline constexpr uint8_t kOptionByteScr = 0x7F;
inline constexpr uint8_t kOptionByteNone = 0xFF;

inline OptionBoard optionBoardOf(uint8_t optionByte) {
    if ((optionByte & 0x20) == 0) return OptionBoard::Trunking;
    if ((optionByte & 0xC0) == 0x40) return OptionBoard::Scr;
    return OptionBoard::None;
}

inline uint8_t optionByteFor(OptionBoard board) {
    switch (board) {
    case OptionBoard::Trunking: return kOptionByteTrunking;
    case OptionBoard::Scr: return kOptionByteScr;
    case OptionBoard::None: break;
    }
    return kOptionByteNone;
}

struct ModelIdentity {
    std::array<uint8_t, 8> bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

    char family() const { return static_cast<char>(bytes[0]); }
    std::string codeDigits() const { return std::string(bytes.begin() + 1, bytes.begin() + 5); }
    uint8_t variant() const { return bytes[5]; }
    uint8_t market() const { return bytes[5] >> 4; }
    uint8_t band() const { return bytes[5] & 0x0F; }
    uint8_t option() const { return bytes[6]; }
    uint8_t flags() const { return bytes[7]; }
    OptionBoard optionBoard() const { return optionBoardOf(bytes[6]); }
    bool hasDataPassword() const { return (bytes[7] & 0x40) == 0; }

    std::string hex() const;
    // 16 hexadecimal digits (either case); nullopt for anything else.
    static std::optional<ModelIdentity> fromHex(std::string_view text);
    bool operator==(const ModelIdentity&) const = default;
};

} // namespace vrl
