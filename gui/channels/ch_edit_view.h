// CChEditView: every setting of one channel in a form window. It holds only the
// group and channel it shows: the fields are read and written through the channel
// store. It follows the channel grid both ways: the grid's current channel shows
// here, and a group or channel chosen here becomes the grid's current cell.
#pragma once

#include "channels/channel_store.h"
#include "widgets/form_view.h"

#include <map>

class QCheckBox;
class QComboBox;
class QLabel;

namespace vrl::gui {

class ChannelServices;
class CToneCombo;
class FilteredEdit;
class SpinEdit;

class CChEditView : public CFormView {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 150;
    static constexpr int kTitleText = 205;

    CChEditView(AppContext& ctx, QWidget* parent);

    // Group and channel shown, 0-based.
    int group() const { return group_; }
    int channel() const { return channel_; }

    // The control of a channel field.
    QWidget* fieldControl(ChannelField f) const;
    SpinEdit* groupSpin() const { return groupSpin_; }
    SpinEdit* channelSpin() const { return channelSpin_; }
    QLabel* scramblerLabel() const { return scramblerLabel_; }

  public slots:
    // The grid's current channel changed: show it.
    void showChannel(int g, int c);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildControls();
    void bindFields();
    void layOut();
    QString fieldText(ChannelField f) const;
    void storeText(ChannelField f, const QString& text);
    void storeChoice(ChannelField f, int selection);
    void storeTone(ChannelField f, const QString& text);
    // A group or channel chosen here (clamped); the grid is told to select it.
    void select(int g, int c);
    void selectTyped(const QString& text, bool groupEdit);
    void showResult(StoreResult r);
    bool viewKey(QKeyEvent* key);
    void nextGroup(int delta);
    void insertOrRemove(bool insert);

    ChannelServices& services_;
    ChannelStore& store_;
    int group_ = 0;
    int channel_ = 0;
    bool selecting_ = false; // telling the grid; its echo is ignored

    SpinEdit* groupSpin_ = nullptr;
    SpinEdit* channelSpin_ = nullptr;
    FilteredEdit* rx_ = nullptr;
    FilteredEdit* tx_ = nullptr;
    CToneCombo* decode_ = nullptr;
    CToneCombo* encode_ = nullptr;
    FilteredEdit* name_ = nullptr;
    QComboBox* optionSignalling_ = nullptr;
    FilteredEdit* idCode_ = nullptr;
    QComboBox* lockout_ = nullptr;
    QComboBox* power_ = nullptr;
    QComboBox* width_ = nullptr;
    QComboBox* pttId_ = nullptr;
    FilteredEdit* bot_ = nullptr;
    FilteredEdit* eot_ = nullptr;
    SpinEdit* scrambler_ = nullptr;
    QCheckBox* beatShift_ = nullptr;
    QCheckBox* compander_ = nullptr;
    QCheckBox* priority_ = nullptr;
    QCheckBox* home_ = nullptr;
    QCheckBox* scanAdd_ = nullptr;
    QLabel* scramblerLabel_ = nullptr;
    std::map<int, QLabel*> labels_; // by language text
    QPushButton* close_ = nullptr;
    QPushButton* help_ = nullptr;
};

} // namespace vrl::gui
