// Help by context number. Windows ask for a topic; the program decides how to show
// it. Until a help file viewer exists the default shows the topic number.
#pragma once

#include <functional>

class QWidget;

namespace vrl::gui::help {

// Topics of function windows: this base plus a control's or a template's number.
inline constexpr int kTopicBase = 0x20000;

using Handler = std::function<void(int topic, QWidget* from)>;

// Replaces the handler (tests record the topic); an empty handler restores the default.
void setHandler(Handler handler);
void open(int topic, QWidget* from);

} // namespace vrl::gui::help
