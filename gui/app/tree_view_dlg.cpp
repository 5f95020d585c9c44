#include "app/tree_view_dlg.h"

#include "app/app_context.h"
#include "app/ui_helpers.h"
#include "widgets/help.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vrl::gui {

CTreeViewDlg::CTreeViewDlg(AppContext& ctx, QWidget* parent)
    : QDialog(parent), ctx_(ctx), tree_(new QTreeWidget(this)), close_(new QPushButton(this)),
      help_(new QPushButton(this)) {
    setObjectName(QStringLiteral("CTreeViewDlg"));
    setModal(false);
    tree_->setHeaderHidden(true);
    tree_->setIconSize(QSize(16, 16));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close_);
    buttons->addWidget(help_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_);
    layout->addLayout(buttons);
    // Help opens the window's help (0x20000 plus the dialog's number, 169).
    connect(help_, &QPushButton::clicked, this,
            [this] { help::open(help::kTopicBase + 169, this); });
    close_->setAutoDefault(false);
    help_->setAutoDefault(false);
    connect(close_, &QPushButton::clicked, this, &QDialog::close);
    // Enter or a double click on an entry runs it.
    connect(tree_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item, int) { choose(item); });
    resize(240, 320);
}

void CTreeViewDlg::rebuild(const std::vector<FunctionEntry>& entries) {
    setWindowTitle(ctx_.text(537));
    close_->setText(ctx_.text(61));
    help_->setText(ctx_.text(62));
    tree_->clear();
    auto* root = new QTreeWidgetItem(tree_);
    root->setText(0, QString::fromUtf8(std::string(ctx_.data().model.label()).c_str()));
    root->setIcon(0, style()->standardIcon(QStyle::SP_ComputerIcon));
    for (const FunctionEntry& e : entries) {
        if (e.isSeparator()) continue;
        auto* item = new QTreeWidgetItem(root);
        QString text = ctx_.text(e.textIndex);
        item->setText(0, text.left(text.indexOf('\t')).remove('&'));
        item->setData(0, Qt::UserRole, e.command);
        item->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
    }
    tree_->expandAll();
    tree_->setCurrentItem(root->childCount() > 0 ? root->child(0) : root);
    applyLanguageFont(this, ctx_.font());
    fitTitle(this);
    fitToTexts();
}

void CTreeViewDlg::fitToTexts() {
    // Wide enough for the longest entry in this language, scroll bar included.
    tree_->resizeColumnToContents(0);
    const int needed = tree_->columnWidth(0) + tree_->indentation() + 2 * tree_->frameWidth() +
                       style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 4;
    tree_->setMinimumWidth(needed);
    if (width() < minimumSizeHint().width()) resize(minimumSizeHint().width(), height());
}

void CTreeViewDlg::choose(QTreeWidgetItem* item) {
    const QVariant command = item ? item->data(0, Qt::UserRole) : QVariant();
    if (command.isValid()) emit commandChosen(command.toInt());
}

} // namespace vrl::gui
