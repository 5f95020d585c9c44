#include "service/service_link.h"

#include <algorithm>
#include <cstdlib>

namespace vrl {

int keyReplyTimeoutMs(int signalling) {
    if (signalling == 9) return 3520;
    if (signalling == 11 || signalling == 12) return 6050;
    return 550;
}

std::vector<uint8_t> stepCommand(uint8_t item, int delta) {
    delta = std::clamp(delta, -255, 255);
    if (delta == 0) return {};
    if (delta == 1) return {item, 0x0A};
    if (delta == -1) return {item, 0x0B};
    const auto n = static_cast<uint8_t>(std::abs(delta));
    return {item, static_cast<uint8_t>(delta > 0 ? 0x1A : 0x1B), n};
}

bool ServiceLink::closingAckPair() {
    uint8_t reply = 0;
    return link_.writeByte(kAck) && link_.readBytes({&reply, 1}) && reply == kAck;
}

bool ServiceLink::commandAck(std::span<const uint8_t> command) {
    uint8_t reply = 0;
    return link_.writeBytes(command) && link_.readBytes({&reply, 1}) && reply == kAck;
}

bool ServiceLink::commandData(std::span<const uint8_t> command, std::span<uint8_t> reply) {
    return link_.writeBytes(command) && link_.readBytes(reply) && closingAckPair();
}

bool ServiceLink::enterTestState() {
    uint8_t reply = 0;
    return link_.writeText("TUNING ") && link_.readBytes({&reply, 1}) && reply == kAck;
}

bool ServiceLink::readTuningData(TuningData& data) {
    TuningData reply{};
    const uint8_t command = 0x05;
    if (!commandData({&command, 1}, reply)) return false;
    data = reply;
    return true;
}

bool ServiceLink::readMobileByte(uint8_t& value) {
    const std::array<uint8_t, 2> command{0x21, 0x0C};
    uint8_t reply = 0;
    if (!commandData(command, {&reply, 1})) return false;
    value = reply;
    return true;
}

ChannelReply ServiceLink::selectTestChannel(int channel, TestChannelBytes& bytes) {
    const std::array<uint8_t, 2> command{0x10, static_cast<uint8_t>(channel)};
    TestChannelBytes reply{};
    uint8_t last = 0;
    if (!link_.writeBytes(command) || !link_.readBytes(reply) || !link_.writeByte(kAck) ||
        !link_.readBytes({&last, 1}))
        return ChannelReply::Failed;
    bytes = reply;
    if (last == kAck) return ChannelReply::Accepted;
    return last == kNak ? ChannelReply::Refused : ChannelReply::Failed;
}

bool ServiceLink::selectSignalling(int signalling) {
    const std::array<uint8_t, 2> command{0x11, static_cast<uint8_t>(signalling)};
    return commandAck(command);
}

bool ServiceLink::selectBandwidth(int index) {
    const uint8_t command = index == 0 ? 'F' : 'G';
    return commandAck({&command, 1});
}

bool ServiceLink::setTransmit(bool keyed, int signalling) {
    const std::array<uint8_t, 2> command{0x08, static_cast<uint8_t>(keyed ? 0x0D : 0x0E)};
    link_.setReadTimeout(keyReplyTimeoutMs(signalling));
    const bool ok = commandAck(command);
    link_.setReadTimeout(kTestReadTimeoutMs);
    return ok;
}

bool ServiceLink::query7C(std::array<uint8_t, 2>& reply) {
    const uint8_t command = 0x7C;
    std::array<uint8_t, 2> got{};
    link_.setReadTimeout(kQuery7CTimeoutMs);
    const bool ok = link_.writeBytes({&command, 1}) && link_.readBytes(got);
    link_.setReadTimeout(kTestReadTimeoutMs);
    if (!ok || !closingAckPair()) return false;
    reply = got;
    return true;
}

bool ServiceLink::leave() {
    const uint8_t command = 'E';
    return commandAck({&command, 1});
}

bool ServiceLink::enterItem(uint8_t item) {
    const std::array<uint8_t, 2> command{item, 0x0D};
    return commandAck(command);
}

bool ServiceLink::readValues(int count, std::vector<uint8_t>& values) {
    std::vector<uint8_t> reply(static_cast<size_t>(std::max(count, 0)));
    const uint8_t command = 0x07;
    if (!commandData({&command, 1}, reply)) return false;
    values = std::move(reply);
    return true;
}

bool ServiceLink::stepValue(uint8_t item, int delta) {
    const auto command = stepCommand(item, delta);
    return command.empty() || commandAck(command);
}

bool ServiceLink::keepItem(uint8_t item) {
    const std::array<uint8_t, 2> command{item, 0x0E};
    return commandAck(command);
}

bool ServiceLink::volumeStep(bool up) {
    const std::array<uint8_t, 2> command{0x21, static_cast<uint8_t>(up ? 0x0A : 0x0B)};
    return commandAck(command);
}

bool ServiceLink::liveReading(uint8_t& value) {
    const std::array<uint8_t, 2> command{0x1E, 0x0A};
    uint8_t reply = 0;
    if (!commandData(command, {&reply, 1})) return false;
    value = reply;
    return true;
}

} // namespace vrl
