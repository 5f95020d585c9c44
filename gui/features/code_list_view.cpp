#include "features/code_list_view.h"

#include "app/app_context.h"
#include "widgets/field_grid.h"
#include "widgets/grid_cell_editing.h"
#include "widgets/tab_page_list.h"

#include <QKeyEvent>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vrl::gui {

void CCodeListView::refresh() {
    CFormView::refresh();
    if (!codes_->editing()->isOpen()) codes_->reload();
}

TabPageList* CCodeListView::makeTabs() {
    tabs_ = new QTabWidget(this);
    return new TabPageList(tabs_);
}

FieldGrid* CCodeListView::makeCodes(int controlId) {
    grid_ = new QTableWidget(this);
    setControlId(grid_, controlId);
    keepEnter(grid_);
    codes_ = new FieldGrid(grid_, fieldContext());
    return codes_;
}

QWidget* CCodeListView::finishCodePage() {
    connect(codes_, &FieldGrid::stored, this, [this](int, int, bool notifies) {
        emit committed();
        if (notifies) emit ctx().dataChanged();
    });
    codes_->reload();
    auto* w = new QWidget;
    auto* layout = new QVBoxLayout(w);
    layout->addWidget(grid_);
    return w;
}

void CCodeListView::finishTabs(TabPageList* pages, int closeId, int helpId) {
    setTabs(pages);
    // Leaving the code list stores a code still being edited and hides its editor.
    connect(pages, &TabPageList::pageChanged, this, [this] { codes_->editing()->commit(); });
    layOutWithButtons(tabs_, closeId, helpId);
}

bool CCodeListView::eventFilter(QObject* watched, QEvent* event) {
    // Esc in an open editor puts the cell back; it closes the window only from
    // elsewhere.
    if (event->type() == QEvent::KeyPress && codes_ && codes_->editing()->isOpen() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        return false;
    return CFormView::eventFilter(watched, event);
}

} // namespace vrl::gui
