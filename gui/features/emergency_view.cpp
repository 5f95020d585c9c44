#include "features/emergency_view.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/registries.h"
#include "channels/channel_services.h"
#include "features/field_areas.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vrl::gui {

VRL_REGISTER_FUNCTION_WINDOW(cmd::kEmergency, CEmergencyView);

CEmergencyView::CEmergencyView(AppContext& ctx, QWidget* parent)
    : CFormView(ctx, kTemplateId, parent) {
    const FieldArea area = emergencyArea();
    const FieldTable fields = area.build(fieldContext());
    QGridLayout* grid = fieldGrid(fields, {"emergency.emergency_code", "emergency.emergency_ack_code",
                                           "emergency.emergency_reset_code",
                                           "emergency.emergency_mode_recognition",
                                           "emergency.emergency_ack_recognition"});
    grid->setColumnStretch(2, 1);

    close_ = makeCloseButton(kCloseId);
    help_ = makeHelpButton(kHelpId);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(closeHelpRow(close_, help_));
    layout->addStretch();

    setTitleText(area.titleText);
    addTexts({{close_, 61}, {help_, 62}});
    setInitialFocus(control("emergency.emergency_code"));
    finishSetup();

    // Only a mobile's emergency key can start the emergency signalling.
    if (!ChannelServices::of(ctx).keys().emergencyAssigned())
        ctx.messages().ask({ctx.text(kNoEmergencyKeyText), ctx.text(82), MessageService::Icon::Warning});
}

int CEmergencyView::currentHelpTopic() const {
    const QWidget* code = control("emergency.emergency_code");
    const QWidget* focus = QApplication::focusWidget();
    if (code && focus && (focus == code || code->isAncestorOf(focus))) return kEmergencyCodeTopic;
    return CFormView::currentHelpTopic();
}

} // namespace vrl::gui
