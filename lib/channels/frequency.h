// The channel frequency codec: the band check of an entered frequency, the step
// selection, and the 4-byte packed-BCD form (units of 10 Hz, least significant
// byte first) with its one-byte step code. Used by channels and test frequencies.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vrl {

enum class FreqSide { Receive, Transmit };

// Step table: index i has code 0x2F + i.
inline constexpr std::array<long, 8> kStepHz{1250, 2500, 5000, 6250, 7500, 10000, 12500, 15000};
inline constexpr uint8_t kStepCodeBase = 0x2F;
// Step in Hz of a step code; 0 for a code outside the table.
long stepHzOfCode(uint8_t code);

// The band a model's frequencies are checked against.
struct BandLimits {
    int lowMHz = 0;  // band edges from the band text "148-174MHz"
    int highMHz = 0;
    bool vhf = true; // VHF models: outer limits 100-280 MHz; others 327-550 MHz
    int outerLowMHz() const { return vhf ? 100 : 327; }
    int outerHighMHz() const { return vhf ? 280 : 550; }
};
BandLimits bandLimitsOf(std::string_view bandText, bool vhf);

struct CheckedFrequency {
    double mhz = 0;   // the value of `text`: rounded to five decimals
    bool outOfBand = false;
    std::string text; // "%9.5f" of the checked value
};

// The leading decimal number of a text, with a comma taken as the decimal point;
// nullopt when the text holds no number.
std::optional<double> parseFrequencyText(std::string_view text);

// Band check: values below the outer low limit become the band low, above the
// outer high limit the band high; anything outside the band is flagged.
CheckedFrequency checkFrequency(double mhz, const BandLimits& band);

struct EncodedFrequency {
    std::array<uint8_t, 4> bytes{};
    uint8_t stepCode = 0xFF;
    long hz = 0; // the value stored, after any rounding down to a step
};

// Step selection and encoding of a checked value.
EncodedFrequency encodeFrequency(double mhz, FreqSide side, bool vhf, bool fineStep);

// Packs Hz (at 10 Hz resolution) into the 4-byte BCD form.
std::array<uint8_t, 4> packFrequencyHz(long hz);

// "148.00625" for stored bytes; empty for 0xFF 0xFF 0xFF 0xFF.
std::string formatFrequency(std::span<const uint8_t> fourBytes);

// Value in Hz of stored bytes; nullopt for a blank or non-BCD value.
std::optional<long> frequencyHz(std::span<const uint8_t> fourBytes);

} // namespace vrl
