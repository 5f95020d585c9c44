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

CDTMFView::CDTMFView(AppContext& ctx, QWidget* parent) : CCodeListView(ctx, kTemplateId, parent) {
    const FieldTable table = dtmfArea().build(fieldContext());
    TabPageList* pages = makeTabs();
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
    finishTabs(pages, kCloseId, kHelpId);
    setTitleText(kTitleText);
    setInitialFocus(fieldControl("dtmf.digit_time_msec"));
    finishSetup();
    connect(&ctx, &AppContext::languageChanged, this, &CDTMFView::retranslateGrid);
    retranslateGrid();
    grid()->setCurrentCell(0, 1);
}

QWidget* CDTMFView::buildCodePage(const FieldTable& table) {
    // F1 in the grid and in its editor opens the editor's topic.
    FieldGrid* codes = makeCodes(kCodeEditId);
    grid()->horizontalHeader()->setStretchLastSection(true);
    int rows = 0;
    for (const Field& f : table)
        if (f.kind == FieldKind::Cell) codes->bindCell(rows++, 1, f);
    codes->numberRows();
    codeEdit_ = codes->addEditColumn(1);
    setControlId(codeEdit_, kCodeEditId);
    connect(codes->editing(), &GridCellEditing::returnedByEnter, this, [this](int row, int column) {
        grid()->setCurrentCell(std::min(row + 1, grid()->rowCount() - 1), column);
    });
    return finishCodePage();
}

void CDTMFView::retranslateGrid() {
    codes()->setColumns({ctx().text(66), ctx().text(415)}, {450, 2250});
}

} // namespace vrl::gui
