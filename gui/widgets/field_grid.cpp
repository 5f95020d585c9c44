#include "widgets/field_grid.h"

#include "widgets/filtered_edit.h"
#include "widgets/grid_cell_editing.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QTableWidget>

#include <algorithm>

namespace vrl::gui {

namespace {
QString fromCore(const std::string& text) {
    return QString::fromUtf8(text.c_str());
}
} // namespace

CharFilter fieldCharFilter(const Field& field) {
    if (field.allowed.empty()) return CharFilter::printableAscii();
    return CharFilter::list(QString::fromLatin1(field.allowed.c_str()), field.upperCase);
}

FieldGrid::FieldGrid(QTableWidget* grid, FieldContext& ctx)
    : QObject(grid), grid_(grid), ctx_(ctx), editing_(new GridCellEditing(grid)) {
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setTabKeyNavigation(false);
    grid_->verticalHeader()->hide();
    editing_->setCanOpen([this](int row, int column) {
        const Field* f = fieldAt(row, column);
        return f && f->isAvailable(ctx_);
    });
}

void FieldGrid::bindCell(int row, int column, const Field& field) {
    cells_[{row, column}] = field;
}

const Field* FieldGrid::fieldAt(int row, int column) const {
    auto it = cells_.find({row, column});
    return it == cells_.end() ? nullptr : &it->second;
}

FilteredEdit* FieldGrid::addEditColumn(int column) {
    auto* edit = editing_->addEditColumn(column, [this](int row, int col, const QString& text) {
        const Field* f = fieldAt(row, col);
        if (!f) return QString();
        f->setText(ctx_, text.toUtf8().toStdString());
        reload();
        emit stored(row, col, f->notifies);
        return fromCore(f->text(ctx_));
    });
    for (const auto& [cell, field] : cells_) {
        if (cell.second != column) continue;
        edit->setFilter(fieldCharFilter(field));
        edit->setMaxLength(field.maxLength);
        break;
    }
    return edit;
}

void FieldGrid::numberRows() {
    int rows = 0, columns = 1;
    for (const auto& [cell, field] : cells_) {
        rows = std::max(rows, cell.first + 1);
        columns = std::max(columns, cell.second + 1);
    }
    grid_->setColumnCount(std::max(columns, grid_->columnCount()));
    grid_->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        auto* number = new QTableWidgetItem(QString::number(r + 1));
        number->setFlags(number->flags() & ~Qt::ItemIsEditable);
        grid_->setItem(r, 0, number);
    }
}

void FieldGrid::setColumns(const QStringList& headers, const std::vector<int>& widthsTwips) {
    grid_->setColumnCount(static_cast<int>(headers.size()));
    grid_->setHorizontalHeaderLabels(headers);
    // Grid units are 1/1440 inch; at 96 pixels per inch one pixel is 15 units.
    const QFontMetrics metrics(grid_->horizontalHeader()->font());
    int width = 2 * grid_->frameWidth() + 2;
    for (int c = 0; c < grid_->columnCount(); ++c) {
        const int twips =
            c < static_cast<int>(widthsTwips.size()) ? widthsTwips[static_cast<size_t>(c)] : 0;
        grid_->setColumnWidth(c, std::max(twips / 15, metrics.horizontalAdvance(headers[c]) + 16));
        width += grid_->columnWidth(c);
    }
    grid_->setMinimumWidth(width);
    grid_->setMinimumHeight(grid_->horizontalHeader()->sizeHint().height() +
                            grid_->rowCount() * grid_->verticalHeader()->defaultSectionSize() +
                            2 * grid_->frameWidth() + 2);
}

void FieldGrid::reload() {
    for (const auto& [cell, field] : cells_) {
        const QString text = fromCore(field.text(ctx_));
        QTableWidgetItem* item = grid_->item(cell.first, cell.second);
        if (!item)
            grid_->setItem(cell.first, cell.second, new QTableWidgetItem(text));
        else if (item->text() != text)
            item->setText(text);
    }
}

} // namespace vrl::gui
