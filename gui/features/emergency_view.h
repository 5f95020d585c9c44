// CEmergencyView: the emergency signalling codes (DTMF digits) and their
// recognition options. Warns when it opens on a model whose emergency key does not
// hold the Emergency function.
#pragma once

#include "widgets/form_view.h"

namespace vrl::gui {

class CEmergencyView : public CFormView {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 133;
    static constexpr int kCloseId = 1065;
    static constexpr int kHelpId = 1066;
    static constexpr int kNoEmergencyKeyText = 12;
    // The emergency code's help topic is a topic of its own.
    static constexpr int kEmergencyCodeTopic = 0x20740;

    CEmergencyView(AppContext& ctx, QWidget* parent);

    QWidget* control(std::string_view key) const { return fieldControl(key); }
    QPushButton* closeButton() const { return close_; }
    QPushButton* helpButton() const { return help_; }
    int currentHelpTopic() const override;

  private:
    QPushButton* close_ = nullptr;
    QPushButton* help_ = nullptr;
};

} // namespace vrl::gui
