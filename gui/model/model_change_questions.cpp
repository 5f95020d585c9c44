#include "model/model_change_questions.h"

#include "app/app_context.h"

namespace vrl::gui {

QString MessageBoxModelQuestions::changeText(AppContext& ctx, int changeClass) {
    switch (changeClass) {
    case 1: return ctx.text(22);
    case 2: return ctx.text(23);
    default: return ctx.text(22) + '\n' + ctx.text(23);
    }
}

QString MessageBoxModelQuestions::reductionText(AppContext& ctx, int newCount, int oldCount) {
    return QStringLiteral("%1 %2 %3 %4 %5.")
        .arg(ctx.text(170))
        .arg(newCount + 1)
        .arg(ctx.text(171))
        .arg(oldCount)
        .arg(ctx.text(172));
}

bool MessageBoxModelQuestions::confirmChange(int changeClass) {
    return ctx_.messages().ask({changeText(ctx_, changeClass), ctx_.text(78),
                                MessageService::Icon::Warning, MessageService::Buttons::OkCancel,
                                true}) == QMessageBox::Ok;
}

bool MessageBoxModelQuestions::confirmTrunkingGroupReduction(int newCount, int oldCount) {
    return ctx_.messages().ask({reductionText(ctx_, newCount, oldCount), ctx_.text(78),
                                MessageService::Icon::Warning, MessageService::Buttons::OkCancel,
                                true}) == QMessageBox::Ok;
}

} // namespace vrl::gui
