// CTransferDlg: the read and write dialogs. Shows "<Block> n / total" with a
// progress bar, starts the exchange when the user presses Read or Write, refuses to
// close while it runs (Cancel then asks the exchange to stop at the next block),
// reports success and closes: Accepted after a complete
// exchange, Rejected when it stopped. Before a radio write it checks the data.
#pragma once

#include "link/gui_transfer_ui.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace vrl::gui {

class AppContext;

enum class TransferKind { ReadRadio, WriteRadio, ReadBoard, WriteBoard };

class CTransferDlg : public QDialog, private TransferProgressView {
    Q_OBJECT
  public:
    // The exchange itself; returns a TransferResult (3 runs it again).
    using Operation = std::function<int(TransferUi&)>;

    CTransferDlg(AppContext& ctx, TransferKind kind, Operation operation, QWidget* parent);

    TransferKind kind() const { return kind_; }
    // True from the press of the start button until the dialog closes.
    bool running() const { return running_; }
    // The block loop has been reached (kept until the dialog closes).
    bool busy() const { return busy_; }

    QLabel* label() const { return label_; }
    QProgressBar* progressBar() const { return bar_; }
    QPushButton* startButton() const { return start_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* helpButton() const { return help_; }
    // "Verify after writing" (radio write only; null otherwise). Its state is the
    // program's setting (AppContext, kept in the settings store), read by the write.
    QCheckBox* verifyCheck() const { return verify_; }

    // What the dialog shows for a kind: title, success message, help topic.
    struct Texts {
        int title;
        int startButton;
        int done;
        int helpTopic;
    };
    static Texts textsFor(TransferKind kind);

  public slots:
    void start();
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void showProgress(int count, int total) override;
    void setBlockLoopBusy(bool busy) override;
    void setVerifying(bool verifying) override;
    bool stopWanted() const override { return stopWanted_; }
    void cancelPressed();
    // False when the data must not be written; may close the dialog.
    bool dataCheckPasses();
    void openHelp();

    AppContext& ctx_;
    TransferKind kind_;
    Operation operation_;
    QLabel* label_;
    QProgressBar* bar_;
    QPushButton* start_;
    QPushButton* cancel_;
    QPushButton* help_;
    QCheckBox* verify_ = nullptr;
    bool verifying_ = false;
    bool running_ = false;
    bool busy_ = false;
    bool started_ = false;
    bool stopWanted_ = false;
    bool allBlocksMoved_ = false;
};

} // namespace vrl::gui
