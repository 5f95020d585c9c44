// Whatever holds a radio keyed or in one of its modes (Test Mode, the trunking
// board's alignment) registers how to end that here while it lasts, so a quit, the
// end of the desktop session or a signal can end it from outside the code that
// drives the radio: unkey, leave the mode, close the port.
#pragma once

#include <functional>

namespace vrl {

class RadioHold {
  public:
    explicit RadioHold(std::function<void()> end);
    ~RadioHold();
    RadioHold(const RadioHold&) = delete;
    RadioHold& operator=(const RadioHold&) = delete;

    void end();

  private:
    std::function<void()> end_;
};

// Ends every hold now registered, the newest first; the holds stay registered (their
// own end runs again harmlessly). Returns how many there were.
int endAllRadioHolds();

} // namespace vrl
