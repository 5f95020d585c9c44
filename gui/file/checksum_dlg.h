// CCheckSumDlg: asks the connected radio for the 16-bit check sum of its memory and
// shows it as four hexadecimal digits. The query starts half a second after the
// dialog opens, so that the dialog is on the screen while the radio is asked.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QTimer;

namespace vrl {
class RadioLink;
}

namespace vrl::gui {

class AppContext;

class CCheckSumDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kStartDelayMs = 500;

    CCheckSumDlg(AppContext& ctx, RadioLink& link, QWidget* parent);

    bool reading() const { return reading_; }
    QLabel* progressText() const { return progress_; }
    QLabel* resultLabel() const { return label_; }
    QLabel* result() const { return result_; }
    QPushButton* okButton() const { return ok_; }
    QTimer* startTimer() const { return timer_; }

  public slots:
    void accept() override;
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void readCheckSum();

    AppContext& ctx_;
    RadioLink& link_;
    QLabel* progress_;
    QLabel* label_;
    QLabel* result_;
    QPushButton* ok_;
    QTimer* timer_;
    bool reading_ = false;
};

} // namespace vrl::gui
