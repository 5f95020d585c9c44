// CScanInfoView: the radio-wide scan settings (priority mode, look-back times,
// revert channel, dropout delay and dwell times, group scan, off-hook scan).
// Warns when it opens on a model whose keys hold no Scan function.
#pragma once

#include "widgets/form_view.h"

namespace vrl::gui {

class CScanInfoView : public CFormView {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 139;
    static constexpr int kCloseId = 1400;
    static constexpr int kHelpId = 1112;
    static constexpr int kNoScanKeyText = 37;

    CScanInfoView(AppContext& ctx, QWidget* parent);

    // The control of a field of the "scan" area, by key.
    QWidget* control(std::string_view key) const { return fieldControl(key); }
    QPushButton* closeButton() const { return close_; }
    QPushButton* helpButton() const { return help_; }

  private:
    QPushButton* close_ = nullptr;
    QPushButton* help_ = nullptr;
};

} // namespace vrl::gui
