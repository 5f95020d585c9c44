// CTrunkAlignDlg: shown while the trunking board keys the radio in alignment mode.
// Close (or Esc, or the title bar) stops transmitting and releases the board
// before the dialog goes.
#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

namespace vrl::gui {

class AppContext;

class CTrunkAlignDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 167;
    static constexpr int kMessageId = 1440;
    static constexpr int kHelpTopic = 0x200A7;

    // `stop` ends the transmission; it runs once, whichever way the dialog closes.
    CTrunkAlignDlg(AppContext& ctx, std::function<void()> stop, QWidget* parent);

    QLabel* message() const { return message_; }
    QPushButton* closeButton() const { return close_; }
    QPushButton* helpButton() const { return help_; }

    void done(int result) override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    std::function<void()> stop_;
    QLabel* message_;
    QPushButton* close_;
    QPushButton* help_;
};

} // namespace vrl::gui
