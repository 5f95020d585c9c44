// Time for the radio link: a millisecond clock and a sleep. Protocol pauses sleep
// instead of spinning; tests inject a clock that only pretends to wait.
#pragma once

#include <cstdint>

namespace vrl {

class Clock {
  public:
    virtual ~Clock() = default;
    virtual int64_t nowMs() const = 0;
    virtual void sleepMs(int ms) = 0;
};

// A clock that only pretends to wait: a sleep moves its time on at once. Tests and
// the fuzz targets run whole exchanges on it.
class PretendClock : public Clock {
  public:
    int64_t nowMs() const override { return now; }
    void sleepMs(int ms) override {
        if (ms > 0) now += ms;
    }
    int64_t now = 1000;
};

class SystemClock final : public Clock {
  public:
    int64_t nowMs() const override;
    void sleepMs(int ms) override;
    static SystemClock& instance();
};

} // namespace vrl
