// Extended function: the phase of the ST reverse burst, one byte at 0x02D3
// (0xFF = +180 degrees, 0x00 = -120 degrees).
#pragma once

#include "model/data_image.h"

#include <cstddef>
#include <string>

namespace vrl {

class ExtendedFunction {
  public:
    static constexpr size_t kReverseBurstPhase = 0x02D3;
    static constexpr int kPhaseItemCount = 2;

    explicit ExtendedFunction(CDataImage& image) : image_(image) {}

    // The texts of the phase choices, in item order ("+180", "-120").
    static const char* phaseItemText(int item);

    // Item 0 for 0xFF, 1 for 0x00, -1 for any other stored value.
    int reverseBurstPhase() const;
    // Stores the byte of item 0 or 1; any other index leaves the byte alone.
    void setReverseBurstPhase(int item);
    // "+180", "-120" or an empty text (as printed).
    std::string reverseBurstPhaseText() const;

  private:
    CDataImage& image_;
};

} // namespace vrl
