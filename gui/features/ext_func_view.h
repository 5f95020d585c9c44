// CExtFuncView: the extended function window, the phase of the ST reverse burst.
#pragma once

#include "features/extended_function.h"
#include "widgets/form_view.h"

class QComboBox;

namespace vrl::gui {

class CExtFuncView : public CFormView {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 187;
    static constexpr int kPhaseId = 1577;
    static constexpr int kLabelId = 1578;
    static constexpr int kCloseId = 1575;
    static int titleTextIndex() { return 477; }

    CExtFuncView(AppContext& ctx, QWidget* parent);

    QComboBox* phaseCombo() const { return phase_; }
    QPushButton* closeButton() const { return close_; }

  private:
    QComboBox* phase_ = nullptr;
    QPushButton* close_ = nullptr;
};

} // namespace vrl::gui
