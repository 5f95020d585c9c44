// Ends the program when a window has painted for the first time: the end point of
// the start-up benchmark ("--quit-when-shown"). The process ends at once, so the
// benchmark times the start and not the tear-down (settings written at exit,
// windows destroyed); the reference window of the benchmark ends the same way.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

namespace vrl::gui {

class QuitOnFirstPaint : public QObject {
  public:
    explicit QuitOnFirstPaint(QWidget* window) { window->installEventFilter(this); }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            std::fflush(nullptr);
            std::_Exit(0);
        }
        return false;
    }
};

} // namespace vrl::gui
