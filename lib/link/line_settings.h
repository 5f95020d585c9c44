// The line-settings text of the serial port, "9600,N,8,2": baud rate, parity letter,
// data bits, stop bits. Blanks anywhere are ignored.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vrl {

struct LineSettings {
    int baud = 9600;
    char parity = 'N'; // N, E, O, M or S
    int dataBits = 8;  // 5-8
    int stopBits = 2;  // 1 or 2
    bool operator==(const LineSettings&) const = default;
};

// The text with every blank removed.
std::string stripBlanks(std::string_view text);

// Parses a settings text; nullopt when a part is missing or out of range.
std::optional<LineSettings> parseLineSettings(std::string_view text);

std::string formatLineSettings(const LineSettings& settings);

} // namespace vrl
