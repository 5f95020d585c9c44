// CTuningModeDlg: one alignment item of the radio in Test Mode. A tab per
// sub-point; the value slider and spin move the current tab's value (shown 1-256),
// each change one step command to the radio; on a mobile the volume slider and
// spin set the volume. TX keys the transmitter (not for the receive items); for a
// portable's battery level, keying shows a live reading every 550 ms. OK keeps the
// item in the radio, Cancel returns the radio to its test channel.
#pragma once

#include "service/tuning_mode.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QSlider;
class QSpinBox;
class QTabBar;
class QTimer;
class QGroupBox;

namespace vrl::gui {

class AppContext;

class CTuningModeDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kLiveReadingMs = 550;

    // `tuning` has been opened (tab 0 entered, values read).
    CTuningModeDlg(AppContext& ctx, TuningSession& tuning, QWidget* parent);

    // Opens Tuning Mode for an item of Test Mode's list; true when the link failed.
    static bool run(AppContext& ctx, TestModeSession& session, int item, QWidget* parent);

    QTabBar* tabs() const { return tabs_; }
    QSlider* valueSlider() const { return value_; }
    QSpinBox* valueSpin() const { return valueSpin_; }
    QLabel* valueLabel() const { return valueLabel_; }
    QSlider* volumeSlider() const { return volume_; }
    QGroupBox* volumeGroup() const { return volumeBox_; }
    QPushButton* transmitButton() const { return tx_; }
    QTimer* liveTimer() const { return timer_; }
    bool linkFailed() const { return tuning_.failed() || tuning_.test().failed(); }

    void toggleTransmit();
    // One tick of the live-reading timer: reads and shows the value while keyed.
    void takeLiveReading();
    int helpTopic() const;

  public slots:
    void accept() override;
    void reject() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    bool check(bool ok);
    void showValue();
    void moveValue(int value);
    void moveVolume(int volume);
    void selectTab(int tab);
    QString title() const;

    AppContext& ctx_;
    TuningSession& tuning_;
    QTabBar* tabs_ = nullptr;
    QSlider* value_ = nullptr;
    QSpinBox* valueSpin_ = nullptr;
    QLabel* valueLabel_ = nullptr;
    QLabel* low_ = nullptr;
    QLabel* high_ = nullptr;
    QGroupBox* volumeBox_ = nullptr;
    QSlider* volume_ = nullptr;
    QSpinBox* volumeSpin_ = nullptr;
    QLabel* volumeLabel_ = nullptr;
    QPushButton* tx_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* help_ = nullptr;
    QTimer* timer_ = nullptr;
    int liveValue_ = -1;
    bool updating_ = false; // the controls follow the session, not the user
    bool moved_ = false;
    bool closing_ = false;
};

} // namespace vrl::gui
