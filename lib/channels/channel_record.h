// One conventional channel as stored in the image: the 48-byte channel record, the
// field codes the editors use, and the per-slot side tables (ID, BOT and EOT codes).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace vrl {

// The 19 channel fields, in the order of the edit window's controls.
enum class ChannelField : int {
    Receive = 0,
    Transmit = 1,
    Decode = 2,
    Encode = 3,
    Name = 4,
    OptionSignalling = 5,
    IdCode = 6,
    BusyLockout = 7,
    TxPower = 8,
    Width = 9,
    PttId = 10,
    BeginOfTx = 11,
    EndOfTx = 12,
    Scrambler = 13,
    BeatShift = 14,
    Compander = 15,
    Priority = 16,
    Home = 17,
    ScanAdd = 18,
};
inline constexpr int kChannelFieldCount = 19;

inline constexpr ChannelField fieldOf(int code) { return static_cast<ChannelField>(code); }
inline constexpr int codeOf(ChannelField f) { return static_cast<int>(f); }

// Offsets inside a channel record.
namespace rec {
inline constexpr size_t kChannelNo = 0x00;
inline constexpr size_t kGroupNo = 0x01;
inline constexpr size_t kName = 0x02;
inline constexpr size_t kNameSize = 8;
inline constexpr size_t kRxFreq = 0x0C;
inline constexpr size_t kTxFreq = 0x10;
inline constexpr size_t kRxStep = 0x14;
inline constexpr size_t kTxStep = 0x15;
inline constexpr size_t kDecode = 0x16;
inline constexpr size_t kEncode = 0x18;
inline constexpr size_t kScrambler = 0x1E;
inline constexpr size_t kOptionSignalling = 0x1F;
inline constexpr size_t kFlags = 0x20;  // width b0, compander b1, power b2, beat b5, PTT b6-7
inline constexpr size_t kFlags2 = 0x21; // busy lockout b0-1, PTT-set b2
} // namespace rec

// A copy of one channel record.
struct ChannelRecord {
    static constexpr size_t kSize = 48;
    std::array<uint8_t, kSize> bytes;

    ChannelRecord() { bytes.fill(0xFF); }
    bool isFree() const {
        return bytes[0] == 0xFF && bytes[1] == 0xFF && bytes[2] == 0xFF && bytes[3] == 0xFF;
    }
    std::span<const uint8_t, 4> rxFrequency() const {
        return std::span<const uint8_t, 4>(bytes.data() + rec::kRxFreq, 4);
    }
    std::span<const uint8_t, 4> txFrequency() const {
        return std::span<const uint8_t, 4>(bytes.data() + rec::kTxFreq, 4);
    }
};

} // namespace vrl
