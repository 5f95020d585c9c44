#include "features/operator_sel_tone_view.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/registries.h"
#include "features/field_areas.h"
#include "widgets/grid_cell_editing.h"
#include "widgets/tone_combo.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vrl::gui {

VRL_REGISTER_FUNCTION_WINDOW(cmd::kOperatorSelTone, COperatorSelToneView);

namespace {
constexpr int kNumberHeaderText = 66;
constexpr int kToneHeaderTexts[2] = {474, 475};
// Grid units are 1/1440 inch; at 96 pixels per inch one pixel is 15 units.
int px(int twips) {
    return twips / 15;
}
QString qs(const std::string& s) {
    return QString::fromStdString(s);
}
} // namespace

COperatorSelToneView::COperatorSelToneView(AppContext& ctx, QWidget* parent)
    : CFormView(ctx, kTemplateId, parent) {
    const FieldArea area = operatorSelToneArea();
    fields_ = area.build(fieldContext());

    grid_ = new QTableWidget(kRowCount, 3, this);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setTabKeyNavigation(false);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(px(300));
    grid_->setColumnWidth(0, px(450));
    grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int r = 0; r < kRowCount; ++r) {
        auto* number = new QTableWidgetItem(QString::number(r + 1));
        number->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        grid_->setItem(r, 0, number);
    }
    setControlId(grid_, kGridId);

    editing_ = new GridCellEditing(grid_);
    for (int column = 1; column <= 2; ++column) {
        auto* combo = new CToneCombo(ctx.text(kToneOffTextIndex));
        editors_[column - 1] = combo;
        editing_->addComboColumn(column, combo, [this](int row, int col, const QString& text) {
            return storeCell(row, col, text);
        });
        setControlId(combo, kEditorId);
        // A tone chosen from the list is stored at once; the editor stays open.
        connect(combo, &QComboBox::activated, this, [this, combo] {
            if (!editing_->isOpen()) return;
            const QString shown =
                storeCell(editing_->row(), editing_->column(), combo->currentText());
            combo->setEditText(shown);
        });
    }
    connect(editing_, &GridCellEditing::returnedByEnter, this, [this](int row, int column) {
        // Enter moves one cell on: to the second tone, then to the next row's first.
        if (column == 1)
            grid_->setCurrentCell(row, 2);
        else if (row + 1 < kRowCount)
            grid_->setCurrentCell(row + 1, 1);
    });
    keepEnter(grid_); // Enter opens and closes the editor instead of moving on

    close_ = makeCloseButton(kCloseId);
    help_ = makeHelpButton(kHelpId);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(closeHelpRow(close_, help_));

    setTitleText(area.titleText);
    addTexts({{close_, 61}, {help_, 62}});
    setInitialFocus(grid_);
    finishSetup();
    connect(&ctx, &AppContext::languageChanged, this, &COperatorSelToneView::retranslateGrid);
    retranslateGrid();
    grid_->setCurrentCell(0, 1);
}

const Field& COperatorSelToneView::cellField(int row, int column) const {
    return fields_[static_cast<size_t>(2 * row + column - 1)];
}

QString COperatorSelToneView::storeCell(int row, int column, const QString& text) {
    const Field& field = cellField(row, column);
    field.setText(fieldContext(), text.toStdString());
    reloadCells();
    emit committed();
    return qs(field.text(fieldContext()));
}

void COperatorSelToneView::reloadCells() {
    for (int r = 0; r < kRowCount; ++r) {
        for (int c = 1; c <= 2; ++c) {
            const QString text = qs(cellField(r, c).text(fieldContext()));
            QTableWidgetItem* item = grid_->item(r, c);
            if (!item)
                grid_->setItem(r, c, new QTableWidgetItem(text));
            else if (item->text() != text)
                item->setText(text);
        }
    }
}

void COperatorSelToneView::refresh() {
    CFormView::refresh();
    if (!editing_->isOpen()) reloadCells();
}

void COperatorSelToneView::retranslateGrid() {
    grid_->setHorizontalHeaderLabels({ctx().text(kNumberHeaderText),
                                      ctx().text(kToneHeaderTexts[0]),
                                      ctx().text(kToneHeaderTexts[1])});
    for (CToneCombo* combo : editors_)
        combo->setOffText(ctx().text(kToneOffTextIndex));
    // The tone columns are wide enough for their headers and the off text in the
    // language's words.
    const QFontMetrics metrics(grid_->horizontalHeader()->font());
    int toneWidth = px(1500);
    for (int text : {kToneHeaderTexts[0], kToneHeaderTexts[1], kToneOffTextIndex})
        toneWidth = std::max(toneWidth, metrics.horizontalAdvance(ctx().text(text)) + 16);
    grid_->setColumnWidth(1, toneWidth);
    grid_->setColumnWidth(2, toneWidth);
    const int frame = 2 * grid_->frameWidth();
    grid_->setMinimumWidth(px(450) + 2 * toneWidth + frame + 2);
    grid_->setMinimumHeight(grid_->horizontalHeader()->sizeHint().height() + kRowCount * px(300) +
                            frame + 2);
    reloadCells();
}

int COperatorSelToneView::currentHelpTopic() const {
    const QWidget* focus = QApplication::focusWidget();
    if (focus && (focus == grid_ || grid_->isAncestorOf(focus))) {
        const int column = editing_->isOpen() ? editing_->column() : grid_->currentColumn();
        if (column == 1) return kFirstToneTopic;
        if (column == 2) return kSecondToneTopic;
    }
    return 0x20000 + kTemplateId;
}

bool COperatorSelToneView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && editing_) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (editing_->isOpen()) {
            // Esc in the editor puts the cell back (the cell editor's own handling);
            // it closes the window only from the grid.
            if (key->key() == Qt::Key_Escape) return false;
            // Tab leaves the editor for Close, Shift+Tab for Help; leaving stores.
            if (plain && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
                (key->key() == Qt::Key_Tab ? close_ : help_)->setFocus(Qt::TabFocusReason);
                return true;
            }
        } else if (watched == grid_ && plain &&
                   (key->key() == Qt::Key_Home || key->key() == Qt::Key_End)) {
            // Home and End go to the first and last row of the current column.
            grid_->setCurrentCell(key->key() == Qt::Key_Home ? 0 : kRowCount - 1,
                                  std::max(grid_->currentColumn(), 0));
            return true;
        }
    }
    return CFormView::eventFilter(watched, event);
}

} // namespace vrl::gui
