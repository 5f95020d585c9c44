// A simulated radio: bytes in, bytes out. It holds one radio's 32768-byte memory,
// its identity, firmware version text, data password, information block and check
// sum, and answers the programming protocol the way the program relies on. Faults
// can be injected to exercise the program's recovery paths.
#pragma once

#include "link/radio_link.h"
#include "model/image_layout.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace vrl::sim {

class TrunkingBoardSim;

using Memory = std::array<uint8_t, layout::kRadioMemorySize>;

struct SimFaults {
    int dropCommand = 0;       // the Nth command (1-based) goes unheard; 0 = none
    int dropCount = 1;         // ... and so many commands from it on
    int lateCommand = 0;       // the Nth command is answered after lateDelayMs
    int lateDelayMs = 5000;
    int badChecksumBlock = -1; // the first read of this block carries a wrong checksum
    int nakBlock = -1;         // the first write of this block is answered NAK
    int hangupBlock = -1;      // the line hangs up when this block is asked for
    int silentBlock = -1;      // requests for this block go unanswered ...
    int silentTimes = 3;       // ... this many times
};

struct SimConfig {
    IdentityBytes identity{};  // bytes 0-6 are the hardware's; byte 7 comes from memory
    FirmwareVersion version{'v', '2', '.', '3', '0', ' ', ' ', ' ', ' ', ' '};
    InfoBlock info{};
    int answerBaud = 9600;
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

    // Idle time after which a half-received command is forgotten.
    static constexpr int kCommandGapMs = 300;

  private:
    enum class State { Idle, CheckSum, Program, AwaitAck };
    enum class Parse { Done, NeedMore, Drop };

    Parse parseOne(Reply& reply);
    Parse idleCommand(Reply& reply);
    Parse programCommand(Reply& reply);
    bool heard(Reply& reply); // counts a command; false when the fault drops it
    void replyData(Reply& reply, std::span<const uint8_t> data, State after);
    void readBlockReply(Reply& reply, int block);
    bool passwordSet() const;
    // Hang-up and silence faults of a block request; true when the request is answered.
    bool blockAnswered(Reply& reply, int block);

    SimConfig config_;
    Memory memory_;
    TrunkingBoardSim* board_ = nullptr;
    std::vector<uint8_t> pending_;
    int64_t lastInputMs_ = 0;
    State state_ = State::Idle;
    State afterAck_ = State::Program;
    bool passwordAccepted_ = false;
    bool written_ = false;
    bool badChecksumSent_ = false;
    bool nakSent_ = false;
    int silentCount_ = 0;
    int commands_ = 0;
    int blocksRead_ = 0;
    int blocksWritten_ = 0;
    int protocolErrors_ = 0;
};

} // namespace vrl::sim
