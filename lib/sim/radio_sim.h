// A simulated radio: bytes in, bytes out. It holds one radio's 32768-byte memory,
// its identity, firmware version text, data password, information block and check
// sum, and answers the programming protocol the way the program relies on. Faults
// can be injected to exercise the program's recovery paths.
#pragma once

#include "link/radio_link.h"
#include "model/image_layout.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace vrl::sim {

class TrunkingBoardSim;

using Memory = std::array<uint8_t, layout::kRadioMemorySize>;

struct SimFaults {
    int dropCommand = 0;       // the Nth command (1-based) goes unheard; 0 = none
    int dropCount = 1;         // ... and so many commands from it on
    std::vector<int> lateCommands; // these commands (1-based) are answered after lateDelayMs
    int lateDelayMs = 5000;
    int lateBlock = -1;        // the first reply to a request for this block comes late
    int lateAckBlock = -1;     // the radio's first ACK that closes this block comes late
    int badChecksumBlock = -1; // the first read of this block carries a wrong checksum
    int nakBlock = -1;         // the first write of this block is answered NAK
    int hangupBlock = -1;      // the line hangs up when this block is asked for
    int silentBlock = -1;      // requests for this block go unanswered ...
    int silentTimes = 3;       // ... this many times
    // Single bytes changed on the line, each once:
    int hitReplyMarkerBlock = -1; // the first read reply of this block has its first byte
                                  // changed ("W" arrives as "Z", "Z" as "W")
    int hitBlockNumberBlock = -1; // the first write of this block arrives with the low byte
                                  // of its block number changed (stored one block off) ...
    int hitBlockNumberTimes = 1;  // ... and so many writes of it from there on
    int hitFillBlock = -1;        // the fill byte of the first "Z" write of this block, or
                                  // of its first "Z" read reply, arrives changed
    int hitRequestNumberBlock = -1; // the first read request of this block arrives with the
                                    // low byte of its block number changed (one block off)
};

struct SimConfig {
    IdentityBytes identity{};  // bytes 0-6 are the hardware's; byte 7 comes from memory
    FirmwareVersion version{'v', '2', '.', '3', '0', ' ', ' ', ' ', ' ', ' '};
    InfoBlock info{};
    int answerBaud = 9600;
    int keyDelayMs = 0; // the radio answers a key command only after this time
    SimFaults faults;
};

// The information block with a serial number in bytes 16-27, 0xFF elsewhere.
InfoBlock infoBlockWithSerial(std::string_view serial);

// Firmware text padded with blanks to 10 bytes (longer texts are cut).
FirmwareVersion firmwareFromText(std::string_view text);

class RadioSimulator {
  public:
    struct Reply {
        std::vector<uint8_t> bytes;
        int delayMs = 0;
        bool hangup = false;
    };

    RadioSimulator(const SimConfig& config, const Memory& memory);

    // Bytes that arrived on a line running at `lineBaud`, at time `nowMs`. A line at
    // another rate than the radio's delivers only noise, which the radio ignores.
    Reply receive(std::span<const uint8_t> bytes, int lineBaud, int64_t nowMs);

    // A trunking board fitted behind the radio: while the radio is not programming,
    // bytes that open the board, and every byte while it is open, go to it.
    void attachBoard(TrunkingBoardSim* board) { board_ = board; }
    TrunkingBoardSim* board() const { return board_; }

    const Memory& memory() const { return memory_; }
    IdentityBytes identity() const;
    // Low 16 bits of the sum of the memory bytes.
    uint16_t checkSum() const;
    // Puts a data password into memory (digits; empty removes it).
    void setDataPassword(std::string_view digits);

    bool memoryWritten() const { return written_; }
    void clearWritten() { written_ = false; }
    bool inProgramMode() const { return state_ != State::Idle && state_ != State::CheckSum; }
    int commandCount() const { return commands_; }
    int blocksRead() const { return blocksRead_; }
    int blocksWritten() const { return blocksWritten_; }
    int protocolErrors() const { return protocolErrors_; }
    // From now on the next `count` commands go unheard (a cable pulled for a moment).
    void dropNextCommands(int count) {
        config_.faults.dropCommand = commands_ + 1;
        config_.faults.dropCount = count;
    }

    // --- The test state ("TUNING ") ---------------------------------------------
    // What a technician at the radio would see, one line per change.
    void setReporter(std::function<void(const std::string&)> report) {
        report_ = std::move(report);
    }
    bool inTestState() const {
        return state_ == State::Test || (state_ == State::AwaitAck && afterAck_ == State::Test);
    }
    int testChannel() const { return testChannel_; }
    int signalling() const { return signalling_; }
    int bandwidth() const { return bandwidth_; }
    bool keyed() const { return keyed_; }
    int volume() const { return volume_; }
    bool mobile() const { return config_.identity[0] == 'M'; }
    // An item's value as stepped, and as kept (steps not yet kept are dropped when
    // the radio returns to a test channel).
    uint8_t itemValue(uint8_t item) const { return working_[item]; }
    uint8_t keptValue(uint8_t item) const { return kept_[item]; }
    void setItemValue(uint8_t item, uint8_t value) { working_[item] = kept_[item] = value; }
    // The 90-byte tuning data: every item's value at its place.
    std::array<uint8_t, 90> tuningData() const;

    // Idle time after which a half-received command is forgotten.
    static constexpr int kCommandGapMs = 300;

  private:
    enum class State { Idle, CheckSum, Program, AwaitAck, Test };
    enum class Parse { Done, NeedMore, Drop };

    Parse parseOne(Reply& reply);
    Parse idleCommand(Reply& reply);
    Parse programCommand(Reply& reply);
    Parse testCommand(Reply& reply);
    Parse itemCommand(Reply& reply);
    void report(const std::string& line) const;
    std::vector<uint8_t> itemValues() const;
    bool heard(Reply& reply); // counts a command; false when the fault drops it
    void replyData(Reply& reply, std::span<const uint8_t> data, State after);
    void readBlockReply(Reply& reply, int block);
    bool passwordSet() const;
    // Hang-up and silence faults of a block request; true when the request is answered.
    bool blockAnswered(Reply& reply, int block);
    // Late-reply faults of a block's reply and of the ACK that closes a block.
    void lateBlockReply(Reply& reply, int block);
    void lateBlockAck(Reply& reply, int block);
    // The block number of a write command as it arrives (the block-number hit).
    int hitBlockNumber(int block);

    SimConfig config_;
    Memory memory_;
    TrunkingBoardSim* board_ = nullptr;
    std::vector<uint8_t> pending_;
    int64_t lastInputMs_ = 0;
    State state_ = State::Idle;
    State afterAck_ = State::Program;
    uint8_t closingReply_ = kAck; // the answer to the program's closing ACK
    bool passwordAccepted_ = false;
    bool written_ = false;
    bool badChecksumSent_ = false;
    bool nakSent_ = false;
    bool lateBlockSent_ = false;
    bool lateAckSent_ = false;
    bool markerHit_ = false;
    int blockNumberHits_ = 0;
    bool fillHit_ = false;
    bool requestHit_ = false;
    int lastBlock_ = -1; // the block whose read reply awaits the program's ACK
    int silentCount_ = 0;
    int commands_ = 0;
    int blocksRead_ = 0;
    int blocksWritten_ = 0;
    int protocolErrors_ = 0;

    std::function<void(const std::string&)> report_;
    int testChannel_ = 0;
    int signalling_ = 0;
    int bandwidth_ = 0;
    bool keyed_ = false;
    int volume_ = 16;
    uint8_t item_ = 0;
    std::array<uint8_t, 256> working_{};
    std::array<uint8_t, 256> kept_{};
};

} // namespace vrl::sim
