#include "sim/sim_transport.h"

namespace vrl::sim {

SimTransport::SimTransport(RadioSimulator& radio, Clock& clock, std::string name)
    : radio_(radio), clock_(clock), name_(std::move(name)) {}

bool SimTransport::open() {
    if (hungUp_) return false;
    open_ = true;
    input_.clear();
    return true;
}

bool SimTransport::close() {
    open_ = false;
    input_.clear();
    return true;
}

bool SimTransport::applySettings(const LineSettings& settings) {
    if (!open_) return false;
    baud_ = settings.baud;
    return true;
}

bool SimTransport::write(std::span<const uint8_t> bytes) {
    if (!open_) return false;
    const bool wasProgramming = radio_.inProgramMode();
    const int64_t now = clock_.nowMs();
    auto reply = radio_.receive(bytes, baud_, now);
    if (reply.hangup) {
        hungUp_ = true;
        open_ = false;
        input_.clear();
        return true;
    }
    if (wasProgramming && !radio_.inProgramMode() && radio_.memoryWritten()) {
        radio_.clearWritten();
        if (onWritten_ && !onWritten_(radio_.memory())) reply.bytes.clear();
    }
    for (uint8_t b : reply.bytes)
        input_.push_back({b, now + reply.delayMs});
    if (radio_.board() && radio_.board()->takeWritten() && onBoardWritten_)
        onBoardWritten_(radio_.board()->data());
    return true;
}

size_t SimTransport::read(std::span<uint8_t> buffer, int timeoutMs) {
    if (!open_) return 0;
    const int64_t deadline = clock_.nowMs() + timeoutMs;
    size_t got = 0;
    while (got < buffer.size()) {
        if (input_.empty()) break;
        const int64_t now = clock_.nowMs();
        if (input_.front().at > now) {
            if (input_.front().at > deadline) break;
            clock_.sleepMs(static_cast<int>(input_.front().at - now));
        }
        buffer[got++] = input_.front().byte;
        input_.pop_front();
    }
    if (got < buffer.size()) {
        const int64_t now = clock_.nowMs();
        if (deadline > now) clock_.sleepMs(static_cast<int>(deadline - now));
    }
    return got;
}

void SimTransport::discardInput() {
    const int64_t now = clock_.nowMs();
    while (!input_.empty() && input_.front().at <= now) input_.pop_front();
}

} // namespace vrl::sim
