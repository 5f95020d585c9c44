#include "features/emergency_view.h"

#include "app/commands.h"
#include "app/registries.h"
#include "channels/channel_services.h"
#include "features/field_areas.h"

#include <QApplication>

namespace vrl::gui {

VRL_REGISTER_FUNCTION_WINDOW(cmd::kEmergency, CEmergencyView);

CEmergencyView::CEmergencyView(AppContext& ctx, QWidget* parent)
    : CFieldFormView(ctx, kTemplateId, emergencyArea(),
                     {"emergency.emergency_code", "emergency.emergency_ack_code",
                      "emergency.emergency_reset_code", "emergency.emergency_mode_recognition",
                      "emergency.emergency_ack_recognition"},
                     parent) {
    // Only a mobile's emergency key can start the emergency signalling.
    warnUnless(ChannelServices::of(ctx).keys().emergencyAssigned(), kNoEmergencyKeyText);
}

int CEmergencyView::currentHelpTopic() const {
    const QWidget* code = control("emergency.emergency_code");
    const QWidget* focus = QApplication::focusWidget();
    if (code && focus && (focus == code || code->isAncestorOf(focus))) return kEmergencyCodeTopic;
    return CFieldFormView::currentHelpTopic();
}

} // namespace vrl::gui
