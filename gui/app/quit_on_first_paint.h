// Ends the program when a window has painted for the first time: the end point of
// the start-up benchmark ("--quit-when-shown").
#pragma once

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace vrl::gui {

class QuitOnFirstPaint : public QObject {
  public:
    explicit QuitOnFirstPaint(QWidget* window) { window->installEventFilter(this); }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) QApplication::exit(0);
        return false;
    }
};

} // namespace vrl::gui
