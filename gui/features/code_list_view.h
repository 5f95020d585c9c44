// A tabbed form window whose last page is a list of codes edited in place in a
// grid bound to the area's cell fields (DTMF and 2-tone): the tab control, the code
// grid and what both windows do with them -- stores announced, the list reloaded
// unless a code is being edited, the cell stored when its page is left, and Esc in
// an open editor putting the cell back instead of closing the window.
#pragma once

#include "widgets/form_view.h"

class QTabWidget;
class QTableWidget;

namespace vrl::gui {

class FieldGrid;
class TabPageList;

class CCodeListView : public CFormView {
    Q_OBJECT
  public:
    using CFormView::CFormView;

    QTabWidget* tabs() const { return tabs_; }
    QTableWidget* grid() const { return grid_; }
    FieldGrid* codes() const { return codes_; }

    // Reloads the fields and, unless a code is being edited, the code list.
    void refresh();

  protected:
    // The tab control, to which the window adds its pages.
    TabPageList* makeTabs();
    // The code grid (control `controlId`, Enter kept in it); the window binds its cells.
    FieldGrid* makeCodes(int controlId);
    // The code page, once the cells are bound and the editors added.
    QWidget* finishCodePage();
    // The pages into the window above Close and Help.
    void finishTabs(TabPageList* pages, int closeId, int helpId);

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QTabWidget* tabs_ = nullptr;
    QTableWidget* grid_ = nullptr;
    FieldGrid* codes_ = nullptr;
};

} // namespace vrl::gui
