#include "link/trunk_align_dlg.h"

#include "app/app_context.h"
#include "app/ui_helpers.h"
#include "link/texts.h"
#include "widgets/help.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vrl::gui {

CTrunkAlignDlg::CTrunkAlignDlg(AppContext& ctx, std::function<void()> stop, QWidget* parent)
    : QDialog(parent), stop_(std::move(stop)) {
    setWindowTitle(ctx.text(texts::kAlignTitle));
    message_ = new QLabel(ctx.text(texts::kAlignTransmitting), this);
    message_->setWordWrap(true);
    message_->setMinimumWidth(280);
    close_ = new QPushButton(ctx.text(61), this);
    help_ = new QPushButton(ctx.text(62), this);
    close_->setDefault(true);
    help_->setAutoDefault(false);
    connect(close_, &QPushButton::clicked, this, &CTrunkAlignDlg::accept);
    connect(help_, &QPushButton::clicked, this, [this] { help::open(kHelpTopic, this); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close_);
    buttons->addWidget(help_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message_);
    layout->addLayout(buttons);
    applyLanguageFont(this, ctx.font());
    close_->setFocus();
}

void CTrunkAlignDlg::done(int result) {
    if (stop_) {
        auto stop = std::move(stop_);
        stop_ = nullptr;
        stop();
    }
    QDialog::done(result);
}

void CTrunkAlignDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        help::open(kHelpTopic, this);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace vrl::gui
