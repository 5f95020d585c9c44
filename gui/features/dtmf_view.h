// CDTMFView: the DTMF window on three tab pages: encoder timing and keypad, the
// decoder's codes and options, and the list of stored DTMF codes edited in place.
// A change of DTMF Signalling or Dial ID makes the channel windows refresh.
#pragma once

#include "features/code_list_view.h"

namespace vrl::gui {

class FilteredEdit;

class CDTMFView : public CCodeListView {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 141;
    static constexpr int kTabsId = 1346;
    static constexpr int kGridId = 1393;
    static constexpr int kCodeEditId = 1447;
    static constexpr int kCloseId = 1448;
    static constexpr int kHelpId = 1113;
    static constexpr int kTitleText = 383;

    CDTMFView(AppContext& ctx, QWidget* parent);

    FilteredEdit* codeEditor() const { return codeEdit_; }
    using CFormView::fieldControl;

  private:
    QWidget* buildCodePage(const FieldTable& table);
    void retranslateGrid();

    FilteredEdit* codeEdit_ = nullptr;
};

} // namespace vrl::gui
