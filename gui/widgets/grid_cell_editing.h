// GridCellEditing: in-place editing of the cells of a QTableWidget with one hidden
// editor per editable column, either an edit (FilteredEdit) or a drop-down list.
//
// Keys on the grid (current cell in an editable column):
//   Enter                    opens the editor with the cell's text, selected
//   Delete (and the other "empty keys")  opens it empty
//   a character the editor takes         opens it and passes the character on
//   other characters          are swallowed (no jumping by the grid's own search)
//   Alt+Down, Alt+Up, F4       open a list column's editor with its list shown
// Keys in the editor:
//   Enter   stores the cell and returns to the grid (returnedByEnter() follows)
//   Escape  puts the cell's text back and returns to the grid without storing
// Losing the focus any other way stores the cell, and so does scrolling the grid.
//
// Storing calls the column's committer with the editor's text; the committer writes
// the image and returns the text the cell shows from then on.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <map>

class QComboBox;
class QKeyEvent;
class QTableWidget;
class QWidget;

namespace vrl::gui {

class FilteredEdit;

class GridCellEditing : public QObject {
    Q_OBJECT
  public:
    using Committer = std::function<QString(int row, int column, const QString& text)>;
    using TextGetter = std::function<QString(int row, int column)>;
    enum class Start { WithText, Empty };

    // The helper turns the grid's own editing off and watches its keys.
    explicit GridCellEditing(QTableWidget* grid);

    // Editable columns; the returned editor may be configured (filter, length,
    // alignment, items).
    FilteredEdit* addEditColumn(int column, Committer commit);
    QComboBox* addListColumn(int column, const QStringList& items, Committer commit);
    // A column edited by a combo box of the caller's (an editable one such as the
    // tone combo opens with the cell's text in its edit field; a character opens it
    // empty when its edit field takes the character). The helper takes it over.
    QComboBox* addComboColumn(int column, QComboBox* combo, Committer commit);
    // Where the editor's starting text comes from; by default the cell's text.
    void setTextGetter(int column, TextGetter get);
    // Keys that open the editor empty; Delete unless set otherwise.
    void setEmptyKeys(const QList<int>& keys) { emptyKeys_ = keys; }
    // A click on a cell of an editable column opens its editor.
    void setOpenOnClick(bool on) { openOnClick_ = on; }
    // Which cells of the editable columns may be opened now; all when not set.
    using CanOpen = std::function<bool(int row, int column)>;
    void setCanOpen(CanOpen rule) { canOpen_ = std::move(rule); }

    bool isEditable(int column) const { return columns_.count(column) != 0; }
    // Whether a key opens a list column's drop-down (Alt+Down, Alt+Up, F4).
    static bool opensList(const QKeyEvent* key);
    bool isOpen() const { return open_; }
    int row() const { return row_; }
    int column() const { return column_; }
    // The editor of a column (open or not); nullptr for other columns.
    QWidget* editor(int column) const;

    bool open(int row, int column, Start start = Start::WithText);
    // Stores the open editor's text; returns false when no editor was open.
    bool commit();
    // Closes the editor without storing.
    void cancel();

  signals:
    void opened(int row, int column);
    void committed(int row, int column);
    void returnedByEnter(int row, int column);
    void cancelled(int row, int column);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Column {
        QWidget* editor = nullptr;
        FilteredEdit* edit = nullptr;
        QComboBox* list = nullptr;
        Committer commit;
        TextGetter text;
    };

    Column& addColumn(int column, QWidget* editor, Committer commit);
    QString cellText(int row, int column) const;
    QString editorText() const;
    bool acceptsKey(const Column& c, const QString& text) const;
    static bool typedInto(const Column& c); // an edit, or a combo with an edit field
    bool gridKey(QKeyEvent* key);
    bool editorKey(QKeyEvent* key);
    void closeEditor();

    QTableWidget* grid_;
    std::map<int, Column> columns_;
    QList<int> emptyKeys_;
    bool openOnClick_ = false;
    CanOpen canOpen_;
    bool open_ = false;
    int row_ = -1;
    int column_ = -1;
};

} // namespace vrl::gui
