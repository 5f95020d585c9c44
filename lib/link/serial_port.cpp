#include "link/serial_port.h"

#include <algorithm>
#include <vector>

namespace vrl {

SerialPort::SerialPort(Clock& clock) : clock_(clock) {}

SerialPort::~SerialPort() { setOpen(false); }

void SerialPort::setTransportSource(TransportSource source) {
    setOpen(false);
    source_ = std::move(source);
}

void SerialPort::setTransport(Transport* transport) {
    setOpen(false);
    fixed_ = transport;
}

Transport* SerialPort::currentTransport() {
    if (fixed_) return fixed_;
    return source_ ? source_(portNumber_) : nullptr;
}

bool SerialPort::setPortNumber(int n) {
    if (n == 0) return true;
    if (!open_) {
        portNumber_ = n;
        return true;
    }
    setOpen(false);
    portNumber_ = n;
    return setOpen(true);
}

bool SerialPort::applySettings() {
    auto parsed = parseLineSettings(settings_);
    if (!parsed || !transport_) return false;
    return transport_->applySettings(*parsed);
}

bool SerialPort::setSettings(std::string_view text) {
    settings_ = stripBlanks(text);
    return open_ ? applySettings() : true;
}

bool SerialPort::setReadTimeout(int ms) {
    readTimeoutMs_ = ms;
    return true;
}

bool SerialPort::setOpen(bool open) {
    if (open == open_) return true;
    if (!open) {
        open_ = false;
        bool ok = transport_ ? transport_->close() : true;
        transport_ = nullptr;
        return ok;
    }
    transport_ = currentTransport();
    if (!transport_ || !transport_->open()) {
        transport_ = nullptr;
        return false;
    }
    // Marked open before the settings are applied, so a failure leaves a port that
    // the next operation closes before trying again.
    open_ = true;
    return applySettings();
}

bool SerialPort::writeBytes(std::span<const uint8_t> bytes) {
    if (!open_ || !transport_) return false;
    transport_->discardInput();
    return transport_->write(bytes);
}

bool SerialPort::writeText(std::string_view text) {
    return writeBytes({reinterpret_cast<const uint8_t*>(text.data()), text.size()});
}

bool SerialPort::writeByte(uint8_t byte) { return writeBytes({&byte, 1}); }

bool SerialPort::readBytes(std::span<uint8_t> buffer) {
    if (!open_ || !transport_) return false;
    const int total = readTimeoutMs_ + readTimeoutMultiplier_ * static_cast<int>(buffer.size());
    // A short read leaves the caller's buffer untouched: the bytes that did arrive
    // are never used.
    std::vector<uint8_t> scratch(buffer.size());
    if (transport_->read(scratch, total) != buffer.size()) return false;
    std::copy(scratch.begin(), scratch.end(), buffer.begin());
    return true;
}

bool SerialPort::quietFor(int ms) {
    if (!open_ || !transport_) return false;
    uint8_t byte = 0;
    return transport_->read({&byte, 1}, ms) == 0;
}

bool SerialPort::drainUntilQuiet(int quietMs, int limitMs) {
    if (!open_ || !transport_) return false;
    const int64_t start = clock_.nowMs();
    std::vector<uint8_t> scratch(256);
    while (true) {
        if (transport_->read(scratch, quietMs) == 0) return true;
        if (clock_.nowMs() - start >= limitMs) return false;
    }
}

bool SerialPort::isRs232() {
    busyWait(10);
    return open_ && transport_ && transport_->isSerialLine();
}

} // namespace vrl
