// CTwoToneView: the 2-tone window on two tab pages: the decoder's tones and call
// options, and the list of 2-tone codes (name, tone A, tone B, time) edited in
// place. The name column is kept only on 32- and 128-channel models; the time of a
// code is edited only when both its tones are set (Up and Down step it).
#pragma once

#include "features/code_list_view.h"

namespace vrl::gui {

class CTwoToneView : public CCodeListView {
    Q_OBJECT
  public:
    static constexpr int kTemplateId = 143;
    static constexpr int kTabsId = 1417;
    static constexpr int kGridId = 1445;
    static constexpr int kCloseId = 1459;
    static constexpr int kHelpId = 1158;
    static constexpr int kTitleText = 418;
    enum Column { kNumberColumn, kNameColumn, kToneAColumn, kToneBColumn, kTimeColumn };

    CTwoToneView(AppContext& ctx, QWidget* parent);

    using CFormView::fieldControl;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* buildCodePage(const FieldTable& table);
    void retranslateGrid();
    void stepTime(int delta);

    QWidget* timeEdit_ = nullptr;
    bool names_ = true;
};

} // namespace vrl::gui
