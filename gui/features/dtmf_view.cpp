#include "features/dtmf_view.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/registries.h"
#include "features/field_areas.h"
#include "widgets/field_grid.h"
#include "widgets/filtered_edit.h"
#include "widgets/grid_cell_editing.h"
#include "widgets/tab_page_list.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vrl::gui {

VRL_REGISTER_FUNCTION_WINDOW(cmd::kDtmf, CDTMFView);

namespace {

// A page holding a field grid at its top.
QWidget* page(QGridLayout* fields) {
    auto* w = new QWidget;
    auto* layout = new QVBoxLayout(w);
    layout->addLayout(fields);
    layout->addStretch();
    return w;
}
} // namespace

CDTMFView::CDTMFView(AppContext& ctx, QWidget* parent) : CFormView(ctx, kTemplateId, parent) {
    const FieldTable table = dtmfArea().build(fieldContext());
    tabs_ = new QTabWidget(this);
    auto* pages = new TabPageList(tabs_);
    pages->addPage(
        page(fieldGrid(table, {"dtmf.digit_time_msec", "dtmf.inter_digit_time_msec",
                               "dtmf.first_digit_time_msec", "dtmf.first_digit_delay_msec",
                               "dtmf.rise_time_with_st_msec", "dtmf.no_of_dtmf_key",
                               "dtmf.d_key_assignment_sec", "dtmf.dial_id", "dtmf.dtmf_hold_time",
                               "dtmf.keypad_auto_ptt", "dtmf.store_send"})),
        384);
    pages->addPage(
        page(fieldGrid(table, {"dtmf.dtmf_signalling", "dtmf.intermediate_code", "dtmf.group_code",
                               "dtmf.auto_reset_timer_sec", "dtmf.call_alert_transpond",
                               "dtmf.transpond", "dtmf.dead_beat_disable_tx",
                               "dtmf.dead_beat_disable_tx_rx", "dtmf.dtmf_number_display"})),
        398);
    pages->addPage(buildCodePage(table), 414);
    setTabs(pages);
    // Leaving the code list stores a code still being edited.
    connect(pages, &TabPageList::pageChanged, this, [this] { codes_->editing()->commit(); });

    layOutWithButtons(tabs_, kCloseId, kHelpId);
    setTitleText(kTitleText);
    setInitialFocus(fieldControl("dtmf.digit_time_msec"));
    finishSetup();
    connect(&ctx, &AppContext::languageChanged, this, &CDTMFView::retranslateGrid);
    retranslateGrid();
    grid_->setCurrentCell(0, 1);
}

QWidget* CDTMFView::buildCodePage(const FieldTable& table) {
    grid_ = new QTableWidget(this);
    grid_->horizontalHeader()->setStretchLastSection(true);
    // F1 in the grid and in its editor opens the editor's topic.
    setControlId(grid_, kCodeEditId);
    keepEnter(grid_);

    codes_ = new FieldGrid(grid_, fieldContext());
    int rows = 0;
    for (const Field& f : table)
        if (f.kind == FieldKind::Cell) codes_->bindCell(rows++, 1, f);
    codes_->numberRows();
    codeEdit_ = codes_->addEditColumn(1);
    setControlId(codeEdit_, kCodeEditId);
    connect(codes_->editing(), &GridCellEditing::returnedByEnter, this,
            [this](int row, int column) {
                grid_->setCurrentCell(std::min(row + 1, grid_->rowCount() - 1), column);
            });
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

void CDTMFView::retranslateGrid() {
    codes_->setColumns({ctx().text(66), ctx().text(415)}, {450, 2250});
}

void CDTMFView::refresh() {
    CFormView::refresh();
    if (!codes_->editing()->isOpen()) codes_->reload();
}

bool CDTMFView::eventFilter(QObject* watched, QEvent* event) {
    // Esc in the open code editor puts the cell back; it closes the window only from
    // elsewhere.
    if (event->type() == QEvent::KeyPress && codes_ && codes_->editing()->isOpen() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        return false;
    return CFormView::eventFilter(watched, event);
}

} // namespace vrl::gui
