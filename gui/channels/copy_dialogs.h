// The copy tools of the channel windows: Channel Copy, Frequency Copy, ST/CST Copy,
// Group Copy and Group Jump. Each is a small modal dialog on the channel grid's
// current group G and channel C; it only collects numbers or a text and calls the
// channel store, then tells the other windows (dataChanged) so that the grid rows,
// the status line and the edit windows follow.
#pragma once

#include "widgets/spin_edit.h"

#include <QDialog>

#include <optional>

class QKeyEvent;
class QLineEdit;
class QPushButton;

namespace vrl {
class ChannelStore;
}

namespace vrl::gui {

class AppContext;
class CToneCombo;
class FilteredEdit;

enum class CopyTool { Channel, Frequency, Tone, GroupJump, GroupCopy };

// The tool of a key: Shift+F3 Channel, Shift+F4 Frequency, Shift+F5 ST/CST,
// Shift+F7 Group Jump, Shift+F8 Group Copy.
std::optional<CopyTool> copyToolOfKey(const QKeyEvent* key);
// Whether the tool opens on (g, c), 0-based.
bool copyToolOffered(const ChannelStore& store, CopyTool tool, int g, int c);
// Runs the tool's dialog on (g, c) when it is offered; false when it is not. Group
// Jump moves the channel information window to the chosen group.
bool runCopyTool(AppContext& ctx, CopyTool tool, int g, int c, QWidget* parent);

// A number field of the copy dialogs: digits only, at most 3 characters. The spin
// wraps (above the maximum comes 1, below 1 the maximum); leaving the field clamps
// its value to 1 ... maximum (values of 0 or less, and an empty field, become 1).
class CNumberField : public SpinEdit {
    Q_OBJECT
  public:
    CNumberField(int initial, int maximum, QWidget* parent);
    int maximum() const { return maximum_; }
    // The value shown, clamped (the text is left as typed).
    int value() const;
    // Writes the clamped value back and returns it (1-based).
    int clamp();

  protected:
    void focusOutEvent(QFocusEvent* event) override;

  private:
    int maximum_;
};

// What the five dialogs share: title, language font, window icon, Help button
// and F1, Enter moving to the next control, the error and warning boxes.
class CCopyDlg : public QDialog {
    Q_OBJECT
  protected:
    CCopyDlg(AppContext& ctx, int titleText, int helpTopic, QWidget* parent);
    // The dialog's buttons in a row under `fields`; the first is the action.
    void finish(QLayout* fields, QPushButton* action);
    void keyPressEvent(QKeyEvent* event) override;
    // Enter in `field` (a number field or an edit) runs `action` instead of moving
    // on. Call after finish().
    void enterRuns(QWidget* field, QPushButton* action);
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A read-only text (source group, channel, frequency or tone).
    QLineEdit* shown(const QString& text);
    void showCannotCreate();
    void showOutOfBand();
    // The image changed: every window showing channels refreshes.
    void changed();

    AppContext& ctx_;
    ChannelStore& store_;
    int helpTopic_;

  private:
    QWidget* enterField_ = nullptr;
    QPushButton* enterAction_ = nullptr;
};

class CChannelCopyDlg : public CCopyDlg {
    Q_OBJECT
  public:
    CChannelCopyDlg(AppContext& ctx, int g, int c, QWidget* parent);
    CNumberField* targetGroup() const { return toGroup_; }
    CNumberField* targetChannel() const { return toChannel_; }
    QPushButton* copyButton() const { return copy_; }
    // Copies (G, C) to the clamped target; the dialog stays open.
    void copy();

  private:
    int g_, c_;
    CNumberField* toGroup_;
    CNumberField* toChannel_;
    QPushButton* copy_;
};

class CFrequencyCopyDlg : public CCopyDlg {
    Q_OBJECT
  public:
    CFrequencyCopyDlg(AppContext& ctx, int g, int c, QWidget* parent);
    FilteredEdit* transmit() const { return tx_; }
    // Stores the field as the transmit frequency and closes.
    void copy();

  private:
    int g_, c_;
    FilteredEdit* tx_;
};

class CToneCopyDlg : public CCopyDlg {
    Q_OBJECT
  public:
    CToneCopyDlg(AppContext& ctx, int g, int c, QWidget* parent);
    CToneCombo* encode() const { return encode_; }
    // Stores the combo's text as the encode tone and closes.
    void copy();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void normalize();
    int g_, c_;
    CToneCombo* encode_;
};

class CGroupCopyDlg : public CCopyDlg {
    Q_OBJECT
  public:
    CGroupCopyDlg(AppContext& ctx, int g, QWidget* parent);
    CNumberField* targetGroup() const { return toGroup_; }
    QPushButton* copyButton() const { return copy_; }
    // Copies group G onto the clamped target; the dialog stays open.
    void copy();

  private:
    int g_;
    CNumberField* toGroup_;
    QPushButton* copy_;
};

class CGroupJumpDlg : public CCopyDlg {
    Q_OBJECT
  public:
    CGroupJumpDlg(AppContext& ctx, int g, QWidget* parent);
    CNumberField* group() const { return group_; }
    QPushButton* jumpButton() const { return jump_; }
    // The chosen group, 0-based (valid after the dialog was accepted).
    int chosen() const { return chosen_; }

  private:
    CNumberField* group_;
    QPushButton* jump_;
    int chosen_;
};

} // namespace vrl::gui
