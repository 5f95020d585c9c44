// CMainFrame: the program's multiple-document window. It owns the menu bar, tool
// bar and status bar, routes every command, builds the title from the current
// model and file, hosts the function windows (at most one per function) and guards
// the exit.
#pragma once

#include "app/frame_host.h"
#include "app/function_list.h"
#include "app/tree_view_dlg.h"

#include <QMainWindow>
#include <QPointer>

#include <map>
#include <memory>
#include <vector>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QToolBar;

namespace vrl::gui {

class AppContext;
class AppSettings;
class FileCommands;

class CMainFrame : public QMainWindow, public FrameHost {
    Q_OBJECT
  public:
    // `settings` receives "LastWinPos" when the window closes (may be null).
    CMainFrame(AppContext& ctx, AppSettings* settings, QWidget* parent = nullptr);
    ~CMainFrame() override;

    // FrameHost
    AppContext& context() override { return ctx_; }
    QWidget* mainWindow() override { return this; }
    void openFunctionWindow(int command) override;
    void openDefaultWindow() override;
    void closeAllFunctionWindows() override;
    void refreshAllWindows() override;
    void modelIdentityChanged() override;
    void rebuildTitle() override;
    bool promptToSaveChanges() override;
    void setBusy(bool busy) override { busy_ = busy; }
    bool isBusy() const { return busy_; }

    void runCommand(int command) override;
    // True when the command does something now (built in, registered, or a window).
    bool commandAvailable(int command) const;

    // Re-reads every menu text and rebuilds the Edit and Program popups.
    void rebuildMenus();
    // The tool bar's icons (blank until then; the start sets them after the first paint).
    void loadToolBarIcons();

    QAction* action(int command) const;
    QMdiArea* mdiArea() const { return mdi_; }
    QWidget* functionWindow(int command) const override;
    int functionWindowCount() const { return static_cast<int>(windows_.size()); }
    const std::vector<FunctionEntry>& functionList() const { return functionList_; }
    CTreeViewDlg* treeView() const { return treeView_; }
    QString statusText(int pane) const;
    FileCommands& fileCommands() { return *files_; }
    // Where the window is now, in the "LastWinPos" form.
    QString placementText() const;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    std::vector<FunctionEntry> offeredFunctionWindows() const;
    void createActions();
    void createToolBar();
    void createStatusBar();
    void updateStatusBar();
    void updateModifiedMark();
    void updateEnabledStates();
    // Edit > Undo / Redo: the menu texts with the step's label, enabled states.
    void updateUndoActions();
    void stepHistory(bool undo);
    void showTreeView();
    void showAbout();
    void showLanguageSetup();
    void showHelp();
    void tile(Qt::Orientation orientation);
    void functionWindowDestroyed(int command, const QMdiSubWindow* sub);
    void releaseMenuShortcuts(QMdiSubWindow* sub) const;
    QMenu* addPopup(int textIndex);
    void addItem(QMenu* menu, int command, int textIndex);

    AppContext& ctx_;
    AppSettings* settings_;
    std::unique_ptr<FileCommands> files_;
    QMdiArea* mdi_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    std::map<int, QAction*> actions_;
    std::map<int, QMdiSubWindow*> windows_;
    std::vector<FunctionEntry> functionList_;
    QPointer<CTreeViewDlg> treeView_;
    QLabel* panes_[3] = {nullptr, nullptr, nullptr};
    QTimer* clock_ = nullptr;
    QString baseTitle_;
    bool busy_ = false;
};

} // namespace vrl::gui
