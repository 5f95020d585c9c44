// The desktop side of a radio exchange: every question of the protocol as a
// message of the message service (text and caption from the language table), the
// password dialog, the firmware warnings, and progress shown in the dialog that
// runs the exchange.
#pragma once

#include "link/transfer_ui.h"

#include <QPointer>
#include <QWidget>

namespace vrl::gui {

class AppContext;

// What a transfer dialog shows while an exchange runs.
class TransferProgressView {
  public:
    virtual ~TransferProgressView() = default;
    virtual void showProgress(int count, int total) = 0;
    virtual void setBlockLoopBusy(bool busy) = 0;
    // Progress from now on counts the read-back of a write (or the transfer again).
    virtual void setVerifying(bool) {}
    // The user asked to stop; the exchange ends at the next block.
    virtual bool stopWanted() const { return false; }
};

class GuiTransferUi : public TransferUi {
  public:
    // `owner` parents the password and warning dialogs; `view` may be null (the
    // queries show no progress).
    GuiTransferUi(AppContext& ctx, QWidget* owner, TransferProgressView* view = nullptr);

    void progress(int count, int total) override;
    void setPhase(TransferPhase phase) override;
    void showVerifyFailed(const std::vector<int>& blocks) override;
    void pumpOne() override;
    void setBusy(bool busy) override;
    void redraw() override;
    bool stopRequested() override;

    bool askRetry(int text) override;
    bool askOk(int text) override;
    void showError(int text) override;
    std::optional<PasswordBytes> askPassword() override;
    bool firmwareWarning(int dialog) override;
    std::optional<std::string> askAccessCode() override;
    void showAccessCodeError() override;

  private:
    AppContext& ctx_;
    QPointer<QWidget> owner_;
    TransferProgressView* view_;
};

} // namespace vrl::gui
