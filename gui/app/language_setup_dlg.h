// The Language File Setup dialog: picks the language of every text.
#pragma once

#include <QDialog>

class QComboBox;

namespace vrl::gui {

class AppContext;

class CLanguageSetupDlg : public QDialog {
    Q_OBJECT
  public:
    CLanguageSetupDlg(AppContext& ctx, QWidget* parent);
    int selectedLanguage() const;
    QComboBox* combo() const { return combo_; }

  private:
    QComboBox* combo_;
};

} // namespace vrl::gui
