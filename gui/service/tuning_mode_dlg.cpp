#include "service/tuning_mode_dlg.h"

#include "app/app_context.h"
#include "app/ui_helpers.h"
#include "service/transmit_keys.h"
#include "widgets/help.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabBar>
#include <QTimer>
#include <QVBoxLayout>

namespace vrl::gui {

namespace {
constexpr int kTxText = 496;
constexpr int kReceiveText = 497;
constexpr int kTransmitText = 498;
constexpr int kErrorResult = 2; // the hidden Error button
constexpr int kMoveDown = 160;  // the dialog opens below Test Mode's controls

QString dataText(int shown) {
    return QStringLiteral("Data : %1").arg(shown, 3);
}
} // namespace

bool CTuningModeDlg::run(AppContext& ctx, TestModeSession& session, int item, QWidget* parent) {
    TuningSession tuning(session, item);
    if (!tuning.open()) return true;
    CTuningModeDlg dlg(ctx, tuning, parent);
    dlg.exec();
    return dlg.linkFailed();
}

CTuningModeDlg::CTuningModeDlg(AppContext& ctx, TuningSession& tuning, QWidget* parent)
    : QDialog(parent), ctx_(ctx), tuning_(tuning) {
    TestModeSession& test = tuning.test();
    tabs_ = new QTabBar(this);
    const auto tabTextList = tabTexts(tuning.tabs());
    for (int t = 0; t < tuning.tabs(); ++t)
        tabs_->addTab(ctx.text(tabTextList[static_cast<size_t>(t)]));

    value_ = new QSlider(Qt::Horizontal, this);
    value_->setRange(0, kValueMax);
    value_->setPageStep(16);
    valueSpin_ = new QSpinBox(this);
    valueSpin_->setRange(1, kValueMax + 1); // shown as value + 1
    valueSpin_->setKeyboardTracking(false); // a typed number is one step, not one per digit
    valueLabel_ = new QLabel(this);
    valueLabel_->setMinimumWidth(110);
    low_ = new QLabel(QStringLiteral("1"), this);
    high_ = new QLabel(QStringLiteral("256"), this);
    auto* valueRow = new QHBoxLayout;
    valueRow->addWidget(low_);
    valueRow->addWidget(value_, 1);
    valueRow->addWidget(high_);
    valueRow->addWidget(valueSpin_);
    valueRow->addWidget(valueLabel_);

    auto* freq = new QGridLayout;
    TestFrequencyTable& table = test.frequencies();
    auto frequency = [this](const std::string& text) {
        auto* label = new QLabel(QString::fromStdString(text), this);
        label->setFrameShape(QFrame::StyledPanel);
        label->setMinimumWidth(110);
        return label;
    };
    freq->addWidget(new QLabel(ctx.text(kReceiveText), this), 0, 0);
    freq->addWidget(frequency(table.receiveText(test.channel())), 0, 1);
    freq->addWidget(new QLabel(ctx.text(kTransmitText), this), 0, 2);
    freq->addWidget(frequency(table.transmitText(test.channel())), 0, 3);

    volumeBox_ = new QGroupBox(ctx.text(servicetext::kVolume), this);
    volume_ = new QSlider(Qt::Horizontal, volumeBox_);
    volume_->setRange(0, kVolumeMax);
    volume_->setPageStep(4);
    volumeSpin_ = new QSpinBox(volumeBox_);
    volumeSpin_->setRange(0, kVolumeMax);
    volumeSpin_->setKeyboardTracking(false);
    volumeLabel_ = new QLabel(volumeBox_);
    volumeLabel_->setMinimumWidth(110);
    auto* vr = new QHBoxLayout(volumeBox_);
    vr->addWidget(volume_, 1);
    vr->addWidget(volumeSpin_);
    vr->addWidget(volumeLabel_);
    volumeBox_->setVisible(tuning.mobile());

    tx_ = new QPushButton(ctx.text(kTxText), this);
    tx_->setCheckable(true);
    tx_->setMinimumHeight(36);
    tx_->setEnabled(tuning.transmitAllowed());
    ok_ = new QPushButton(ctx.text(59), this);
    cancel_ = new QPushButton(ctx.text(60), this);
    help_ = new QPushButton(ctx.text(62), this);
    for (QPushButton* b : {tx_, ok_, cancel_, help_})
        b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(tx_);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addWidget(help_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addLayout(valueRow);
    layout->addLayout(freq);
    layout->addWidget(volumeBox_);
    layout->addLayout(buttons);

    // The battery level of a portable is read live, not set.
    const bool live = tuning.liveReadingItem();
    for (QWidget* w : std::initializer_list<QWidget*>{value_, valueSpin_, low_, high_})
        w->setVisible(!live);
    timer_ = new QTimer(this);
    timer_->setInterval(kLiveReadingMs);
    connect(timer_, &QTimer::timeout, this, &CTuningModeDlg::takeLiveReading);

    connect(value_, &QSlider::valueChanged, this, [this](int v) { moveValue(v); });
    connect(valueSpin_, &QSpinBox::valueChanged, this, [this](int shown) { moveValue(shown - 1); });
    connect(volume_, &QSlider::valueChanged, this, [this](int v) { moveVolume(v); });
    connect(volumeSpin_, &QSpinBox::valueChanged, this, [this](int v) { moveVolume(v); });
    connect(tabs_, &QTabBar::currentChanged, this, [this](int t) { selectTab(t); });
    connect(tx_, &QPushButton::clicked, this, [this] { toggleTransmit(); });
    connect(ok_, &QPushButton::clicked, this, &CTuningModeDlg::accept);
    connect(cancel_, &QPushButton::clicked, this, &CTuningModeDlg::reject);
    connect(help_, &QPushButton::clicked, this, [this] { help::open(helpTopic(), this); });

    applyLanguageFont(this, ctx.font());
    showValue();
    value_->setFocus();
}

QString CTuningModeDlg::title() const {
    const TestModeSession& test = tuning_.test();
    const auto bw = bandwidthTexts(test.market());
    const auto tabTextList = tabTexts(tuning_.tabs());
    return QString::fromStdString(
        tuningTitle(ctx_.text(tuning_.item().text).toStdString(),
                    ctx_.text(tabTextList[static_cast<size_t>(tuning_.tab())]).toStdString(),
                    ctx_.text(bw[static_cast<size_t>(test.bandwidth())]).toStdString(),
                    tuning_.item(), test.bandwidth()));
}

void CTuningModeDlg::showValue() {
    updating_ = true;
    setWindowTitle(title());
    tabs_->setCurrentIndex(tuning_.tab());
    value_->setValue(tuning_.value());
    valueSpin_->setValue(tuning_.value() + 1);
    if (tuning_.liveReadingItem())
        valueLabel_->setText(tuning_.keyed() && liveValue_ >= 0 ? dataText(liveValue_ + 1)
                                                                : QStringLiteral("Data : ***"));
    else
        valueLabel_->setText(dataText(tuning_.value() + 1));
    volume_->setValue(tuning_.volume());
    volumeSpin_->setValue(tuning_.volume());
    volumeLabel_->setText(dataText(tuning_.volume()));
    tx_->setChecked(tuning_.keyed());
    updating_ = false;
}

bool CTuningModeDlg::check(bool ok) {
    if (ok && !linkFailed()) {
        showValue();
        return true;
    }
    timer_->stop();
    if (!closing_) {
        closing_ = true;
        done(kErrorResult);
    }
    return false;
}

void CTuningModeDlg::moveValue(int v) {
    if (updating_ || closing_) return;
    check(tuning_.setValue(v));
}

void CTuningModeDlg::moveVolume(int v) {
    if (updating_ || closing_) return;
    check(tuning_.setVolume(v));
}

void CTuningModeDlg::selectTab(int t) {
    if (updating_ || closing_) return;
    timer_->stop();
    liveValue_ = -1;
    check(tuning_.selectTab(t));
}

void CTuningModeDlg::toggleTransmit() {
    if (closing_ || !tuning_.transmitAllowed()) return;
    const bool keyed = !tuning_.keyed();
    if (!check(tuning_.setKeyed(keyed))) return;
    if (tuning_.liveReadingItem()) {
        liveValue_ = -1;
        if (keyed)
            timer_->start();
        else
            timer_->stop();
        showValue();
    }
}

void CTuningModeDlg::takeLiveReading() {
    if (!tuning_.keyed() || closing_) {
        timer_->stop();
        return;
    }
    uint8_t reading = 0;
    if (!check(tuning_.liveReading(reading))) return;
    liveValue_ = reading;
    showValue();
}

void CTuningModeDlg::accept() {
    if (closing_) return;
    timer_->stop();
    closing_ = true;
    if (!tuning_.keep()) {
        done(kErrorResult);
        return;
    }
    QDialog::accept();
}

void CTuningModeDlg::reject() {
    if (closing_) return;
    timer_->stop();
    closing_ = true;
    if (!tuning_.cancel()) {
        done(kErrorResult);
        return;
    }
    QDialog::reject();
}

int CTuningModeDlg::helpTopic() const {
    if (const auto n = tuningHelpTopic(tuning_.item().text)) return help::kTopicBase + *n;
    return 0x2009C;
}

void CTuningModeDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Tab && (event->modifiers() & Qt::ControlModifier)) {
        const int n = tabs_->count();
        const int step = (event->modifiers() & Qt::ShiftModifier) ? n - 1 : 1;
        if (n > 1) tabs_->setCurrentIndex((tabs_->currentIndex() + step) % n);
        return;
    }
    QWidget* focus = focusWidget();
    const bool onButton = focus == ok_ || focus == help_ || focus == tx_ || focus == cancel_;
    if (handleTransmitKeys(
            event, focus, tx_, onButton, [this] { toggleTransmit(); },
            [this] { help::open(helpTopic(), this); }))
        return;
    QDialog::keyPressEvent(event);
}

void CTuningModeDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!moved_) {
        moved_ = true;
        move(pos() + QPoint(0, kMoveDown));
    }
}

} // namespace vrl::gui
