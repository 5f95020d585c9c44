#include "link/board_align.h"

#include "link/board_transfer.h"
#include "link/texts.h"

namespace vrl {

std::vector<uint8_t> align::digitPair(char digit) {
    return {static_cast<uint8_t>(static_cast<uint8_t>(digit) - 0x20), 0x00};
}

BoardAlignment::BoardAlignment(RadioLink& link, TransferUi& ui) : link_(link), ui_(ui) {}

BoardAlignment::~BoardAlignment() { finish(); }

BoardAlignment::Step BoardAlignment::sendStep(std::initializer_list<uint8_t> bytes, uint8_t echo) {
    link_.busyWait(align::kStepPauseMs);
    link_.setReadTimeout(align::kEchoTimeoutMs);
    const std::vector<uint8_t> out(bytes);
    if (!link_.writeBytes(out)) return Step::WriteFailed;
    return board::awaitByte(link_, echo) ? Step::Echoed : Step::NoEcho;
}

bool BoardAlignment::end() {
    finish();
    return false;
}

bool BoardAlignment::required(std::initializer_list<uint8_t> bytes, uint8_t echo) {
    while (true) {
        if (ui_.stopRequested()) return end();
        switch (sendStep(bytes, echo)) {
        case Step::Echoed: return true;
        case Step::NoEcho: ui_.showError(texts::kBoardNoEcho); return end();
        case Step::WriteFailed:
            if (!ui_.askRetry(texts::kCommFailed)) return end();
            break;
        }
    }
}

bool BoardAlignment::lenient(std::initializer_list<uint8_t> bytes, uint8_t echo,
                             bool askOnWriteFailure) {
    for (int attempt = 1;; ++attempt) {
        if (sendStep(bytes, echo) != Step::WriteFailed) return true;
        if (askOnWriteFailure ? !ui_.askRetry(texts::kCommFailed) : attempt >= align::kStopAttempts)
            return false;
    }
}

bool BoardAlignment::openBoard() {
    while (true) {
        link_.busyWait(align::kStepPauseMs);
        link_.setReadTimeout(align::kEchoTimeoutMs);
        if (link_.writeText(align::kOpen) && board::awaitByte(link_, kAck)) break;
        if (!ui_.askRetry(texts::kCommFailed)) return false;
        board::drainLine(link_);
    }
    // The tail has no echo; Retry after a failed write sends it again.
    while (true) {
        link_.busyWait(align::kStepPauseMs);
        const bool sent = link_.writeText(align::kOpenTail);
        link_.busyWait(align::kStepPauseMs);
        if (sent) return true;
        if (!ui_.askRetry(texts::kCommFailed)) return false;
    }
}

bool BoardAlignment::start() {
    finished_ = false;
    startSent_ = false;
    if (!link_.reopen()) {
        link_.setOpen(false);
        ui_.showError(texts::kPortOpenFailed);
        finished_ = true;
        return false;
    }
    portOpen_ = true;
    if (!openBoard()) return end();
    const auto code = ui_.askAccessCode();
    if (!code || code->size() != static_cast<size_t>(board::kAccessCodeLength)) return end();
    for (char digit : *code) {
        const auto pair = align::digitPair(digit);
        if (!required({pair[0], pair[1]}, align::kEchoCode)) return false;
    }
    if (!required({0x1E}, align::kEchoCode) || !required({0x00}, align::kEchoCode)) return false;
    if (!required({0x11, 0x00}, align::kEchoCode) || !required({0x17, 0x00}, align::kEchoCode) ||
        !required({0x1E}, align::kEchoCode) || !required({0x00}, align::kEchoArmed))
        return false;
    if (ui_.stopRequested() || !ui_.askOk(texts::kAlignConfirm) || ui_.stopRequested())
        return end();
    // From the first byte of the start on, every way out stops transmitting.
    startSent_ = true;
    if (!lenient({0x32}, align::kEchoStart1, true) || !lenient({0x19}, align::kEchoStart2, true))
        return end();
    return true;
}

bool BoardAlignment::stopStep(std::initializer_list<uint8_t> bytes, uint8_t echo) {
    for (int attempt = 1; attempt <= align::kStopAttempts; ++attempt) {
        const Step step = sendStep(bytes, echo);
        if (step != Step::WriteFailed) return step == Step::Echoed;
    }
    return false;
}

bool BoardAlignment::finish() {
    if (finished_ || !portOpen_) return endConfirmed_;
    finished_ = true;
    // Every byte of the end goes out whatever the one before it got; the end counts
    // as confirmed only when the board echoed each of them.
    bool confirmed = true;
    if (startSent_) {
        confirmed = stopStep({0x00}, align::kEchoStop1);
        confirmed = stopStep({0x33}, align::kEchoStop2) && confirmed;
    }
    confirmed = stopStep({board::kRelease}, kAck) && confirmed;
    link_.setOpen(false);
    portOpen_ = false;
    endConfirmed_ = confirmed;
    return confirmed;
}

} // namespace vrl
