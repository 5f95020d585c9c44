#include "channels/frequency.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

namespace vrl {
namespace {

using Bytes4 = std::array<uint8_t, 4>;

struct EncodeCase {
    double mhz;
    FreqSide side;
    bool vhf;
    bool fineStep;
    Bytes4 bytes;
    uint8_t step;
    long hz;
};

TEST(FrequencyCodec, EncodesKnownValuesWithStepSelection) {
    const EncodeCase cases[] = {
        // 6.25 kHz multiple on VHF receive.
        {148.00625, FreqSide::Receive, true, false, {0x25, 0x06, 0x80, 0x14}, 0x32, 148006250},
        // 7.5 kHz is never tried on UHF: rounded down to 6.25 kHz.
        {450.0075, FreqSide::Receive, false, false, {0x25, 0x06, 0x00, 0x45}, 0x32, 450006250},
        {148.0, FreqSide::Receive, true, false, {0x00, 0x00, 0x80, 0x14}, 0x35, 148000000},
        {146.5, FreqSide::Receive, true, false, {0x00, 0x00, 0x65, 0x14}, 0x35, 146500000},
        {148.0125, FreqSide::Receive, true, false, {0x50, 0x12, 0x80, 0x14}, 0x35, 148012500},
        // Transmit on VHF starts at 7.5 kHz.
        {148.0, FreqSide::Transmit, true, false, {0x00, 0x00, 0x80, 0x14}, 0x32, 148000000},
        {148.005, FreqSide::Transmit, true, false, {0x00, 0x05, 0x80, 0x14}, 0x33, 148005000},
        // Transmit on UHF starts at 6.25 kHz.
        {450.0, FreqSide::Transmit, false, false, {0x00, 0x00, 0x00, 0x45}, 0x32, 450000000},
        // 2.5 kHz is the finest VHF step without the switch...
        {148.0025, FreqSide::Receive, true, false, {0x50, 0x02, 0x80, 0x14}, 0x30, 148002500},
        // ...1.25 kHz needs it; without it the value is rounded down to 5 kHz.
        {148.00125, FreqSide::Receive, true, true, {0x25, 0x01, 0x80, 0x14}, 0x2F, 148001250},
        {148.00125, FreqSide::Receive, true, false, {0x00, 0x00, 0x80, 0x14}, 0x31, 148000000},
        // UHF: 2.5 kHz is not offered, 5 kHz is.
        {450.0025, FreqSide::Receive, false, false, {0x00, 0x00, 0x00, 0x45}, 0x32, 450000000},
        {450.005, FreqSide::Receive, false, false, {0x00, 0x05, 0x00, 0x45}, 0x31, 450005000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mhz);
        const EncodedFrequency e = encodeFrequency(c.mhz, c.side, c.vhf, c.fineStep);
        EXPECT_EQ(e.bytes, c.bytes);
        EXPECT_EQ(e.stepCode, c.step);
        EXPECT_EQ(e.hz, c.hz);
    }
}

TEST(FrequencyCodec, DecodesToEightDigitsWithPointAfterThird) {
    const Bytes4 b{0x25, 0x06, 0x80, 0x14};
    EXPECT_EQ(formatFrequency(b), "148.00625");
    EXPECT_EQ(frequencyHz(b), 148006250);
    const Bytes4 blank{0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(formatFrequency(blank), "");
    EXPECT_FALSE(frequencyHz(blank).has_value());
}

TEST(FrequencyCodec, PackAndFormatRoundTripEvery10HzValue) {
    for (long hz = 100000000; hz < 560000000; hz += 7654321) {
        const long stored = hz - hz % 10;
        const Bytes4 b = packFrequencyHz(stored);
        EXPECT_EQ(frequencyHz(b), stored);
        auto text = formatFrequency(b);
        EXPECT_EQ(std::llround(parseFrequencyText(text).value_or(0) * 1e6), stored) << text;
    }
}

TEST(FrequencyCheck, ClampsAndFlagsOutOfBand) {
    const BandLimits vhf = bandLimitsOf("148-174MHz", true);
    struct Case {
        double in;
        double out;
        bool outOfBand;
        const char* text;
    };
    const Case cases[] = {
        {50, 148, true, "148.00000"},   // below the outer limit: band low
        {120, 120, true, "120.00000"},  // inside the outer limits: kept
        {148, 148, false, "148.00000"},
        {174, 174, false, "174.00000"},
        {200, 200, true, "200.00000"},
        {281, 174, true, "174.00000"},  // above the outer limit: band high
    };
    for (const auto& c : cases) {
        const CheckedFrequency r = checkFrequency(c.in, vhf);
        EXPECT_DOUBLE_EQ(r.mhz, c.out) << c.in;
        EXPECT_EQ(r.outOfBand, c.outOfBand) << c.in;
        EXPECT_EQ(r.text, c.text) << c.in;
    }
    const BandLimits uhf = bandLimitsOf("450-490MHz", false);
    EXPECT_DOUBLE_EQ(checkFrequency(300, uhf).mhz, 450);
    EXPECT_DOUBLE_EQ(checkFrequency(340, uhf).mhz, 340);
    EXPECT_DOUBLE_EQ(checkFrequency(600, uhf).mhz, 490);
}

TEST(FrequencyText, AcceptsDecimalCommaAndRejectsNoNumber) {
    EXPECT_DOUBLE_EQ(parseFrequencyText("148,0125").value(), 148.0125);
    EXPECT_DOUBLE_EQ(parseFrequencyText(" 146.5").value(), 146.5);
    EXPECT_FALSE(parseFrequencyText("").has_value());
    EXPECT_FALSE(parseFrequencyText(".").has_value());
    EXPECT_FALSE(parseFrequencyText("abc").has_value());
}

TEST(FrequencyCodec, StepCodeLookup) {
    EXPECT_EQ(stepHzOfCode(0x2F), 1250);
    EXPECT_EQ(stepHzOfCode(0x32), 6250);
    EXPECT_EQ(stepHzOfCode(0x36), 15000);
    EXPECT_EQ(stepHzOfCode(0x37), 0);
    EXPECT_EQ(stepHzOfCode(0xFF), 0);
}

} // namespace
} // namespace vrl
