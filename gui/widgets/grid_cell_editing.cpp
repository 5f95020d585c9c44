#include "widgets/grid_cell_editing.h"

#include "widgets/filtered_edit.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTableWidget>

namespace vrl::gui {

GridCellEditing::GridCellEditing(QTableWidget* grid)
    : QObject(grid), grid_(grid), emptyKeys_{Qt::Key_Delete} {
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->installEventFilter(this);
    connect(grid_, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (openOnClick_ && isEditable(column)) open(row, column);
    });
    // An editor would float away from its cell: scrolling stores it.
    auto storeOnScroll = [this] { commit(); };
    connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this, storeOnScroll);
    connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this, storeOnScroll);
}

GridCellEditing::Column& GridCellEditing::addColumn(int column, QWidget* editor,
                                                    Committer commit) {
    Column& c = columns_[column];
    c.editor = editor;
    c.commit = std::move(commit);
    editor->hide();
    editor->installEventFilter(this);
    return c;
}

FilteredEdit* GridCellEditing::addEditColumn(int column, Committer commit) {
    auto* edit = new FilteredEdit(grid_->viewport());
    edit->setFrame(false);
    addColumn(column, edit, std::move(commit)).edit = edit;
    return edit;
}

QComboBox* GridCellEditing::addListColumn(int column, const QStringList& items,
                                          Committer commit) {
    auto* list = new QComboBox(grid_->viewport());
    list->addItems(items);
    addColumn(column, list, std::move(commit)).list = list;
    return list;
}

QComboBox* GridCellEditing::addComboColumn(int column, QComboBox* combo, Committer commit) {
    combo->setParent(grid_->viewport());
    addColumn(column, combo, std::move(commit)).list = combo;
    return combo;
}

bool GridCellEditing::typedInto(const Column& c) {
    return c.edit || (c.list && c.list->isEditable());
}

void GridCellEditing::setTextGetter(int column, TextGetter get) {
    auto it = columns_.find(column);
    if (it != columns_.end()) it->second.text = std::move(get);
}

QWidget* GridCellEditing::editor(int column) const {
    auto it = columns_.find(column);
    return it == columns_.end() ? nullptr : it->second.editor;
}

QString GridCellEditing::cellText(int row, int column) const {
    auto it = columns_.find(column);
    if (it != columns_.end() && it->second.text) return it->second.text(row, column);
    const QTableWidgetItem* item = grid_->item(row, column);
    return item ? item->text() : QString();
}

QString GridCellEditing::editorText() const {
    const Column& c = columns_.at(column_);
    return c.edit ? c.edit->text() : c.list->currentText();
}

bool GridCellEditing::open(int row, int column, Start start) {
    auto it = columns_.find(column);
    if (it == columns_.end() || row < 0 || row >= grid_->rowCount()) return false;
    if (canOpen_ && !canOpen_(row, column)) return false;
    if (open_) commit();
    Column& c = it->second;
    const QString text = start == Start::WithText ? cellText(row, column) : QString();
    if (c.edit) {
        c.edit->setText(text);
        c.edit->selectAll();
    } else {
        c.list->setCurrentIndex(text.isEmpty() ? -1 : c.list->findText(text));
        if (c.list->isEditable()) {
            c.list->setEditText(text);
            c.list->lineEdit()->selectAll();
        }
    }
    grid_->setCurrentCell(row, column);
    grid_->scrollTo(grid_->model()->index(row, column));
    row_ = row;
    column_ = column;
    c.editor->setGeometry(grid_->visualRect(grid_->model()->index(row, column)));
    c.editor->show();
    c.editor->raise();
    c.editor->setFocus(Qt::OtherFocusReason);
    open_ = true;
    emit opened(row, column);
    return true;
}

void GridCellEditing::closeEditor() {
    open_ = false;
    QWidget* editor = columns_.at(column_).editor;
    // The focus goes back to the grid, never on to the window's next control.
    const QWidget* focus = QApplication::focusWidget();
    if (!focus || focus == editor || editor->isAncestorOf(focus) || !focus->isVisible())
        grid_->setFocus(Qt::OtherFocusReason);
    editor->hide();
}

bool GridCellEditing::commit() {
    if (!open_) return false;
    const int row = row_;
    const int column = column_;
    const QString text = editorText();
    // Closed first: the committer may move the focus, and a focus change must not
    // store the same cell twice.
    closeEditor();
    const QString shown = columns_.at(column).commit(row, column, text);
    QTableWidgetItem* item = grid_->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        grid_->setItem(row, column, item);
    }
    item->setText(shown);
    emit committed(row, column);
    return true;
}

void GridCellEditing::cancel() {
    if (!open_) return;
    Column& c = columns_.at(column_);
    const QString text = cellText(row_, column_);
    if (c.edit) c.edit->setText(text);
    else if (c.list->isEditable()) c.list->setEditText(text);
    closeEditor();
    emit cancelled(row_, column_);
}

bool GridCellEditing::acceptsKey(const Column& c, const QString& text) const {
    if (text.isEmpty() || !text.at(0).isPrint()) return false;
    if (c.edit) return c.edit->accepts(text);
    if (c.list->isEditable())
        if (auto* edit = qobject_cast<FilteredEdit*>(c.list->lineEdit())) return edit->accepts(text);
    return true;
}

bool GridCellEditing::opensList(const QKeyEvent* key) {
    const auto mods =
        key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    return (key->key() == Qt::Key_F4 && mods == Qt::NoModifier) ||
           ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) && mods == Qt::AltModifier);
}

bool GridCellEditing::gridKey(QKeyEvent* key) {
    const int row = grid_->currentRow();
    const int column = grid_->currentColumn();
    auto it = columns_.find(column);
    const bool plain = !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    const bool printable = plain && !key->text().isEmpty() && key->text().at(0).isPrint();
    if (it == columns_.end() || row < 0) return printable; // swallow typing elsewhere
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        open(row, column, Start::WithText);
        return true;
    }
    // Alt+Down and F4 open a cell's drop-down list with the list shown, as in every
    // desktop grid.
    if (opensList(key) && it->second.list) {
        if (open(row, column, Start::WithText)) it->second.list->showPopup();
        return true;
    }
    if (plain && emptyKeys_.contains(key->key())) {
        open(row, column, Start::Empty);
        return true;
    }
    if (!printable) return false;
    if (acceptsKey(it->second, key->text())) {
        if (open(row, column, typedInto(it->second) ? Start::Empty : Start::WithText)) {
            QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
            QApplication::sendEvent(it->second.editor, &copy);
        }
    }
    return true;
}

bool GridCellEditing::editorKey(QKeyEvent* key) {
    if (opensList(key)) {
        if (QComboBox* list = columns_.at(column_).list) {
            list->showPopup();
            return true;
        }
    }
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        const int row = row_;
        const int column = column_;
        if (commit()) emit returnedByEnter(row, column);
        return true;
    }
    case Qt::Key_Escape:
        cancel();
        return true;
    default:
        return false;
    }
}

bool GridCellEditing::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_) {
        if (event->type() != QEvent::KeyPress) return false;
        // While an editor is open, keys it leaves alone (Up, Down, ...) bubble up
        // here; they must not move the grid under the editor.
        return open_ ? true : gridKey(static_cast<QKeyEvent*>(event));
    }
    if (!open_ || watched != columns_.at(column_).editor) return false;
    if (event->type() == QEvent::KeyPress) {
        auto* combo = columns_.at(column_).list;
        if (combo && combo->view()->isVisible()) return false; // the list pop-up is open
        return editorKey(static_cast<QKeyEvent*>(event));
    }
    if (event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        // Under some window managers the list's pop-up takes the focus as a window of
        // its own; that is the list opening, not the user leaving the cell.
        const QComboBox* combo = columns_.at(column_).list;
        if (!(combo && combo->view()->isVisible())) commit();
    }
    return false;
}

} // namespace vrl::gui
