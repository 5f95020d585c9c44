// COptionalFeaturesView: the radio-wide settings that belong to no channel, on two
// tab pages ("General": display, tones, volumes, time-out timer, passwords and the
// battery warning of two portables; "Operation": off-hook, signalling, squelch,
// key lock, key detection and the service modes). Every field comes from the
// "optional" area of the core's field table.
#pragma once

#include "widgets/form_view.h"

class QGroupBox;
class QTabWidget;

namespace vrl::gui {

class COptionalFeaturesView : public CFormView {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 131;
    static constexpr int kTabId = 1364;
    static constexpr int kBatteryWarningId = 1570;
    static constexpr int kTxInhibitLabelId = 1574;
    static constexpr int kModeGroupId = 1385;
    static constexpr int kCloseId = 1054;
    static constexpr int kHelpId = 1055;
    static int titleTextIndex() { return 250; }

    COptionalFeaturesView(AppContext& ctx, QWidget* parent);

    TabPageList* tabs() const { return tabs_; }
    // The control of a field of the "optional" area, by key ("optional.squelch_level").
    QWidget* control(std::string_view key) const { return fieldControl(key); }
    QGroupBox* batteryWarningGroup() const { return battery_; }
    QGroupBox* modeGroup() const { return mode_; }
    QPushButton* closeButton() const { return close_; }
    QPushButton* helpButton() const { return help_; }

  private:
    QWidget* buildGeneralPage(const FieldTable& table);
    QWidget* buildOperationPage(const FieldTable& table);

    TabPageList* tabs_ = nullptr;
    QGroupBox* battery_ = nullptr;
    QGroupBox* mode_ = nullptr;
    QPushButton* close_ = nullptr;
    QPushButton* help_ = nullptr;
};

} // namespace vrl::gui
