#include "compare/compare_window.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/frame_host.h"
#include "app/function_list.h"
#include "app/ui_helpers.h"
#include "channels/channel_info_view.h"
#include "channels/channel_services.h"
#include "channels/key_view.h"
#include "features/field_table.h"
#include "output/memory_map_dlg.h"
#include "widgets/form_view.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>
#include <iterator>
#include <string_view>
#include <vector>

namespace vrl::gui {

namespace {

constexpr int kTextDifferences = 489;
constexpr int kTextNoDifferences = 561;
constexpr int kTextCurrentData = 516;
constexpr int kTextModelsDiffer = 524;
constexpr int kTextName = 433;
constexpr int kTextClose = 61;
constexpr int kTextChannelInformation = 173;

// Row data: the index of the difference (branches: -1) and the area.
constexpr int kIndexRole = Qt::UserRole;
constexpr int kAreaRole = Qt::UserRole + 1;

QString qs(const std::string& s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

TextSource textsOf(AppContext& ctx) {
    return [&lang = ctx.lang()](int index) { return lang.text(index); };
}

// A menu text as a title: no access key, no "..." and no accelerator.
QString titleOf(QString text) {
    text = text.left(text.indexOf('\t')).remove('&');
    while (text.endsWith('.'))
        text.chop(1);
    return text.trimmed();
}

// The two numbers after the area of a key: "channel.3.12.Name" -> {3, 12},
// "group.2.name" -> {2, 0}.
std::pair<int, int> keyNumbers(const std::string& key) {
    int numbers[2] = {0, 0};
    size_t pos = key.find('.');
    for (int& n : numbers) {
        if (pos == std::string::npos) break;
        const size_t next = key.find('.', pos + 1);
        const char* first = key.data() + pos + 1;
        const char* last = next == std::string::npos ? key.data() + key.size() : key.data() + next;
        std::from_chars(first, last, n);
        pos = next;
    }
    return {numbers[0], numbers[1]};
}

// Moves the channel grid to group g and channel c (1-based) when the current data
// have that group.
void showChannel(AppContext& ctx, int g, int c) {
    CChannelInfoView* grid = CChannelInfoView::openIn(ctx);
    const ChannelStore& store = ChannelServices::of(ctx).store();
    if (!grid || g < 1 || g > store.groupCount() || !store.groupExists(g - 1)) return;
    grid->showGroup(g - 1, std::max(c - 1, 0));
}

void selectKey(QWidget* window, const std::string& caption) {
    auto* view = qobject_cast<CKeyView*>(window);
    if (!view) return;
    QTableWidget* grid = view->grid();
    for (int row = 0; row < grid->rowCount(); ++row) {
        const QTableWidgetItem* header = grid->verticalHeaderItem(row);
        if (header && header->text() == qs(caption)) {
            grid->setCurrentCell(row, 0);
            return;
        }
    }
}

// Where an area's branch stands: the settings areas in the Edit menu's order, then
// channels, keys and memory.
size_t areaRank(const std::string& area) {
    const auto& areas = fieldAreas();
    for (size_t i = 0; i < areas.size(); ++i)
        if (areas[i].name == area) return i;
    static constexpr std::string_view kOthers[] = {"channel", "key", "memory"};
    const auto* other = std::find(std::begin(kOthers), std::end(kOthers), area);
    return areas.size() + static_cast<size_t>(other - std::begin(kOthers));
}

// Puts the keyboard on the control of a setting, showing its tab page first.
void focusField(QWidget* window, const std::string& key) {
    auto* form = qobject_cast<CFormView*>(window);
    QWidget* control = form ? form->fieldControl(key) : nullptr;
    if (!control) return;
    for (QWidget* w = control; w && w != form; w = w->parentWidget()) {
        QWidget* stack = w->parentWidget();
        auto* tabs = qobject_cast<QTabWidget*>(stack ? stack->parentWidget() : nullptr);
        if (tabs && tabs->indexOf(w) >= 0) tabs->setCurrentWidget(w);
    }
    control->setFocus(Qt::OtherFocusReason);
}

// The other side's window, found among the frame's children.
CCompareWindow* openWindowOf(QWidget* frame) {
    return frame->findChild<CCompareWindow*>(QString(), Qt::FindDirectChildrenOnly);
}

} // namespace

void openDifference(FrameHost& host, const Difference& d) {
    AppContext& ctx = host.context();
    const int command = commandOfArea(d.area);
    if (command == 0) return;
    // A setting of an area the current model has no window for (different models).
    if (const FieldArea* area = findFieldArea(d.area)) {
        const FieldContext fc{ctx.data(), textsOf(ctx)};
        if (!area->isOffered(fc)) return;
    }
    if (d.area == "channel" || d.area == "group") {
        host.openFunctionWindow(cmd::kChannelInformation);
        const auto [g, c] = keyNumbers(d.key);
        showChannel(ctx, g, c);
    }
    if (d.area != "channel") host.runCommand(command);
    QWidget* window = host.functionWindow(command);
    if (!window) return;
    // The main window takes the keyboard, on the setting or key that differs.
    host.mainWindow()->activateWindow();
    if (d.area == "key")
        selectKey(window, d.label);
    else
        focusField(window, d.key);
}

CCompareWindow::CCompareWindow(FrameHost& host, CompareSide other, QWidget* parent)
    : QDialog(parent), host_(host), ctx_(host.context()), note_(new QLabel(this)),
      tree_(new QTreeWidget(this)), summary_(new QLabel(this)), close_(new QPushButton(this)) {
    setObjectName(QStringLiteral("CCompareWindow"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    note_->setWordWrap(true);
    tree_->setColumnCount(3);
    tree_->setRootIsDecorated(true);
    tree_->setUniformRowHeights(true);
    tree_->header()->setStretchLastSection(true);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(summary_, 1);
    bottom->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(note_);
    layout->addWidget(tree_, 1);
    layout->addLayout(bottom);
    // Enter on the list opens a row, it does not close the window.
    close_->setAutoDefault(false);
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    connect(tree_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item, int) { openItem(item); });
    connect(&ctx_, &AppContext::dataChanged, this, &CCompareWindow::scheduleRefresh);
    connect(&ctx_, &AppContext::dataReplaced, this, &CCompareWindow::scheduleRefresh);
    connect(&ctx_, &AppContext::modelChanged, this, &CCompareWindow::scheduleRefresh);
    connect(&ctx_, &AppContext::languageChanged, this, &CCompareWindow::scheduleRefresh);
    resize(640, 420);
    setOther(std::move(other));
}

CCompareWindow::~CCompareWindow() = default;

CCompareWindow* CCompareWindow::showFor(FrameHost& host, CompareSide other) {
    QWidget* frame = host.mainWindow();
    CCompareWindow* window = openWindowOf(frame);
    if (window)
        window->setOther(std::move(other));
    else
        window = new CCompareWindow(host, std::move(other), frame);
    window->show();
    window->raise();
    window->activateWindow();
    window->tree_->setFocus();
    return window;
}

void CCompareWindow::setOther(CompareSide other) {
    other_ = std::move(other);
    tree_->setCurrentItem(nullptr);
    refresh();
    // Labels in full; the current data's column as wide as its texts, up to a third.
    tree_->resizeColumnToContents(0);
    tree_->resizeColumnToContents(1);
    tree_->setColumnWidth(1, std::clamp(tree_->columnWidth(1), 80, width() / 3));
}

QString CCompareWindow::areaTitle(const std::string& area) const {
    int text = -1;
    if (area == "channel")
        text = kTextChannelInformation;
    else if (area == "key")
        text = CKeyView::kTitleText;
    else if (area == "memory")
        text = CMemoryMapDlg::kTitleText;
    else if (const FieldArea* a = findFieldArea(area))
        text = a->titleText;
    return text < 0 ? qs(area) : ctx_.text(text);
}

void CCompareWindow::scheduleRefresh() {
    // Comparing very different data takes a while: a burst of changes (a paste of
    // rows, an undo) compares once, when the program is idle again.
    if (refreshPending_) return;
    refreshPending_ = true;
    QMetaObject::invokeMethod(this, &CCompareWindow::refresh, Qt::QueuedConnection);
}

void CCompareWindow::refresh() {
    refreshPending_ = false;
    // The current data are compared as a copy: comparing refreshes the model flags
    // of both sides, and nothing here may change the document.
    RadioData current;
    const auto bytes = ctx_.data().image.bytes();
    std::copy(bytes.begin(), bytes.end(), current.image.bytes().begin());
    {
        WaitCursor wait;
        result_ = compareDocuments(current, *other_.data, textsOf(ctx_));
    }

    setWindowTitle(titleOf(ctx_.text(other_.titleText)) +
                   (other_.name.isEmpty() ? QString() : QStringLiteral(" - ") + other_.name));
    tree_->setHeaderLabels({ctx_.text(kTextName), ctx_.text(kTextCurrentData),
                            other_.headerText < 0 ? other_.name : ctx_.text(other_.headerText)});
    close_->setText(ctx_.text(kTextClose));
    note_->setVisible(!result_.sameModel);
    if (!result_.sameModel)
        note_->setText(ctx_.text(kTextModelsDiffer) + QStringLiteral(" (") +
                       qs(std::string(current.model.label())) + QStringLiteral(" / ") +
                       qs(std::string(other_.data->model.label())) + QStringLiteral(")"));
    const size_t count = result_.differences.size();
    summary_->setText(count == 0 ? ctx_.text(kTextNoDifferences)
                                 : ctx_.text(kTextDifferences) + ' ' + QString::number(count));

    // The selected row stays selected when it is still there.
    QTreeWidgetItem* selected = tree_->currentItem();
    const QString selectedArea = selected ? selected->data(0, kAreaRole).toString() : QString();
    const bool selectedBranch = selected && selected->data(0, kIndexRole).toInt() < 0;
    const QString selectedLabel = selected ? selected->text(0) : QString();
    tree_->clear();
    // One branch per area, in the order of the Edit menu's windows, whichever side
    // holds the setting.
    std::vector<size_t> order(count);
    for (size_t i = 0; i < count; ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [this](size_t x, size_t y) {
        return areaRank(result_.differences[x].area) < areaRank(result_.differences[y].area);
    });
    QTreeWidgetItem* branch = nullptr;
    QTreeWidgetItem* reselect = nullptr;
    for (const size_t i : order) {
        const Difference& d = result_.differences[i];
        const QString area = qs(d.area);
        if (!branch || branch->data(0, kAreaRole).toString() != area) {
            branch = new QTreeWidgetItem(tree_, {areaTitle(d.area)});
            branch->setData(0, kIndexRole, -1);
            branch->setData(0, kAreaRole, area);
            branch->setFirstColumnSpanned(true);
            if (selectedBranch && area == selectedArea) reselect = branch;
        }
        auto* row = new QTreeWidgetItem(branch, {qs(d.label), qs(d.a), qs(d.b)});
        for (int column = 1; column < 3; ++column) // long byte runs are cut in the list
            row->setToolTip(column, row->text(column));
        row->setData(0, kIndexRole, static_cast<int>(i));
        row->setData(0, kAreaRole, area);
        if (!selectedBranch && area == selectedArea && row->text(0) == selectedLabel)
            reselect = row;
    }
    for (int i = 0; i < tree_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* top = tree_->topLevelItem(i);
        top->setText(0, top->text(0) + QStringLiteral(" (%1)").arg(top->childCount()));
    }
    tree_->expandAll();
    if (!reselect && tree_->topLevelItemCount() > 0) reselect = tree_->topLevelItem(0);
    tree_->setCurrentItem(reselect);
    applyLanguageFont(this, ctx_.font());
}

void CCompareWindow::openItem(QTreeWidgetItem* item) {
    if (!item) return;
    const int index = item->data(0, kIndexRole).toInt();
    if (index >= 0 && static_cast<size_t>(index) < result_.differences.size()) {
        // A copy: a dialog that opens runs events, and a comparison run meanwhile
        // replaces the list.
        const Difference d = result_.differences[static_cast<size_t>(index)];
        openDifference(host_, d);
        return;
    }
    // A branch: its area's window, at its first row.
    if (item->childCount() > 0) openItem(item->child(0));
}

} // namespace vrl::gui
