// Trunking alignment mode: the board keys the radio and sends DTMF 9 without
// end, for aligning a radio with a trunking board. A byte-and-echo exchange: every
// byte or pair goes out after a 220 ms pause and the board echoes a code for it.
//
//   open    "QM503TB" 0x1E -> ACK; then "A43" 0x00 (no echo)
//   code    (digit - 0x20, 0x00) for each of the five digits -> 0x93 each;
//           0x1E -> 0x93, 0x00 -> 0x93
//   arm     (0x11, 0x00) -> 0x93, (0x17, 0x00) -> 0x93, 0x1E -> 0x93, 0x00 -> 0x95
//   start   0x32 -> 0x90, 0x19 -> 0x92  (a missing echo only ends the wait)
//   stop    0x00 -> 0x97, 0x33 -> 0x91  (likewise)
//   release "e" -> ACK  (after the same 220 ms pause)
//
// BoardAlignment brackets it: once start() has put anything on the line, finish()
// (or the destructor) stops transmitting where it was started, releases the board
// and closes the port, whatever way the mode ends. A stop request of the TransferUi
// (a signal on the command line) ends start() at the next step.
#pragma once

#include "link/radio_hold.h"
#include "link/radio_link.h"
#include "link/transfer_ui.h"

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <vector>

namespace vrl {

namespace align {

inline constexpr std::string_view kOpen{"QM503TB\x1E", 8};
inline constexpr std::string_view kOpenTail{"A43\0", 4};
inline constexpr int kStepPauseMs = 220;
inline constexpr int kEchoTimeoutMs = 500;
inline constexpr uint8_t kEchoCode = 0x93;
inline constexpr uint8_t kEchoArmed = 0x95;
inline constexpr uint8_t kEchoStart1 = 0x90;
inline constexpr uint8_t kEchoStart2 = 0x92;
inline constexpr uint8_t kEchoStop1 = 0x97;
inline constexpr uint8_t kEchoStop2 = 0x91;
// A stop that cannot be written is tried this many times before the board is
// released anyway.
inline constexpr int kStopAttempts = 3;

// The pair a digit of the access code travels as: (character - 0x20, 0x00).
std::vector<uint8_t> digitPair(char digit);

} // namespace align

class BoardAlignment {
  public:
    BoardAlignment(RadioLink& link, TransferUi& ui);
    ~BoardAlignment();
    BoardAlignment(const BoardAlignment&) = delete;
    BoardAlignment& operator=(const BoardAlignment&) = delete;

    // Opens the board, sends the access code, arms it, asks the confirmation and
    // starts transmitting. True when the radio transmits; false when the mode ended
    // (messages shown, the board released and the port closed).
    bool start();
    // Stops transmitting (when it was started), releases the board and closes the
    // port. True when the board echoed every stop byte and acknowledged the release;
    // false means the radio may still be keyed. The second call only repeats the
    // answer.
    bool finish();

    bool transmitting() const { return startSent_ && !finished_; }

  private:
    enum class Step { Echoed, NoEcho, WriteFailed };
    Step sendStep(std::initializer_list<uint8_t> bytes, uint8_t echo);
    // A step of the code or arm phase: write failures ask Retry/Cancel, a missing
    // echo shows the no-echo message. False when the mode must end.
    bool required(std::initializer_list<uint8_t> bytes, uint8_t echo);
    // A start or stop step: a missing echo only ends the wait.
    bool lenient(std::initializer_list<uint8_t> bytes, uint8_t echo, bool askOnWriteFailure);
    // A byte of the end: a write failure is tried again; true when echoed.
    bool stopStep(std::initializer_list<uint8_t> bytes, uint8_t echo);
    bool openBoard();
    bool end(); // finish(), then false

    RadioLink& link_;
    TransferUi& ui_;
    bool portOpen_ = false;
    bool startSent_ = false;
    bool finished_ = false;
    bool endConfirmed_ = true;
    // Last: a quit or logout stops transmitting and releases the board from outside.
    RadioHold hold_{[this] { finish(); }};
};

} // namespace vrl
