#include "file/checksum_dlg.h"

#include "app/app_context.h"
#include "app/ui_helpers.h"
#include "history/history_recording.h"
#include "link/gui_transfer_ui.h"
#include "link/transfer.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace vrl::gui {

namespace {
constexpr int kTitle = 533;
constexpr int kPleaseWait = 534;
} // namespace

CCheckSumDlg::CCheckSumDlg(AppContext& ctx, RadioLink& link, QWidget* parent)
    : QDialog(parent), ctx_(ctx), link_(link) {
    setWindowTitle(ctx.text(kTitle));
    progress_ = new QLabel(ctx.text(kPleaseWait), this);
    label_ = new QLabel(ctx.text(kTitle), this);
    result_ = new QLabel(this);
    result_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    result_->setFrameShape(QFrame::StyledPanel);
    result_->setMinimumWidth(120);
    ok_ = new QPushButton(ctx.text(59), this);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &CCheckSumDlg::accept);

    auto* row = new QHBoxLayout;
    row->addWidget(label_);
    row->addWidget(result_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(progress_);
    layout->addLayout(row);
    layout->addLayout(buttons);

    // Only the progress text shows until the radio has answered.
    label_->hide();
    result_->hide();
    ok_->hide();
    applyLanguageFont(this, ctx.font());
    fitTitle(this);

    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    timer_->setInterval(kStartDelayMs);
    connect(timer_, &QTimer::timeout, this, &CCheckSumDlg::readCheckSum);
    timer_->start();
}

void CCheckSumDlg::readCheckSum() {
    timer_->stop();
    reading_ = true;
    setCursor(Qt::WaitCursor);
    GuiTransferUi ui(ctx_, this);
    std::array<uint8_t, 2> sum{};
    const int result = queryCheckSum(link_, ui, sum);
    unsetCursor();
    reading_ = false;
    recordTransfer(ctx_, parentWidget(), history::kCheckSum, result, nullptr, {}, false,
                   result == kTransferOk ? "check sum " + formatCheckSum(sum) : std::string());
    if (result != kTransferOk) {
        // The failure has been reported (or the user cancelled): no result to show.
        QDialog::reject();
        return;
    }
    QCoreApplication::processEvents();
    result_->setText(QStringLiteral("  ") + QString::fromStdString(formatCheckSum(sum)));
    progress_->hide();
    label_->show();
    result_->show();
    ok_->show();
    ok_->setFocus();
}

void CCheckSumDlg::accept() {
    if (reading_) return;
    QDialog::accept();
}

void CCheckSumDlg::reject() {
    // Escape closes the dialog only when the radio is not being asked.
    if (reading_) return;
    timer_->stop();
    QDialog::reject();
}

void CCheckSumDlg::closeEvent(QCloseEvent* event) {
    if (reading_) {
        event->ignore();
        return;
    }
    timer_->stop();
    QDialog::closeEvent(event);
}

} // namespace vrl::gui
