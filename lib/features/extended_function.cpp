#include "features/extended_function.h"
#include "features/field_areas.h"
#include "model/model_table.h"

namespace vrl {

namespace {
constexpr uint8_t kPhaseBytes[ExtendedFunction::kPhaseItemCount] = {0xFF, 0x00};
constexpr const char* kPhaseTexts[ExtendedFunction::kPhaseItemCount] = {"+180", "-120"};
} // namespace

const char* ExtendedFunction::phaseItemText(int item) {
    return item >= 0 && item < kPhaseItemCount ? kPhaseTexts[item] : "";
}

int ExtendedFunction::reverseBurstPhase() const {
    const uint8_t b = image_.u8(kReverseBurstPhase);
    for (int i = 0; i < kPhaseItemCount; ++i)
        if (kPhaseBytes[i] == b) return i;
    return -1;
}

void ExtendedFunction::setReverseBurstPhase(int item) {
    if (item < 0 || item >= kPhaseItemCount) return;
    image_.setU8(kReverseBurstPhase, kPhaseBytes[item]);
}

std::string ExtendedFunction::reverseBurstPhaseText() const {
    return phaseItemText(reverseBurstPhase());
}

} // namespace vrl

// ---- field table -------------------------------------------------------------

namespace vrl {

FieldArea extendedFunctionArea() {
    FieldArea area;
    area.name = "extended";
    area.titleText = 477;
    area.build = [](const FieldContext&) {
        Field f;
        f.labelText = 478; // "ST Reverse Burst Phase [deg]"
        f.key = "extended.st_reverse_burst_phase_deg";
        f.kind = FieldKind::Combo;
        f.controlId = 1577;
        f.value = [](const FieldContext& c) { return ExtendedFunction(c.image()).reverseBurstPhase(); };
        f.setValue = [](FieldContext& c, int item) { ExtendedFunction(c.image()).setReverseBurstPhase(item); };
        f.choices = [](const FieldContext&) {
            std::vector<std::string> items;
            for (int i = 0; i < ExtendedFunction::kPhaseItemCount; ++i)
                items.emplace_back(ExtendedFunction::phaseItemText(i));
            return items;
        };
        return FieldTable{std::move(f)};
    };
    // Only the rows of the extended feature classes 1 and 2 have this window.
    area.offered = [](const FieldContext& c) {
        const int cls = models::featureClass(models::findRow(c.image().identity()));
        return cls == 1 || cls == 2;
    };
    return area;
}

} // namespace vrl
