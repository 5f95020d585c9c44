#include "features/embedded_msg_view.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/registries.h"
#include "features/field_areas.h"
#include "widgets/filtered_edit.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vrl::gui {

VRL_REGISTER_FUNCTION_WINDOW(cmd::kEmbeddedMessage, CEmbeddedMsgView);

CEmbeddedMsgView::CEmbeddedMsgView(AppContext& ctx, QWidget* parent)
    : CFormView(ctx, kTemplateId, parent) {
    auto* form = new QFormLayout;
    const FieldTable fields = embeddedMessageArea().build(fieldContext());
    for (int line = 0; line < EmbeddedMessage::kLineCount; ++line) {
        // The radio shows single-byte characters only: printable ASCII.
        auto* edit = new FilteredEdit(CharFilter::printableAscii(),
                                      int(EmbeddedMessage::kLineLength), this);
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QString(34, QChar('W'))));
        lines_[line] = edit;
        form->addRow(new QLabel(QStringLiteral("%1:").arg(line + 1), this), edit);
        bindField(fields[static_cast<size_t>(line)], edit);
    }

    close_ = makeCloseButton(kCloseId);
    help_ = makeHelpButton(kHelpId);
    auto* buttons = closeHelpRow(close_, help_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->addStretch();

    setTitleText(titleTextIndex());
    addTexts({{close_, 61}, {help_, 62}});
    setInitialFocus(lines_[0]);
    finishSetup();
}

} // namespace vrl::gui
