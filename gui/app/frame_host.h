// What the main frame offers to commands that live outside it (the radio-link
// commands, the memory map, the print-out): the window operations they need after
// changing the image.
#pragma once

class QWidget;

namespace vrl::gui {

class AppContext;

class FrameHost {
  public:
    virtual ~FrameHost() = default;
    virtual AppContext& context() = 0;
    // The main window, parent of the dialogs a command opens.
    virtual QWidget* mainWindow() = 0;
    virtual void openFunctionWindow(int command) = 0;
    // The open function window of a command, or null.
    virtual QWidget* functionWindow(int command) const = 0;
    // Runs a command as if chosen from the menu.
    virtual void runCommand(int command) = 0;
    virtual void openDefaultWindow() = 0;
    virtual void closeAllFunctionWindows() = 0;
    // Every open function window and the tree view reload from the image.
    virtual void refreshAllWindows() = 0;
    // After a change of the model identity: flags, menus, tree view and title.
    virtual void modelIdentityChanged() = 0;
    virtual void rebuildTitle() = 0;
    // The modified-data prompt: false when the user cancelled.
    virtual bool promptToSaveChanges() = 0;
    // While busy, closing the main window is refused (trunking alignment mode).
    virtual void setBusy(bool busy) = 0;
};

} // namespace vrl::gui
