// FieldGrid: the cells of a list window bound to grid-cell fields of the core's
// field table. Each editable column gets one in-place editor (GridCellEditing) that
// takes the characters and length of the column's fields; storing a cell calls its
// field's setter and reloads every bound cell, so cells that follow another (a
// time shown only when both tones are set) are current. An editor opens only on a
// cell whose field is shown and enabled. The grid is set up as the list windows
// have it: one cell selected at a time, no row header (column 0 numbers the rows),
// Tab leaving the grid.
#pragma once

#include "features/field_table.h"
#include "widgets/char_filter.h"

#include <QObject>

#include <QStringList>

#include <map>
#include <utility>
#include <vector>

class QTableWidget;

namespace vrl::gui {

class FilteredEdit;
class GridCellEditing;

// The character filter of a field's edit: its allowed characters (any printable
// ASCII when none are named), upper-cased where the field says so.
CharFilter fieldCharFilter(const Field& field);

class FieldGrid : public QObject {
    Q_OBJECT
  public:
    FieldGrid(QTableWidget* grid, FieldContext& ctx);

    // Binds a cell (0-based row and column) to a field.
    void bindCell(int row, int column, const Field& field);
    // Makes a column editable with an edit configured from the field of its first
    // bound cell; call after binding the column's cells.
    FilteredEdit* addEditColumn(int column);
    // Puts every bound cell's text into the grid.
    void reload();
    // One row for each bound row, numbered 1, 2, ... in column 0.
    void numberRows();
    // Header texts and column widths (1/1440 inch, widened to fit their header);
    // the grid then shows every column and row without scrolling.
    void setColumns(const QStringList& headers, const std::vector<int>& widthsTwips);

    GridCellEditing* editing() const { return editing_; }
    const Field* fieldAt(int row, int column) const;

  signals:
    // A cell was stored through its field (`notifies`: other windows show it).
    void stored(int row, int column, bool notifies);

  private:
    QTableWidget* grid_;
    FieldContext& ctx_;
    GridCellEditing* editing_;
    std::map<std::pair<int, int>, Field> cells_;
};

} // namespace vrl::gui
