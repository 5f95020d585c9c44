// CFirmwareWarningDlg: the warning shown before a write when the radio's firmware is
// older than the data need (dialogs 186 and 189). CONTINUE writes, Cancel stops.
#pragma once

#include <QDialog>

class QPushButton;

namespace vrl::gui {

class AppContext;

class CFirmwareWarningDlg : public QDialog {
    Q_OBJECT
  public:
    // `dialog` is 186 or 189.
    CFirmwareWarningDlg(AppContext& ctx, int dialog, QWidget* parent);

    QPushButton* continueButton() const { return continue_; }

  private:
    QPushButton* continue_;
};

} // namespace vrl::gui
