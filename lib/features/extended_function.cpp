#include "features/extended_function.h"

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
