// Small pieces shared by the program's windows and dialogs.
#pragma once

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace vrl::gui {

// Shows the wait cursor for its lifetime.
class WaitCursor {
  public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Sets the language font on a window and every control in it (controls with a font
// of their own too).
void applyLanguageFont(QWidget* root, const QFont& font);

// Opens a dialog at least wide enough to show its translated title in full in the
// title bar, beside the bar's buttons. Call after the title, font and layout are set.
void fitTitle(QWidget* dialog);

// The first control of `window` that takes the focus with Tab: enabled, shown and
// inside the window, in the window's tab order; null when there is none.
QWidget* firstFocusableControl(QWidget* window);

// Gives the keyboard to the control a window names for it (a form window's initial
// control; see CFormView::initialFocusControl) or else to its first control, never
// to the window's container itself.
void focusInitialControl(QWidget* window);

// Installed on a dialog: Enter or Return on any control except a push button moves
// the focus to the next control instead of closing the dialog.
class EnterMovesFocus : public QObject {
  public:
    // Call after the dialog's controls exist.
    explicit EnterMovesFocus(QWidget* dialog);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

};

// Removes the keyboard focus from the focused control so that an edit in progress
// commits (it commits when it loses the focus), and gives it back on destruction.
class CommitFocus {
  public:
    CommitFocus();
    ~CommitFocus();
    CommitFocus(const CommitFocus&) = delete;
    CommitFocus& operator=(const CommitFocus&) = delete;

  private:
    QPointer<QWidget> focused_;
};

} // namespace vrl::gui
