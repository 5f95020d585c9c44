// A transport wrapper that writes every byte sent and received, with the time
// since the trace began, for diagnosing cables:
//      12.345 open /dev/ttyUSB0
//      12.346 line 9600,N,8,2
//      12.350 >  50 52 4F 47 52 41 4D
//      12.391 <  06                      (wanted 1, waited up to 500 ms)
#pragma once

#include "link/clock.h"
#include "link/transport.h"

#include <ostream>

namespace vrl {

class TraceTransport : public Transport {
  public:
    TraceTransport(Transport& inner, std::ostream& out, Clock& clock = SystemClock::instance());

    bool open() override;
    bool close() override;
    bool isOpen() const override { return inner_.isOpen(); }
    bool applySettings(const LineSettings& settings) override;
    bool write(std::span<const uint8_t> bytes) override;
    size_t read(std::span<uint8_t> buffer, int timeoutMs) override;
    // Bytes dropped unread are traced too, marked as discarded.
    void discardInput() override;
    bool isSerialLine() const override { return inner_.isSerialLine(); }
    std::string name() const override { return inner_.name(); }
    std::string failureReason() const override { return inner_.failureReason(); }

  private:
    void stamp();
    void dump(std::span<const uint8_t> bytes);

    Transport& inner_;
    std::ostream& out_;
    Clock& clock_;
    int64_t start_;
};

} // namespace vrl
