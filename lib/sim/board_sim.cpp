#include "sim/board_sim.h"

#include "link/board_align.h"
#include "model/new_data.h"

#include <algorithm>

namespace vrl::sim {

namespace {

constexpr std::string_view kOpenPrefix = "QM503TB";
constexpr uint8_t kLineOpen = ',';
constexpr uint8_t kAlignOpen = 0x1E;

bool startsWith(const std::vector<uint8_t>& buf, std::string_view text) {
    const size_t n = std::min(buf.size(), text.size());
    return std::equal(buf.begin(), buf.begin() + static_cast<long>(n), text.begin(),
                      [](uint8_t b, char c) { return b == static_cast<uint8_t>(c); });
}

void append(std::vector<uint8_t>& out, std::span<const uint8_t> bytes) {
    out.insert(out.end(), bytes.begin(), bytes.end());
}

// The code and arm steps of the alignment exchange, after "A43" 0x00: the bytes
// expected (0 in the first place of a code pair: any digit pair) and the echo.
struct AlignStep {
    std::vector<uint8_t> bytes;
    uint8_t echo;
};
const std::vector<AlignStep>& alignSteps() {
    static const std::vector<AlignStep> steps{
        {{0, 0x00}, 0x93}, {{0, 0x00}, 0x93}, {{0, 0x00}, 0x93}, {{0, 0x00}, 0x93},
        {{0, 0x00}, 0x93}, {{0x1E}, 0x93},    {{0x00}, 0x93},    {{0x11, 0x00}, 0x93},
        {{0x17, 0x00}, 0x93}, {{0x1E}, 0x93}, {{0x00}, 0x95},
    };
    return steps;
}
constexpr int kCodePairs = 5;

} // namespace

board::Data defaultBoardData() {
    CDataImage image;
    writeDefaultTrunkingText(image);
    board::Data d{};
    std::copy_n(image.bytes().begin() + layout::kTrunkData, d.size(), d.begin());
    return d;
}

TrunkingBoardSim::TrunkingBoardSim(const BoardConfig& config) : config_(config) {}

bool TrunkingBoardSim::takes(std::span<const uint8_t> bytes) const {
    if (mode_ != Mode::Idle) return true;
    return !bytes.empty() && bytes[0] == static_cast<uint8_t>(kOpenPrefix[0]);
}

bool TrunkingBoardSim::takeWritten() {
    const bool w = written_;
    written_ = false;
    return w;
}

std::vector<std::string> TrunkingBoardSim::takeEvents() {
    std::vector<std::string> out;
    out.swap(events_);
    return out;
}

void TrunkingBoardSim::consume(size_t n) {
    pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(n));
}

bool TrunkingBoardSim::lost(int record) {
    if (record != config_.faults.lostRecord || lostCount_ >= config_.faults.lostTimes) return false;
    ++lostCount_;
    events_.push_back("record " + std::to_string(record) + " lost (fault)");
    return true;
}

void TrunkingBoardSim::release(Reply& reply) {
    if (keyed_) events_.push_back("unkeyed");
    keyed_ = false;
    armed_ = false;
    mode_ = Mode::Idle;
    ++releases_;
    events_.push_back("released");
    reply.bytes.push_back(kAck);
}

void TrunkingBoardSim::echo(Reply& reply, uint8_t code) {
    ++echoes_;
    if (echoes_ == config_.faults.lateEcho) {
        // Other bytes first, and the echo itself late.
        reply.bytes.push_back(0x00);
        reply.bytes.push_back(0x5A);
        reply.delayMs = config_.faults.lateEchoMs;
    }
    reply.bytes.push_back(code);
}

TrunkingBoardSim::Reply TrunkingBoardSim::receive(std::span<const uint8_t> bytes, int64_t nowMs) {
    Reply reply;
    if (nowMs - lastInputMs_ > kAbandonMs) {
        pending_.clear();
        if (mode_ == Mode::Line && line_ == LineState::Writing) line_ = LineState::Ready;
    }
    lastInputMs_ = nowMs;
    append(pending_, bytes);
    while (!pending_.empty()) {
        bool progressed = false;
        switch (mode_) {
        case Mode::Idle: progressed = parseIdle(reply); break;
        case Mode::Line: progressed = parseLine(reply); break;
        case Mode::Align: progressed = parseAlign(reply); break;
        }
        if (!progressed) break;
    }
    return reply;
}

bool TrunkingBoardSim::parseIdle(Reply& reply) {
    if (!startsWith(pending_, kOpenPrefix)) {
        consume(1);
        return true;
    }
    if (pending_.size() < kOpenPrefix.size() + 1) return false;
    const uint8_t kind = pending_[kOpenPrefix.size()];
    consume(kOpenPrefix.size() + 1);
    if (kind == kLineOpen) {
        mode_ = Mode::Line;
        line_ = LineState::AwaitCode;
    } else if (kind == kAlignOpen) {
        mode_ = Mode::Align;
        alignStep_ = -1;
        alignCode_.clear();
        alignDead_ = false;
        armed_ = false;
    } else {
        return true;
    }
    events_.push_back(mode_ == Mode::Line ? "opened" : "opened for alignment");
    reply.bytes.push_back(kAck);
    return true;
}

bool TrunkingBoardSim::parseLine(Reply& reply) {
    if (line_ != LineState::Writing && pending_[0] == board::kRelease) {
        consume(1);
        release(reply);
        return true;
    }
    switch (line_) {
    case LineState::AwaitCode: {
        constexpr size_t kLength = board::kAccessCodeLength + 2;
        if (pending_.size() < kLength) return false;
        const std::string code(pending_.begin(), pending_.begin() + board::kAccessCodeLength);
        const bool lineEnd = pending_[5] == 0x0D && pending_[6] == 0x0A;
        consume(kLength);
        if (lineEnd && code == config_.accessCode && !config_.faults.rejectCode) {
            line_ = LineState::Ready;
            events_.push_back("access code accepted");
            if (config_.faults.crlfAnswer)
                append(reply.bytes, std::array<uint8_t, 3>{'2', 0x0D, 0x0A});
            else
                append(reply.bytes, board::kCodeAccepted);
        } else {
            events_.push_back("access code rejected");
            append(reply.bytes, std::array<uint8_t, 3>{'0', 0x0A, 0x0D});
        }
        return true;
    }
    case LineState::Ready: {
        if (pending_.size() < 4) return false;
        if (startsWith(pending_, board::kStartRead)) {
            consume(4);
            for (int r = 0; r < board::kRecordCount; ++r) {
                if (lost(r)) return true;
                append(reply.bytes, std::span(config_.data).subspan(static_cast<size_t>(r) * 4, 4));
                append(reply.bytes, board::kBoardLineEnd);
            }
            append(reply.bytes, board::kBoardLineEnd);
            events_.push_back("99 records sent");
            return true;
        }
        if (startsWith(pending_, board::kStartWrite)) {
            consume(4);
            line_ = LineState::Writing;
            writeRecord_ = 0;
            return true;
        }
        consume(1);
        return true;
    }
    case LineState::Writing: {
        if (pending_.size() < board::kRecordLength + 2) return false;
        const int r = writeRecord_;
        std::copy_n(pending_.begin(), board::kRecordLength,
                    config_.data.begin() + static_cast<long>(r) * 4);
        consume(board::kRecordLength + 2);
        if (lost(r)) {
            line_ = LineState::Ready;
            return true;
        }
        append(reply.bytes, board::kBoardLineEnd);
        if (++writeRecord_ == board::kRecordCount) {
            append(reply.bytes, board::kBoardLineEnd);
            line_ = LineState::Ready;
            written_ = true;
            events_.push_back("99 records stored");
        }
        return true;
    }
    }
    return false;
}

bool TrunkingBoardSim::parseAlign(Reply& reply) {
    if (pending_[0] == board::kRelease) {
        consume(1);
        release(reply);
        return true;
    }
    if (alignStep_ < 0) {
        if (pending_.size() < align::kOpenTail.size()) return false;
        if (startsWith(pending_, align::kOpenTail)) alignStep_ = 0;
        consume(startsWith(pending_, align::kOpenTail) ? align::kOpenTail.size() : 1);
        return true;
    }
    if (alignDead_) {
        consume(1);
        return true;
    }
    const auto& steps = alignSteps();
    if (alignStep_ < static_cast<int>(steps.size())) {
        const AlignStep& step = steps[static_cast<size_t>(alignStep_)];
        if (pending_.size() < step.bytes.size()) return false;
        const bool codePair = alignStep_ < kCodePairs;
        const bool matches =
            codePair ? pending_[0] >= 0x10 && pending_[0] <= 0x19 && pending_[1] == 0x00
                     : std::equal(step.bytes.begin(), step.bytes.end(), pending_.begin());
        if (!matches) {
            consume(1);
            return true;
        }
        if (codePair) alignCode_.push_back(static_cast<char>(pending_[0] + 0x20));
        consume(step.bytes.size());
        if (alignStep_ == kCodePairs &&
            (alignCode_ != config_.accessCode || config_.faults.rejectCode)) {
            events_.push_back("access code rejected");
            alignDead_ = true;
            return true;
        }
        echo(reply, step.echo);
        if (++alignStep_ == static_cast<int>(steps.size())) {
            armed_ = true;
            events_.push_back("armed");
        }
        return true;
    }
    const uint8_t b = pending_[0];
    consume(1);
    switch (b) {
    case 0x32: echo(reply, align::kEchoStart1); break;
    case 0x19:
        echo(reply, align::kEchoStart2);
        if (!keyed_) {
            keyed_ = true;
            ++timesKeyed_;
            events_.push_back("keyed, DTMF 9");
        }
        break;
    case 0x00: echo(reply, align::kEchoStop1); break;
    case 0x33:
        echo(reply, align::kEchoStop2);
        if (keyed_) events_.push_back("unkeyed");
        keyed_ = false;
        break;
    default: break;
    }
    return true;
}

} // namespace vrl::sim
