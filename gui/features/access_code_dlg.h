// CAccessCodeDlg: a new access code for the trunking board, typed twice. OK checks
// both (missing digits, a verify that differs), then asks before the code is stored
// in the data; the dialog itself stores nothing.
#pragma once

#include <QDialog>

class QPushButton;

namespace vrl::gui {

class AppContext;
class FilteredEdit;

class CAccessCodeDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 147;
    static constexpr int kCodeLength = 5;

    CAccessCodeDlg(AppContext& ctx, QWidget* parent);

    // The new code after OK.
    QString code() const;

    FilteredEdit* newEdit() const { return new_; }
    FilteredEdit* verifyEdit() const { return verify_; }
    QPushButton* okButton() const { return ok_; }

  public slots:
    void accept() override;

  private:
    void error(int text);
    void incomplete(qsizetype digits);

    AppContext& ctx_;
    FilteredEdit* new_;
    FilteredEdit* verify_;
    QPushButton* ok_;
};

} // namespace vrl::gui
