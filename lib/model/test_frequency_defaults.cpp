#include "model/test_frequency_defaults.h"

#include "channels/frequency.h"
#include "model/model_table.h"

#include <cmath>

namespace vrl {

std::array<TestFrequencyPair, 6> defaultTestFrequencies(std::string_view bandText, uint8_t market) {
    const double low = models::bandLowMHz(bandText);
    const double high = models::bandHighMHz(bandText);
    // Centre of the band, on a whole megahertz.
    const double f = std::floor((low + high) / 2.0);
    const bool singleFrequency = market == 2 || market == 5;
    return {{
        {f + 0.05, singleFrequency ? f : f + 0.1},
        {low + 0.05, low + 0.1},
        {high - 0.05, high - 0.1},
        {f, f},
        {f + 0.2, f + 0.2},
        {f + 0.4, f + 0.4},
    }};
}

void loadDefaultTestFrequencies(CDataImage& image, std::string_view bandText, uint8_t market,
                                bool vhf) {
    using namespace layout;
    image.fill(kTestFrequencies, kTestFrequencyEntries * kTestFrequencyEntrySize, 0xFF);
    if (models::bandLowMHz(bandText) == 0) return;
    const auto entries = defaultTestFrequencies(bandText, market);
    for (size_t n = 0; n < entries.size(); ++n) {
        const size_t at = kTestFrequencies + n * kTestFrequencyEntrySize;
        // Round to 10 Hz before encoding so binary fractions never lose a step.
        auto rx = encodeFrequency(std::round(entries[n].rxMHz * 1e5) / 1e5, FreqSide::Receive,
                                  vhf, false);
        auto tx = encodeFrequency(std::round(entries[n].txMHz * 1e5) / 1e5, FreqSide::Transmit,
                                  vhf, false);
        for (int i = 0; i < 4; ++i) {
            image.setU8(at + i, rx.bytes[i]);
            image.setU8(at + 4 + i, tx.bytes[i]);
        }
        image.setU8(at + 8, rx.stepCode);
        image.setU8(at + 9, tx.stepCode);
    }
}

void loadDefaultTestFrequencies(CDataImage& image) {
    const ModelIdentity id = image.identity();
    const int row = models::findRow(id);
    loadDefaultTestFrequencies(image, models::bandText(row, id.band()), id.market(),
                               models::isVhfBand(id.band()));
}

} // namespace vrl
