// A simulated trunking board behind the radio: it keeps its 396 characters and
// an access code, speaks the board's line protocol (open "QM503TB,", the access
// code, "02" read / "03" write of 99 records with LF CR line ends, "e") and the
// alignment exchange (open "QM503TB" 0x1E, code pairs, arm, start and stop
// transmitting DTMF 9, each answered by its echo). Faults exercise the program's
// recovery paths.
#pragma once

#include "link/board_transfer.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vrl::sim {

struct BoardFaults {
    bool rejectCode = false;  // every access code is answered as wrong
    bool crlfAnswer = false;  // the accepted code is answered "2" CR LF (the wrong order)
    int lostRecord = -1;      // this record (0-98) never arrives / is never answered ...
    int lostTimes = 1;        // ... this many times
    int lateEcho = 0;         // the Nth alignment echo (1-based) comes late, after other bytes
    int lateEchoMs = 300;
};

struct BoardConfig {
    board::Data data{};
    std::string accessCode = "00000";
    BoardFaults faults;
};

// The board data of New data (every '0', with the defaults of a new radio).
board::Data defaultBoardData();

class TrunkingBoardSim {
  public:
    struct Reply {
        std::vector<uint8_t> bytes;
        int delayMs = 0;
    };

    explicit TrunkingBoardSim(const BoardConfig& config);

    // Whether the bytes are the board's: it is open, or they begin its opening.
    bool takes(std::span<const uint8_t> bytes) const;
    Reply receive(std::span<const uint8_t> bytes, int64_t nowMs);

    const board::Data& data() const { return config_.data; }
    bool open() const { return mode_ != Mode::Idle; }
    bool keyed() const { return keyed_; }
    // Set when a write of all 99 records ended; cleared by takeWritten().
    bool takeWritten();
    int releases() const { return releases_; }
    int timesKeyed() const { return timesKeyed_; }
    // What happened, for a log: "keyed, DTMF 9", "unkeyed", "released", ...
    std::vector<std::string> takeEvents();

    // An unfinished record transfer is abandoned after this much silence.
    static constexpr int kAbandonMs = 500;

  private:
    enum class Mode { Idle, Line, Align };
    enum class LineState { AwaitCode, Ready, Writing };

    bool parseIdle(Reply& reply);
    bool parseLine(Reply& reply);
    bool parseAlign(Reply& reply);
    void release(Reply& reply);
    void echo(Reply& reply, uint8_t code);
    void consume(size_t n);
    bool lost(int record);

    BoardConfig config_;
    std::vector<uint8_t> pending_;
    int64_t lastInputMs_ = 0;
    Mode mode_ = Mode::Idle;
    LineState line_ = LineState::AwaitCode;
    int writeRecord_ = 0;
    bool written_ = false;
    int alignStep_ = 0;
    std::string alignCode_;
    bool alignDead_ = false; // a wrong code: the board echoes nothing more
    bool armed_ = false;
    bool keyed_ = false;
    int echoes_ = 0;
    int lostCount_ = 0;
    int releases_ = 0;
    int timesKeyed_ = 0;
    std::vector<std::string> events_;
};

} // namespace vrl::sim
