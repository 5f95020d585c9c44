// CScanInfoView: the radio-wide scan settings (priority mode, look-back times,
// revert channel, dropout delay and dwell times, group scan, off-hook scan).
// Warns when it opens on a model whose keys hold no Scan function.
#pragma once

#include "features/field_form_view.h"

namespace vrl::gui {

class CScanInfoView : public CFieldFormView {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 139;
    static constexpr int kNoScanKeyText = 37;

    CScanInfoView(AppContext& ctx, QWidget* parent);
};

} // namespace vrl::gui
