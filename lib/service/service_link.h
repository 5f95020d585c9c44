// The radio's test-mode and tuning-mode commands, byte for byte, over the radio
// link. Each command is one write and its whole reply; the caller decides what a
// failure means (the sessions in test_mode.h ask Retry/Cancel).
#pragma once

#include "link/radio_link.h"
#include "service/test_frequency.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace vrl {

inline constexpr int kTuningDataSize = 90;
using TuningData = std::array<uint8_t, kTuningDataSize>;

// The read time-out in force in the test state, and the longer ones of single replies.
inline constexpr int kTestReadTimeoutMs = 500;
inline constexpr int kQuery7CTimeoutMs = 3000;
// Pause after unkeying before the radio takes an item command.
inline constexpr int kUnkeyPauseMs = 300;

// The wait for the radio's answer to a key or unkey command: keying with a
// signalling that the radio first sends as a sequence (DTMF, 2-tone, single tone)
// takes longer.
int keyReplyTimeoutMs(int signalling);

// Outcome of selecting a test channel.
enum class ChannelReply { Accepted, Refused, Failed };

class ServiceLink {
  public:
    explicit ServiceLink(RadioLink& link) : link_(link) {}
    RadioLink& link() { return link_; }

    // "TUNING ": the radio enters its test state.
    bool enterTestState();
    // 0x05: the 90-byte tuning data, closing ACK pair.
    bool readTuningData(TuningData& data);
    // 0x21 0x0C: the mobile's volume byte, closing ACK pair.
    bool readMobileByte(uint8_t& value);
    // 0x10 n: the channel's 8 bytes; the radio's answer to the closing ACK says
    // whether it took the channel (ACK) or refused it (NAK).
    ChannelReply selectTestChannel(int channel, TestChannelBytes& bytes);
    // 0x11 n (0 = none).
    bool selectSignalling(int signalling);
    // "F" for index 0, "G" for index 1.
    bool selectBandwidth(int index);
    // 0x08 0x0D / 0x08 0x0E, with the reply time of keyReplyTimeoutMs().
    bool setTransmit(bool keyed, int signalling);
    // 0x7C: 2 bytes, closing ACK pair, 3000 ms for the reply.
    bool query7C(std::array<uint8_t, 2>& reply);
    // "E": the radio leaves its test state.
    bool leave();

    // Tuning: item byte 0x0D.
    bool enterItem(uint8_t item);
    // 0x07: `count` bytes, closing ACK pair.
    bool readValues(int count, std::vector<uint8_t>& values);
    // A change of `delta` (-255..255) in one command: 0x0A / 0x0B for +-1, 0x1A n /
    // 0x1B n otherwise. A delta of 0 sends nothing.
    bool stepValue(uint8_t item, int delta);
    // Item byte 0x0E: the radio keeps the adjusted item.
    bool keepItem(uint8_t item);
    // 0x21 0x0A (up) or 0x21 0x0B (down), one volume step.
    bool volumeStep(bool up);
    // 0x1E 0x0A: one live reading, closing ACK pair.
    bool liveReading(uint8_t& value);

  private:
    bool commandAck(std::span<const uint8_t> command);
    bool commandData(std::span<const uint8_t> command, std::span<uint8_t> reply);
    bool closingAckPair();

    RadioLink& link_;
};

// The bytes of one step command (empty for a delta of 0).
std::vector<uint8_t> stepCommand(uint8_t item, int delta);

} // namespace vrl
