#include "features/memory_map.h"

#include <cstdio>

namespace vrl::memmap {

namespace {
constexpr char kHexDigits[] = "0123456789ABCDEF";

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}
} // namespace

CellKind cellKind(int column) {
    if (column >= kFirstHexColumn && column <= kLastHexColumn) return CellKind::Hex;
    if (column >= kFirstCharColumn && column <= kLastCharColumn) return CellKind::Char;
    return CellKind::None;
}

bool isDataRow(int row) { return row >= 1 && row <= kLines; }
int lineOfRow(int row) { return kLines - row; }
int rowOfLine(int line) { return kLines - line; }

std::optional<size_t> offsetOf(int row, int column) {
    if (!isDataRow(row)) return std::nullopt;
    int byte = 0;
    switch (cellKind(column)) {
    case CellKind::Hex: byte = column - kFirstHexColumn; break;
    case CellKind::Char: byte = column - kFirstCharColumn; break;
    case CellKind::None: return std::nullopt;
    }
    return static_cast<size_t>(lineOfRow(row)) * 16 + static_cast<size_t>(byte);
}

int rowOfOffset(size_t offset) { return rowOfLine(static_cast<int>(offset / 16)); }
int hexColumnOfOffset(size_t offset) { return kFirstHexColumn + static_cast<int>(offset % 16); }

std::string rowLabel(int row) {
    if (!isDataRow(row)) return {};
    char buf[8];
    std::snprintf(buf, sizeof buf, "%.3X_", static_cast<unsigned>(lineOfRow(row)));
    return buf;
}

std::string columnCaption(int column) {
    int digit = -1;
    if (cellKind(column) == CellKind::Hex) digit = column - kFirstHexColumn;
    if (cellKind(column) == CellKind::Char) digit = column - kFirstCharColumn;
    if (digit < 0) return {};
    return std::string{'_', kHexDigits[digit]};
}

std::string addressText(int row, int column) {
    const std::string label = rowLabel(row);
    const std::string caption = columnCaption(column);
    if (label.size() < 3 || caption.empty()) return {};
    return label.substr(0, 3) + caption.back();
}

std::string hexText(uint8_t value) { return {kHexDigits[value >> 4], kHexDigits[value & 0xF]}; }

std::string charText(uint8_t value) {
    if (value < 0x20 || (value >= 0x7F && value <= 0x9F)) return {};
    return std::string(1, static_cast<char>(value));
}

std::string cellText(const CDataImage& image, int row, int column) {
    const auto offset = offsetOf(row, column);
    if (!offset) return {};
    const uint8_t b = image.u8(*offset);
    return cellKind(column) == CellKind::Hex ? hexText(b) : charText(b);
}

std::optional<uint8_t> parseHex(std::string_view text) {
    if (text.empty()) return 0xFF;
    if (text.size() > 2) return std::nullopt;
    int value = 0;
    for (char c : text) {
        const int d = hexValue(c);
        if (d < 0) return std::nullopt;
        value = value * 16 + d;
    }
    return static_cast<uint8_t>(value);
}

std::optional<uint8_t> commit(CDataImage& image, int row, int column, std::string_view text) {
    const auto offset = offsetOf(row, column);
    if (!offset) return std::nullopt;
    std::optional<uint8_t> value;
    if (cellKind(column) == CellKind::Hex)
        value = parseHex(text);
    else if (!text.empty())
        value = static_cast<uint8_t>(text.front());
    if (value) image.setU8(*offset, *value);
    return value;
}

std::optional<Cell> moveRight(int row, int column) {
    if (row <= 1 || !isDataRow(row)) return std::nullopt;
    if (column == kLastHexColumn) return Cell{row - 1, kFirstHexColumn};
    if (column == kLastCharColumn) return Cell{row - 1, kFirstCharColumn};
    return std::nullopt;
}

std::optional<Cell> moveLeft(int row, int column) {
    if (row >= kLines || !isDataRow(row)) return std::nullopt;
    if (column == kFirstHexColumn) return Cell{row + 1, kLastHexColumn};
    if (column == kFirstCharColumn) return Cell{row + 1, kLastCharColumn};
    return std::nullopt;
}

Cell home(int row, bool ctrl) { return {ctrl ? 1 : row, kFirstHexColumn}; }
Cell end(int row, bool ctrl) { return {ctrl ? kLines : row, kLastCharColumn}; }

} // namespace vrl::memmap
