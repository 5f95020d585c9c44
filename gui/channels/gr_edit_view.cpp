#include "channels/gr_edit_view.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/registries.h"
#include "channels/channel_info_view.h"
#include "channels/channel_services.h"
#include "widgets/filtered_edit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace vrl::gui {

VRL_REGISTER_FUNCTION_WINDOW(cmd::kGroupEdit, CGrEditView);

CGrEditView::CGrEditView(AppContext& ctx, QWidget* parent)
    : CFormView(ctx, kTemplateId, parent), store_(ChannelServices::of(ctx).store()) {
    if (CChannelInfoView* info = CChannelInfoView::openIn(ctx)) {
        group_ = info->group();
        // The group edit window belongs to the channel information window.
        connect(info, &QObject::destroyed, this,
                [this] { QTimer::singleShot(0, this, &CFormView::closeFrame); });
    }
    connect(&ChannelServices::of(ctx), &ChannelServices::currentChanged, this,
            [this](int g, int) {
                if (g != group_) loadGroup(g);
            });

    nameLabel_ = new QLabel(this);
    name_ = new FilteredEdit(CharFilter::display(), 8, this);
    scanAdd_ = new QCheckBox(this);
    close_ = makeCloseButton(1065);
    help_ = makeHelpButton(1341);

    bindEdit(
        1342, name_,
        [this] {
            // The length limit follows the group-name length; while it is off the
            // field is disabled.
            const int length = store_.groupNameLength();
            name_->setMaxLength(length > 0 ? length : 8);
            return QString::fromStdString(store_.getGroupName(group_));
        },
        [this](const QString& text) { store_.setGroupName(text.toStdString(), group_); })
        .enabledWhen([this] { return store_.groupNameEditable(group_); })
        .notifies();
    bindCheck(
        1494, scanAdd_, [this] { return store_.getGroupScan(group_); },
        [this](bool on) { store_.setGroupScan(group_, on); })
        .enabledWhen([this] { return store_.groupScanEditable(group_); })
        .notifies();
    setControlId(nameLabel_, 1538);

    auto* fields = new QGridLayout;
    fields->addWidget(nameLabel_, 0, 0);
    fields->addWidget(name_, 0, 1);
    fields->addWidget(scanAdd_, 1, 0, 1, 2);
    fields->setColumnStretch(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(closeHelpRow(close_, help_));
    name_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("MMMMMMMM")) + 16);

    setTitleText(kTitleText);
    addTexts({{nameLabel_, 233}, {scanAdd_, 234}, {close_, 61}, {help_, 62}});
    setInitialFocus(name_);
    finishSetup();
}

void CGrEditView::loadGroup(int g) {
    group_ = g;
    refresh();
}

} // namespace vrl::gui
