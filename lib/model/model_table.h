// The fixed table of the 38 supported model variants (model index 0-37) and the
// 18 band texts with their band codes, plus the pure look-ups on them.
#pragma once

#include "model/identity.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vrl {

inline constexpr int kModelRowCount = 38;
inline constexpr int kNoRow = 255;

struct BandEntry {
    std::string_view text; // "148-174MHz"
    uint8_t code;          // 4-9 or 11
};

inline constexpr std::array<BandEntry, 18> kBandTable{{
    {"146-174MHz", 4}, {"148-174MHz", 4}, {"150-174MHz", 4}, {"136-150MHz", 5},
    {"136-162MHz", 5}, {"440-470MHz", 6}, {"450-470MHz", 6}, {"450-490MHz", 6},
    {"470-490MHz", 7}, {"485-512MHz", 7}, {"485-520MHz", 7}, {"400-430MHz", 8},
    {"490-512MHz", 8}, {"490-520MHz", 8}, {"400-420MHz", 9}, {"403-430MHz", 9},
    {"350-390MHz", 11}, {"350-370MHz", 11},
}};

struct ModelRow {
    std::string_view label; // "RM-140A[8CH]:K"
    std::string_view code;  // internal model code "M1400"
    uint8_t market;         // market code 0-5
    std::array<uint8_t, 4> bands; // indices into kBandTable
    uint8_t bandCount;

    char family() const { return code[0]; }
    std::string_view name() const { return label.substr(0, 7); }
    std::string_view band(int position) const { return kBandTable[bands[position]].text; }
    uint8_t bandCode(int position) const { return kBandTable[bands[position]].code; }
};

const std::array<ModelRow, kModelRowCount>& modelTable();

// Market kinds of a label (searched from character 10 on).
enum MarketKind : int { kKindK = 1, kKindE = 2, kKindNE = 3, kKindM = 4, kKindC = 5, kKindNENT = 6 };

// Radio-type/VHF-UHF groups of the table, in the order of the Model Type lists.
enum class RowGroup : int { MobileVhf = 0, MobileUhf = 1, PortableVhf = 2, PortableUhf = 3 };

namespace models {

// Row whose family letter, model-code digits and market all match; kNoRow when none.
int findRow(char family, std::string_view digits, uint8_t market);
int findRow(const ModelIdentity& id);

// True when the identity names a row and a band code that the row carries.
bool isAcceptable(const ModelIdentity& id);

// Position of `bandCode` in the row's band list by the fixed position rule; -1 when the
// code is not one of 4-9, 11 or the rule points at a band with another code.
int bandPosition(int row, uint8_t bandCode);
// Band text of the row's band with that code (empty when the row does not carry it).
std::string_view bandText(int row, uint8_t bandCode);

int capacityOfRow(int row);                 // 8, 16, 32 or 128 (8 for kNoRow)
int capacityFromLabel(std::string_view label); // "[8CH]" ... "[128CH]", else 8
int marketKind(std::string_view label);
std::string_view marketLetters(uint8_t marketCode); // "K", "M", "E", "C", "X", "(N)E"
std::string_view vhfUhfText(uint8_t bandCode);      // "VHF", "UHF" or ""
bool isVhfBand(uint8_t bandCode);

// Extra feature page class: 2 for rows 5, 13, 20, 31; 1 for rows 16, 27; else 0.
int featureClass(int row);
// Rows 3, 7, 11, and row 14 with band code 6 or 8.
bool isSecondGroupRow(int row, uint8_t bandCode);

RowGroup groupOf(int row);
int groupFirstRow(RowGroup group);
std::vector<int> rowsOfGroup(RowGroup group);
int rowOfLabel(std::string_view label); // kNoRow when unknown

// Band lower/upper edge in MHz from a band text "148-174MHz"; 0 when malformed.
int bandLowMHz(std::string_view bandText);
int bandHighMHz(std::string_view bandText);

// The identity the Model Information choice builds: family and code of the row,
// market and band code of (row, band position), the option byte of the board.
// Identity byte 7 is left at 0xFF for the caller.
ModelIdentity identityFor(int row, int bandPosition, OptionBoard board);

// Whether the Model Information dialog offers the trunking board for a label.
bool trunkingAllowed(std::string_view label);

} // namespace models
} // namespace vrl
