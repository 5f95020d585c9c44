// CTestModeDlg: the radio held in its test state, driven by hand. The technician
// picks one of the 16 test channels (typed, or stepped over the channels that have
// a receive frequency), one of the 12 test signallings and the bandwidth, keys the
// transmitter with TX (or Space), and opens Tuning Mode for an item of the list.
// Green fields show the radio receiving, red ones transmitting.
//
// The dialog drives a TestModeSession that the Test Mode command opened; when a
// command fails and the user cancels the retry box, the dialog closes with
// kLinkFailed and the command ends the session (unkey, "E", port closed).
#pragma once

#include "service/test_mode.h"

#include <QDialog>

#include <array>
#include <functional>

class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace vrl::gui {

class AppContext;
class SpinEdit;

class CTestModeDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kLinkFailed = 2; // the result after a cancelled retry box
    static constexpr int kHelpTopic = 0x2009C;

    // Opens Tuning Mode for an item; returns whether the link failed there. The
    // desktop program shows CTuningModeDlg; tests may put something else.
    using TuningOpener = std::function<bool(TestModeSession&, int item)>;

    CTestModeDlg(AppContext& ctx, TestModeSession& session, QWidget* parent);

    void setTuningOpener(TuningOpener opener) { openTuning_ = std::move(opener); }

    SpinEdit* channelSpin() const { return channel_; }
    SpinEdit* signallingSpin() const { return signalling_; }
    QComboBox* bandwidthCombo() const { return bandwidth_; }
    QPushButton* transmitButton() const { return tx_; }
    QPushButton* printButton() const { return print_; }
    QListWidget* itemList() const { return items_; }
    QLabel* receiveFrequency() const { return rxFreq_; }
    QLabel* transmitFrequency() const { return txFreq_; }
    QLabel* receiveSignalling() const { return rxSignalling_; }
    QLabel* transmitSignalling() const { return txSignalling_; }
    // The four status fields: receive, transmit (channel), receive, transmit (signalling).
    QLabel* indicator(int i) const { return indicators_[i]; }

    // Toggles the transmitter (TX, Space).
    void toggleTransmit();
    // Opens Tuning Mode for the selected item.
    void openSelectedItem();
    // The help topic for the focused control.
    int helpTopic() const;

  public slots:
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // A number field with its receive and transmit rows, each a status field, a
    // caption and a value field.
    QGroupBox* numberGroup(const QString& title, SpinEdit*& number, QLabel*& receive,
                           QLabel*& transmit, std::array<QLabel*, 2> status, int fieldWidth);
    // Runs a session operation; after a failure the dialog closes with kLinkFailed.
    bool run(bool ok);
    void showState();
    void typedChannel();
    void printSheet();
    void typedSignalling();

    AppContext& ctx_;
    TestModeSession& session_;
    TuningOpener openTuning_;
    SpinEdit* channel_ = nullptr;
    SpinEdit* signalling_ = nullptr;
    QComboBox* bandwidth_ = nullptr;
    QPushButton* tx_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* help_ = nullptr;
    QListWidget* items_ = nullptr;
    QLabel* rxFreq_ = nullptr;
    QLabel* txFreq_ = nullptr;
    QLabel* rxSignalling_ = nullptr;
    QLabel* txSignalling_ = nullptr;
    QLabel* indicators_[4] = {};
    bool busy_ = false; // a command (and maybe its retry box) is under way
};

} // namespace vrl::gui
