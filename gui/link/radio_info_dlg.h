// CRadioInfoDlg: what the connected radio says about itself, shown after a complete
// query: its model label, its band and the serial number of its information block.
#pragma once

#include "link/transfer.h"

#include <QDialog>

class QLabel;

namespace vrl::gui {

class AppContext;

class CRadioInfoDlg : public QDialog {
    Q_OBJECT
  public:
    CRadioInfoDlg(AppContext& ctx, const RadioInformation& info, QWidget* parent);

    QLabel* modelName() const { return model_; }
    QLabel* frequency() const { return band_; }
    QLabel* serialNumber() const { return serial_; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QLabel* model_;
    QLabel* band_;
    QLabel* serial_;
};

} // namespace vrl::gui
