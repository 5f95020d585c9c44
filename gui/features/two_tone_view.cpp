#include "features/two_tone_view.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/registries.h"
#include "features/field_areas.h"
#include "features/two_tone_settings.h"
#include "widgets/field_grid.h"
#include "widgets/filtered_edit.h"
#include "widgets/grid_cell_editing.h"
#include "widgets/tab_page_list.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPalette>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vrl::gui {

VRL_REGISTER_FUNCTION_WINDOW(cmd::kTwoTone, CTwoToneView);

namespace {
constexpr int kColumnWidths[] = {450, 1350, 1200, 1200, 1500};
constexpr int kHeaderTexts[] = {66, 433, 420, 421, 434};
constexpr int kEditorIds[] = {0, 1209, 1210, 1211, 1208};
constexpr int kTimeSpinId = 1227;
} // namespace

CTwoToneView::CTwoToneView(AppContext& ctx, QWidget* parent)
    : CCodeListView(ctx, kTemplateId, parent) {
    const FieldTable table = twoToneArea().build(fieldContext());
    names_ = TwoToneSettings(fieldContext().image(), fieldContext().texts).hasCodeNames();
    TabPageList* pages = makeTabs();
    auto* decoder = new QWidget;
    auto* decoderLayout = new QVBoxLayout(decoder);
    decoderLayout->addLayout(
        fieldGrid(table, {"twotone.a_tone_hz", "twotone.b_tone_hz", "twotone.c_tone_hz",
                          "twotone.decoder_call_format", "twotone.group_call",
                          "twotone.alert_tone_transpond", "twotone.auto_reset_timer_sec"}));
    decoderLayout->addStretch();
    pages->addPage(decoder, 419);
    pages->addPage(buildCodePage(table), 432);
    finishTabs(pages, kCloseId, kHelpId);
    setTitleText(kTitleText);
    setInitialFocus(fieldControl("twotone.a_tone_hz"));
    finishSetup();
    connect(&ctx, &AppContext::languageChanged, this, &CTwoToneView::retranslateGrid);
    retranslateGrid();
    grid()->setCurrentCell(0, names_ ? kNameColumn : kToneAColumn);
}

QWidget* CTwoToneView::buildCodePage(const FieldTable& table) {
    FieldGrid* codes = makeCodes(kGridId);
    int rows = 0;
    for (const Field& f : table) {
        if (f.kind != FieldKind::Cell) continue;
        // Keys end in .name, .tone_a, .tone_b, .time, in column order.
        const int column = f.key.ends_with(".name")     ? kNameColumn
                           : f.key.ends_with(".tone_a") ? kToneAColumn
                           : f.key.ends_with(".tone_b") ? kToneBColumn
                                                        : kTimeColumn;
        if (column == kNameColumn) ++rows;
        codes->bindCell(rows - 1, column, f);
    }
    codes->numberRows();
    for (int c = kNameColumn; c <= kTimeColumn; ++c) {
        FilteredEdit* edit = codes->addEditColumn(c);
        setControlId(edit, kEditorIds[c]);
        if (c == kTimeColumn) {
            timeEdit_ = edit;
            edit->installEventFilter(this);
        }
    }
    return finishCodePage();
}

void CTwoToneView::retranslateGrid() {
    QStringList headers;
    for (int text : kHeaderTexts)
        headers << ctx().text(text);
    codes()->setColumns(headers, {std::begin(kColumnWidths), std::end(kColumnWidths)});
    // Models without code names show the name column's header greyed.
    if (!names_)
        grid()
            ->horizontalHeaderItem(kNameColumn)
            ->setForeground(QApplication::palette().color(QPalette::Disabled, QPalette::Text));
}

void CTwoToneView::stepTime(int delta) {
    // The time editor's spin: the typed text counts first, then the step.
    GridCellEditing* editing = codes()->editing();
    const int row = editing->row();
    const Field* f = codes()->fieldAt(row, kTimeColumn);
    if (!f) return;
    auto* edit = static_cast<FilteredEdit*>(timeEdit_);
    f->setText(fieldContext(), edit->text().toStdString());
    f->setStep(fieldContext(), f->stepIndex(fieldContext()) + delta);
    edit->setText(QString::fromStdString(f->text(fieldContext())));
    edit->selectAll();
}

bool CTwoToneView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == timeEdit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            stepTime(key == Qt::Key_Up ? 1 : -1);
            return true;
        }
    }
    return CCodeListView::eventFilter(watched, event);
}

} // namespace vrl::gui
