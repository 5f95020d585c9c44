// The About dialog: program name, version line and the supported models.
#pragma once

#include <QDialog>

namespace vrl::gui {

class AppContext;

class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    CAboutDlg(AppContext& ctx, QWidget* parent);
    // Three lines: the mobile models, the VHF portables and the UHF portables, each in
    // the order of the model table.
    static QString supportedModels();
};

} // namespace vrl::gui
