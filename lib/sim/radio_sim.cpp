#include "sim/radio_sim.h"

#include "link/transfer_ui.h"
#include "sim/board_sim.h"

#include <algorithm>
#include <string_view>

namespace vrl::sim {

namespace {

constexpr size_t kBlock = layout::kBlockSize;

bool startsWith(const std::vector<uint8_t>& buf, std::string_view text) {
    const size_t n = std::min(buf.size(), text.size());
    for (size_t i = 0; i < n; ++i)
        if (buf[i] != static_cast<uint8_t>(text[i])) return false;
    return true;
}

bool isTBlock(int block) { return block >= 0x50 && block <= 0x53; }

} // namespace

InfoBlock infoBlockWithSerial(std::string_view serial) {
    InfoBlock info;
    info.fill(0xFF);
    for (size_t i = 0; i < 12 && i < serial.size(); ++i)
        info[16 + i] = static_cast<uint8_t>(serial[i]);
    return info;
}

FirmwareVersion firmwareFromText(std::string_view text) {
    FirmwareVersion v;
    v.fill(' ');
    for (size_t i = 0; i < v.size() && i < text.size(); ++i) v[i] = static_cast<uint8_t>(text[i]);
    return v;
}

RadioSimulator::RadioSimulator(const SimConfig& config, const Memory& memory)
    : config_(config), memory_(memory) {}

IdentityBytes RadioSimulator::identity() const {
    IdentityBytes id = config_.identity;
    id[7] = memory_[layout::kIdentityFlags];
    return id;
}

uint16_t RadioSimulator::checkSum() const {
    unsigned sum = 0;
    for (uint8_t b : memory_) sum += b;
    return static_cast<uint16_t>(sum & 0xFFFF);
}

bool RadioSimulator::passwordSet() const { return (memory_[layout::kIdentityFlags] & 0x40) == 0; }

void RadioSimulator::setDataPassword(std::string_view digits) {
    const PasswordBytes pw = passwordFromText(digits);
    std::copy(pw.begin(), pw.end(), memory_.begin() + layout::kDataPassword);
    if (digits.empty())
        memory_[layout::kIdentityFlags] |= 0x40;
    else
        memory_[layout::kIdentityFlags] &= static_cast<uint8_t>(~0x40);
}

RadioSimulator::Reply RadioSimulator::receive(std::span<const uint8_t> bytes, int lineBaud,
                                              int64_t nowMs) {
    Reply reply;
    if (board_ && state_ == State::Idle && pending_.empty() && board_->takes(bytes)) {
        // The board answers at whatever rate the line runs.
        auto answer = board_->receive(bytes, nowMs);
        reply.bytes = std::move(answer.bytes);
        reply.delayMs = answer.delayMs;
        return reply;
    }
    if (lineBaud != config_.answerBaud) {
        pending_.clear();
        return reply;
    }
    if (!pending_.empty() && nowMs - lastInputMs_ > kCommandGapMs) pending_.clear();
    lastInputMs_ = nowMs;
    pending_.insert(pending_.end(), bytes.begin(), bytes.end());
    while (!pending_.empty() && !reply.hangup) {
        const Parse p = parseOne(reply);
        if (p == Parse::NeedMore) break;
        if (p == Parse::Drop) {
            ++protocolErrors_;
            pending_.erase(pending_.begin());
        }
    }
    return reply;
}

bool RadioSimulator::heard(Reply& reply) {
    ++commands_;
    const auto& f = config_.faults;
    if (f.dropCommand > 0 && commands_ >= f.dropCommand && commands_ < f.dropCommand + f.dropCount)
        return false;
    if (commands_ == config_.faults.lateCommand) reply.delayMs = config_.faults.lateDelayMs;
    return true;
}

void RadioSimulator::replyData(Reply& reply, std::span<const uint8_t> data, State after) {
    reply.bytes.insert(reply.bytes.end(), data.begin(), data.end());
    afterAck_ = after;
    state_ = State::AwaitAck;
}

RadioSimulator::Parse RadioSimulator::parseOne(Reply& reply) {
    switch (state_) {
    case State::Idle: return idleCommand(reply);
    case State::CheckSum:
        if (pending_[0] == 0x7C) {
            pending_.erase(pending_.begin());
            if (!heard(reply)) return Parse::Done;
            const uint16_t sum = checkSum();
            const std::array<uint8_t, 2> data{static_cast<uint8_t>(sum >> 8),
                                              static_cast<uint8_t>(sum & 0xFF)};
            replyData(reply, data, State::Idle);
            return Parse::Done;
        }
        state_ = State::Idle;
        return idleCommand(reply);
    case State::AwaitAck:
        if (pending_[0] == kAck || pending_[0] == kNak) {
            pending_.erase(pending_.begin());
            if (!heard(reply)) return Parse::Done;
            reply.bytes.push_back(kAck);
            state_ = afterAck_;
            return Parse::Done;
        }
        // Anything else: the program gave up on this reply; take it as a new command.
        state_ = afterAck_;
        return parseOne(reply);
    case State::Program: return programCommand(reply);
    }
    return Parse::Drop;
}

RadioSimulator::Parse RadioSimulator::idleCommand(Reply& reply) {
    for (std::string_view text : {std::string_view("PROGRAM"), std::string_view("NORVALE")}) {
        if (pending_[0] != static_cast<uint8_t>(text[0])) continue;
        if (!startsWith(pending_, text)) return Parse::Drop;
        if (pending_.size() < text.size()) return Parse::NeedMore;
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(text.size()));
        if (!heard(reply)) return Parse::Done;
        if (text == "PROGRAM") {
            if (config_.answerBaud != 9600) reply.bytes.push_back(kSyn);
            reply.bytes.push_back(kAck);
            passwordAccepted_ = false;
            state_ = State::Program;
        } else {
            reply.bytes.push_back(kAck);
            state_ = State::CheckSum;
        }
        return Parse::Done;
    }
    if (pending_[0] == 'E') {
        pending_.erase(pending_.begin());
        if (heard(reply)) reply.bytes.push_back(kAck);
        return Parse::Done;
    }
    return Parse::Drop;
}

void RadioSimulator::readBlockReply(Reply& reply, int block) {
    ++blocksRead_;
    if (block >= static_cast<int>(layout::kBlockCount)) {
        const std::array<uint8_t, 2> fill{'Z', 0xFF};
        replyData(reply, fill, State::Program);
        return;
    }
    const auto data = std::span<const uint8_t>(memory_).subspan(static_cast<size_t>(block) * kBlock,
                                                                 kBlock);
    if (std::all_of(data.begin(), data.end(), [&](uint8_t b) { return b == data[0]; })) {
        const std::array<uint8_t, 2> fill{'Z', data[0]};
        replyData(reply, fill, State::Program);
        return;
    }
    std::vector<uint8_t> out;
    out.reserve(kBlock + 2);
    out.push_back('W');
    out.insert(out.end(), data.begin(), data.end());
    uint8_t sum = additiveChecksum(data);
    if (block == config_.faults.badChecksumBlock && !badChecksumSent_) {
        badChecksumSent_ = true;
        sum = static_cast<uint8_t>(sum + 1);
    }
    out.push_back(sum);
    replyData(reply, out, State::Program);
}

bool RadioSimulator::blockAnswered(Reply& reply, int block) {
    if (block == config_.faults.hangupBlock) {
        reply.hangup = true;
        return false;
    }
    if (block == config_.faults.silentBlock && silentCount_ < config_.faults.silentTimes) {
        ++silentCount_;
        return false;
    }
    return true;
}

RadioSimulator::Parse RadioSimulator::programCommand(Reply& reply) {
    const uint8_t c = pending_[0];
    auto need = [&](size_t n) { return pending_.size() >= n; };
    auto consume = [&](size_t n) {
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(n));
    };
    auto blockNumber = [&] { return (pending_[1] << 8) | pending_[2]; };
    switch (c) {
    case 0x02: {
        consume(1);
        if (!heard(reply)) return Parse::Done;
        const IdentityBytes id = identity();
        replyData(reply, id, State::Program);
        return Parse::Done;
    }
    case 0x50: // "P": the firmware command, or "PROGRAM" sent again to re-enter
        if (pending_.size() > 1 && startsWith(pending_, "PROGRAM")) {
            if (!need(7)) return Parse::NeedMore;
            state_ = State::Idle;
            return idleCommand(reply);
        }
        consume(1);
        if (heard(reply)) replyData(reply, config_.version, State::Program);
        return Parse::Done;
    case 0x04: {
        if (!need(7)) return Parse::NeedMore;
        const bool ok = std::equal(pending_.begin() + 1, pending_.begin() + 7,
                                   memory_.begin() + layout::kDataPassword);
        consume(7);
        if (!heard(reply)) return Parse::Done;
        passwordAccepted_ = passwordAccepted_ || ok;
        reply.bytes.push_back(ok ? kAck : kNak);
        return Parse::Done;
    }
    case 'R':
    case 'T': {
        if (!need(3)) return Parse::NeedMore;
        const int block = blockNumber();
        consume(3);
        if (!heard(reply)) return Parse::Done;
        if (!blockAnswered(reply, block)) return Parse::Done;
        // Locked memory and the wrong command for the block both go unanswered.
        if ((passwordSet() && !passwordAccepted_) || (c == 'T') != isTBlock(block)) {
            ++protocolErrors_;
            return Parse::Done;
        }
        readBlockReply(reply, block);
        return Parse::Done;
    }
    case 'W':
    case 'Y': {
        if (!need(3 + kBlock + 1)) return Parse::NeedMore;
        const int block = blockNumber();
        std::vector<uint8_t> data(pending_.begin() + 3, pending_.begin() + 3 + kBlock);
        const uint8_t sum = pending_[3 + kBlock];
        consume(3 + kBlock + 1);
        if (!heard(reply)) return Parse::Done;
        if (!blockAnswered(reply, block)) return Parse::Done;
        const bool nakFault = block == config_.faults.nakBlock && !nakSent_;
        if (nakFault) nakSent_ = true;
        if (nakFault || additiveChecksum(data) != sum || (c == 'Y') != isTBlock(block) ||
            block >= static_cast<int>(layout::kBlockCount)) {
            reply.bytes.push_back(kNak);
            return Parse::Done;
        }
        std::copy(data.begin(), data.end(), memory_.begin() + block * static_cast<long>(kBlock));
        ++blocksWritten_;
        written_ = true;
        reply.bytes.push_back(kAck);
        return Parse::Done;
    }
    case 'Z': {
        if (!need(4)) return Parse::NeedMore;
        const int block = blockNumber();
        const uint8_t fill = pending_[3];
        consume(4);
        if (!heard(reply)) return Parse::Done;
        if (!blockAnswered(reply, block)) return Parse::Done;
        const bool nakFault = block == config_.faults.nakBlock && !nakSent_;
        if (nakFault) nakSent_ = true;
        if (nakFault || block >= static_cast<int>(layout::kBlockCount)) {
            reply.bytes.push_back(kNak);
            return Parse::Done;
        }
        std::fill_n(memory_.begin() + block * static_cast<long>(kBlock), kBlock, fill);
        ++blocksWritten_;
        written_ = true;
        reply.bytes.push_back(kAck);
        return Parse::Done;
    }
    case 'N': {
        if (!startsWith(pending_, "NRK")) return Parse::Drop;
        if (!need(3)) return Parse::NeedMore;
        consume(3);
        if (!heard(reply)) return Parse::Done;
        std::array<uint8_t, 34> out{};
        out[0] = 'I';
        std::copy(config_.info.begin(), config_.info.end(), out.begin() + 1);
        out[33] = additiveChecksum(config_.info);
        replyData(reply, out, State::Program);
        return Parse::Done;
    }
    case 'E':
        consume(1);
        if (!heard(reply)) return Parse::Done;
        reply.bytes.push_back(kAck);
        state_ = State::Idle;
        return Parse::Done;
    case kAck:
    case kNak:
        consume(1); // a late acknowledgement of a reply already given up on
        return Parse::Done;
    default: return Parse::Drop;
    }
}

} // namespace vrl::sim
