#include "features/access_code_dlg.h"

#include "app/app_context.h"
#include "app/ui_helpers.h"
#include "widgets/filtered_edit.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vrl::gui {

namespace {
constexpr int kTitle = 461;
constexpr int kNewLabel = 458;
constexpr int kVerifyLabel = 459;
constexpr int kIncomplete = 10;
constexpr int kCodesDiffer = 41;
constexpr int kStoreWarning = 32;
constexpr int kCaptionError = 79;
constexpr int kCaptionCaution = 82;
} // namespace

CAccessCodeDlg::CAccessCodeDlg(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setWindowTitle(ctx.text(kTitle));
    new_ = new FilteredEdit(CharFilter::digits(), kCodeLength, this);
    verify_ = new FilteredEdit(CharFilter::digits(), kCodeLength, this);
    new_->setEchoMode(QLineEdit::Password);
    verify_->setEchoMode(QLineEdit::Password);
    auto* form = new QFormLayout;
    form->addRow(ctx.text(kNewLabel), new_);
    form->addRow(ctx.text(kVerifyLabel), verify_);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(ctx.text(59), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(ctx.text(60), QDialogButtonBox::RejectRole);
    ok_->setDefault(true);
    cancel->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &CAccessCodeDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CAccessCodeDlg::reject);
    // The verify edit takes a code only once the new one is complete.
    auto updateVerify = [this] { verify_->setEnabled(new_->text().size() == kCodeLength); };
    connect(new_, &QLineEdit::textChanged, this, updateVerify);
    updateVerify();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    applyLanguageFont(this, ctx.font());
    new_->setFocus();
}

QString CAccessCodeDlg::code() const { return new_->text(); }

void CAccessCodeDlg::error(int text) {
    ctx_.messages().ask({ctx_.text(text), ctx_.text(kCaptionError), MessageService::Icon::Error,
                         MessageService::Buttons::Ok});
}

void CAccessCodeDlg::incomplete(qsizetype digits) {
    // The general "missing or incomplete" text, with what was wrong in this entry.
    const QString why = ctx_.text("refusal.code_length").arg(digits).arg(kCodeLength);
    ctx_.messages().ask({ctx_.text(kIncomplete) + QLatin1Char('\n') + why, ctx_.text(kCaptionError),
                         MessageService::Icon::Error, MessageService::Buttons::Ok});
}

void CAccessCodeDlg::accept() {
    if (new_->text().size() < kCodeLength) {
        incomplete(new_->text().size());
        new_->clear();
        new_->setFocus();
        return;
    }
    if (verify_->text().isEmpty() && (new_->hasFocus() || QApplication::focusWidget() == new_)) {
        verify_->setFocus();
        return;
    }
    if (verify_->text().size() < kCodeLength) {
        incomplete(verify_->text().size());
        verify_->clear();
        verify_->setFocus();
        return;
    }
    if (verify_->text() != new_->text()) {
        ctx_.messages().ask({ctx_.text(kCodesDiffer), ctx_.text(kCaptionError),
                             MessageService::Icon::Error, MessageService::Buttons::Ok});
        verify_->setFocus();
        verify_->selectAll();
        return;
    }
    const auto answer = ctx_.messages().ask({ctx_.text(kStoreWarning), ctx_.text(kCaptionCaution),
                                             MessageService::Icon::Warning,
                                             MessageService::Buttons::OkCancel});
    if (answer == QMessageBox::Ok) QDialog::accept();
}

} // namespace vrl::gui
