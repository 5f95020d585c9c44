#include "link/comm_port_dlg.h"

#include "app/app_context.h"
#include "app/ui_helpers.h"
#include "link/link_service.h"
#include "link/texts.h"
#include "widgets/help.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace vrl::gui {

namespace {
constexpr int kTitle = 535;
constexpr int kPortPrefix = 536;
constexpr int kDeviceCaption = 55;
constexpr int kMissingMark = 76;
// Width of the device beside a port's button; a longer path is shortened in the
// middle (the whole path is in the tool tip and in the device box).
constexpr int kDeviceLabelWidth = 150;
constexpr int kHelpTopic = 0x200AA;
constexpr int kRowsPerColumn = 5;
} // namespace

CCommPortDlg::CCommPortDlg(AppContext& ctx, LinkService& service, QWidget* parent)
    : QDialog(parent), ctx_(ctx), service_(service) {
    setWindowTitle(ctx.text(kTitle));
    auto* box = new QGroupBox(ctx.text(kTitle), this);
    auto* grid = new QGridLayout(box);
    group_ = new QButtonGroup(this);
    group_->setExclusive(true);
    for (int n = 1; n <= kPortCount; ++n) {
        auto* button = new QRadioButton(ctx.text(kPortPrefix) + QString::number(n), box);
        auto* device = new QLabel(box);
        device->setFixedWidth(kDeviceLabelWidth);
        device->setBuddy(button);
        const int column = (n - 1) / kRowsPerColumn * 2;
        const int row = (n - 1) % kRowsPerColumn;
        grid->addWidget(button, row, column);
        grid->addWidget(device, row, column + 1);
        group_->addButton(button, n);
        buttons_[n - 1] = button;
        devices_[n - 1] = device;
    }

    deviceCaption_ = new QLabel(this);
    device_ = new QComboBox(this);
    device_->setEditable(true);
    device_->setInsertPolicy(QComboBox::NoInsert);
    device_->addItems(service.knownDevices());
    device_->setMinimumWidth(220);
    deviceCaption_->setBuddy(device_);
    auto* deviceRow = new QHBoxLayout;
    deviceRow->addWidget(deviceCaption_);
    deviceRow->addWidget(device_, 1);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(ctx.text(59), QDialogButtonBox::AcceptRole);
    buttons->addButton(ctx.text(60), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(ctx.text(62), QDialogButtonBox::HelpRole);
    ok->setDefault(true);
    help->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &CCommPortDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { help::open(kHelpTopic, this); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(box);
    layout->addLayout(deviceRow);
    layout->addWidget(buttons);

    // The language font first: the device names are shortened to fit in it.
    applyLanguageFont(this, ctx.font());
    probeAll();
    // The program's port stays selected even when its device is gone, so that the
    // user sees which device is missing and can give the number another one.
    const int current = ctx.comPort();
    if (current >= 1 && current <= kPortCount) buttons_[current - 1]->setChecked(true);
    connect(group_, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on) selectionChanged();
    });
    selectionChanged();
    fitTitle(this);
    if (QAbstractButton* checked = group_->checkedButton())
        checked->setFocus();
    else
        buttons_[0]->setFocus();
}

void CCommPortDlg::probeAll() {
    WaitCursor wait;
    for (int n = 1; n <= kPortCount; ++n) {
        usable_[n - 1] = !service_.deviceFor(n).isEmpty() && service_.probe(n);
        showDevice(n);
    }
}

void CCommPortDlg::showDevice(int n) {
    QLabel* label = devices_[n - 1];
    const QString device = service_.deviceFor(n);
    // A device that did not open stays listed, greyed and marked missing: its number
    // works again once the device is back or the number gets another device.
    const bool usable = usable_[n - 1];
    const QString mark = usable || device.isEmpty() ? QString() : ' ' + ctx_.text(kMissingMark);
    const QFontMetrics metrics(label->font());
    const int room = kDeviceLabelWidth - metrics.horizontalAdvance(mark);
    label->setText(metrics.elidedText(device, Qt::ElideMiddle, std::max(room, 0)) + mark);
    label->setToolTip(device + mark);
    label->setEnabled(usable);
}

int CCommPortDlg::selectedPort() const {
    const int id = group_->checkedId();
    return id > 0 ? id : 0;
}

QRadioButton* CCommPortDlg::portButton(int n) const { return buttons_[n - 1]; }
QLabel* CCommPortDlg::deviceLabel(int n) const { return devices_[n - 1]; }
bool CCommPortDlg::portUsable(int n) const { return usable_[n - 1]; }

void CCommPortDlg::selectionChanged() {
    const int n = selectedPort();
    const QString port =
        n ? QStringLiteral(" (") + ctx_.text(kPortPrefix) + QString::number(n) + ')' : QString();
    deviceCaption_->setText(ctx_.text(kDeviceCaption) + port + ':');
    device_->setEditText(n ? service_.deviceFor(n) : QString());
}

void CCommPortDlg::accept() {
    const int n = selectedPort();
    if (n == 0) {
        // Nothing chosen: the port stays as it was.
        QDialog::accept();
        return;
    }
    const QString device = device_->currentText().trimmed();
    if (device != service_.deviceFor(n)) service_.tieDevice(n, device);
    // Probed again: the device may have come back (or gone) since the dialog opened.
    QString reason;
    usable_[n - 1] = !device.isEmpty() && service_.probe(n, &reason);
    showDevice(n);
    if (!usable_[n - 1]) {
        // The message names the device and, when the system gave one, its reason; a
        // device the user may not open names the fix.
        QString text = ctx_.text(texts::kPortOpenFailed) + QStringLiteral("\n\n") + device;
        if (!reason.isEmpty()) text += '\n' + reason;
        if (service_.permissionDenied(n)) text += QStringLiteral("\n\n") + ctx_.text(texts::kPortPermissionHint);
        ctx_.messages().ask({text, ctx_.text(texts::kCaptionError), MessageService::Icon::Error,
                             MessageService::Buttons::Ok});
        device_->setFocus();
        device_->lineEdit()->selectAll();
        return;
    }
    ctx_.setComPort(n);
    QDialog::accept();
}

void CCommPortDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        help::open(kHelpTopic, this);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace vrl::gui
