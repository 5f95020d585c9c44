#include "output/memory_map_dlg.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/frame_host.h"
#include "app/registries.h"
#include "features/memory_map.h"
#include "widgets/filtered_edit.h"
#include "widgets/grid_cell_editing.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace vrl::gui {

namespace mm = vrl::memmap;

// The main frame rebuilds its title after this command.
VRL_REGISTER_COMMAND(cmd::kMemoryMap, [](FrameHost& host) {
    CMemoryMapDlg dlg(host.context(), host.mainWindow());
    // Close has made the open windows reload; edited identity bytes also change
    // the model flags, menus and tree view.
    if (dlg.exec() == QDialog::Accepted && dlg.identityChanged()) host.modelIdentityChanged();
});

namespace {
constexpr int kLabelTwips = 750;
constexpr int kCellTwips = 420;
constexpr int kWheelRows = 4;

QString qs(const std::string& s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }
} // namespace

CMemoryMapDlg::CMemoryMapDlg(AppContext& ctx, QWidget* parent) : QDialog(parent), ctx_(ctx) {
    setFont(ctx_.font());
    setWindowTitle(ctx_.text(kTitleText));

    address_ = new QLabel(this);
    address_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    address_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 8);
    close_ = new QPushButton(ctx_.text(kCloseText), this);
    // No default button: Enter on the grid belongs to the cell editors. Enter on
    // Close itself still closes.
    close_->setAutoDefault(false);
    close_->installEventFilter(this);
    connect(close_, &QPushButton::clicked, this, &CMemoryMapDlg::accept);

    buildGrid();

    auto* top = new QHBoxLayout;
    top->addWidget(address_);
    top->addStretch();
    top->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(grid_);

    // The undo copy: Escape puts the image back as it is now.
    ctx_.data().image.takeUndoCopy();
    openedIdentity_ = ctx_.data().image.identity();
    resize(grid_->verticalHeader()->width() + 34 * logicalDpiX() * kCellTwips / 1440 + 40, 480);
}

void CMemoryMapDlg::buildGrid() {
    grid_ = new QTableWidget(mm::kLines, mm::kColumns - 1, this);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    grid_->setWordWrap(false);
    QStringList captions;
    for (int c = 1; c < mm::kColumns; ++c) captions << qs(mm::columnCaption(c));
    grid_->setHorizontalHeaderLabels(captions);
    QStringList labels;
    for (int r = 1; r <= mm::kLines; ++r) labels << qs(mm::rowLabel(r));
    grid_->setVerticalHeaderLabels(labels);

    const int dpi = logicalDpiX();
    grid_->verticalHeader()->setFixedWidth(kLabelTwips * dpi / 1440);
    grid_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    for (int c = 0; c < grid_->columnCount(); ++c) grid_->setColumnWidth(c, kCellTwips * dpi / 1440);

    editing_ = new GridCellEditing(grid_);
    editing_->setEmptyKeys({Qt::Key_Delete, Qt::Key_Backspace});
    editing_->setOpenOnClick(true);
    auto committer = [this](int row, int column, const QString& text) {
        return commitCell(row, column, text);
    };
    for (int c = mm::kFirstHexColumn; c <= mm::kLastHexColumn; ++c) {
        FilteredEdit* hex = editing_->addEditColumn(c - 1, committer);
        hex->setFilter(CharFilter::list(QString::fromLatin1(kHexCharacters), true));
        hex->setMaxLength(2);
        hex->setAlignment(Qt::AlignCenter);
    }
    for (int c = mm::kFirstCharColumn; c <= mm::kLastCharColumn; ++c) {
        FilteredEdit* ch = editing_->addEditColumn(c - 1, committer);
        ch->setFilter(CharFilter::printableAscii());
        ch->setMaxLength(1);
        ch->setAlignment(Qt::AlignCenter);
    }
    connect(editing_, &GridCellEditing::returnedByEnter, this, &CMemoryMapDlg::moveRightAfterEnter);
    connect(grid_, &QTableWidget::currentCellChanged, this, [this](int row, int column) {
        address_->setText(qs(mm::addressText(row + 1, column + 1)));
    });
    connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this,
            &CMemoryMapDlg::fillVisibleRows);
    grid_->installEventFilter(this);
    grid_->viewport()->installEventFilter(this);
}

bool CMemoryMapDlg::identityChanged() const {
    return !(ctx_.data().image.identity() == openedIdentity_);
}

void CMemoryMapDlg::setCell(int row, int column, const QString& text) {
    QTableWidgetItem* item = grid_->item(row, column);
    if (!item) {
        item = new QTableWidgetItem;
        item->setTextAlignment(Qt::AlignCenter);
        grid_->setItem(row, column, item);
    }
    item->setText(text);
}

void CMemoryMapDlg::fillVisibleRows() {
    const CDataImage& image = ctx_.data().image;
    int first = grid_->rowAt(0);
    int last = grid_->rowAt(grid_->viewport()->height() - 1);
    if (first < 0) first = 0;
    if (last < 0) last = std::min(grid_->rowCount() - 1, first + 64);
    for (int row = first; row <= last; ++row) {
        for (int column = 0; column < grid_->columnCount(); ++column) {
            const QTableWidgetItem* item = grid_->item(row, column);
            if (item && !item->text().isEmpty()) continue;
            setCell(row, column, qs(mm::cellText(image, row + 1, column + 1)));
        }
    }
}

QString CMemoryMapDlg::commitCell(int row, int column, const QString& text) {
    CDataImage& image = ctx_.data().image;
    const int mapRow = row + 1;
    const int mapColumn = column + 1;
    mm::commit(image, mapRow, mapColumn, text.toLatin1().toStdString());
    // Both views of the byte follow, whether or not the text was taken.
    const int hexColumn = mm::cellKind(mapColumn) == mm::CellKind::Hex ? mapColumn
                                                                        : mapColumn - mm::kCharOffset;
    setCell(row, hexColumn - 1, qs(mm::cellText(image, mapRow, hexColumn)));
    setCell(row, hexColumn + mm::kCharOffset - 1,
            qs(mm::cellText(image, mapRow, hexColumn + mm::kCharOffset)));
    return qs(mm::cellText(image, mapRow, mapColumn));
}

void CMemoryMapDlg::moveTo(int mapRow, int mapColumn) {
    grid_->setCurrentCell(mapRow - 1, mapColumn - 1);
    grid_->scrollTo(grid_->model()->index(mapRow - 1, mapColumn - 1));
}

void CMemoryMapDlg::moveRightAfterEnter(int row, int column) {
    if (auto wrap = mm::moveRight(row + 1, column + 1))
        moveTo(wrap->row, wrap->column);
    else if (column + 1 < grid_->columnCount())
        moveTo(row + 1, column + 2);
}

bool CMemoryMapDlg::gridKey(QKeyEvent* key) {
    const int row = grid_->currentRow() + 1;
    const int column = grid_->currentColumn() + 1;
    const bool ctrl = key->modifiers() & Qt::ControlModifier;
    switch (key->key()) {
    case Qt::Key_Right:
        if (auto to = mm::moveRight(row, column)) {
            moveTo(to->row, to->column);
            return true;
        }
        return false;
    case Qt::Key_Left:
        if (auto to = mm::moveLeft(row, column)) {
            moveTo(to->row, to->column);
            return true;
        }
        return false;
    case Qt::Key_Home: {
        const mm::Cell to = mm::home(row, ctrl);
        moveTo(to.row, to.column);
        return true;
    }
    case Qt::Key_End: {
        const mm::Cell to = mm::end(row, ctrl);
        moveTo(to.row, to.column);
        return true;
    }
    case Qt::Key_F1:
        return true;
    case Qt::Key_Escape:
        reject();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Only the separator column gets here; Enter must not reach the dialog's
        // default button.
        return mm::cellKind(column) == mm::CellKind::None;
    default:
        return false;
    }
}

bool CMemoryMapDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == close_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            close_->click();
            return true;
        }
    }
    if (watched == grid_ && event->type() == QEvent::KeyPress && !editing_->isOpen())
        return gridKey(static_cast<QKeyEvent*>(event));
    if (watched == grid_->viewport() && event->type() == QEvent::Wheel) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const int notches = wheel->angleDelta().y() / 120;
        if (notches != 0) {
            QScrollBar* bar = grid_->verticalScrollBar();
            bar->setValue(bar->value() - notches * kWheelRows);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CMemoryMapDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    fillVisibleRows();
    if (grid_->currentRow() < 0) grid_->setCurrentCell(0, 0);
    grid_->setFocus(Qt::OtherFocusReason);
}

void CMemoryMapDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    fillVisibleRows();
}

void CMemoryMapDlg::accept() {
    editing_->commit();
    // The edits stay and every open window reloads.
    emit ctx_.dataChanged();
    QDialog::accept();
}

void CMemoryMapDlg::reject() {
    editing_->cancel();
    ctx_.data().image.restoreUndoCopy();
    QDialog::reject();
}

} // namespace vrl::gui
