// A transport that runs a simulated radio in-process: what is written reaches the
// radio at once, its replies become readable after their delay. Time comes from a
// Clock, so tests run it on a pretend clock without waiting.
#pragma once

#include "link/clock.h"
#include "link/transport.h"
#include "sim/board_sim.h"
#include "sim/radio_sim.h"

#include <deque>
#include <functional>
#include <memory>

namespace vrl::sim {

class SimTransport : public Transport {
  public:
    SimTransport(RadioSimulator& radio, Clock& clock, std::string name = "virtual");

    bool open() override;
    bool close() override;
    bool isOpen() const override { return open_; }
    bool applySettings(const LineSettings& settings) override;
    bool write(std::span<const uint8_t> bytes) override;
    size_t read(std::span<uint8_t> buffer, int timeoutMs) override;
    void discardInput() override;
    bool isSerialLine() const override { return true; }
    std::string name() const override { return name_; }

    // Called after the radio left programming mode having been written to. A callback
    // that returns false could not keep the memory: the radio then does not confirm
    // the end of programming mode, so the program sees the write fail.
    void setOnMemoryWritten(std::function<bool(const Memory&)> callback) {
        onWritten_ = std::move(callback);
    }
    // Called when the trunking board has stored all its records.
    void setOnBoardWritten(std::function<void(const board::Data&)> callback) {
        onBoardWritten_ = std::move(callback);
    }
    bool hungUp() const { return hungUp_; }

  private:
    struct Pending {
        uint8_t byte;
        int64_t at;
    };

    RadioSimulator& radio_;
    Clock& clock_;
    std::string name_;
    std::deque<Pending> input_;
    std::function<bool(const Memory&)> onWritten_;
    std::function<void(const board::Data&)> onBoardWritten_;
    int baud_ = 9600;
    bool open_ = false;
    bool hungUp_ = false;
};

} // namespace vrl::sim
