#include "app/language_setup_dlg.h"

#include "app/app_context.h"
#include "app/ui_helpers.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vrl::gui {

CLanguageSetupDlg::CLanguageSetupDlg(AppContext& ctx, QWidget* parent)
    : QDialog(parent), combo_(new QComboBox(this)) {
    setObjectName(QStringLiteral("CLanguageSetupDlg"));
    setWindowTitle(ctx.text(562));
    for (const std::string& name : ctx.lang().languageNames())
        combo_->addItem(QString::fromUtf8(name.c_str()));
    combo_->setCurrentIndex(ctx.lang().currentLanguage());
    auto* label = new QLabel(ctx.text(563), this);
    label->setBuddy(combo_);
    auto* form = new QFormLayout;
    form->addRow(label, combo_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(ctx.text(59));
    buttons->button(QDialogButtonBox::Cancel)->setText(ctx.text(60));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    applyLanguageFont(this, ctx.font());
    fitTitle(this);
    new EnterMovesFocus(this);
}

int CLanguageSetupDlg::selectedLanguage() const { return std::max(0, combo_->currentIndex()); }

} // namespace vrl::gui
