#include "sim/radio_sim.h"

#include "channels/frequency.h"
#include "link/transfer_ui.h"
#include "service/test_frequency.h"
#include "service/test_mode.h"
#include "service/tuning_items.h"
#include "sim/board_sim.h"

#include <algorithm>
#include <cstdio>
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
    : config_(config), memory_(memory) {
    // Every alignment value starts near the middle of its range, each a little apart.
    for (int b = 0; b < 256; ++b) {
        const auto place = tuningDataPlace(static_cast<uint8_t>(b));
        working_[static_cast<size_t>(b)] = place ? static_cast<uint8_t>(100 + *place) : 0;
    }
    kept_ = working_;
}

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
    if (std::find(f.lateCommands.begin(), f.lateCommands.end(), commands_) != f.lateCommands.end())
        reply.delayMs = f.lateDelayMs;
    return true;
}

void RadioSimulator::lateBlockReply(Reply& reply, int block) {
    if (block != config_.faults.lateBlock || lateBlockSent_) return;
    lateBlockSent_ = true;
    reply.delayMs = config_.faults.lateDelayMs;
}

void RadioSimulator::lateBlockAck(Reply& reply, int block) {
    if (block != config_.faults.lateAckBlock || lateAckSent_) return;
    lateAckSent_ = true;
    reply.delayMs = config_.faults.lateDelayMs;
}

int RadioSimulator::hitBlockNumber(int block) {
    if (block != config_.faults.hitBlockNumberBlock ||
        blockNumberHits_ >= config_.faults.hitBlockNumberTimes)
        return block;
    ++blockNumberHits_;
    return block ^ 0x01;
}

void RadioSimulator::replyData(Reply& reply, std::span<const uint8_t> data, State after) {
    reply.bytes.insert(reply.bytes.end(), data.begin(), data.end());
    afterAck_ = after;
    closingReply_ = kAck;
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
            if (lastBlock_ >= 0) lateBlockAck(reply, lastBlock_);
            lastBlock_ = -1;
            reply.bytes.push_back(closingReply_);
            state_ = afterAck_;
            return Parse::Done;
        }
        // Anything else: the program gave up on this reply; take it as a new command.
        state_ = afterAck_;
        lastBlock_ = -1;
        return parseOne(reply);
    case State::Program: return programCommand(reply);
    case State::Test: return testCommand(reply);
    }
    return Parse::Drop;
}

RadioSimulator::Parse RadioSimulator::idleCommand(Reply& reply) {
    for (std::string_view text :
         {std::string_view("PROGRAM"), std::string_view("NORVALE"), std::string_view("TUNING ")}) {
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
        } else if (text == "TUNING ") {
            reply.bytes.push_back(kAck);
            state_ = State::Test;
            keyed_ = false;
            report("test state entered");
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
    const bool markerHit = block == config_.faults.hitReplyMarkerBlock && !markerHit_;
    if (markerHit) markerHit_ = true;
    if (std::all_of(data.begin(), data.end(), [&](uint8_t b) { return b == data[0]; })) {
        std::array<uint8_t, 2> fill{static_cast<uint8_t>(markerHit ? 'W' : 'Z'), data[0]};
        if (block == config_.faults.hitFillBlock && !fillHit_) {
            fillHit_ = true;
            fill[1] ^= 0x01;
        }
        replyData(reply, fill, State::Program);
        return;
    }
    std::vector<uint8_t> out;
    out.reserve(kBlock + 2);
    out.push_back(markerHit ? 'Z' : 'W');
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
        int block = blockNumber();
        if (block == config_.faults.hitRequestNumberBlock && !requestHit_) {
            requestHit_ = true;
            block ^= 0x01;
        }
        consume(3);
        if (!heard(reply)) return Parse::Done;
        if (!blockAnswered(reply, block)) return Parse::Done;
        // Locked memory and the wrong command for the block both go unanswered.
        if ((passwordSet() && !passwordAccepted_) || (c == 'T') != isTBlock(block)) {
            ++protocolErrors_;
            return Parse::Done;
        }
        lateBlockReply(reply, block);
        readBlockReply(reply, block);
        lastBlock_ = block;
        return Parse::Done;
    }
    case 'W':
    case 'Y': {
        if (!need(3 + kBlock + 1)) return Parse::NeedMore;
        const int block = hitBlockNumber(blockNumber());
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
        lateBlockReply(reply, block);
        lateBlockAck(reply, block);
        reply.bytes.push_back(kAck);
        return Parse::Done;
    }
    case 'Z': {
        if (!need(4)) return Parse::NeedMore;
        const int sent = blockNumber();
        const int block = hitBlockNumber(sent);
        uint8_t fill = pending_[3];
        if (sent == config_.faults.hitFillBlock && !fillHit_) {
            fillHit_ = true;
            fill ^= 0x01;
        }
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
        lateBlockReply(reply, block);
        lateBlockAck(reply, block);
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

void RadioSimulator::report(const std::string& line) const {
    if (report_) report_(line);
}

std::array<uint8_t, 90> RadioSimulator::tuningData() const {
    std::array<uint8_t, 90> data{};
    for (int b = 0; b < 256; ++b)
        if (const auto place = tuningDataPlace(static_cast<uint8_t>(b));
            place && *place < data.size())
            data[*place] = working_[static_cast<size_t>(b)];
    return data;
}

// The values 0x07 answers: the tabs of the item entered last, as many as the
// program expects for that item at the bandwidth in force.
std::vector<uint8_t> RadioSimulator::itemValues() const {
    const auto items = tuningItems(mobile());
    for (size_t i = 0; i < items.size(); ++i) {
        const auto& item = items[i];
        if (std::find(item.bytes.begin(), item.bytes.begin() + item.fullTabs, item_) ==
            item.bytes.begin() + item.fullTabs)
            continue;
        const int count = valuesCount(mobile(), static_cast<int>(i), bandwidth_);
        std::vector<uint8_t> values;
        for (int t = 0; t < count; ++t)
            values.push_back(t < item.fullTabs ? working_[item.bytes[static_cast<size_t>(t)]] : 0);
        return values;
    }
    return {working_[item_]};
}

RadioSimulator::Parse RadioSimulator::testCommand(Reply& reply) {
    const uint8_t c = pending_[0];
    auto need = [&](size_t n) { return pending_.size() >= n; };
    auto consume = [&](size_t n) {
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<long>(n));
    };
    auto ack = [&](bool ok = true) { reply.bytes.push_back(ok ? kAck : kNak); };
    char line[160];
    switch (c) {
    case 0x02: {
        consume(1);
        if (heard(reply)) replyData(reply, identity(), State::Test);
        return Parse::Done;
    }
    case 0x50:
        consume(1);
        if (heard(reply)) replyData(reply, config_.version, State::Test);
        return Parse::Done;
    case 0x05: {
        consume(1);
        if (heard(reply)) replyData(reply, tuningData(), State::Test);
        return Parse::Done;
    }
    case 0x07: {
        consume(1);
        if (heard(reply)) replyData(reply, itemValues(), State::Test);
        return Parse::Done;
    }
    case 0x7C: {
        consume(1);
        if (!heard(reply)) return Parse::Done;
        const uint16_t sum = checkSum();
        const std::array<uint8_t, 2> data{static_cast<uint8_t>(sum >> 8),
                                          static_cast<uint8_t>(sum & 0xFF)};
        replyData(reply, data, State::Test);
        return Parse::Done;
    }
    case 0x10: {
        if (!need(2)) return Parse::NeedMore;
        const int n = pending_[1];
        consume(2);
        if (!heard(reply)) return Parse::Done;
        std::array<uint8_t, 8> wire;
        wire.fill(0xFF);
        if (n >= 1 && n <= kTestChannelCount) {
            TestChannelBytes entry{};
            std::copy_n(memory_.begin() + layout::kTestFrequencies +
                            static_cast<long>(layout::kTestFrequencyEntrySize) * (n - 1),
                        8, entry.begin());
            wire = reverseGroups(entry);
        }
        const bool blank =
            std::all_of(wire.begin(), wire.begin() + 4, [](uint8_t b) { return b == 0xFF; });
        replyData(reply, wire, State::Test);
        closingReply_ = blank ? kNak : kAck;
        if (blank) return Parse::Done;
        // Back on a test channel: steps that were not kept are dropped.
        working_ = kept_;
        keyed_ = false;
        testChannel_ = n;
        const TestChannelBytes back = reverseGroups(wire);
        std::snprintf(line, sizeof line, "test channel %d: receive %s, transmit %s", n,
                      formatFrequency(std::span(back).first(4)).c_str(),
                      formatFrequency(std::span(back).subspan(4, 4)).c_str());
        report(line);
        return Parse::Done;
    }
    case 0x11: {
        if (!need(2)) return Parse::NeedMore;
        const int n = pending_[1];
        consume(2);
        if (!heard(reply)) return Parse::Done;
        const bool ok = n <= kTestSignallingCount;
        ack(ok);
        if (ok && n != signalling_) {
            signalling_ = n;
            report("signalling " + std::to_string(n));
        }
        return Parse::Done;
    }
    case 'F':
    case 'G':
        consume(1);
        if (!heard(reply)) return Parse::Done;
        ack();
        bandwidth_ = c == 'F' ? 0 : 1;
        report(std::string("bandwidth ") + (bandwidth_ == 0 ? "wide" : "narrow"));
        return Parse::Done;
    case 0x08: {
        if (!need(2)) return Parse::NeedMore;
        const uint8_t op = pending_[1];
        consume(2);
        if (!heard(reply)) return Parse::Done;
        if (op != 0x0D && op != 0x0E) {
            ack(false);
            return Parse::Done;
        }
        const bool key = op == 0x0D;
        ack();
        if (key) reply.delayMs = std::max(reply.delayMs, config_.keyDelayMs);
        if (key != keyed_) {
            keyed_ = key;
            std::snprintf(line, sizeof line,
                          key ? "keyed on channel %d with signalling %d"
                              : "unkeyed (channel %d, signalling %d)",
                          testChannel_, signalling_);
            report(line);
        }
        return Parse::Done;
    }
    case 0x21: {
        if (!need(2)) return Parse::NeedMore;
        const uint8_t op = pending_[1];
        consume(2);
        if (!heard(reply)) return Parse::Done;
        if (op == 0x0C) {
            const uint8_t v = static_cast<uint8_t>(volume_);
            replyData(reply, {&v, 1}, State::Test);
            return Parse::Done;
        }
        if (op != 0x0A && op != 0x0B) {
            ack(false);
            return Parse::Done;
        }
        volume_ = std::clamp(volume_ + (op == 0x0A ? 1 : -1), 0, 31);
        ack();
        report("volume now " + std::to_string(volume_));
        return Parse::Done;
    }
    case 0x1E:
        // 0x1E 0x0A is a live reading of the battery level; 0x1E with another
        // operation addresses the battery-level item.
        if (!need(2)) return Parse::NeedMore;
        if (pending_[1] == 0x0A) {
            consume(2);
            if (!heard(reply)) return Parse::Done;
            const uint8_t v = working_[0x1E];
            replyData(reply, {&v, 1}, State::Test);
            return Parse::Done;
        }
        return itemCommand(reply);
    case 'E':
        consume(1);
        if (!heard(reply)) return Parse::Done;
        ack();
        if (keyed_) report("unkeyed");
        keyed_ = false;
        working_ = kept_;
        state_ = State::Idle;
        report("test state left");
        return Parse::Done;
    case kAck:
    case kNak:
        consume(1);
        return Parse::Done;
    default:
        return itemCommand(reply);
    }
}

RadioSimulator::Parse RadioSimulator::itemCommand(Reply& reply) {
    const uint8_t item = pending_[0];
    if (!tuningDataPlace(item)) return Parse::Drop;
    if (pending_.size() < 2) return Parse::NeedMore;
    const uint8_t op = pending_[1];
    const bool counted = op == 0x1A || op == 0x1B;
    if (counted && pending_.size() < 3) return Parse::NeedMore;
    const int n = counted ? pending_[2] : 1;
    pending_.erase(pending_.begin(), pending_.begin() + (counted ? 3 : 2));
    if (!heard(reply)) return Parse::Done;
    char line[96];
    switch (op) {
    case 0x0D:
        item_ = item;
        reply.bytes.push_back(kAck);
        std::snprintf(line, sizeof line, "item 0x%02X entered, value %d", item, working_[item] + 1);
        report(line);
        return Parse::Done;
    case 0x0E:
        kept_ = working_;
        reply.bytes.push_back(kAck);
        std::snprintf(line, sizeof line, "item 0x%02X kept at %d", item, working_[item] + 1);
        report(line);
        return Parse::Done;
    case 0x0A:
    case 0x0B:
    case 0x1A:
    case 0x1B: {
        const int sign = op == 0x0A || op == 0x1A ? 1 : -1;
        working_[item] = static_cast<uint8_t>(std::clamp(working_[item] + sign * n, 0, 255));
        reply.bytes.push_back(kAck);
        std::snprintf(line, sizeof line, "value of item 0x%02X now %d", item, working_[item] + 1);
        report(line);
        return Parse::Done;
    }
    default:
        reply.bytes.push_back(kNak);
        return Parse::Done;
    }
}

} // namespace vrl::sim
