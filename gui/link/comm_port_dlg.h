// CCommPortDlg: the Communication Port dialog. Port numbers 1-20 each stand for one
// device (a serial device of the system, a path the user typed, or the built-in
// virtual radio), shown beside the number's button. The device of the selected
// number can be changed by picking or typing another one. OK makes the selected
// number the program's port once its device opens.
#pragma once

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLabel;
class QRadioButton;

namespace vrl::gui {

class AppContext;
class LinkService;

class CCommPortDlg : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kPortCount = 20;

    CCommPortDlg(AppContext& ctx, LinkService& service, QWidget* parent);

    // The selected port number, 0 when none.
    int selectedPort() const;
    QRadioButton* portButton(int n) const;
    QLabel* deviceLabel(int n) const;
    // Whether the device of port n opened when the dialog probed it.
    bool portUsable(int n) const;
    QComboBox* deviceEdit() const { return device_; }
    QLabel* deviceCaption() const { return deviceCaption_; }

  public slots:
    void accept() override;

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void probeAll();
    void showDevice(int n);
    void selectionChanged();

    AppContext& ctx_;
    LinkService& service_;
    QButtonGroup* group_;
    QRadioButton* buttons_[kPortCount] = {};
    QLabel* devices_[kPortCount] = {};
    bool usable_[kPortCount] = {};
    QLabel* deviceCaption_;
    QComboBox* device_;
};

} // namespace vrl::gui
