// The 16 test channels kept in the data image: a receive and a transmit frequency
// per entry, shown and entered as frequency texts. Test Mode compares a radio's
// test channels with this table before it lets the radio be driven.
//
// Entry n (1-16) is 10 bytes at 0x0140 + 10 * (n - 1): receive frequency (4 bytes,
// the channel form), transmit frequency, receive step code, transmit step code.
#pragma once

#include "channels/frequency.h"
#include "model/radio_data.h"

#include <array>
#include <cstdint>
#include <string>

namespace vrl {

inline constexpr int kTestChannelCount = 16;

// Language texts of the test frequency window.
namespace testfreqtext {
inline constexpr int kTitle = 469;
inline constexpr int kChannelHeader = 470;
inline constexpr int kReceiveHeader = 471;
inline constexpr int kTransmitHeader = 472;
inline constexpr int kOutOfBand = 9; // warning, caption 82
inline constexpr int kCaptionWarning = 82;
inline constexpr int kCloseMessage = 38; // information, caption 80
inline constexpr int kCaptionClose = 80;
} // namespace testfreqtext

enum class TestFrequencyResult {
    Ok,
    OutOfBand, // stored, but outside the model's band: the window warns
    Invalid,   // the text holds no number: nothing stored
};

// The receive and transmit frequency of a test channel as the radio sends them:
// each 4-byte group most significant byte first.
using TestChannelBytes = std::array<uint8_t, 8>;

class TestFrequencyTable {
  public:
    explicit TestFrequencyTable(RadioData& data) : data_(data) {}

    // "160.05000"; empty when blank or n is outside 1-16.
    std::string receiveText(int n) const;
    std::string transmitText(int n) const;

    // Stores an edited text (a comma counts as the decimal point). An empty receive
    // text blanks the whole entry, an empty transmit text only the transmit side.
    // When all 32 frequencies are blank afterwards, the default table is loaded
    // (defaultsLoaded() tells).
    TestFrequencyResult setReceiveText(int n, const std::string& text);
    TestFrequencyResult setTransmitText(int n, const std::string& text);
    // Whether a typed frequency would be stored with the out-of-band warning.
    bool outOfBand(const std::string& text) const;

    bool receiveBlank(int n) const;
    bool allBlank() const;
    // Whether the last set*Text loaded the default table.
    bool defaultsLoaded() const { return defaultsLoaded_; }

    // The entry as the radio holds its test channel n.
    TestChannelBytes wireBytes(int n) const;

  private:
    size_t entryOffset(int n) const;
    BandLimits bandLimits() const;
    TestFrequencyResult store(int n, const std::string& text, bool receive);

    RadioData& data_;
    bool defaultsLoaded_ = false;
};

// The test channel's bytes from the radio turned back into the image's form of an
// entry's first 8 bytes (each group least significant byte first), and back.
TestChannelBytes reverseGroups(const TestChannelBytes& bytes);

} // namespace vrl
