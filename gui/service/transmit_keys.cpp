#include "service/transmit_keys.h"

#include <QKeyEvent>

namespace vrl::gui {

bool handleTransmitKeys(const QKeyEvent* event, const QWidget* focus, const QWidget* tx,
                        bool focusOnButton, const std::function<void()>& toggle,
                        const std::function<void()>& help) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if ((event->key() == Qt::Key_Space && !focusOnButton) || (enter && focus == tx)) {
        toggle();
        return true;
    }
    if (event->key() == Qt::Key_F1) {
        help();
        return true;
    }
    return false;
}

} // namespace vrl::gui
