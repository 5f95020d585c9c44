// CChannelInfoView: the channel information window. The channel grid of one group
// with in-place editors, the title with group and channel, the free channel memory,
// the group-name line and the buttons that move between groups.
#pragma once

#include "channels/channel_store.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace vrl::gui {

class AppContext;
class CChannelGrid;
class GridCellEditing;
class ChannelServices;

class CChannelInfoView : public QWidget {
    Q_OBJECT
  public:
    CChannelInfoView(AppContext& ctx, QWidget* parent = nullptr);
    // The open channel information window of a context, if any (the channel edit
    // window follows and steers its grid).
    static CChannelInfoView* openIn(const AppContext& ctx);

    CChannelGrid* grid() const { return grid_; }
    // Current group and channel, 0-based.
    int group() const { return group_; }
    int channel() const { return channel_; }

    // Rebuilds the grid for group g and selects channel c (clamped).
    void showGroup(int g, int c);
    // The channel edit window's choice of a cell.
    void selectCell(int g, int c);
    void nextGroup(int delta);
    void refresh();

    // Row operations of the grid (also reached from the pop-up menu).
    bool copyRows();
    bool pasteRows();
    void deleteRows();
    void insertChannel();
    void removeChannel();
    // True while whole rows are selected in a group with several channel numbers.
    bool inSelectionMode() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildEditors();
    QString commitCell(int row, int column, const QString& text);
    bool mayEdit(int row, int column, bool showError);
    bool viewKey(QKeyEvent* key);
    void currentCellChanged();
    void updateTitle();
    void updateStatus();
    void updateGroupName();
    void updateButtons();
    void afterRowChange();
    void showStoreResult(StoreResult r);
    std::pair<int, int> selectedRows() const;
    void showMenu(const QPoint& at);
    void openWindow(int command);

    AppContext& ctx_;
    ChannelServices& services_;
    ChannelStore& store_;
    CChannelGrid* grid_;
    GridCellEditing* editing_ = nullptr;
    QLineEdit* status_;
    QLabel* groupCaption_;
    QLabel* groupName_;
    QPushButton* grpUp_;
    QPushButton* grpDn_;
    QPushButton* chEdit_;
    QPushButton* grpEdit_;
    QPushButton* close_;
    QPushButton* help_;
    QMenu* menu_;
    QAction* pasteAction_ = nullptr;
    int group_ = 0;
    int channel_ = 0;
};

} // namespace vrl::gui
