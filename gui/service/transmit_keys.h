// The keys Test Mode and Tuning Mode share: Space keys or unkeys the transmitter
// unless a button has the focus, Enter on the TX button does the same, and F1 opens
// the dialog's help.
#pragma once

#include <functional>

class QKeyEvent;
class QWidget;

namespace vrl::gui {

// True when the key was taken.
bool handleTransmitKeys(const QKeyEvent* event, const QWidget* focus, const QWidget* tx,
                        bool focusOnButton, const std::function<void()>& toggle,
                        const std::function<void()>& help);

} // namespace vrl::gui
