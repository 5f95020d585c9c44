#include "features/trunking_view.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/registries.h"
#include "features/access_code_dlg.h"
#include "features/field_areas.h"
#include "features/model_predicates.h"
#include "widgets/filtered_edit.h"
#include "widgets/grid_cell_editing.h"
#include "widgets/tab_page_list.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vrl::gui {

VRL_REGISTER_FUNCTION_WINDOW(cmd::kTrunking, CTrunkingView);

namespace {

constexpr int kSettingsCaption = 436;
constexpr int kSpeedDialCaption = 454;
constexpr int kSpeedDialAdCaption = 455;
constexpr int kCodeListCaption = 456;
constexpr int kCodeHeader = 457;
constexpr int kAccessCodeText = 460;
// Help topics of the tab control on pages 2 and 3 (page 1: the template's).
constexpr int kSpeedDialTabTopic = 0x4DE;
constexpr int kCodeListTabTopic = 0x4E2;
// Grid units are 1/1440 inch; at 96 pixels per inch one pixel is 15 units.
int px(int twips) { return twips / 15; }
QString qs(const std::string& s) { return QString::fromStdString(s); }

} // namespace

CTrunkingView::CTrunkingView(AppContext& ctx, QWidget* parent)
    : CFormView(ctx, kTemplateId, parent), table_(trunkingArea().build(fieldContext())) {
    auto* tabs = new QTabWidget(this);
    setControlId(tabs->tabBar(), kTemplateId);
    pages_ = new TabPageList(tabs);

    // Page 1: the settings.
    auto* settings = new QWidget;
    auto* grid = fieldGrid(table_, {"trunking.primary_code", "trunking.secondary_code",
                                    "trunking.system_tone", "trunking.trunking_system_id_number",
                                    "trunking.lower_block_decode", "trunking.upper_block_decode",
                                    "trunking.busy_channel_detect", "trunking.radio_kill"});
    auto* checks = fieldGrid(table_, {"trunking.priority_subscriber", "trunking.automatic_ptt_mode",
                                      "trunking.emergency_call_override",
                                      "trunking.clear_channel_alerting_mode",
                                      "trunking.memory_speed_dialing_programming"});
    accessCode_ = new QPushButton(this);
    setControlId(accessCode_, kAccessCodeId);
    connect(accessCode_, &QPushButton::clicked, this, &CTrunkingView::runAccessCodeDialog);
    auto* settingsLayout = new QVBoxLayout(settings);
    settingsLayout->addLayout(grid);
    settingsLayout->addLayout(checks);
    auto* accessRow = new QHBoxLayout;
    accessRow->addWidget(accessCode_);
    accessRow->addStretch();
    settingsLayout->addLayout(accessRow);
    settingsLayout->addStretch();

    // Page 2: the speed-dial memories 0-9 and A-D.
    std::vector<std::string> digits, letters;
    for (int m = 0; m < TrunkingSettings::kSpeedDialCount; ++m)
        (m < 10 ? digits : letters).push_back("trunking.speed_dial." + speedDialLabel(m));
    auto* speed = new QWidget;
    speedGrid_ = makeGrid(kSpeedDialGridId, kSpeedDialCaption, digits);
    speedAdGrid_ = makeGrid(kSpeedDialAdGridId, kSpeedDialAdCaption, letters);
    auto* speedLayout = new QHBoxLayout(speed);
    speedLayout->addWidget(speedGrid_.grid, 0, Qt::AlignTop);
    speedLayout->addWidget(speedAdGrid_.grid, 0, Qt::AlignTop);
    speedLayout->addStretch();

    // Page 3: the code list (one entry on 8- and 16-channel models).
    std::vector<std::string> codes;
    for (int n = 0; n < trunkingCodeCount(ctx.data().image); ++n)
        codes.push_back("trunking.code." + std::to_string(n));
    auto* codeList = new QWidget;
    codeGrid_ = makeGrid(kCodeGridId, kCodeHeader, codes);
    auto* codeLayout = new QHBoxLayout(codeList);
    codeLayout->addWidget(codeGrid_.grid, 0, Qt::AlignTop);
    codeLayout->addStretch();

    pages_->addPage(settings, kSettingsCaption);
    pages_->addPage(speed, kSpeedDialCaption);
    pages_->addPage(codeList, kCodeListCaption);
    setTabs(pages_);
    connect(pages_, &TabPageList::pageChanged, this, &CTrunkingView::pageSelected);

    close_ = makeCloseButton(kCloseId);
    help_ = makeHelpButton(kHelpId);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs, 1);
    layout->addLayout(closeHelpRow(close_, help_));

    setTitleText(kTitleText);
    addTexts({{accessCode_, kAccessCodeText}, {close_, 61}, {help_, 62}});
    setInitialFocus(fieldControl("trunking.primary_code"));
    finishSetup();
    refresh();
}

QTabWidget* CTrunkingView::tabWidget() const { return pages_->tabs(); }

const Field* CTrunkingView::field(std::string_view key) const {
    for (const Field& f : table_)
        if (f.key == key) return &f;
    return nullptr;
}

CTrunkingView::Grid CTrunkingView::makeGrid(int gridId, int headerText,
                                            const std::vector<std::string>& keys) {
    Grid g;
    g.keys = keys;
    g.grid = new QTableWidget(static_cast<int>(keys.size()), 1, this);
    g.grid->setSelectionMode(QAbstractItemView::SingleSelection);
    g.grid->setTabKeyNavigation(false);
    g.grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    g.grid->verticalHeader()->setDefaultSectionSize(px(300));
    g.grid->setColumnWidth(0, px(gridId == kCodeGridId ? 2250 : 2100));
    QStringList rows;
    for (const std::string& key : keys) rows << qs(field(key)->label);
    g.grid->setVerticalHeaderLabels(rows);
    g.grid->setHorizontalHeaderLabels({ctx().text(headerText)});
    const int frame = 2 * g.grid->frameWidth();
    g.grid->setFixedWidth(g.grid->verticalHeader()->sizeHint().width() + g.grid->columnWidth(0) +
                          frame + 2);
    g.grid->setFixedHeight(g.grid->horizontalHeader()->sizeHint().height() +
                             static_cast<int>(keys.size()) * px(300) + frame + 2);
    setControlId(g.grid, gridId);
    g.editing = new GridCellEditing(g.grid);
    const int length = keys.empty() ? 0 : field(keys.front())->maxLength;
    FilteredEdit* editor = g.editing->addEditColumn(0, [this, gridId](int row, int, const QString& text) {
        const Grid& owner = gridId == kCodeGridId ? codeGrid_ : gridId == kSpeedDialGridId ? speedGrid_ : speedAdGrid_;
        return storeCell(owner, row, text);
    });
    editor->setFilter(CharFilter::digits());
    editor->setMaxLength(length);
    // The editor's number for help: the grid's own editor control.
    setControlId(editor, gridId == kCodeGridId ? 1250 : gridId == kSpeedDialGridId ? 1246 : 1248);
    keepEnter(g.grid);
    return g;
}

QString CTrunkingView::storeCell(const Grid& grid, int row, const QString& text) {
    const Field* f = field(grid.keys[static_cast<size_t>(row)]);
    if (f && f->isAvailable(fieldContext())) f->setText(fieldContext(), text.toStdString());
    reloadGrid(grid);
    emit committed();
    return grid.grid->item(row, 0) ? grid.grid->item(row, 0)->text() : QString();
}

void CTrunkingView::reloadGrid(const Grid& grid) {
    for (size_t r = 0; r < grid.keys.size(); ++r) {
        const Field* f = field(grid.keys[r]);
        // Models without speed-dial memories show the grids empty.
        const QString text = f && f->isShown(fieldContext()) ? qs(f->text(fieldContext())) : QString();
        const int row = static_cast<int>(r);
        if (QTableWidgetItem* item = grid.grid->item(row, 0)) {
            if (item->text() != text) item->setText(text);
        } else {
            grid.grid->setItem(row, 0, new QTableWidgetItem(text));
        }
    }
}

void CTrunkingView::refresh() {
    CFormView::refresh();
    for (const Grid* g : {&codeGrid_, &speedGrid_, &speedAdGrid_})
        if (!g->editing->isOpen()) reloadGrid(*g);
    const bool speedDials = predicates::hasSpeedDialMemories(ctx().data().image);
    tabWidget()->setTabEnabled(kSpeedDialPage, speedDials);
}

void CTrunkingView::commitGrids() {
    for (const Grid* g : {&codeGrid_, &speedGrid_, &speedAdGrid_}) g->editing->commit();
}

void CTrunkingView::pageSelected(int page) {
    commitGrids();
    if (page == kSpeedDialPage && !predicates::hasSpeedDialMemories(ctx().data().image)) {
        pages_->select(page_); // refused: the previous page stays
        return;
    }
    page_ = page;
    const int topic = page == kSpeedDialPage ? kSpeedDialTabTopic
                      : page == kCodeListPage ? kCodeListTabTopic
                                              : kTemplateId;
    setControlId(tabWidget()->tabBar(), topic);
}

void CTrunkingView::runAccessCodeDialog() {
    CAccessCodeDlg dlg(ctx(), this);
    if (dlg.exec() != QDialog::Accepted) return;
    if (const Field* f = field("trunking.access_code")) f->setText(fieldContext(), dlg.code().toStdString());
    refresh();
    emit committed();
}

} // namespace vrl::gui
