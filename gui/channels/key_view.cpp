#include "channels/key_view.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/registries.h"
#include "channels/channel_services.h"
#include "channels/keys.h"
#include "widgets/grid_cell_editing.h"

#include <QComboBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vrl::gui {

VRL_REGISTER_FUNCTION_WINDOW(cmd::kKeyAssignment, CKeyView);

namespace {
constexpr int kGridId = 1406;
constexpr int kListId = 1446;
constexpr int kCloseId = 1397;
constexpr int kHelpId = 1391;
// Grid units are 1/1440 inch; at 96 pixels per inch one pixel is 15 units.
int px(int twips) { return twips / 15; }
QString qs(const std::string& s) { return QString::fromStdString(s); }
} // namespace

CKeyView::CKeyView(AppContext& ctx, QWidget* parent)
    : CFormView(ctx, kTemplateId, parent), keys_(ChannelServices::of(ctx).keys()) {
    keys_.table().rebuild();
    grid_ = new QTableWidget(this);
    grid_->setColumnCount(1);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setTabKeyNavigation(false);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(px(300));
    grid_->verticalHeader()->setFixedWidth(px(1875));
    grid_->verticalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setControlId(grid_, kGridId);

    editing_ = new GridCellEditing(grid_);
    editing_->setEmptyKeys({});
    editing_->setOpenOnClick(true);
    list_ = editing_->addListColumn(0, {}, [this](int row, int, const QString& text) {
        return storeRow(row, text);
    });
    setControlId(list_, kListId);
    connect(editing_, &GridCellEditing::opened, this, [this](int row, int) { fillList(row); });
    connect(editing_, &GridCellEditing::returnedByEnter, this, [this](int row, int column) {
        grid_->setCurrentCell(std::min(row + 1, grid_->rowCount() - 1), column);
    });
    keepEnter(grid_); // Enter opens and closes the list instead of moving on

    close_ = makeCloseButton(kCloseId);
    help_ = makeHelpButton(kHelpId);
    auto* buttons = closeHelpRow(close_, help_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(buttons);

    setTitleText(kTitleText);
    addTexts({{close_, 61}, {help_, 62}});
    setInitialFocus(grid_);
    finishSetup();
    connect(&ctx, &AppContext::languageChanged, this, &CKeyView::retranslateGrid);
    refresh();
    grid_->setCurrentCell(0, 0);
}

void CKeyView::retranslateGrid() {
    keys_.table().rebuild();
    fitGrid();
    reloadRows();
}

void CKeyView::refresh() {
    CFormView::refresh();
    if (editing_->isOpen()) return; // reloaded when the list is left
    reloadRows();
    if (keys_.applyHomeRule()) emit ctx().dataChanged(); // the edit window's check box
}

void CKeyView::fitGrid() {
    // The function column takes the longest function name of the language; the grid
    // shows every key without scrolling.
    int width = px(3300);
    const QFontMetrics metrics(grid_->font());
    for (const auto& entry : keys_.table().entries())
        width = std::max(width, metrics.horizontalAdvance(qs(entry.text)) + 16);
    grid_->setColumnWidth(0, width);
    const int frame = 2 * grid_->frameWidth();
    grid_->setMinimumWidth(px(1875) + width + frame + 2);
    grid_->setMinimumHeight(grid_->horizontalHeader()->sizeHint().height() +
                            grid_->rowCount() * px(300) + frame + 2);
}

void CKeyView::reloadRows() {
    const KeyFamily& family = keys_.current();
    const int rows = family.rowCount();
    if (grid_->rowCount() != rows) {
        grid_->setRowCount(rows);
        fitGrid();
    }
    grid_->setHorizontalHeaderLabels({ctx().text(kFunctionHeaderText)});
    QStringList captions;
    for (const KeyRow& key : family.rows()) captions << ctx().text(key.captionText);
    grid_->setVerticalHeaderLabels(captions);
    for (int r = 0; r < rows; ++r) {
        const QString text = qs(family.keyText(r));
        QTableWidgetItem* item = grid_->item(r, 0);
        if (!item) grid_->setItem(r, 0, new QTableWidgetItem(text));
        else if (item->text() != text) item->setText(text);
    }
}

void CKeyView::fillList(int row) {
    const QString current = grid_->item(row, 0) ? grid_->item(row, 0)->text() : QString();
    list_->clear();
    for (const std::string& choice : keys_.choices(row)) list_->addItem(qs(choice));
    list_->setCurrentIndex(list_->findText(current));
    keys_.table().rebuild(); // the next list takes the words of the language then
}

QString CKeyView::storeRow(int row, const QString& text) {
    const bool stored = !text.isEmpty() && text != grid_->item(row, 0)->text() &&
                        keys_.current().setKeyText(row, text.toStdString());
    reloadRows();
    keys_.applyHomeRule();
    if (stored) emit ctx().dataChanged();
    return grid_->item(row, 0)->text();
}

bool CKeyView::eventFilter(QObject* watched, QEvent* event) {
    // Esc in the open list puts the cell back (the cell editor's own handling); it
    // closes the window only from the grid.
    if (event->type() == QEvent::KeyPress && editing_ && editing_->isOpen() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        return false;
    return CFormView::eventFilter(watched, event);
}

} // namespace vrl::gui
