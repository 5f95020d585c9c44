#include "link/radio_info_dlg.h"

#include "app/app_context.h"
#include "app/ui_helpers.h"
#include "widgets/help.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vrl::gui {

namespace {

constexpr int kHelpTopic = 0x200A5;

QString value(const std::string& text) {
    return QStringLiteral("  ") + QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QLabel* valueLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFrameShape(QFrame::StyledPanel);
    label->setMinimumWidth(220);
    return label;
}

} // namespace

CRadioInfoDlg::CRadioInfoDlg(AppContext& ctx, const RadioInformation& info, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(ctx.text(532));
    model_ = valueLabel(value(info.info.label), this);
    band_ = valueLabel(value(info.info.band), this);
    serial_ = valueLabel(value(infoBlockText(info.block)), this);

    auto* form = new QFormLayout;
    form->addRow(ctx.text(530), model_);
    form->addRow(ctx.text(165), band_);
    form->addRow(ctx.text(531), serial_);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(ctx.text(61), QDialogButtonBox::RejectRole);
    QPushButton* help = buttons->addButton(ctx.text(62), QDialogButtonBox::HelpRole);
    close->setDefault(true);
    help->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { help::open(kHelpTopic, this); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    applyLanguageFont(this, ctx.font());
    fitTitle(this);
    close->setFocus();
}

void CRadioInfoDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1) {
        help::open(kHelpTopic, this);
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace vrl::gui
