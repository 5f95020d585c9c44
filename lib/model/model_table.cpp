#include "model/model_table.h"

#include <charconv>

namespace vrl {

const std::array<ModelRow, kModelRowCount>& modelTable() {
    // Band indices refer to kBandTable:
    //  0 146-174  1 148-174  2 150-174  3 136-150  4 136-162  5 440-470
    //  6 450-470  7 450-490  8 470-490  9 485-512 10 485-520 11 400-430
    // 12 490-512 13 490-520 14 400-420 15 403-430 16 350-390 17 350-370
    static const std::array<ModelRow, kModelRowCount> table{{
        {"RM-140A[8CH]:K", "M1400", 0, {1, 4}, 2},
        {"RM-140A[8CH]:E", "M1400", 2, {0}, 1},
        {"RM-140A[8CH]:(N)E", "M1400", 5, {0}, 1},
        {"RM-150A[8CH]:M", "M1500", 1, {1, 4}, 2},
        {"RM-160A[128CH]:K", "M1600", 0, {1, 4}, 2},
        {"RM-160A[128CH]:M", "M1600", 1, {0}, 1},
        {"RM-160A[128CH]:(N)E", "M1600", 5, {0}, 1},
        {"RM-150A[128CH]:C", "M1500", 3, {1, 4}, 2},
        {"RM-440A[8CH]:K", "M4400", 0, {7, 9}, 2},
        {"RM-440A[8CH]:E", "M4400", 2, {5}, 1},
        {"RM-440A[8CH]:(N)E", "M4400", 5, {5}, 1},
        {"RM-450A[8CH]:M", "M4500", 1, {7, 11}, 2},
        {"RM-460A[128CH]:K", "M4600", 0, {7, 9, 11}, 3},
        {"RM-460A[128CH]:M", "M4600", 1, {7, 10, 11}, 3},
        {"RM-450A[128CH]:C", "M4500", 3, {7, 11, 16}, 3},
        {"RP-110A[8CH]:K", "P1100", 0, {2, 3}, 2},
        {"RP-110A[8CH]:M", "P1100", 1, {2}, 1},
        {"RP-110A[8CH]:E", "P1100", 2, {0}, 1},
        {"RP-110A[8CH]:(N)E,(N)T", "P1100", 5, {0, 3}, 2},
        {"RP-120A[128CH]:K", "P1200", 0, {2, 3}, 2},
        {"RP-120A[128CH]:M", "P1200", 1, {2, 3}, 2},
        {"RP-120A[128CH]:E", "P1200", 2, {0}, 1},
        {"RP-120A[128CH]:(N)E,(N)T", "P1200", 5, {0}, 1},
        {"RP-150A[16CH]:M", "P1500", 1, {2, 3}, 2},
        {"RP-150A[128CH]:C", "P1500", 3, {2, 3}, 2},
        {"RP-130A[32CH]:K", "P1300", 0, {2, 3}, 2},
        {"RP-410A[8CH]:K", "P4100", 0, {6, 8, 12, 15}, 4},
        {"RP-410A[8CH]:M", "P4100", 1, {6, 8, 15}, 3},
        {"RP-410A[8CH]:E", "P4100", 2, {5, 15}, 2},
        {"RP-410A[8CH]:(N)E", "P4100", 5, {5, 15}, 2},
        {"RP-420A[128CH]:K", "P4200", 0, {6, 8, 12, 15}, 4},
        {"RP-420A[128CH]:M", "P4200", 1, {6, 8, 13, 15}, 4},
        {"RP-420A[128CH]:E", "P4200", 2, {5}, 1},
        {"RP-420A[128CH]:(N)E", "P4200", 5, {5}, 1},
        {"RP-450A[16CH]:M", "P4500", 1, {6, 14}, 2},
        {"RP-450A[128CH]:C", "P4500", 3, {6, 14}, 2},
        {"RP-430A[32CH]:K", "P4300", 0, {6, 8, 12, 15}, 4},
        {"RP-470A[128CH]:M", "P4700", 1, {17}, 1},
    }};
    return table;
}

namespace models {

int findRow(char family, std::string_view digits, uint8_t market) {
    const auto& table = modelTable();
    for (int row = 0; row < kModelRowCount; ++row) {
        const ModelRow& r = table[row];
        if (r.family() == family && r.code.substr(1) == digits && r.market == market) return row;
    }
    return kNoRow;
}

int findRow(const ModelIdentity& id) {
    return findRow(id.family(), id.codeDigits(), id.market());
}

int bandPosition(int row, uint8_t bandCode) {
    if (row < 0 || row >= kModelRowCount) return -1;
    int position = -1;
    switch (bandCode) {
    case 4:
    case 6: position = 0; break;
    case 5:
    case 7: position = 1; break;
    case 8: position = (row == 11 || row == 14) ? 1 : 2; break;
    case 9:
        position = modelTable()[row].bandCount == 2 ? 1 : (row == 27 ? 2 : 3);
        break;
    case 11: position = row == 14 ? 2 : (row == 37 ? 0 : -1); break;
    default: return -1;
    }
    const ModelRow& r = modelTable()[row];
    // A band code the row does not carry names no band of it, whatever the rule says.
    if (position < 0 || position >= r.bandCount || r.bandCode(position) != bandCode) return -1;
    return position;
}

std::string_view bandText(int row, uint8_t bandCode) {
    int position = bandPosition(row, bandCode);
    return position < 0 ? std::string_view() : modelTable()[row].band(position);
}

bool isAcceptable(const ModelIdentity& id) {
    int row = findRow(id);
    return row != kNoRow && bandPosition(row, id.band()) >= 0;
}

int capacityOfRow(int row) {
    if (row < 0 || row >= kModelRowCount) return 8;
    return capacityFromLabel(modelTable()[row].label);
}

int capacityFromLabel(std::string_view label) {
    if (label.find("[8CH]") != std::string_view::npos) return 8;
    if (label.find("[16CH]") != std::string_view::npos) return 16;
    if (label.find("[32CH]") != std::string_view::npos) return 32;
    if (label.find("[128CH]") != std::string_view::npos) return 128;
    return 8;
}

int marketKind(std::string_view label) {
    std::string_view tail = label.size() > 10 ? label.substr(10) : std::string_view();
    auto has = [&](std::string_view s) { return tail.find(s) != std::string_view::npos; };
    if (has("]:K")) return kKindK;
    if (has("]:M")) return kKindM;
    if (has("]:E")) return kKindE;
    if (has("]:C")) return kKindC;
    if (has("]:(N)E,(N)T")) return kKindNENT;
    if (has("]:(N)E")) return kKindNE;
    return kKindK;
}

std::string_view marketLetters(uint8_t marketCode) {
    static constexpr std::array<std::string_view, 6> kLetters{"K", "M", "E", "C", "X", "(N)E"};
    return marketCode < kLetters.size() ? kLetters[marketCode] : std::string_view();
}

bool isVhfBand(uint8_t bandCode) { return bandCode == 4 || bandCode == 5; }

std::string_view vhfUhfText(uint8_t bandCode) {
    if (isVhfBand(bandCode)) return "VHF";
    if ((bandCode >= 6 && bandCode <= 9) || bandCode == 11) return "UHF";
    return {};
}

int featureClass(int row) {
    if (row == 5 || row == 13 || row == 20 || row == 31) return 2;
    if (row == 16 || row == 27) return 1;
    return 0;
}

bool isSecondGroupRow(int row, uint8_t bandCode) {
    return row == 3 || row == 7 || row == 11 || (row == 14 && (bandCode == 6 || bandCode == 8));
}

RowGroup groupOf(int row) {
    if (row <= 7) return RowGroup::MobileVhf;
    if (row <= 14) return RowGroup::MobileUhf;
    if (row <= 25) return RowGroup::PortableVhf;
    return RowGroup::PortableUhf;
}

int groupFirstRow(RowGroup group) {
    static constexpr std::array<int, 5> kFirst{0, 8, 15, 26, kModelRowCount};
    return kFirst[static_cast<int>(group)];
}

std::vector<int> rowsOfGroup(RowGroup group) {
    std::vector<int> rows;
    int first = groupFirstRow(group);
    int end = group == RowGroup::PortableUhf
                  ? kModelRowCount
                  : groupFirstRow(static_cast<RowGroup>(static_cast<int>(group) + 1));
    for (int row = first; row < end; ++row) rows.push_back(row);
    return rows;
}

int rowOfLabel(std::string_view label) {
    for (int row = 0; row < kModelRowCount; ++row)
        if (modelTable()[row].label == label) return row;
    return kNoRow;
}

static int decimalAt(std::string_view text, size_t pos) {
    if (text.size() < pos + 3) return 0;
    int value = 0;
    auto [end, ec] = std::from_chars(text.data() + pos, text.data() + pos + 3, value);
    return ec == std::errc() && end == text.data() + pos + 3 ? value : 0;
}

int bandLowMHz(std::string_view text) { return decimalAt(text, 0); }
int bandHighMHz(std::string_view text) { return decimalAt(text, 4); }

ModelIdentity identityFor(int row, int bandPosition, OptionBoard board) {
    const ModelRow& r = modelTable().at(row);
    ModelIdentity id;
    for (int i = 0; i < 5; ++i) id.bytes[i] = static_cast<uint8_t>(r.code[i]);
    int pos = bandPosition >= 0 && bandPosition < r.bandCount ? bandPosition : 0;
    id.bytes[5] = static_cast<uint8_t>(r.market << 4 | r.bandCode(pos));
    id.bytes[6] = optionByteFor(board);
    return id;
}

bool trunkingAllowed(std::string_view label) {
    int kind = marketKind(label);
    return kind != kKindE && kind != kKindNE && kind != kKindNENT;
}

} // namespace models
} // namespace vrl
