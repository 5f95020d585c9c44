// The raw memory map: the 32768 bytes of radio memory as a hex dump of 2048 lines
// with a character block beside it, the highest line on top. Grid coordinates
// count the fixed caption row and label column as row 0 and column 0:
//   rows 1..2048      line 2047 .. line 0
//   columns 1..16     the line's bytes as two hex digits
//   column 17         empty separator
//   columns 18..33    the same bytes as characters
#pragma once

#include "model/data_image.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vrl::memmap {

inline constexpr int kLines = 2048;
inline constexpr int kRows = kLines + 1;   // with the caption row
inline constexpr int kColumns = 34;        // with the label column
inline constexpr int kFirstHexColumn = 1;
inline constexpr int kLastHexColumn = 16;
inline constexpr int kSeparatorColumn = 17;
inline constexpr int kFirstCharColumn = 18;
inline constexpr int kLastCharColumn = 33;
inline constexpr int kCharOffset = kFirstCharColumn - kFirstHexColumn; // 17

enum class CellKind { None, Hex, Char };

CellKind cellKind(int column);
bool isDataRow(int row);
// Image line shown on a data row.
int lineOfRow(int row);
int rowOfLine(int line);
// Image offset of a hex or character cell; nullopt for the label and separator columns.
std::optional<size_t> offsetOf(int row, int column);
// The grid cell of an offset in the hex block.
int rowOfOffset(size_t offset);
int hexColumnOfOffset(size_t offset);

// "%.3X_" of the line shown on a data row.
std::string rowLabel(int row);
// "_%.1X" over the hex and character columns, empty elsewhere.
std::string columnCaption(int column);
// Four hex digits: the row label's first three characters and the caption's last.
// Empty for the label and separator columns.
std::string addressText(int row, int column);

std::string hexText(uint8_t value);
// The character of a byte as shown: empty for control bytes (0x00-0x1F, 0x7F-0x9F),
// otherwise the byte itself (Latin-1).
std::string charText(uint8_t value);
// The text a data cell shows for the image.
std::string cellText(const CDataImage& image, int row, int column);

// Hex editor text -> byte: empty is 0xFF, one digit d is 0d, two digits the byte.
// Anything else (three characters, a non-hex character) is refused.
std::optional<uint8_t> parseHex(std::string_view text);

// Commits an editor's text to the byte of a hex or character cell. Hex: as parseHex.
// Character: the first character is the byte; an empty text leaves the byte alone.
// Returns the byte now stored, or nullopt when nothing was written.
std::optional<uint8_t> commit(CDataImage& image, int row, int column, std::string_view text);

// Cursor moves with wrap-around between lines; nullopt means "use the grid's own move".
struct Cell {
    int row;
    int column;
    bool operator==(const Cell&) const = default;
};
// Right arrow on the last hex or character column goes on to the first one of the
// next higher line (the row above); not on the top row.
std::optional<Cell> moveRight(int row, int column);
// Left arrow on the first hex or character column goes back to the last one of the
// next lower line (the row below); not on the bottom row.
std::optional<Cell> moveLeft(int row, int column);
Cell home(int row, bool ctrl);
Cell end(int row, bool ctrl);

} // namespace vrl::memmap
