// RadioLink: the serial port plus the commands of the radio's programming protocol.
// Half-duplex and strictly alternating: every command writes, then reads the whole
// reply before the next write (a write discards unread input).
#pragma once

#include "link/serial_port.h"

#include <array>
#include <cstdint>
#include <span>

namespace vrl {

inline constexpr uint8_t kAck = 0x06;
inline constexpr uint8_t kNak = 0x15;
inline constexpr uint8_t kSyn = 0x16; // sent before the ACK at rates other than 9600

using IdentityBytes = std::array<uint8_t, 8>;
using FirmwareVersion = std::array<uint8_t, 10>;
using InfoBlock = std::array<uint8_t, 32>;
using PasswordBytes = std::array<uint8_t, 6>;

// Results of the command operations: 0 success, nonzero failure.
enum LinkResult : int {
    kLinkOk = 0,
    kLinkFailed = 1,
    kLinkRejected = 2,     // data password: the radio answered something else than ACK
    kLinkNotSupported = 4, // radio information: firmware without an information block
};

// Block read failure codes (every nonzero code is a failure to the caller).
enum BlockReadResult : int {
    kBlockOk = 0,
    kBlockRetriesExhausted = 1,
    kBlockCommandWriteFailed = 2, // the request (letter and block number) was not sent
    kBlockAckWriteFailed = 8,
    kBlockAckNotAcknowledged = 10,
    kBlockNakWriteFailed = 11,
    kBlockNakNotAcknowledged = 13,
};

// One step of the baud search: the rate tried and the read time-out it leaves in force.
struct BaudCandidate {
    const char* rate;
    int timeoutMs;
};
inline constexpr std::array<BaudCandidate, 5> kBaudSearch{{
    {"9600", 550}, {"19200", 550}, {"4800", 1100}, {"2400", 2200}, {"1200", 4400}}};

inline constexpr int kRadioBlockLength = 256;
inline constexpr int kTrunkBlockLength = 4;
inline constexpr int kCheckSumTimeoutMs = 6000;
inline constexpr int kIdentifyPauseMs = 50;
// After a time-out or an unexpected byte the line must stay quiet this many read
// time-outs before the next request, and must fall quiet within kResyncLimitFactor
// times that.
inline constexpr int kResyncQuietFactor = 3;
inline constexpr int kResyncLimitFactor = 10;

// A block reply is complete when its last byte has come and the line then stays
// quiet for this many character times (plus a margin for the system's scheduling):
// a byte within that time means the reply was misread (a changed head byte makes a
// 259-byte reply look like a 2-byte one) and the block is not acknowledged.
inline constexpr int kInterByteChars = 4;
inline constexpr int kInterByteMarginMs = 2;

class RadioLink : public SerialPort {
  public:
    using SerialPort::SerialPort;

    int blockLength() const { return blockLength_; }
    void setBlockLength(int length) { blockLength_ = length; }

    // Baud search with "PROGRAM"; the rate that answered stays in force.
    int enterProgramMode();
    int readIdentity(IdentityBytes& identity);
    int readFirmwareVersion(FirmwareVersion& version);
    // Firmware version first; "v1.00 " firmware has no information block.
    int readRadioInformation(InfoBlock& info);
    // "NORVALE", then 0x7C with a 6000 ms reply time, then the closing ACK pair. Runs at
    // the line settings in force, without programming mode.
    int readCheckSum(std::array<uint8_t, 2>& sum);
    int sendDataPassword(const PasswordBytes& password);
    // How a fill reply ("Z" and one byte, no checksum) is taken. Waited: the line
    // must stay quiet for interByteMs() before it is acknowledged, so that a "W"
    // reply whose head changed on the line is never taken for one. Unwaited: the
    // caller reads the block again and keeps it only when a waited answer agrees.
    enum class FillReply { Waited, Unwaited };
    // Data field of blockLength() bytes; `buffer` must hold at least that many.
    int readBlock(std::span<uint8_t> buffer, int block, bool useT,
                  FillReply fill = FillReply::Waited);
    int writeBlock(std::span<const uint8_t> buffer, int block, bool useY);
    int endProgramMode();
    // Close, open, then 9600 baud and a 500 ms time-out, without a baud search.
    int openForTestMode();

    // Closes the port when open and opens it again.
    bool reopen();

    // Lets the line fall quiet, dropping what arrives: a reply that comes after the
    // program stopped waiting is never read as the reply to the next request.
    // Every command runs it after a time-out or an unexpected byte.
    void resynchronise();

    // The quiet time that ends a reply at the line's rate (kInterByteChars).
    int interByteMs() const;

  private:
    bool readByte(uint8_t& byte);
    bool closingAckPair();
    // resynchronise(), then `result`.
    int failAfterResync(int result);

    int blockLength_ = kRadioBlockLength;
};

// Low 8 bits of the sum of the bytes.
uint8_t additiveChecksum(std::span<const uint8_t> bytes);

// The firmware text begins "v1.00 " (the oldest firmware).
bool isOldestFirmware(const FirmwareVersion& version);

} // namespace vrl
