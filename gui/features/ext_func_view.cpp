#include "features/ext_func_view.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/registries.h"
#include "features/field_areas.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vrl::gui {

VRL_REGISTER_FUNCTION_WINDOW(cmd::kExtendedFunction, CExtFuncView);

CExtFuncView::CExtFuncView(AppContext& ctx, QWidget* parent)
    : CFormView(ctx, kTemplateId, parent) {
    auto* label = new QLabel(this);
    setControlId(label, kLabelId);
    phase_ = new QComboBox(this);
    label->setBuddy(phase_);
    bindField(extendedFunctionArea().build(fieldContext()).front(), phase_);

    close_ = makeCloseButton(kCloseId);

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(phase_);
    row->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addLayout(buttons);
    layout->addStretch();

    setTitleText(titleTextIndex());
    addTexts({{label, 478}, {close_, 61}});
    setInitialFocus(phase_);
    finishSetup();
}

} // namespace vrl::gui
