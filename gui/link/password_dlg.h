// CPasswordDlg: asks for the radio's data password (before a read) or, in its
// access-code form, for the trunking board's 5-digit access code. Digits only.
#pragma once

#include <QDialog>

class QPushButton;

namespace vrl::gui {

class AppContext;
class FilteredEdit;

class CPasswordDlg : public QDialog {
    Q_OBJECT
  public:
    enum class Mode { DataPassword, AccessCode };

    static constexpr int kPasswordLength = 6;
    static constexpr int kAccessCodeLength = 5;

    CPasswordDlg(AppContext& ctx, Mode mode, QWidget* parent);

    // The digits typed.
    QString code() const;
    // The access code entered last in this run (the access-code form starts with it).
    static QString lastAccessCode();

    FilteredEdit* edit() const { return edit_; }
    QPushButton* okButton() const { return ok_; }

  public slots:
    void accept() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void updateOk();

    Mode mode_;
    FilteredEdit* edit_;
    QPushButton* ok_;
};

} // namespace vrl::gui
