// The default test-frequency table: six entries around the centre of the data's
// band, loaded when all test frequencies are blank and when the model changes.
#pragma once

#include "model/data_image.h"

#include <array>
#include <string_view>

namespace vrl {

struct TestFrequencyPair {
    double rxMHz;
    double txMHz;
};

// The six default entries for a band and market (market codes 2 and 5 use a
// single-frequency first entry).
std::array<TestFrequencyPair, 6> defaultTestFrequencies(std::string_view bandText, uint8_t market);

// Sets the 16-entry table at 0x0140 to 0xFF and writes the six defaults of the
// given band and market into its first entries.
void loadDefaultTestFrequencies(CDataImage& image, std::string_view bandText, uint8_t market,
                                bool vhf);

// The same for the model identity in the image (nothing but the blanking when the
// identity names no band).
void loadDefaultTestFrequencies(CDataImage& image);

} // namespace vrl
