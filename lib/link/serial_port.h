// SerialPort: the one serial line of the program. It names, opens, configures and
// closes the port and moves bytes with a total read time-out. The bytes go through a
// Transport; which transport stands for a port number is decided by the platform
// layer (a source function), or a fixed transport is given (command line, tests).
#pragma once

#include "link/clock.h"
#include "link/transport.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace vrl {

class SerialPort {
  public:
    static constexpr int kMinPortNumber = 1;
    static constexpr int kMaxPortNumber = 20;
    static constexpr uint16_t kDefaultQueueSize = 512;
    static constexpr const char* kDefaultSettings = "9600,N,8,2";
    static constexpr int kDefaultReadTimeoutMs = 1000;

    // The transport standing for a port number; nullptr when the number names no device.
    using TransportSource = std::function<Transport*(int portNumber)>;

    explicit SerialPort(Clock& clock = SystemClock::instance());
    virtual ~SerialPort();
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;

    void setTransportSource(TransportSource source);
    // A fixed transport used whatever the port number (closes the current one first).
    void setTransport(Transport* transport);
    Transport* transport() const { return transport_; }

    // n = 0 leaves the number unchanged. An open port is reopened on the new number
    // and the result of the reopen is returned.
    bool setPortNumber(int n);
    int portNumber() const { return portNumber_; }

    void setInputQueueSize(uint16_t size) { inputQueueSize_ = size; }
    void setOutputQueueSize(uint16_t size) { outputQueueSize_ = size; }
    uint16_t inputQueueSize() const { return inputQueueSize_; }
    uint16_t outputQueueSize() const { return outputQueueSize_; }

    // Stores the text without blanks; applies it when the port is open.
    bool setSettings(std::string_view text);
    const std::string& settings() const { return settings_; }

    // Total time allowed for one read call, whatever its length.
    bool setReadTimeout(int ms);
    int readTimeout() const { return readTimeoutMs_; }

    // Opening an open port (or closing a closed one) succeeds at once.
    bool setOpen(bool open);
    bool isOpen() const { return open_; }

    // Every write first discards unread input.
    bool writeBytes(std::span<const uint8_t> bytes);
    bool writeText(std::string_view text);
    bool writeByte(uint8_t byte);

    // Succeeds only when all buffer.size() bytes arrive within the read time-out.
    bool readBytes(std::span<uint8_t> buffer);

    // True when no byte arrives within `ms`; a byte that does arrive is dropped.
    bool quietFor(int ms);

    // Reads and drops whatever arrives until no byte has come for `quietMs`. False
    // when the line did not fall quiet within `limitMs` (or the port is closed).
    bool drainUntilQuiet(int quietMs, int limitMs);

    // Whether the open port is a plain serial line.
    bool isRs232();

    // Pauses for at least `ms` milliseconds.
    void busyWait(int ms) { clock_.sleepMs(ms); }
    Clock& clock() { return clock_; }

  private:
    Transport* currentTransport();
    bool applySettings();

    Clock& clock_;
    TransportSource source_;
    Transport* fixed_ = nullptr;
    Transport* transport_ = nullptr; // the transport in use while open
    bool open_ = false;
    int portNumber_ = 1;
    uint16_t inputQueueSize_ = kDefaultQueueSize;
    uint16_t outputQueueSize_ = kDefaultQueueSize;
    std::string settings_ = kDefaultSettings;
    int readTimeoutMs_ = kDefaultReadTimeoutMs;
    int readTimeoutMultiplier_ = 0; // a read of any length gets the same total time
};

} // namespace vrl
