#include "channels/channel_grid.h"

#include "app/app_context.h"
#include "channels/channel_store.h"
#include "channels/channel_table.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace vrl::gui {

namespace {
// Grid units are 1/1440 inch; at 96 pixels per inch one pixel is 15 units.
int px(int twips) { return twips / 15; }
} // namespace

CChannelGrid::CChannelGrid(AppContext& ctx, ChannelStore& store, QWidget* parent)
    : QTableWidget(parent), ctx_(ctx), store_(store) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setTabKeyNavigation(false);
    verticalHeader()->setDefaultSectionSize(20);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    buildColumns();
}

ChannelField CChannelGrid::fieldOfKind(int kind) {
    static constexpr ChannelField kFields[] = {ChannelField::Receive, ChannelField::Transmit,
                                               ChannelField::Decode,  ChannelField::Encode,
                                               ChannelField::Name,    ChannelField::TxPower,
                                               ChannelField::Width,   ChannelField::ScanAdd,
                                               ChannelField::OptionSignalling};
    return kFields[kind];
}

std::optional<ChannelField> CChannelGrid::fieldOfColumn(int column) const {
    if (column < 0 || column >= static_cast<int>(kinds_.size())) return std::nullopt;
    return fieldOfKind(kinds_[column]);
}

int CChannelGrid::columnOfField(ChannelField f) const {
    for (size_t i = 0; i < kinds_.size(); ++i)
        if (fieldOfKind(kinds_[i]) == f) return static_cast<int>(i);
    return -1;
}

void CChannelGrid::buildColumns() {
    std::vector<std::pair<int, int>> cols; // (kind, header text)
    for (const GridColumn& col : gridColumns(store_)) {
        int kind = 0;
        while (fieldOfKind(kind) != col.field) ++kind;
        cols.push_back({kind, col.headerText});
    }
    kinds_.clear();
    QStringList headers;
    for (auto [k, text] : cols) {
        kinds_.push_back(k);
        headers << ctx_.text(text);
    }
    setColumnCount(static_cast<int>(kinds_.size()));
    setHorizontalHeaderLabels(headers);
    fitColumnWidths();
}

void CChannelGrid::fitColumnWidths() {
    // The header of the current column is drawn in bold: it must fit too.
    QFont bold = horizontalHeader()->font();
    bold.setBold(true);
    const QFontMetrics boldMetrics(bold);
    const int margins =
        2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, horizontalHeader()) + 4;
    for (int i = 0; i < columnCount(); ++i) {
        int w = 1050;
        if (kinds_[i] <= 1) w = 1350;
        else if (kinds_[i] <= 3 || kinds_[i] == 4) w = 1275;
        else if (kinds_[i] == 5) w = 900;
        // Never narrower than the header's text in the language's font.
        const QTableWidgetItem* header = horizontalHeaderItem(i);
        const int boldWidth = boldMetrics.horizontalAdvance(header ? header->text() : QString()) + margins;
        setColumnWidth(i, std::max({px(w) + 10, horizontalHeader()->sectionSizeHint(i), boldWidth}));
    }
    verticalHeader()->setMinimumWidth(px(600));
}

void CChannelGrid::changeEvent(QEvent* event) {
    QTableWidget::changeEvent(event);
    // The window gets its language font after it is built: measure again in that
    // font, so the widths do not change at the first rebuild (a group move).
    if (event->type() == QEvent::FontChange) {
        fitColumnWidths();
        updateGeometry();
    }
}

QSize CChannelGrid::sizeHint() const {
    const int headerWidth =
        std::max(verticalHeader()->sizeHint().width(), verticalHeader()->minimumWidth());
    int width = 2 * frameWidth() + headerWidth + verticalScrollBar()->sizeHint().width();
    for (int i = 0; i < columnCount(); ++i) width += columnWidth(i);
    const int rows = std::clamp(rowCount(), 8, 16);
    const int height = 2 * frameWidth() + horizontalHeader()->sizeHint().height() +
                       rows * verticalHeader()->defaultSectionSize() +
                       horizontalScrollBar()->sizeHint().height();
    return {width, height};
}

void CChannelGrid::showGroup(int g) {
    buildColumns();
    group_ = g;
    listsGroups_ = store_.channelsInGroup(g) == 1 && store_.groupCount() > 1;
    const int rows = listsGroups_ ? store_.groupCount() : store_.channelsInGroup(g);
    setRowCount(rows);
    QStringList labels;
    labels.reserve(rows);
    for (int r = 0; r < rows; ++r) labels << QString::number(r + 1);
    setVerticalHeaderLabels(labels);
    refreshAll();
}

std::pair<int, int> CChannelGrid::channelOfRow(int row) const {
    return listsGroups_ ? std::pair<int, int>{row, 0} : std::pair<int, int>{group_, row};
}

int CChannelGrid::rowOf(int g, int c) const { return listsGroups_ ? g : (g == group_ ? c : -1); }

bool CChannelGrid::isTrunkingRow(int row) const {
    return listsGroups_ && store_.isTrunkingGroup(row);
}

void CChannelGrid::refreshCell(int row, int column) {
    auto field = fieldOfColumn(column);
    if (!field || row < 0 || row >= rowCount()) return;
    QString text;
    if (isTrunkingRow(row)) {
        if (*field == ChannelField::Receive) text = ctx_.text(chtext::kTrunkingRow);
    } else {
        auto [g, c] = channelOfRow(row);
        text = QString::fromStdString(store_.getText(*field, g, c).value_or(""));
    }
    QTableWidgetItem* it = item(row, column);
    if (!it) {
        it = new QTableWidgetItem(text);
        setItem(row, column, it);
    } else if (it->text() != text) {
        it->setText(text);
    }
}

void CChannelGrid::refreshRow(int row) {
    for (int col = 0; col < columnCount(); ++col) refreshCell(row, col);
}

void CChannelGrid::refreshAll() {
    setUpdatesEnabled(false);
    for (int r = 0; r < rowCount(); ++r) refreshRow(r);
    setUpdatesEnabled(true);
}

} // namespace vrl::gui
