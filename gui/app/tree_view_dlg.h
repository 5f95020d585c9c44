// The tree view: a modeless window listing the function windows of the current
// model under the model label; choosing an entry runs its command.
#pragma once

#include "app/function_list.h"

#include <QDialog>

#include <vector>

class QTreeWidget;
class QTreeWidgetItem;
class QPushButton;

namespace vrl::gui {

class AppContext;

class CTreeViewDlg : public QDialog {
    Q_OBJECT
  public:
    CTreeViewDlg(AppContext& ctx, QWidget* parent);
    // Refills the tree from a function-window list (root: the model label).
    void rebuild(const std::vector<FunctionEntry>& entries);
    QTreeWidget* tree() const { return tree_; }

  signals:
    void commandChosen(int command);

  private:
    void choose(QTreeWidgetItem* item);
    void fitToTexts();

    AppContext& ctx_;
    QTreeWidget* tree_;
    QPushButton* close_;
    QPushButton* help_;
};

} // namespace vrl::gui
