// Text forms of the small channel codes: the ID code (decimal digits), the BOT/EOT
// DTMF codes and the 8-character name, each packed as the image holds them.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vrl {

inline constexpr size_t kIdCodeBytes = 5;
inline constexpr size_t kDtmfCodeBytes = 16;
inline constexpr size_t kMaxDtmfDigits = 16;
inline constexpr size_t kNameBytes = 8;
inline constexpr std::string_view kNameCharacters =
    "%+=()@_$#*-/0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz\\";

// ID code: digits two per byte, low nibble first; the first nibble above 9 ends it.
std::string readIdCode(std::span<const uint8_t> fiveBytes);
// Packs up to ten digits; nullopt for a non-digit or more than ten digits.
std::optional<std::array<uint8_t, kIdCodeBytes>> packIdCode(std::string_view digits);

// DTMF digits two per byte, the first of each pair in the low nibble (0-9, A-D =
// 10-13, * = 14, # = 15): the first `count` digits of `bytes` (at most two per byte).
std::string readDtmfDigits(std::span<const uint8_t> bytes, size_t count);
// Fills `bytes` with 0xFF and packs the digits of `text` over them (lower-case a-d
// accepted, any other character packed as 0xF, digits beyond the bytes dropped).
void packDtmfDigits(std::string_view text, std::span<uint8_t> bytes);

// BOT/EOT: DTMF digits (0-9, A-D = 10-13, * = 14, # = 15) in bytes 0-14, count in
// byte 15; a count above 16 means no code.
std::string readDtmfCode(std::span<const uint8_t> sixteenBytes);
// Packs a DTMF text (lower-case a-d accepted); nullopt for another character or
// more than 16 digits. The empty text gives an all-0xFF code.
std::optional<std::array<uint8_t, kDtmfCodeBytes>> packDtmfCode(std::string_view text);
// The DTMF character as typed ('a' becomes 'A'); 0 when it is not one.
char filterDtmfChar(char c);

// Name: 0xFF ends the text, trailing blanks dropped.
std::string readName(std::span<const uint8_t> eightBytes);
// Name characters as typed: lower-case letters become capitals; 0 when not allowed.
char filterNameChar(char c);
// Upper-cases and cuts to `maxLength`, pads with blanks to eight; all blanks give
// 0xFF x 8. nullopt when a character is not a name character.
std::optional<std::array<uint8_t, kNameBytes>> packName(std::string_view text, int maxLength);

} // namespace vrl
