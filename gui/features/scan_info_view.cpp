#include "features/scan_info_view.h"

#include "app/commands.h"
#include "app/registries.h"
#include "channels/channel_services.h"
#include "features/field_areas.h"

namespace vrl::gui {

VRL_REGISTER_FUNCTION_WINDOW(cmd::kScan, CScanInfoView);

CScanInfoView::CScanInfoView(AppContext& ctx, QWidget* parent)
    : CFieldFormView(ctx, kTemplateId, scanArea(),
                     {"scan.priority", "scan.look_back_time_a_sec", "scan.look_back_time_b_sec",
                      "scan.revert_channel", "scan.dropout_delay_time_sec", "scan.dwell_time_sec",
                      "scan.group_scan", "scan.off_hook_scan"},
                     parent) {
    // Scanning needs a key that starts it.
    warnUnless(ChannelServices::of(ctx).keys().scanAssigned(), kNoScanKeyText);
}

} // namespace vrl::gui
