// CDTMFView: the DTMF window on three tab pages: encoder timing and keypad, the
// decoder's codes and options, and the list of stored DTMF codes edited in place.
// A change of DTMF Signalling or Dial ID makes the channel windows refresh.
#pragma once

#include "widgets/form_view.h"

class QTabWidget;
class QTableWidget;

namespace vrl::gui {

class FieldGrid;
class FilteredEdit;

class CDTMFView : public CFormView {
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

    QTabWidget* tabs() const { return tabs_; }
    QTableWidget* grid() const { return grid_; }
    FieldGrid* codes() const { return codes_; }
    FilteredEdit* codeEditor() const { return codeEdit_; }
    using CFormView::fieldControl;

    // Reloads the fields and the code list.
    void refresh();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* buildCodePage(const FieldTable& table);
    void retranslateGrid();

    QTabWidget* tabs_ = nullptr;
    QTableWidget* grid_ = nullptr;
    FieldGrid* codes_ = nullptr;
    FilteredEdit* codeEdit_ = nullptr;
};

} // namespace vrl::gui
