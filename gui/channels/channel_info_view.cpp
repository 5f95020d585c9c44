#include "channels/channel_info_view.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/frame_host.h"
#include "app/registries.h"
#include "channels/channel_grid.h"
#include "channels/channel_services.h"
#include "channels/copy_dialogs.h"
#include "widgets/filtered_edit.h"
#include "widgets/grid_cell_editing.h"
#include "widgets/help.h"
#include "widgets/tone_combo.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <map>

namespace vrl::gui {

namespace {
// Help topics of the window and of its grid columns (one per column kind).
constexpr int kHelpWindow = 0x20065;
constexpr int kHelpFirstColumn = 0x200C8;

QString qs(const std::string& s) { return QString::fromStdString(s); }
QStringList qlist(const std::vector<std::string>& items) {
    QStringList out;
    for (const auto& s : items) out << qs(s);
    return out;
}
std::map<const AppContext*, QPointer<CChannelInfoView>>& openViews() {
    static std::map<const AppContext*, QPointer<CChannelInfoView>> views;
    return views;
}
} // namespace

CChannelInfoView* CChannelInfoView::openIn(const AppContext& ctx) {
    auto it = openViews().find(&ctx);
    return it == openViews().end() ? nullptr : it->second.data();
}

CChannelInfoView::CChannelInfoView(AppContext& ctx, QWidget* parent)
    : QWidget(parent), ctx_(ctx), services_(ChannelServices::of(ctx)), store_(services_.store()) {
    grid_ = new CChannelGrid(ctx, store_, this);
    status_ = new QLineEdit(this);
    status_->setReadOnly(true);
    status_->setFocusPolicy(Qt::NoFocus);
    groupCaption_ = new QLabel(this);
    groupName_ = new QLabel(this);
    grpUp_ = new QPushButton(ctx.text(198), this);
    grpDn_ = new QPushButton(ctx.text(199), this);
    chEdit_ = new QPushButton(ctx.text(200), this);
    grpEdit_ = new QPushButton(ctx.text(201), this);
    close_ = new QPushButton(ctx.text(61), this);
    help_ = new QPushButton(ctx.text(62), this);

    auto* names = new QHBoxLayout;
    names->addWidget(groupCaption_);
    names->addWidget(groupName_, 1);
    names->addWidget(status_, 2);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {grpUp_, grpDn_, chEdit_, grpEdit_}) buttons->addWidget(b);
    buttons->addStretch(1);
    buttons->addWidget(close_);
    buttons->addWidget(help_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid_, 1);
    layout->addLayout(names);
    layout->addLayout(buttons);

    menu_ = new QMenu(this);
    menu_->addAction(ctx.text(204), this, &CChannelInfoView::copyRows);
    pasteAction_ = menu_->addAction(ctx.text(202), this, &CChannelInfoView::pasteRows);
    menu_->addAction(ctx.text(203), this, &CChannelInfoView::deleteRows);
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this, &CChannelInfoView::showMenu);

    connect(grpUp_, &QPushButton::clicked, this, [this] { nextGroup(+1); });
    connect(grpDn_, &QPushButton::clicked, this, [this] { nextGroup(-1); });
    connect(close_, &QPushButton::clicked, this, &QWidget::close);
    connect(help_, &QPushButton::clicked, this, [this] { help::open(kHelpWindow, this); });
    connect(chEdit_, &QPushButton::clicked, this, [this] { openWindow(cmd::kChannelEdit); });
    connect(grpEdit_, &QPushButton::clicked, this, [this] { openWindow(cmd::kGroupEdit); });
    connect(grid_, &QTableWidget::currentCellChanged, this, &CChannelInfoView::currentCellChanged);
    connect(&ctx, &AppContext::dataChanged, this, &CChannelInfoView::refresh);
    connect(&ctx, &AppContext::modelChanged, this, [this] { showGroup(0, 0); });

    setAttribute(Qt::WA_DeleteOnClose);
    openViews()[&ctx] = this;
    showGroup(0, 0);
}

void CChannelInfoView::buildEditors() {
    delete editing_;
    editing_ = new GridCellEditing(grid_);
    auto commit = [this](int row, int column, const QString& text) { return commitCell(row, column, text); };
    for (int col = 0; col < grid_->columnCount(); ++col) {
        const ChannelField f = *grid_->fieldOfColumn(col);
        switch (f) {
        case ChannelField::Receive:
        case ChannelField::Transmit:
            editing_->addEditColumn(col, commit)->setFilter(CharFilter::frequency());
            static_cast<FilteredEdit*>(editing_->editor(col))->setMaxLength(9);
            break;
        case ChannelField::Name: {
            FilteredEdit* e = editing_->addEditColumn(col, commit);
            e->setFilter(CharFilter::display());
            e->setMaxLength(std::max(store_.nameLength(), 0));
            break;
        }
        case ChannelField::Decode:
        case ChannelField::Encode:
            editing_->addComboColumn(col, new CToneCombo(ctx_.text(chtext::kOff)), commit);
            break;
        default: editing_->addListColumn(col, qlist(store_.choices(f)), commit); break;
        }
    }
    // Enter in a text cell stores it and moves on to the next column, and from the
    // last column to the first of the next row, so a row is typed in one go.
    connect(editing_, &GridCellEditing::returnedByEnter, this, [this](int row, int column) {
        if (!qobject_cast<FilteredEdit*>(editing_->editor(column))) return;
        if (column + 1 < grid_->columnCount())
            grid_->setCurrentCell(row, column + 1);
        else if (row + 1 < grid_->rowCount())
            grid_->setCurrentCell(row + 1, 0);
    });
    // Installed after the helper's, our filter runs first: it takes the window's keys
    // and refuses cells that may not be edited.
    grid_->removeEventFilter(this);
    grid_->installEventFilter(this);
}

void CChannelInfoView::showGroup(int g, int c) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (editing_ && editing_->isOpen()) editing_->commit();
    grid_->showGroup(g);
    buildEditors(); // the editors follow the model's columns and name length
    group_ = g;
    const int rows = grid_->rowCount();
    const int row = grid_->listsGroups() ? g : std::clamp(c, 0, std::max(rows - 1, 0));
    channel_ = grid_->listsGroups() ? 0 : row;
    grid_->setCurrentCell(row, std::max(grid_->currentColumn(), 0));
    QApplication::restoreOverrideCursor();
    updateTitle();
    updateStatus();
    updateGroupName();
    updateButtons();
    emit services_.currentChanged(group_, channel_);
}

void CChannelInfoView::selectCell(int g, int c) {
    if (g != group_ && !(grid_->listsGroups() && store_.channelsInGroup(g) == 1)) {
        showGroup(g, c);
        return;
    }
    group_ = g;
    channel_ = c;
    grid_->setCurrentCell(grid_->rowOf(g, c), std::max(grid_->currentColumn(), 0));
    updateTitle();
    updateGroupName();
}

void CChannelInfoView::nextGroup(int delta) {
    const int n = store_.groupCount();
    if (n <= 1) return;
    showGroup(((group_ + delta) % n + n) % n, channel_);
}

void CChannelInfoView::refresh() {
    if (editing_ && editing_->isOpen()) return;
    grid_->refreshAll();
    updateTitle();
    updateStatus();
    updateGroupName();
}

void CChannelInfoView::currentCellChanged() {
    const int row = grid_->currentRow();
    if (row < 0) return;
    auto [g, c] = grid_->channelOfRow(row);
    if (g == group_ && c == channel_) return;
    group_ = g;
    channel_ = c;
    updateTitle();
    if (grid_->listsGroups()) updateGroupName();
    emit services_.currentChanged(group_, channel_);
}

void CChannelInfoView::updateTitle() {
    const QString title = QStringLiteral("%1 [ %2 - %3  %4 - %5 ]")
                              .arg(ctx_.text(store_.isTrunkingGroup(group_) ? 174 : 173), ctx_.text(206))
                              .arg(group_ + 1)
                              .arg(ctx_.text(207))
                              .arg(channel_ + 1);
    setWindowTitle(title);
}

void CChannelInfoView::updateStatus() {
    status_->setText(QStringLiteral("%1 = %2  %3").arg(ctx_.text(175)).arg(store_.freeChannelMemory()).arg(ctx_.text(176)));
}

void CChannelInfoView::updateGroupName() {
    const bool on = store_.groupNameLength() > 0;
    groupCaption_->setText(on ? QStringLiteral("%1 :").arg(ctx_.text(177)) : QString());
    groupName_->setText(on ? qs(store_.getGroupName(group_)) : QString());
}

void CChannelInfoView::updateButtons() {
    const bool groups = store_.groupCount() > 1;
    grpUp_->setEnabled(groups);
    grpDn_->setEnabled(groups);
    grpEdit_->setEnabled(store_.hasGroups());
}

void CChannelInfoView::showStoreResult(StoreResult r) {
    using Icon = MessageService::Icon;
    switch (r) {
    case StoreResult::OutOfBand:
        ctx_.messages().ask({ctx_.text(chtext::kOutOfBand), ctx_.text(chtext::kCaptionWarning), Icon::Warning});
        break;
    case StoreResult::CannotCreate:
        ctx_.messages().ask({ctx_.text(chtext::kCannotCreate), ctx_.text(chtext::kCaptionError), Icon::Error});
        break;
    case StoreResult::IdCodeTooShort:
        ctx_.messages().ask({ctx_.text(chtext::kIdCodeTooShort), ctx_.text(chtext::kCaptionError), Icon::Error});
        break;
    default: break;
    }
}

QString CChannelInfoView::commitCell(int row, int column, const QString& text) {
    const ChannelField f = *grid_->fieldOfColumn(column);
    auto [g, c] = grid_->channelOfRow(row);
    const QString before = grid_->item(row, column) ? grid_->item(row, column)->text() : QString();
    StoreResult r = StoreResult::Ok;
    if (store_.isChoiceField(f)) {
        const auto list = store_.choices(f);
        const int s = static_cast<int>(std::find(list.begin(), list.end(), text.toStdString()) - list.begin());
        if (s < static_cast<int>(list.size()) && text != before) {
            if (f == ChannelField::Width && store_.widthNeedsConfirmation(g, c, s)) {
                const auto answer = ctx_.messages().ask({ctx_.text(chtext::kCompanderQuestion),
                                                         ctx_.text(chtext::kCaptionQuestion),
                                                         MessageService::Icon::Warning,
                                                         MessageService::Buttons::OkCancel, true});
                if (answer != QMessageBox::Ok) return before;
            }
            r = store_.setChoice(f, g, c, s);
        }
    } else if (text != before) {
        r = store_.setText(text.toStdString(), g, c, f);
    }
    grid_->refreshRow(row);
    if (f == ChannelField::Receive) {
        updateStatus();
        updateGroupName();
    }
    if (r != StoreResult::Ok) showStoreResult(r);
    emit ctx_.dataChanged();
    QTableWidgetItem* item = grid_->item(row, column);
    return item ? item->text() : QString();
}

bool CChannelInfoView::mayEdit(int row, int column, bool showError) {
    auto field = grid_->fieldOfColumn(column);
    if (!field || grid_->isTrunkingRow(row)) return false;
    auto [g, c] = grid_->channelOfRow(row);
    if (!store_.exists(g, c)) {
        if (*field != ChannelField::Receive) return false;
        if (!store_.canCreate()) {
            if (showError) showStoreResult(StoreResult::CannotCreate);
            return false;
        }
        return true;
    }
    if (*field == ChannelField::Encode) return !store_.isBlank(g, c, 1);
    return true;
}

bool CChannelInfoView::inSelectionMode() const {
    if (grid_->listsGroups() || store_.channelsInGroup(group_) <= 1) return false;
    const auto ranges = grid_->selectedRanges();
    return ranges.size() == 1 && ranges[0].leftColumn() == 0 &&
           ranges[0].rightColumn() == grid_->columnCount() - 1;
}

std::pair<int, int> CChannelInfoView::selectedRows() const {
    const auto ranges = grid_->selectedRanges();
    if (ranges.isEmpty()) return {grid_->currentRow(), grid_->currentRow()};
    return {ranges[0].topRow(), ranges[0].bottomRow()};
}

void CChannelInfoView::afterRowChange() {
    showGroup(group_, channel_);
    emit ctx_.dataChanged();
}

bool CChannelInfoView::copyRows() {
    if (grid_->listsGroups()) return false;
    auto [first, last] = inSelectionMode() ? selectedRows() : std::pair{channel_, channel_};
    return store_.copyBuffer().copy(store_, group_, first, last);
}

bool CChannelInfoView::pasteRows() {
    if (grid_->listsGroups() || !store_.copyBuffer().canPaste(store_, group_)) return false;
    const int start = inSelectionMode() ? selectedRows().first : channel_;
    const PasteOutcome out = store_.copyBuffer().paste(store_, group_, start);
    afterRowChange();
    if (out.cannotCreate) showStoreResult(StoreResult::CannotCreate);
    return out.rowsWritten > 0;
}

void CChannelInfoView::deleteRows() {
    auto [first, last] = selectedRows();
    deleteChannelRun(store_, group_, first, last);
    afterRowChange();
}

void CChannelInfoView::insertChannel() {
    auto [g, c] = grid_->channelOfRow(grid_->currentRow());
    if (store_.insertChannel(g, c)) afterRowChange();
}

void CChannelInfoView::removeChannel() {
    auto [g, c] = grid_->channelOfRow(grid_->currentRow());
    if (store_.removeChannel(g, c)) afterRowChange();
}

void CChannelInfoView::showMenu(const QPoint& at) {
    if (!inSelectionMode()) return;
    auto [first, last] = selectedRows();
    const int row = grid_->rowAt(at.y());
    if (row < first || row > last) return;
    pasteAction_->setEnabled(store_.copyBuffer().canPaste(store_, group_));
    menu_->popup(grid_->viewport()->mapToGlobal(at));
}

void CChannelInfoView::openWindow(int command) {
    if (auto* host = dynamic_cast<FrameHost*>(window())) host->openFunctionWindow(command);
}

bool CChannelInfoView::viewKey(QKeyEvent* key) {
    const auto mods = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const bool ctrl = mods == Qt::ControlModifier;
    const bool shift = mods == Qt::ShiftModifier;
    if (auto tool = copyToolOfKey(key)) {
        runCopyTool(ctx_, *tool, group_, channel_, this);
        return true;
    }
    switch (key->key()) {
    case Qt::Key_F1: {
        if (mods != Qt::NoModifier) return false;
        // The grid's help names the field of the current column; elsewhere the window's.
        const int column = grid_->currentColumn();
        const auto& kinds = grid_->columnKinds();
        const bool onGrid = grid_->hasFocus() && column >= 0 && column < static_cast<int>(kinds.size());
        help::open(onGrid ? kHelpFirstColumn + kinds[static_cast<size_t>(column)] : kHelpWindow, this);
        return true;
    }
    case Qt::Key_F7:
        if (mods == Qt::NoModifier) nextGroup(+1);
        return mods == Qt::NoModifier;
    case Qt::Key_F8:
        if (mods == Qt::NoModifier) nextGroup(-1);
        return mods == Qt::NoModifier;
    case Qt::Key_F9:
        if (shift) insertChannel();
        else if (mods == Qt::NoModifier && store_.hasGroups())
            openWindow(cmd::kGroupEdit);
        return shift || mods == Qt::NoModifier;
    case Qt::Key_F11:
        if (mods == Qt::NoModifier) openWindow(cmd::kChannelEdit);
        return mods == Qt::NoModifier;
    case Qt::Key_F10:
        if (shift) removeChannel();
        return shift;
    case Qt::Key_I:
        if (ctrl) insertChannel();
        return ctrl;
    case Qt::Key_D:
        if (ctrl) removeChannel();
        return ctrl;
    case Qt::Key_C:
        if (ctrl) copyRows();
        return ctrl;
    case Qt::Key_V:
        if (ctrl) pasteRows();
        return ctrl;
    case Qt::Key_Delete:
        if (mods == Qt::NoModifier && inSelectionMode()) {
            deleteRows();
            return true;
        }
        return false;
    case Qt::Key_Home:
    case Qt::Key_End:
        if (!ctrl) return false;
        grid_->setCurrentCell(key->key() == Qt::Key_Home ? 0 : grid_->rowCount() - 1, grid_->currentColumn());
        return true;
    default: return false;
    }
}

bool CChannelInfoView::eventFilter(QObject* watched, QEvent* event) {
    if (watched != grid_ || event->type() != QEvent::KeyPress || (editing_ && editing_->isOpen()))
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (viewKey(key)) return true;
    const bool opens = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
                       key->key() == Qt::Key_Delete || GridCellEditing::opensList(key) ||
                       (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
                        !key->text().isEmpty() && key->text().at(0).isPrint());
    if (opens && !mayEdit(grid_->currentRow(), grid_->currentColumn(), true)) return true;
    return false;
}

void CChannelInfoView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (!viewKey(event)) QWidget::keyPressEvent(event);
}

VRL_REGISTER_FUNCTION_WINDOW(cmd::kChannelInformation, CChannelInfoView);

} // namespace vrl::gui
