#include "channels/channel_services.h"

#include "app/app_context.h"

namespace vrl::gui {

ChannelServices::ChannelServices(AppContext& ctx)
    : QObject(&ctx),
      keys_(ctx.data(), [&ctx](int i) { return ctx.lang().text(i); }),
      store_(ctx.data(), [&ctx](int i) { return ctx.lang().text(i); }, &keys_) {
    setObjectName(QStringLiteral("vrlChannelServices"));
    ctx.setChannelPlanEditor(&store_);
}

ChannelServices& ChannelServices::of(AppContext& ctx) {
    if (auto* existing = ctx.findChild<ChannelServices*>(QStringLiteral("vrlChannelServices"),
                                                          Qt::FindDirectChildrenOnly))
        return *existing;
    return *new ChannelServices(ctx);
}

} // namespace vrl::gui
