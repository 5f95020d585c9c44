// The program's own icon (a hand-held radio), for the main window, its child windows
// and dialogs.
#pragma once

#include <QIcon>

namespace vrl::gui {

QIcon programIcon();

} // namespace vrl::gui
