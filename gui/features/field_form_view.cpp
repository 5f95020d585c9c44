#include "features/field_form_view.h"

#include "app/app_context.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vrl::gui {

namespace {
constexpr int kWarningCaptionText = 82;
} // namespace

CFieldFormView::CFieldFormView(AppContext& ctx, int templateId, const FieldArea& area,
                               std::initializer_list<std::string_view> keys, QWidget* parent)
    : CFormView(ctx, templateId, parent) {
    const FieldTable fields = area.build(fieldContext());
    QGridLayout* grid = fieldGrid(fields, keys);
    grid->setColumnStretch(2, 1);

    // Both buttons answer help with the window's own topic.
    close_ = makeCloseButton(templateId);
    help_ = makeHelpButton(templateId);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(closeHelpRow(close_, help_));
    layout->addStretch();

    setTitleText(area.titleText);
    addTexts({{close_, kCloseText}, {help_, kHelpText}});
    if (keys.size() > 0) setInitialFocus(control(*keys.begin()));
    finishSetup();
}

void CFieldFormView::warnUnless(bool holds, int textIndex) {
    if (holds) return;
    ctx().messages().ask(
        {ctx().text(textIndex), ctx().text(kWarningCaptionText), MessageService::Icon::Warning});
}

} // namespace vrl::gui
