#include "service/test_mode_dlg.h"

#include "output/print_commands.h"
#include "output/print_engine.h"

#include "app/app_context.h"
#include "app/ui_helpers.h"
#include "service/transmit_keys.h"
#include "service/tuning_items.h"
#include "widgets/help.h"
#include "widgets/spin_edit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace vrl::gui {

namespace {

constexpr int kChannelGroupText = 492;
constexpr int kSignallingGroupText = 493;
constexpr int kBandwidthText = 494;
constexpr int kItemListText = 495;
constexpr int kTxText = 496;
constexpr int kReceiveText = 497;
constexpr int kTransmitText = 498;
constexpr int kPrintText = 490;
constexpr int kSheetPrintedText = 39;

const QString kReceiveOn = QStringLiteral("background-color: rgb(0, 255, 0);");
const QString kTransmitOn = QStringLiteral("background-color: rgb(255, 60, 60);");

QLabel* field(QWidget* parent, int minWidth) {
    auto* label = new QLabel(parent);
    label->setFrameShape(QFrame::StyledPanel);
    label->setMinimumWidth(minWidth);
    return label;
}

QLabel* makeIndicator(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setFixedSize(18, 18);
    return label;
}

} // namespace

QGroupBox* CTestModeDlg::numberGroup(const QString& title, SpinEdit*& number, QLabel*& receive,
                                     QLabel*& transmit, std::array<QLabel*, 2> status,
                                     int fieldWidth) {
    auto* box = new QGroupBox(title, this);
    number = new SpinEdit(CharFilter::digits(), 2, box);
    auto* grid = new QGridLayout(box);
    grid->addWidget(number, 0, 0, 2, 1, Qt::AlignVCenter);
    const int captions[] = {kReceiveText, kTransmitText};
    QLabel** fields[] = {&receive, &transmit};
    for (int row = 0; row < 2; ++row) {
        *fields[row] = field(box, fieldWidth);
        grid->addWidget(status[static_cast<size_t>(row)], row, 1);
        grid->addWidget(new QLabel(ctx_.text(captions[row]), box), row, 2);
        grid->addWidget(*fields[row], row, 3);
    }
    grid->setColumnStretch(3, 1);
    return box;
}

CTestModeDlg::CTestModeDlg(AppContext& ctx, TestModeSession& session, QWidget* parent)
    : QDialog(parent), ctx_(ctx), session_(session) {
    setWindowTitle(ctx.text(servicetext::kTestModeTitle));
    for (auto*& i : indicators_)
        i = makeIndicator(this);

    // Test channel: number, receive and transmit frequency; signalling: number and
    // the receive and transmit texts.
    auto* channelBox = numberGroup(ctx.text(kChannelGroupText), channel_, rxFreq_, txFreq_,
                                   {indicators_[0], indicators_[1]}, 110);
    auto* signallingBox = numberGroup(ctx.text(kSignallingGroupText), signalling_, rxSignalling_,
                                      txSignalling_, {indicators_[2], indicators_[3]}, 260);

    // Bandwidth: the market's two texts; fixed for market code 5.
    bandwidth_ = new QComboBox(this);
    for (int text : bandwidthTexts(session.market()))
        bandwidth_->addItem(ctx.text(text));
    bandwidth_->setCurrentIndex(session.bandwidth());
    bandwidth_->setEnabled(bandwidthSelectable(session.market()));
    auto* bandwidthRow = new QHBoxLayout;
    bandwidthRow->addWidget(new QLabel(ctx.text(kBandwidthText), this));
    bandwidthRow->addWidget(bandwidth_, 1);

    tx_ = new QPushButton(ctx.text(kTxText), this);
    tx_->setCheckable(true);
    tx_->setMinimumHeight(40);

    auto* itemBox = new QGroupBox(ctx.text(kItemListText), this);
    items_ = new QListWidget(itemBox);
    for (const TuningItem& item : tuningItems(session.mobile()))
        items_->addItem(ctx.text(item.text));
    items_->setCurrentRow(0);
    (new QVBoxLayout(itemBox))->addWidget(items_);

    print_ = new QPushButton(ctx.text(kPrintText), this);
    connect(print_, &QPushButton::clicked, this, &CTestModeDlg::printSheet);
    close_ = new QPushButton(ctx.text(61), this);
    help_ = new QPushButton(ctx.text(62), this);
    for (QPushButton* b : {print_, close_, help_, tx_})
        b->setAutoDefault(false);

    auto* left = new QVBoxLayout;
    left->addWidget(channelBox);
    left->addWidget(signallingBox);
    left->addLayout(bandwidthRow);
    left->addWidget(tx_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(print_);
    buttons->addWidget(close_);
    buttons->addWidget(help_);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 3);
    top->addWidget(itemBox, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    connect(channel_, &SpinEdit::stepped, this, [this](int delta) {
        if (!busy_) run(session_.stepChannel(delta));
    });
    connect(channel_, &QAbstractSpinBox::editingFinished, this, &CTestModeDlg::typedChannel);
    connect(signalling_, &SpinEdit::stepped, this, [this](int delta) {
        if (!busy_) run(session_.stepSignalling(delta));
    });
    connect(signalling_, &QAbstractSpinBox::editingFinished, this, &CTestModeDlg::typedSignalling);
    connect(bandwidth_, &QComboBox::activated, this, [this](int index) {
        if (!busy_ && index != session_.bandwidth()) run(session_.selectBandwidth(index));
    });
    connect(tx_, &QPushButton::clicked, this, [this] { toggleTransmit(); });
    connect(items_, &QListWidget::itemDoubleClicked, this, [this] { openSelectedItem(); });
    connect(close_, &QPushButton::clicked, this, &CTestModeDlg::reject);
    connect(help_, &QPushButton::clicked, this, [this] { help::open(helpTopic(), this); });

    applyLanguageFont(this, ctx.font());
    // Two digits and the spin buttons.
    for (SpinEdit* spin : {channel_, signalling_})
        spin->setMinimumWidth(spin->fontMetrics().horizontalAdvance(QStringLiteral("888")) + 32);
    // The signalling fields hold the longest text of the table.
    int longest = 0;
    for (const auto& texts : kTestSignallings)
        for (std::string_view t : {texts.receive, texts.transmit})
            longest = std::max(longest, rxSignalling_->fontMetrics().horizontalAdvance(
                                            QString::fromLatin1(t.data(), qsizetype(t.size()))));
    for (QLabel* l : {rxSignalling_, txSignalling_})
        l->setMinimumWidth(longest + 16);
    // Enter on the item list opens Tuning Mode instead of moving on; in the number
    // fields it stores the number, then moves on.
    auto* enterMoves = new EnterMovesFocus(this);
    for (QWidget* w :
         std::initializer_list<QWidget*>{items_, channel_->edit(), signalling_->edit()}) {
        w->removeEventFilter(enterMoves);
        w->installEventFilter(this);
    }
    showState();
    tx_->setFocus();
}

bool CTestModeDlg::run(bool ok) {
    if (!ok || session_.failed()) {
        // The hidden Error button: the link failed and the user cancelled.
        done(kLinkFailed);
        return false;
    }
    showState();
    return true;
}

void CTestModeDlg::showState() {
    const int n = session_.channel();
    TestFrequencyTable& table = session_.frequencies();
    channel_->setText(QString::number(n));
    rxFreq_->setText(QString::fromStdString(table.receiveText(n)));
    txFreq_->setText(QString::fromStdString(table.transmitText(n)));
    const int s = session_.signalling();
    signalling_->setText(QString::number(s));
    if (s >= 1 && s <= kTestSignallingCount) {
        const auto& texts = kTestSignallings[static_cast<size_t>(s - 1)];
        rxSignalling_->setText(
            QString::fromLatin1(texts.receive.data(), qsizetype(texts.receive.size())));
        txSignalling_->setText(
            QString::fromLatin1(texts.transmit.data(), qsizetype(texts.transmit.size())));
    } else {
        rxSignalling_->clear();
        txSignalling_->clear();
    }
    bandwidth_->setCurrentIndex(session_.bandwidth());
    const bool keyed = session_.keyed();
    tx_->setChecked(keyed);
    for (QWidget* w : std::initializer_list<QWidget*>{channel_, signalling_, items_})
        w->setEnabled(!keyed);
    bandwidth_->setEnabled(!keyed && bandwidthSelectable(session_.market()));
    const bool normal = session_.active();
    for (int i : {0, 2})
        indicators_[i]->setStyleSheet(normal && !keyed ? kReceiveOn : QString());
    for (int i : {1, 3})
        indicators_[i]->setStyleSheet(keyed ? kTransmitOn : QString());
}

void CTestModeDlg::typedChannel() {
    if (busy_ || !channel_->isModified()) return;
    busy_ = true;
    const bool ok = session_.typeChannel(channel_->text().toInt());
    busy_ = false;
    run(ok);
}

void CTestModeDlg::typedSignalling() {
    if (busy_ || !signalling_->isModified()) return;
    busy_ = true;
    const bool ok = session_.typeSignalling(signalling_->text().toInt());
    busy_ = false;
    run(ok);
}

void CTestModeDlg::toggleTransmit() {
    if (busy_) return;
    busy_ = true;
    const bool ok = session_.setKeyed(!session_.keyed());
    busy_ = false;
    run(ok);
}

void CTestModeDlg::openSelectedItem() {
    if (busy_ || session_.keyed() || !openTuning_) return;
    const int item = items_->currentRow();
    if (item < 0) return;
    busy_ = true;
    const bool linkFailed = openTuning_(session_, item);
    session_.tuningClosed(linkFailed);
    busy_ = false;
    run(!linkFailed);
}

void CTestModeDlg::reject() {
    // Esc, Close and the window's close box unkey first.
    if (session_.active() && session_.keyed()) session_.setKeyed(false);
    QDialog::reject();
}

int CTestModeDlg::helpTopic() const {
    const QWidget* focus = focusWidget();
    if (focus == items_ && items_->currentRow() >= 0) {
        const auto list = tuningItems(session_.mobile());
        if (const auto n = tuningHelpTopic(list[static_cast<size_t>(items_->currentRow())].text))
            return 0x20000 + *n;
    }
    return kHelpTopic;
}

bool CTestModeDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == items_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            openSelectedItem();
            return true;
        }
    }
    if ((watched == channel_->edit() || watched == signalling_->edit()) &&
        event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == channel_->edit())
                typedChannel();
            else
                typedSignalling();
            focusNextChild();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CTestModeDlg::keyPressEvent(QKeyEvent* event) {
    const bool onButton = qobject_cast<QPushButton*>(focusWidget()) != nullptr;
    if (handleTransmitKeys(
            event, focusWidget(), tx_, onButton, [this] { toggleTransmit(); },
            [this] { help::open(helpTopic(), this); }))
        return;
    QDialog::keyPressEvent(event);
}

// The test-mode sheet: the tuning data are read again, then printed on the
// printer the user confirms.
void CTestModeDlg::printSheet() {
    if (busy_ || !session_.refreshTuningData()) return;
    QPrintDialog dialog(&sharedPrinter(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    AppContext& ctx = ctx_;
    FieldContext fc{session_.data(), [&ctx](int i) { return ctx.lang().text(i); }};
    PrintEngine engine(session_.data(), fc.texts, ctx.currentFileName(),
                       testModeSheetLines(fc, session_.tuningData(), session_.mobile(), session_.bandwidth()));
    if (engine.print(sharedPrinter()))
        ctx.messages().ask({ctx.text(kSheetPrintedText), QString(), MessageService::Icon::Information});
}

} // namespace vrl::gui
