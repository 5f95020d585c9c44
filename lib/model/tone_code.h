// ST/CST squelch tones. A tone is stored as a 16-bit code (little-endian in the
// image): 0xFFFF off (0x7FFF also read as off); bit 13 clear: ST frequency in
// tenths of a hertz (670-2503); bit 13 set: CST code, three octal digits in bits
// 8-6, 5-3, 2-0, bit 15 = inverted. Written CST codes are 0x2800/0xA800 + octal.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace vrl {

using ToneCode = uint16_t;

inline constexpr ToneCode kToneOff = 0xFFFF;
inline constexpr size_t kToneListSize = 205; // 39 ST, 83 CST normal, 83 CST inverted
inline constexpr int kToneOffTextIndex = 65;

// Text of a stored code; `offText` (language text 65) for an off code.
std::string FormatTone(ToneCode code, std::string_view offText);

// Brings a typed text into normal form: CST texts padded and clamped to
// "Dddd[N|I]", ST texts truncated to 0.1 Hz and clamped to 67.0-250.3.
void NormalizeToneText(std::string& text);

// Code for a typed text (normalized first); the off text and "" give 0xFFFF.
ToneCode ParseTone(std::string text, std::string_view offText);

// The 205 texts the tone editors offer, in order.
const std::array<std::string, kToneListSize>& toneList();

// Character filter of the tone edit: digits, '.', ',', 'D', 'I', 'N' pass;
// 'd', 'i', 'n' become capitals; 0 means the character is dropped.
char filterToneChar(char c);

// Reading and writing a tone code at an image offset.
ToneCode readTone(std::span<const uint8_t> image, size_t offset);
void writeTone(std::span<uint8_t> image, size_t offset, ToneCode code);

} // namespace vrl
