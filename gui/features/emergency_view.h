// CEmergencyView: the emergency signalling codes (DTMF digits) and their
// recognition options. Warns when it opens on a model whose emergency key does not
// hold the Emergency function.
#pragma once

#include "features/field_form_view.h"

namespace vrl::gui {

class CEmergencyView : public CFieldFormView {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 133;
    static constexpr int kNoEmergencyKeyText = 12;
    // The emergency code's help topic is a topic of its own.
    static constexpr int kEmergencyCodeTopic = 0x20740;

    CEmergencyView(AppContext& ctx, QWidget* parent);

    int currentHelpTopic() const override;
};

} // namespace vrl::gui
