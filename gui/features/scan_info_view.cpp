#include "features/scan_info_view.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/registries.h"
#include "channels/channel_services.h"
#include "features/field_areas.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vrl::gui {

VRL_REGISTER_FUNCTION_WINDOW(cmd::kScan, CScanInfoView);

CScanInfoView::CScanInfoView(AppContext& ctx, QWidget* parent)
    : CFormView(ctx, kTemplateId, parent) {
    const FieldArea area = scanArea();
    const FieldTable fields = area.build(fieldContext());
    QGridLayout* grid = fieldGrid(fields, {"scan.priority", "scan.look_back_time_a_sec",
                                           "scan.look_back_time_b_sec", "scan.revert_channel",
                                           "scan.dropout_delay_time_sec", "scan.dwell_time_sec",
                                           "scan.group_scan", "scan.off_hook_scan"});
    grid->setColumnStretch(2, 1);

    close_ = makeCloseButton(kCloseId);
    help_ = makeHelpButton(kHelpId);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(closeHelpRow(close_, help_));
    layout->addStretch();

    setTitleText(area.titleText);
    addTexts({{close_, 61}, {help_, 62}});
    setInitialFocus(control("scan.priority"));
    finishSetup();

    // Scanning needs a key that starts it: the window still opens, with a warning.
    if (!ChannelServices::of(ctx).keys().scanAssigned())
        ctx.messages().ask({ctx.text(kNoScanKeyText), ctx.text(82), MessageService::Icon::Warning});
}

} // namespace vrl::gui
