#include "link/transfer_dlg.h"

#include "app/app_context.h"
#include "app/ui_helpers.h"
#include "link/texts.h"
#include "link/transfer.h"
#include "link/write_check.h"
#include "widgets/help.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vrl::gui {

namespace {
constexpr int kBoardWriteTotal = 99;
}

CTransferDlg::Texts CTransferDlg::textsFor(TransferKind kind) {
    switch (kind) {
    case TransferKind::ReadRadio: return {479, 480, texts::kReadDone, 0x200A3};
    case TransferKind::WriteRadio: return {483, 484, texts::kWriteDone, 0x200A4};
    case TransferKind::ReadBoard: return {525, 480, texts::kTrunkReadDone, 0x200DC};
    case TransferKind::WriteBoard: return {526, 484, texts::kTrunkWriteDone, 0x200DD};
    }
    return {479, 480, texts::kReadDone, 0x200A3};
}

CTransferDlg::CTransferDlg(AppContext& ctx, TransferKind kind, Operation operation,
                           QWidget* parent)
    : QDialog(parent), ctx_(ctx), kind_(kind), operation_(std::move(operation)) {
    const Texts t = textsFor(kind);
    setWindowTitle(ctx.text(t.title));
    label_ = new QLabel(this);
    bar_ = new QProgressBar(this);
    bar_->setTextVisible(false);
    bar_->setMinimumWidth(260);
    start_ = new QPushButton(ctx.text(t.startButton), this);
    cancel_ = new QPushButton(ctx.text(60), this);
    help_ = new QPushButton(ctx.text(62), this);
    // A write changes the radio: Enter alone must not start one, so Cancel is the
    // default there and Start has to be chosen.
    const bool writes = kind == TransferKind::WriteRadio || kind == TransferKind::WriteBoard;
    QPushButton* safe = writes ? cancel_ : start_;
    for (QPushButton* b : {start_, cancel_, help_}) b->setAutoDefault(false);
    safe->setDefault(true);
    connect(start_, &QPushButton::clicked, this, &CTransferDlg::start);
    connect(cancel_, &QPushButton::clicked, this, &CTransferDlg::cancelPressed);
    connect(help_, &QPushButton::clicked, this, &CTransferDlg::openHelp);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);
    buttons->addWidget(help_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(bar_);
    if (kind == TransferKind::WriteRadio) {
        verify_ = new QCheckBox(ctx.text("link.verify_setting"), this);
        verify_->setChecked(ctx.verifyAfterWrite());
        connect(verify_, &QCheckBox::toggled, this, [&ctx](bool on) { ctx.setVerifyAfterWrite(on); });
        layout->addWidget(verify_);
    }
    layout->addLayout(buttons);

    int total = 0;
    if (kind == TransferKind::WriteRadio) total = writePlan(ctx.data().image.directory()).total;
    if (kind == TransferKind::WriteBoard) total = kBoardWriteTotal;
    showProgress(0, total);
    applyLanguageFont(this, ctx.font());
    fitTitle(this);
    safe->setFocus();
}

void CTransferDlg::showProgress(int count, int total) {
    const QString what = verifying_ ? ctx_.text("link.verifying") : ctx_.text(texts::kProgressLabel);
    label_->setText(QStringLiteral("%1 %2 / %3").arg(what).arg(count).arg(total));
    // Before the total is known the bar stays empty and still: a range of 0 to 0
    // would make it a busy indicator while nothing runs yet.
    const int maximum = std::max(total, 1);
    if (bar_->maximum() != maximum) bar_->setRange(0, maximum);
    bar_->setValue(std::min(count, maximum));
    if (busy_ && total > 0 && count == total) allBlocksMoved_ = true;
}

void CTransferDlg::setVerifying(bool verifying) { verifying_ = verifying; }

void CTransferDlg::setBlockLoopBusy(bool busy) {
    // Once the blocks move the dialog stays busy until it closes.
    if (busy) busy_ = true;
}

bool CTransferDlg::dataCheckPasses() {
    const WriteCheck check = checkDataForWrite(ctx_.data().image);
    if (check.passes()) return true;
    ctx_.messages().ask({ctx_.text(check.messageText()), ctx_.text(texts::kCaptionError),
                         MessageService::Icon::Error, MessageService::Buttons::Ok});
    if (check.closesDialog()) QDialog::reject();
    return false;
}

void CTransferDlg::start() {
    if (running_) return;
    if (kind_ == TransferKind::WriteRadio && !dataCheckPasses()) return;
    started_ = true;
    running_ = true;
    start_->setEnabled(false);
    help_->setEnabled(false);
    if (verify_) verify_->setEnabled(false);
    // Cancel stays: a long transfer can be stopped between two blocks.

    GuiTransferUi ui(ctx_, this, this);
    int result = kTransferRunAgain;
    // No wait cursor here: the exchange asks questions, and the progress shows it runs.
    while (result == kTransferRunAgain) result = operation_(ui);
    if (result == kTransferOk) {
        QString done = ctx_.text(textsFor(kind_).done);
        // The board cannot be read back in the exchange that wrote it.
        if (kind_ == TransferKind::WriteBoard)
            done += QStringLiteral("\n\n") + ctx_.text("link.board_unverified");
        ctx_.messages().ask({done, QString(),
                             MessageService::Icon::Information, MessageService::Buttons::Ok});
        ui.redraw();
        running_ = false;
        QDialog::accept();
        return;
    }
    running_ = false;
    // A write that stopped after its blocks began to move leaves a partly written
    // memory behind; the technician must know that a new write mends it.
    if ((kind_ == TransferKind::WriteRadio || kind_ == TransferKind::WriteBoard) && busy_ &&
        !allBlocksMoved_)
        ctx_.messages().ask({ctx_.text("link.partial_write"), ctx_.text(texts::kCaptionError),
                             MessageService::Icon::Warning, MessageService::Buttons::Ok});
    QDialog::reject();
}

void CTransferDlg::cancelPressed() {
    if (!running_) {
        reject();
        return;
    }
    stopWanted_ = true;
    cancel_->setEnabled(false);
}

void CTransferDlg::reject() {
    // Escape, the Cancel button and the title bar's close all end here.
    if (running_ || busy_) return;
    QDialog::reject();
}

void CTransferDlg::closeEvent(QCloseEvent* event) {
    if (running_ || busy_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CTransferDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        openHelp();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CTransferDlg::openHelp() {
    if (started_) return;
    help::open(textsFor(kind_).helpTopic, this);
}

} // namespace vrl::gui
