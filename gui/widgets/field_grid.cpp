#include "widgets/field_grid.h"

#include "widgets/filtered_edit.h"
#include "widgets/grid_cell_editing.h"

#include <QTableWidget>

namespace vrl::gui {

namespace {
QString fromCore(const std::string& text) { return QString::fromUtf8(text.c_str()); }
} // namespace

CharFilter fieldCharFilter(const Field& field) {
    if (field.allowed.empty()) return CharFilter::printableAscii();
    return CharFilter::list(QString::fromLatin1(field.allowed.c_str()), field.upperCase);
}

FieldGrid::FieldGrid(QTableWidget* grid, FieldContext& ctx)
    : QObject(grid), grid_(grid), ctx_(ctx), editing_(new GridCellEditing(grid)) {
    editing_->setCanOpen([this](int row, int column) {
        const Field* f = fieldAt(row, column);
        return f && f->isAvailable(ctx_);
    });
}

void FieldGrid::bindCell(int row, int column, const Field& field) { cells_[{row, column}] = field; }

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

void FieldGrid::reload() {
    for (const auto& [cell, field] : cells_) {
        const QString text = fromCore(field.text(ctx_));
        QTableWidgetItem* item = grid_->item(cell.first, cell.second);
        if (!item) grid_->setItem(cell.first, cell.second, new QTableWidgetItem(text));
        else if (item->text() != text) item->setText(text);
    }
}

} // namespace vrl::gui
