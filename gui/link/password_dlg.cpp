#include "link/password_dlg.h"

#include "app/app_context.h"
#include "app/ui_helpers.h"
#include "widgets/filtered_edit.h"
#include "widgets/help.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vrl::gui {

namespace {

constexpr int kTitlePassword = 482;
constexpr int kTitleAccessCode = 461;
constexpr int kPrompt = 528;
constexpr int kHelpTopic = 0x200B1; // dialog 177

QString& rememberedAccessCode() {
    static QString code;
    return code;
}

} // namespace

CPasswordDlg::CPasswordDlg(AppContext& ctx, Mode mode, QWidget* parent)
    : QDialog(parent), mode_(mode) {
    setWindowTitle(ctx.text(mode == Mode::DataPassword ? kTitlePassword : kTitleAccessCode));
    auto* prompt = new QLabel(ctx.text(kPrompt), this);
    const int length = mode == Mode::DataPassword ? kPasswordLength : kAccessCodeLength;
    edit_ = new FilteredEdit(CharFilter::digits(), length, this);
    edit_->setEchoMode(mode == Mode::DataPassword ? QLineEdit::Password : QLineEdit::Normal);
    prompt->setBuddy(edit_);

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(ctx.text(59), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(ctx.text(60), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(ctx.text(62), QDialogButtonBox::HelpRole);
    ok_->setDefault(true);
    cancel->setAutoDefault(false);
    help->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPasswordDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPasswordDlg::reject);
    connect(help, &QPushButton::clicked, this, [this] { help::open(kHelpTopic, this); });
    connect(edit_, &QLineEdit::textChanged, this, &CPasswordDlg::updateOk);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt);
    layout->addWidget(edit_);
    layout->addWidget(buttons);

    if (mode == Mode::AccessCode && !rememberedAccessCode().isEmpty()) {
        edit_->setText(rememberedAccessCode());
        edit_->selectAll();
    }
    updateOk();
    applyLanguageFont(this, ctx.font());
    fitTitle(this);
    edit_->setFocus();
}

QString CPasswordDlg::code() const { return edit_->text(); }

QString CPasswordDlg::lastAccessCode() { return rememberedAccessCode(); }

void CPasswordDlg::updateOk() {
    if (mode_ == Mode::AccessCode) ok_->setEnabled(edit_->text().size() == kAccessCodeLength);
}

void CPasswordDlg::accept() {
    if (!ok_->isEnabled()) return;
    if (mode_ == Mode::AccessCode) rememberedAccessCode() = edit_->text();
    QDialog::accept();
}

void CPasswordDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        help::open(kHelpTopic, this);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace vrl::gui
