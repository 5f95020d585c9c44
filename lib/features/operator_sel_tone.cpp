#include "features/operator_sel_tone.h"

#include "features/field_areas.h"
#include "features/model_predicates.h"

#include <algorithm>
#include <stdexcept>

namespace vrl {

void OperatorSelectableTone::check(int row, int column) {
    if (row < 0 || row >= kRowCount || column < 0 || column >= kColumnCount)
        throw std::out_of_range("operator selectable tone cell");
}

ToneCode OperatorSelectableTone::tone(int row, int column) const {
    check(row, column);
    return image_.u16(offsetOf(row, column));
}

std::string OperatorSelectableTone::toneText(int row, int column, std::string_view offText) const {
    return FormatTone(tone(row, column), offText);
}

std::string OperatorSelectableTone::setToneText(int row, int column, std::string_view text,
                                                std::string_view offText) {
    check(row, column);
    std::string typed(text);
    if (typed != offText) std::replace(typed.begin(), typed.end(), ',', '.');
    image_.setU16(offsetOf(row, column), ParseTone(typed, offText));
    return toneText(row, column, offText);
}

// ---- field table -------------------------------------------------------------

namespace {

constexpr int kOffText = kToneOffTextIndex;
constexpr int kGridId = 1306;
constexpr int kColumnHeaderTexts[OperatorSelectableTone::kColumnCount] = {474, 475};

// The characters the tone editor takes: digits, '.', ',' and D, I, N.
std::string toneCharacters() {
    std::string allowed;
    for (int c = 0x20; c < 0x7F; ++c)
        if (filterToneChar(static_cast<char>(c)) != 0) allowed.push_back(static_cast<char>(c));
    return allowed;
}

FieldTable toneFields(const FieldContext& ctx) {
    FieldTable table;
    const std::string allowed = toneCharacters();
    for (int row = 0; row < OperatorSelectableTone::kRowCount; ++row) {
        for (int column = 0; column < OperatorSelectableTone::kColumnCount; ++column) {
            Field f;
            f.key = "ost." + std::to_string(row + 1) + ".tone_" + std::to_string(column + 1);
            // The row number and the column's header, as the grid shows the cell.
            f.label = std::to_string(row + 1) + " " + ctx.text(kColumnHeaderTexts[column]);
            f.kind = FieldKind::Cell;
            f.controlId = kGridId;
            f.maxLength = 5;
            f.allowed = allowed;
            f.upperCase = true;
            f.text = [row, column](const FieldContext& c) {
                return OperatorSelectableTone(c.image()).toneText(row, column, c.text(kOffText));
            };
            f.setText = [row, column](FieldContext& c, const std::string& t) {
                OperatorSelectableTone(c.image()).setToneText(row, column, t, c.text(kOffText));
            };
            table.push_back(std::move(f));
        }
    }
    return table;
}

} // namespace

FieldArea operatorSelToneArea() {
    FieldArea area;
    area.name = "ost";
    area.titleText = 473;
    area.build = toneFields;
    // The 32- and 128-channel models of market K have operator selectable tones.
    area.offered = [](const FieldContext& c) {
        return predicates::isWideModel(c.image()) && predicates::variantCode(c.image()) == 1;
    };
    return area;
}

} // namespace vrl
