#include "link/gui_transfer_ui.h"

#include "app/app_context.h"
#include "link/firmware_warning_dlg.h"
#include "link/link_service.h"
#include "link/password_dlg.h"
#include "link/texts.h"

#include <QCoreApplication>

namespace vrl::gui {

namespace {
using Icon = MessageService::Icon;
using Buttons = MessageService::Buttons;
} // namespace

GuiTransferUi::GuiTransferUi(AppContext& ctx, QWidget* owner, TransferProgressView* view)
    : ctx_(ctx), owner_(owner), view_(view) {}

void GuiTransferUi::progress(int count, int total) {
    if (view_) view_->showProgress(count, total);
}

void GuiTransferUi::setPhase(TransferPhase phase) {
    if (view_) view_->setVerifying(phase == TransferPhase::Verify);
}

void GuiTransferUi::showVerifyFailed(const std::vector<int>& blocks) {
    QStringList list;
    for (int n : blocks) list << QString::asprintf("0x%02X", n);
    ctx_.messages().ask({ctx_.text("link.verify_failed").arg(list.join(QStringLiteral(", "))),
                         ctx_.text(texts::kCaptionError), Icon::Error, Buttons::Ok});
}

void GuiTransferUi::pumpOne() {
    // Repaints and the refused clicks on the disabled buttons; input to other
    // windows is blocked by the modal dialog.
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

void GuiTransferUi::setBusy(bool busy) {
    if (view_) view_->setBlockLoopBusy(busy);
}

bool GuiTransferUi::stopRequested() { return view_ && view_->stopWanted(); }

void GuiTransferUi::redraw() {
    if (owner_) owner_->repaint();
    if (owner_ && owner_->parentWidget()) owner_->parentWidget()->window()->repaint();
}

bool GuiTransferUi::askRetry(int text) {
    const auto answer = ctx_.messages().ask(
        {ctx_.text(text), ctx_.text(texts::kCaptionError), Icon::Error, Buttons::RetryCancel});
    return answer == QMessageBox::Retry;
}

bool GuiTransferUi::askOk(int text) {
    MessageService::Request request{ctx_.text(text), ctx_.text(texts::kCaptionWarning),
                                    Icon::Warning, Buttons::OkCancel};
    switch (text) {
    case texts::kRadioDataDiffer: request.cancelIsDefault = true; break;
    case texts::kOldFirmwarePasswords: request.icon = Icon::Error; break;
    case texts::kDataHasPassword: request.text += QLatin1Char('\n'); break;
    case texts::kAlignConfirm: request.caption = ctx_.text(texts::kCaptionCaution); break;
    default: break;
    }
    return ctx_.messages().ask(request) == QMessageBox::Ok;
}

void GuiTransferUi::showError(int text) {
    const int caption =
        text == texts::kInfoNotSupported ? texts::kCaptionWarning : texts::kCaptionError;
    QString message = ctx_.text(text);
    // A port that does not open is named, with the system's reason.
    if (text == texts::kPortOpenFailed)
        if (auto* service = ctx_.findChild<LinkService*>(QString(), Qt::FindDirectChildrenOnly))
            if (const QString failure = service->openFailure(); !failure.isEmpty())
                message += QStringLiteral("\n\n") + failure;
    ctx_.messages().ask({message, ctx_.text(caption), Icon::Error, Buttons::Ok});
}

std::optional<PasswordBytes> GuiTransferUi::askPassword() {
    CPasswordDlg dlg(ctx_, CPasswordDlg::Mode::DataPassword, owner_);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return passwordFromText(dlg.code().toStdString());
}

std::optional<std::string> GuiTransferUi::askAccessCode() {
    CPasswordDlg dlg(ctx_, CPasswordDlg::Mode::AccessCode, owner_);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.code().toStdString();
}

void GuiTransferUi::showAccessCodeError() {
    ctx_.messages().ask({QString::fromLatin1(texts::kAccessCodeError), QString(), Icon::None, Buttons::Ok});
}

bool GuiTransferUi::firmwareWarning(int dialog) {
    CFirmwareWarningDlg dlg(ctx_, dialog, owner_);
    return dlg.exec() == QDialog::Accepted;
}

} // namespace vrl::gui
