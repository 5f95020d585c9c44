// CEmbeddedMsgView: the two 32-character lines of the embedded message.
#pragma once

#include "features/embedded_message.h"
#include "widgets/form_view.h"

namespace vrl::gui {

class FilteredEdit;

class CEmbeddedMsgView : public CFormView {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 149;
    static constexpr int kLine1Id = 1404;
    static constexpr int kLine2Id = 1405;
    static constexpr int kCloseId = 1441;
    static constexpr int kHelpId = 1304;
    static int titleTextIndex() { return 476; }

    CEmbeddedMsgView(AppContext& ctx, QWidget* parent);

    FilteredEdit* lineEdit(int line) const { return lines_[line]; }
    QPushButton* closeButton() const { return close_; }
    QPushButton* helpButton() const { return help_; }

  private:
    FilteredEdit* lines_[EmbeddedMessage::kLineCount] = {};
    QPushButton* close_ = nullptr;
    QPushButton* help_ = nullptr;
};

} // namespace vrl::gui
