#include "link/firmware_warning_dlg.h"

#include "app/app_context.h"
#include "app/ui_helpers.h"
#include "link/texts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace vrl::gui {

CFirmwareWarningDlg::CFirmwareWarningDlg(AppContext& ctx, int dialog, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(ctx.text(texts::kCaptionWarning));
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    const int wording = dialog == texts::kWarningDialog16Ch ? texts::kFirmwareWarning16Ch
                                                            : texts::kFirmwareWarningClass;
    auto* text = new QLabel(ctx.text(wording), this);
    text->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    continue_ = buttons->addButton(ctx.text(texts::kContinueButton), QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(ctx.text(60), QDialogButtonBox::RejectRole);
    // Going on with old firmware is the risky choice: Cancel is the default.
    cancel->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* row = new QHBoxLayout;
    row->addWidget(icon, 0, Qt::AlignTop);
    row->addWidget(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    applyLanguageFont(this, ctx.font());
    fitTitle(this);
    cancel->setFocus();
}

} // namespace vrl::gui
