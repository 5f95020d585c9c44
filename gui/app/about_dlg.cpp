#include "app/about_dlg.h"

#include "app/app_context.h"
#include "app/ui_helpers.h"
#include "model/model_table.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace vrl::gui {

QString CAboutDlg::supportedModels() {
    QStringList lines;
    for (RowGroup g : {RowGroup::MobileVhf, RowGroup::PortableVhf, RowGroup::PortableUhf}) {
        QStringList names;
        auto addGroup = [&](RowGroup group) {
            for (int row : models::rowsOfGroup(group)) {
                const QString name = QString::fromLatin1(modelTable()[row].name().data(), 7);
                if (!names.contains(name)) names << name;
            }
        };
        addGroup(g);
        if (g == RowGroup::MobileVhf) addGroup(RowGroup::MobileUhf);
        lines << names.join(QStringLiteral(", "));
    }
    return lines.join('\n');
}

CAboutDlg::CAboutDlg(AppContext& ctx, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("CAboutDlg"));
    setWindowTitle(ctx.text(550));
    auto* grid = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
    grid->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(new QLabel(ctx.text(551), this), 0, 1, 1, 2);
    auto* forLabel = new QLabel(ctx.text(552), this);
    forLabel->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    grid->addWidget(forLabel, 1, 1, Qt::AlignTop);
    auto* modelsLabel = new QLabel(supportedModels(), this);
    modelsLabel->setObjectName(QStringLiteral("supportedModels"));
    grid->addWidget(modelsLabel, 1, 2);
    grid->addWidget(new QLabel(ctx.text(553) + QStringLiteral("  4.22"), this), 2, 1, 1, 2);
    int row = 3;
    for (int index : {554, 555, 557, 556})
        grid->addWidget(new QLabel(ctx.text(index), this), row++, 1, 1, 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(ctx.text(59));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    grid->addWidget(buttons, row, 0, 1, 3);
    grid->setHorizontalSpacing(8);
    applyLanguageFont(this, ctx.font());
    fitTitle(this);
}

} // namespace vrl::gui
