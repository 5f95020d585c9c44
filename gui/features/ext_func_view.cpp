#include "features/ext_func_view.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/registries.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vrl::gui {

VRL_REGISTER_FUNCTION_WINDOW(cmd::kExtendedFunction, CExtFuncView);

CExtFuncView::CExtFuncView(AppContext& ctx, QWidget* parent)
    : CFormView(ctx, kTemplateId, parent), function_(ctx.data().image) {
    auto* label = new QLabel(this);
    setControlId(label, kLabelId);
    phase_ = new QComboBox(this);
    // The choices are the same in every language.
    for (int item = 0; item < ExtendedFunction::kPhaseItemCount; ++item)
        phase_->addItem(QString::fromLatin1(ExtendedFunction::phaseItemText(item)));
    label->setBuddy(phase_);
    bindCombo(
        kPhaseId, phase_, [this] { return function_.reverseBurstPhase(); },
        [this](int item) { function_.setReverseBurstPhase(item); });

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
