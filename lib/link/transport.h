// The byte transport under the radio link: one serial line (a real port, a
// pseudo-terminal or an in-process simulated radio). Synchronous and blocking;
// the protocol above it strictly alternates writes and reads.
#pragma once

#include "link/line_settings.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace vrl {

class Transport {
  public:
    virtual ~Transport() = default;

    virtual bool open() = 0;
    // False when releasing the device failed (the transport counts as closed anyway).
    virtual bool close() = 0;
    virtual bool isOpen() const = 0;

    // Baud rate, parity, data and stop bits of the line (port open).
    virtual bool applySettings(const LineSettings& settings) = 0;

    // Writes every byte; false when the device refused them.
    virtual bool write(std::span<const uint8_t> bytes) = 0;

    // Reads up to buffer.size() bytes, waiting at most timeoutMs in all from the call.
    // Returns how many arrived; fewer than asked means the time ran out or the line
    // failed.
    virtual size_t read(std::span<uint8_t> buffer, int timeoutMs) = 0;

    // Drops every byte received and not yet read.
    virtual void discardInput() = 0;

    // Whether the device is a plain serial line that the Communication Port dialog
    // may offer.
    virtual bool isSerialLine() const { return true; }

    // What the user knows the device by ("/dev/ttyUSB0", "COM3", "virtual").
    virtual std::string name() const = 0;

    // Why the last open (or, for a simulated radio, the last save of its memory)
    // failed, in the system's words; empty when nothing failed or nothing is known.
    virtual std::string failureReason() const { return {}; }
    // The last open failed for lack of access rights to the device (on Linux: the
    // user is not in the dialout group).
    virtual bool permissionDenied() const { return false; }
};

} // namespace vrl
