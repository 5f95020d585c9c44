#include "link/radio_link.h"

#include <algorithm>
#include <string>
#include <vector>

namespace vrl {

uint8_t additiveChecksum(std::span<const uint8_t> bytes) {
    unsigned sum = 0;
    for (uint8_t b : bytes) sum += b;
    return static_cast<uint8_t>(sum & 0xFF);
}

bool isOldestFirmware(const FirmwareVersion& version) {
    static constexpr std::string_view kOldest = "v1.00 ";
    return std::equal(kOldest.begin(), kOldest.end(), version.begin(),
                      [](char c, uint8_t b) { return static_cast<uint8_t>(c) == b; });
}

bool RadioLink::readByte(uint8_t& byte) { return readBytes({&byte, 1}); }

bool RadioLink::closingAckPair() {
    uint8_t reply = 0;
    return writeByte(kAck) && readByte(reply) && reply == kAck;
}

int RadioLink::interByteMs() const {
    const auto line = parseLineSettings(settings());
    const int baud = line && line->baud > 0 ? line->baud : 9600;
    constexpr int kBitsPerChar = 11; // start, 8 data, 2 stop
    return kInterByteMarginMs + (kInterByteChars * kBitsPerChar * 1000 + baud - 1) / baud;
}

void RadioLink::resynchronise() {
    const int quiet = kResyncQuietFactor * readTimeout();
    drainUntilQuiet(quiet, kResyncLimitFactor * quiet);
}

int RadioLink::failAfterResync(int result) {
    resynchronise();
    return result;
}

bool RadioLink::reopen() {
    setOpen(false);
    return setOpen(true);
}

int RadioLink::enterProgramMode() {
    const int remembered = readTimeout();
    const std::string current = settings();
    const auto comma = current.find(',');
    const std::string tail = comma == std::string::npos ? ",N,8,2" : current.substr(comma);
    // A step that timed out may still be answered later (an ACK at the wrong rate or
    // after the wait). Once a step went wrong, the line is let fall quiet before the
    // search ends either way, so that late answer is never taken for the reply to the
    // first command that follows.
    bool stepFailed = false;
    const auto found = [&](size_t step) {
        setReadTimeout(kBaudSearch[step].timeoutMs);
        if (stepFailed) resynchronise();
        return kLinkOk;
    };
    for (size_t i = 0; i < kBaudSearch.size(); ++i) {
        setSettings(std::string(kBaudSearch[i].rate) + tail);
        if (!writeText("PROGRAM")) {
            setReadTimeout(remembered);
            return kLinkFailed;
        }
        setReadTimeout(i == 0 ? 500 : 100);
        uint8_t reply = 0;
        if (!readByte(reply)) {
            stepFailed = true;
            continue;
        }
        if (reply == kAck && i == 0) return found(i);
        // At 9600 any first byte may precede the ACK; at the other rates only 0x16.
        if (i > 0 && reply != kSyn) {
            stepFailed = true;
            continue;
        }
        setReadTimeout(500);
        if (readByte(reply) && reply == kAck) return found(i);
        stepFailed = true;
    }
    setReadTimeout(remembered);
    return failAfterResync(kLinkFailed);
}

int RadioLink::readIdentity(IdentityBytes& identity) {
    busyWait(kIdentifyPauseMs);
    IdentityBytes reply{};
    if (!writeByte(0x02)) return kLinkFailed;
    if (!readBytes(reply) || !closingAckPair()) return failAfterResync(kLinkFailed);
    identity = reply;
    return kLinkOk;
}

int RadioLink::readFirmwareVersion(FirmwareVersion& version) {
    FirmwareVersion reply{};
    if (!writeByte(0x50)) return kLinkFailed;
    if (!readBytes(reply) || !closingAckPair()) return failAfterResync(kLinkFailed);
    version = reply;
    return kLinkOk;
}

int RadioLink::readRadioInformation(InfoBlock& info) {
    FirmwareVersion version{};
    if (readFirmwareVersion(version) != kLinkOk) return kLinkFailed;
    if (isOldestFirmware(version)) return kLinkNotSupported;
    std::array<uint8_t, 34> reply{}; // 33 bytes and the checksum
    if (!writeText("NRK")) return kLinkFailed;
    if (!readBytes(reply) || additiveChecksum(std::span(reply).subspan(1, 32)) != reply[33] ||
        !closingAckPair())
        return failAfterResync(kLinkFailed);
    std::copy(reply.begin() + 1, reply.begin() + 33, info.begin());
    return kLinkOk;
}

int RadioLink::readCheckSum(std::array<uint8_t, 2>& sum) {
    uint8_t first = 0;
    if (!writeText("NORVALE")) return kLinkFailed;
    if (!readByte(first)) return failAfterResync(kLinkFailed);
    const int remembered = readTimeout();
    setReadTimeout(kCheckSumTimeoutMs);
    std::array<uint8_t, 2> reply{};
    const bool ok = writeByte(0x7C) && readBytes(reply);
    // The long wait is for this one reply only.
    setReadTimeout(remembered);
    if (!ok || !closingAckPair()) return failAfterResync(kLinkFailed);
    sum = reply;
    return kLinkOk;
}

int RadioLink::sendDataPassword(const PasswordBytes& password) {
    std::array<uint8_t, 7> command{0x04};
    std::copy(password.begin(), password.end(), command.begin() + 1);
    uint8_t reply = 0;
    if (!writeBytes(command)) return kLinkFailed;
    if (!readByte(reply)) return failAfterResync(kLinkFailed);
    if (reply == kAck) return kLinkOk;
    // NAK is the radio's refusal; any other byte is left over from an earlier
    // exchange and says nothing about the password.
    return reply == kNak ? kLinkRejected : failAfterResync(kLinkFailed);
}

int RadioLink::readBlock(std::span<uint8_t> buffer, int block, bool useT, FillReply fill) {
    const size_t length = static_cast<size_t>(blockLength_);
    if (buffer.size() < length) return kBlockRetriesExhausted;
    std::vector<uint8_t> data(length);
    // The command letter and the block number go out in one write: the radio says
    // nothing in between, and one write per request saves a turn of the line.
    const std::array<uint8_t, 3> request{static_cast<uint8_t>(useT ? 'T' : 'R'),
                                         static_cast<uint8_t>(block >> 8),
                                         static_cast<uint8_t>(block & 0xFF)};
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (!writeBytes(request)) return kBlockCommandWriteFailed;
        uint8_t head = 0;
        // An ACK or NAK is never the head of a block reply: it is the late answer to
        // an earlier exchange, and what follows it belongs to that exchange too.
        if (!readByte(head) || head == kAck || head == kNak) {
            resynchronise();
            continue;
        }
        bool checksumOk = true;
        // A head other than "W" or "Z" is no block reply: what follows is not a fill
        // byte but the rest of something else.
        if (head != 'W' && head != 'Z') {
            resynchronise();
            continue;
        }
        if (head == 'W') {
            uint8_t sum = 0;
            if (!readBytes(data) || !readByte(sum)) {
                resynchronise();
                continue;
            }
            checksumOk = additiveChecksum(data) == sum;
        } else {
            uint8_t fill = 0;
            if (!readByte(fill)) {
                resynchronise();
                continue;
            }
            std::fill(data.begin(), data.end(), fill);
        }
        // Strict framing: the reply's length is known, so bytes that keep coming mean
        // it was misread. Never acknowledged; the line is let fall quiet first. A fill
        // reply waits the inter-byte time unless it is to be read again; a "W" reply
        // is covered by its checksum (a changed head cannot make a fill reply look
        // like one), so bytes already waiting are enough to refuse it.
        const bool waited = head == 'Z' && fill == FillReply::Waited;
        if (!quietFor(waited ? interByteMs() : 0)) {
            resynchronise();
            continue;
        }
        uint8_t reply = 0;
        if (!checksumOk) {
            if (!writeByte(kNak)) return kBlockNakWriteFailed;
            if (!readByte(reply)) {
                resynchronise();
                continue;
            }
            if (reply == kAck) continue;
            return failAfterResync(kBlockNakNotAcknowledged);
        }
        if (!writeByte(kAck)) return kBlockAckWriteFailed;
        if (!readByte(reply)) {
            resynchronise();
            continue;
        }
        if (reply != kAck) {
            // After a fill reply that was not waited out, another byte is most likely
            // the rest of a "W" reply whose head changed: the block is asked again.
            if (head == 'Z' && !waited) {
                resynchronise();
                continue;
            }
            return failAfterResync(kBlockAckNotAcknowledged);
        }
        std::copy(data.begin(), data.end(), buffer.begin());
        return kBlockOk;
    }
    return kBlockRetriesExhausted;
}

int RadioLink::writeBlock(std::span<const uint8_t> buffer, int block, bool useY) {
    const size_t length = static_cast<size_t>(blockLength_);
    if (buffer.size() < length) return kLinkFailed;
    const auto data = buffer.first(length);
    const uint8_t hi = static_cast<uint8_t>(block >> 8);
    const uint8_t lo = static_cast<uint8_t>(block & 0xFF);
    std::vector<uint8_t> command;
    if (std::all_of(data.begin(), data.end(), [&](uint8_t b) { return b == data[0]; })) {
        command = {'Z', hi, lo, data[0]};
    } else {
        command.reserve(length + 4);
        command = {static_cast<uint8_t>(useY ? 'Y' : 'W'), hi, lo};
        command.insert(command.end(), data.begin(), data.end());
        command.push_back(additiveChecksum(data));
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        uint8_t reply = 0;
        if (!writeBytes(command)) return kLinkFailed;
        if (!readByte(reply)) return failAfterResync(kLinkFailed);
        if (reply == kAck) return kLinkOk;
        // A NAK is the radio's answer to this block; anything else is noise or left
        // over, and the line must be quiet before the block goes again.
        if (reply != kNak) resynchronise();
    }
    return kLinkFailed;
}

int RadioLink::endProgramMode() {
    uint8_t reply = 0;
    if (!writeByte('E') || !readByte(reply) || reply != kAck) return kLinkFailed;
    return kLinkOk;
}

int RadioLink::openForTestMode() {
    if (!reopen()) return kLinkFailed;
    const std::string current = settings();
    const auto comma = current.find(',');
    setSettings("9600" + (comma == std::string::npos ? std::string(",N,8,2") : current.substr(comma)));
    setReadTimeout(500);
    return kLinkOk;
}

} // namespace vrl
