#include "service/test_frequency_view.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/registries.h"
#include "widgets/filtered_edit.h"
#include "widgets/grid_cell_editing.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vrl::gui {

VRL_REGISTER_FUNCTION_WINDOW(cmd::kTestFrequency, CTestFrequencyView);

namespace {
// Grid units are 1/1440 inch; at 96 pixels per inch one pixel is 15 units.
int px(int twips) {
    return twips / 15;
}
constexpr int kColumnTwips[] = {750, 1125, 1125};
using Icon = MessageService::Icon;
using Buttons = MessageService::Buttons;
} // namespace

CTestFrequencyView::CTestFrequencyView(AppContext& ctx, QWidget* parent)
    : CFormView(ctx, kTemplateId, parent), table_(ctx.data()) {
    grid_ = new QTableWidget(kTestChannelCount, 3, this);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setTabKeyNavigation(false);
    grid_->verticalHeader()->hide();
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(px(300));
    setControlId(grid_, kGridId);
    for (int r = 0; r < kTestChannelCount; ++r) {
        auto* number = new QTableWidgetItem(QString::number(r + 1));
        number->setFlags(Qt::ItemIsEnabled);
        number->setTextAlignment(Qt::AlignCenter);
        grid_->setItem(r, 0, number);
        for (int c = 1; c <= 2; ++c) {
            auto* cell = new QTableWidgetItem;
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid_->setItem(r, c, cell);
        }
    }

    editing_ = new GridCellEditing(grid_);
    auto commit = [this](int row, int column, const QString& text) {
        return store(row, column, text);
    };
    edit_ = editing_->addEditColumn(1, commit);
    edit_->setFilter(CharFilter::frequency());
    edit_->setMaxLength(10);
    setControlId(edit_, kEditId);
    auto* transmitEdit = editing_->addEditColumn(2, commit);
    transmitEdit->setFilter(CharFilter::frequency());
    transmitEdit->setMaxLength(10);
    setControlId(transmitEdit, kEditId);
    // Enter on the grid moves on instead of opening the edit: watch before the helper.
    grid_->installEventFilter(this);
    keepEnter(grid_);
    connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        if (row >= 0 && column == 0) grid_->setCurrentCell(row, 1);
    });

    close_ = makeCloseButton(kCloseId);
    disconnect(close_, &QPushButton::clicked, this, &CFormView::closeFrame);
    connect(close_, &QPushButton::clicked, this, &CTestFrequencyView::closeWithReminder);
    help_ = makeHelpButton(kHelpId);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(closeHelpRow(close_, help_));

    setTitleText(testfreqtext::kTitle);
    addTexts({{close_, 61}, {help_, 62}});
    setInitialFocus(grid_);
    finishSetup();
    connect(&ctx, &AppContext::languageChanged, this, &CTestFrequencyView::retranslateGrid);
    retranslateGrid();
    reloadCells();
    grid_->setCurrentCell(0, 1);
}

void CTestFrequencyView::retranslateGrid() {
    grid_->setHorizontalHeaderLabels({ctx().text(testfreqtext::kChannelHeader),
                                      ctx().text(testfreqtext::kReceiveHeader),
                                      ctx().text(testfreqtext::kTransmitHeader)});
    // Columns at their template widths, or wider when a header needs it.
    const QFontMetrics metrics(grid_->horizontalHeader()->font());
    int total = 0;
    for (int c = 0; c < 3; ++c) {
        const int header = metrics.horizontalAdvance(grid_->horizontalHeaderItem(c)->text()) + 16;
        grid_->setColumnWidth(c, std::max(px(kColumnTwips[c]), header));
        total += grid_->columnWidth(c);
    }
    const int frame = 2 * grid_->frameWidth();
    grid_->setMinimumWidth(total + frame + 2);
    grid_->setMinimumHeight(grid_->horizontalHeader()->sizeHint().height() +
                            kTestChannelCount * px(300) + frame + 2);
}

void CTestFrequencyView::refresh() {
    CFormView::refresh();
    if (!editing_->isOpen()) reloadCells();
}

void CTestFrequencyView::reloadCells() {
    for (int r = 0; r < kTestChannelCount; ++r) {
        grid_->item(r, 1)->setText(QString::fromStdString(table_.receiveText(r + 1)));
        grid_->item(r, 2)->setText(QString::fromStdString(table_.transmitText(r + 1)));
    }
}

QString CTestFrequencyView::store(int row, int column, const QString& text) {
    const std::string typed = text.toStdString();
    const TestFrequencyResult result = column == 1 ? table_.setReceiveText(row + 1, typed)
                                                   : table_.setTransmitText(row + 1, typed);
    reloadCells();
    if (result == TestFrequencyResult::OutOfBand)
        QMetaObject::invokeMethod(this, &CTestFrequencyView::warnOutOfBand, Qt::QueuedConnection);
    if (result != TestFrequencyResult::Invalid) emit ctx().dataChanged();
    return grid_->item(row, column)->text();
}

void CTestFrequencyView::warnOutOfBand() {
    ctx().messages().ask({ctx().text(testfreqtext::kOutOfBand),
                          ctx().text(testfreqtext::kCaptionWarning), Icon::Warning, Buttons::Ok});
}

void CTestFrequencyView::closeWithReminder() {
    ctx().messages().ask({ctx().text(testfreqtext::kCloseMessage),
                          ctx().text(testfreqtext::kCaptionClose), Icon::Information, Buttons::Ok});
    closeFrame();
}

bool CTestFrequencyView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_ && event->type() == QEvent::KeyPress && !editing_->isOpen()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            key->modifiers() == Qt::NoModifier) {
            const int row = grid_->currentRow();
            if (grid_->currentColumn() == 1)
                grid_->setCurrentCell(row, 2);
            else if (row + 1 < kTestChannelCount)
                grid_->setCurrentCell(row + 1, 1);
            return true;
        }
    }
    // Esc in the open edit puts the cell back (the cell editor's own handling); it
    // closes the window only from the grid.
    if (event->type() == QEvent::KeyPress && editing_ && editing_->isOpen() &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        return false;
    return CFormView::eventFilter(watched, event);
}

} // namespace vrl::gui
