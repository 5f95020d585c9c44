#include "features/optional_features_view.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/registries.h"
#include "features/field_areas.h"
#include "widgets/tab_page_list.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vrl::gui {

VRL_REGISTER_FUNCTION_WINDOW(cmd::kOptionalFeatures, COptionalFeaturesView);

namespace {

constexpr int kGeneralCaption = 251;
constexpr int kOperationCaption = 252;
constexpr int kBatteryWarningText = 272;
constexpr int kModeText = 296;

// A thin vertical line between the columns of a page.
QFrame* columnLine(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QWidget* pageOf(QLayout* layout) {
    auto* page = new QWidget;
    page->setLayout(layout);
    return page;
}

const Field& fieldOf(const FieldTable& table, std::string_view key) {
    for (const Field& f : table)
        if (f.key == key) return f;
    qFatal("no field %s in the optional features table", std::string(key).c_str());
}

} // namespace

COptionalFeaturesView::COptionalFeaturesView(AppContext& ctx, QWidget* parent)
    : CFormView(ctx, kTemplateId, parent) {
    const FieldTable table = optionalFeaturesArea().build(fieldContext());

    auto* tabWidget = new QTabWidget(this);
    setControlId(tabWidget, kTabId);
    tabs_ = new TabPageList(tabWidget);
    tabs_->addPage(buildGeneralPage(table), kGeneralCaption);
    tabs_->addPage(buildOperationPage(table), kOperationCaption);
    setTabs(tabs_);

    close_ = makeCloseButton(kCloseId);
    help_ = makeHelpButton(kHelpId);

    // Tab and Enter walk the fields in window order, page by page; disabled fields
    // are skipped, so after the time-out timer the focus goes on to TOT Pre-Alert
    // while the timer runs and on to the first enabled password when it is off.
    QWidget* previous = tabWidget->tabBar();
    for (const Field& f : table) {
        QWidget* control = fieldControl(f.key);
        setTabOrder(previous, control);
        previous = control;
    }
    setTabOrder(previous, close_);
    setTabOrder(close_, help_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabWidget);
    layout->addLayout(closeHelpRow(close_, help_));
    layout->addStretch();

    setTitleText(titleTextIndex());
    addTexts({{battery_, kBatteryWarningText}, {mode_, kModeText}, {close_, 61}, {help_, 62}});
    setInitialFocus(fieldControl("optional.channel_name_text_length"));
    finishSetup();
}

QWidget* COptionalFeaturesView::buildGeneralPage(const FieldTable& table) {
    QGridLayout* display =
        fieldGrid(table, {"optional.channel_name_text_length", "optional.group_name_text_length",
                          "optional.display_character", "optional.power_on_text",
                          "optional.power_on_tone", "optional.control_tone",
                          "optional.warning_tone", "optional.busy_channel_lockout_tone"});
    QGridLayout* levels =
        fieldGrid(table, {"optional.minimum_volume", "optional.tone_volume",
                          "optional.time_out_timer_tot_sec", "optional.tot_pre_alert_sec",
                          "optional.tot_rekey_time_sec", "optional.tot_reset_time_sec",
                          "optional.radio_password", "optional.data_password"});

    // The battery warning exists on two portables only; elsewhere the group and its
    // members are hidden.
    battery_ = new QGroupBox(this);
    setControlId(battery_, kBatteryWarningId);
    QGridLayout* warning =
        fieldGrid(table, {"optional.pre_alert_tone", "optional.mute_during_alert_tone",
                          "optional.tx_inhibit_tone"});
    if (QLayoutItem* label = warning->itemAtPosition(2, 0))
        setControlId(label->widget(), kTxInhibitLabelId);
    battery_->setLayout(warning);
    const Field& preAlert = fieldOf(table, "optional.pre_alert_tone");
    FieldContext* fc = &fieldContext();
    showWhen(battery_, [preAlert, fc] { return preAlert.isShown(*fc); });

    auto* columns = new QHBoxLayout;
    display->setRowStretch(display->rowCount(), 1);
    levels->setRowStretch(levels->rowCount(), 1);
    columns->addLayout(display);
    columns->addWidget(columnLine(this));
    columns->addLayout(levels);
    auto* page = new QVBoxLayout;
    page->addLayout(columns);
    page->addWidget(battery_);
    page->addStretch();
    return pageOf(page);
}

QWidget* COptionalFeaturesView::buildOperationPage(const FieldTable& table) {
    QGridLayout* operation = fieldGrid(
        table,
        {"optional.battery_save", "optional.off_hook_decode", "optional.off_hook_horn_alert",
         "optional.speaker_muting_by_off_hook", "optional.acc_hook_dtc", "optional.external_ptt",
         "optional.data_tx_with_st_cst", "optional.clear_to_transpond", "optional.signalling",
         "optional.squelch_level", "optional.key_lock", "optional.modify_mode",
         "optional.key_detection", "optional.led_control"});
    operation->setRowStretch(operation->rowCount(), 1);

    // The service modes the radio allows.
    mode_ = new QGroupBox(this);
    setControlId(mode_, kModeGroupId);
    QGridLayout* modes = fieldGrid(table, {"optional.panel_test", "optional.panel_tuning",
                                           "optional.firmware_programming", "optional.clone",
                                           "optional.self_programming"});
    mode_->setLayout(modes);
    auto* modeColumn = new QVBoxLayout;
    modeColumn->addWidget(mode_);
    modeColumn->addStretch();

    auto* page = new QHBoxLayout;
    page->addLayout(operation);
    page->addWidget(columnLine(this));
    page->addLayout(modeColumn);
    return pageOf(page);
}

} // namespace vrl::gui
