// The main frame's function windows: at most one per function, closed together,
// refreshed together.
#include "app/main_frame.h"

#include "app/app_context.h"
#include "app/commands.h"
#include "app/registries.h"
#include "app/ui_helpers.h"

#include <QAction>
#include <QEvent>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QShortcut>

#include <algorithm>

namespace vrl::gui {

namespace {

const QKeySequence kCloseChildKey(Qt::CTRL | Qt::Key_F4);

// A view that closes itself (Esc, its Close button) takes its frame with it: after the
// view's close event, the frame closes when the view is gone or hidden.
class FrameFollowsView : public QObject {
  public:
    FrameFollowsView(QWidget* view, QMdiSubWindow* sub) : QObject(view), view_(view), sub_(sub) {
        view->installEventFilter(this);
        // A view deleted outright leaves an empty frame; close it once control is back
        // in the event loop (never while the frame itself is being destroyed).
        connect(view, &QObject::destroyed, sub, [sub] {
            QMetaObject::invokeMethod(sub, [sub] { sub->close(); }, Qt::QueuedConnection);
        });
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == view_ && event->type() == QEvent::Close) {
            QPointer<QWidget> view = view_;
            QPointer<QMdiSubWindow> sub = sub_;
            QMetaObject::invokeMethod(
                sub_,
                [view, sub] {
                    if (sub && (!view || view->isHidden())) sub->close();
                },
                Qt::QueuedConnection);
        }
        return false;
    }

  private:
    QPointer<QWidget> view_;
    QPointer<QMdiSubWindow> sub_;
};

} // namespace

void CMainFrame::tile(Qt::Orientation orientation) {
    const auto list = mdi_->subWindowList();
    if (list.isEmpty()) return;
    const QRect area = mdi_->viewport()->rect();
    const int n = static_cast<int>(list.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* w = list[i];
        w->showNormal();
        if (orientation == Qt::Horizontal) {
            const int h = area.height() / n;
            w->setGeometry(0, i * h, area.width(), h);
        } else {
            const int wd = area.width() / n;
            w->setGeometry(i * wd, 0, wd, area.height());
        }
    }
}

void CMainFrame::releaseMenuShortcuts(QMdiSubWindow* sub) const {
    // The child frame's own menu closes it with Ctrl+W on some systems, which is the
    // menu's Write Data to Radio: two owners make the key do nothing at all. The
    // frame's menu keeps it; the child frame still closes with its other keys.
    QList<QKeySequence> taken{kCloseChildKey};
    for (const auto& [command, a] : actions_)
        taken += a->shortcuts();
    if (!sub->systemMenu()) return;
    for (QAction* a : sub->systemMenu()->actions()) {
        QList<QKeySequence> keys = a->shortcuts();
        keys.removeIf([&taken](const QKeySequence& k) { return taken.contains(k); });
        if (keys != a->shortcuts()) a->setShortcuts(keys);
    }
}

QWidget* CMainFrame::functionWindow(int command) const {
    auto it = windows_.find(command);
    return it == windows_.end() ? nullptr : it->second->widget();
}

void CMainFrame::openFunctionWindow(int command) {
    // The keyboard goes to the window the user asked for, also from the tree view.
    if (!isActiveWindow()) activateWindow();
    if (auto it = windows_.find(command); it != windows_.end()) {
        mdi_->setActiveSubWindow(it->second);
        // Back to the control that had the focus, or to the first one.
        QWidget* view = it->second->widget();
        QWidget* last = view->focusWidget();
        if (last && last != view && view->isAncestorOf(last) && last->isEnabled() && last->isVisible())
            last->setFocus(Qt::OtherFocusReason);
        else
            focusInitialControl(view);
        return;
    }
    const WindowFactory* factory = FunctionWindowRegistry::instance().find(command);
    if (!factory) return;
    if (command == cmd::kTrunking) {
        const auto answer = ctx_.messages().ask({ctx_.text(14), ctx_.text(82),
                                                 MessageService::Icon::Warning,
                                                 MessageService::Buttons::OkCancel, true});
        if (answer != QMessageBox::Ok) return;
    }
    QWidget* view = factory->create(ctx_, nullptr);
    if (!view) return;
    applyLanguageFont(view, ctx_.font());
    QMdiSubWindow* sub = mdi_->addSubWindow(view);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    releaseMenuShortcuts(sub);
    sub->setWindowIcon(windowIcon());
    windows_[command] = sub;
    // The window is gone with its view: a frame left empty until its queued close is
    // no longer one to activate, refresh or close.
    connect(sub, &QObject::destroyed, this,
            [this, command, sub] { functionWindowDestroyed(command, sub); });
    connect(view, &QObject::destroyed, this,
            [this, command, sub] { functionWindowDestroyed(command, sub); });
    new FrameFollowsView(view, sub);
    // Ctrl+F4 closes the child window like Esc: the view stores a pending edit first.
    auto* closeKey = new QShortcut(kCloseChildKey, sub, sub, &QWidget::close);
    closeKey->setContext(Qt::WidgetWithChildrenShortcut);
    // Open at the view's preferred size, as far as the frame has room for it, and
    // never below the size at which every label and value shows whole (the area
    // scrolls instead). Measured once shown: only then are styles and fonts final.
    const QSize area = mdi_->viewport()->size();
    auto fit = [sub, area] {
        sub->resize(sub->sizeHint().boundedTo(area).expandedTo(sub->minimumSizeHint()));
    };
    fit();
    sub->show();
    if (view->layout()) view->layout()->activate();
    fit();
    // Placed for the size it had before it was shown: moved back into the area.
    const QRect g = sub->geometry();
    sub->move(std::min(g.x(), std::max(0, area.width() - g.width())),
              std::min(g.y(), std::max(0, area.height() - g.height())));
    // The channel information window opens at the top-left corner, also when other
    // windows are open.
    if (command == cmd::kChannelInformation) sub->move(0, 0);
    mdi_->setActiveSubWindow(sub);
    focusInitialControl(view);
    rebuildMenus();
}

void CMainFrame::openDefaultWindow() { openFunctionWindow(cmd::kChannelInformation); }

void CMainFrame::functionWindowDestroyed(int command, const QMdiSubWindow* sub) {
    // Only the window's own frame: a new window of the command may be open already.
    const auto it = windows_.find(command);
    if (it == windows_.end() || it->second != sub) return;
    windows_.erase(it);
    rebuildMenus();
}

void CMainFrame::closeAllFunctionWindows() {
    // Closed one by one from the active window, so that each can commit its edit.
    while (!windows_.empty()) {
        QMdiSubWindow* sub = mdi_->activeSubWindow();
        // The active frame may be one whose view is gone, waiting for its close.
        const bool registered = std::any_of(windows_.begin(), windows_.end(),
                                            [sub](const auto& w) { return w.second == sub; });
        if (!registered) sub = windows_.begin()->second;
        const int before = functionWindowCount();
        sub->widget()->setFocus();
        sub->close();
        delete sub; // closing is immediate; the destroyed handler unregisters it
        if (functionWindowCount() >= before) break;
    }
    if (treeView_) treeView_->close();
    rebuildMenus();
}

void CMainFrame::refreshAllWindows() {
    for (auto& [command, sub] : windows_) {
        const WindowFactory* f = FunctionWindowRegistry::instance().find(command);
        if (f && f->refresh) f->refresh(sub->widget());
    }
    if (treeView_) treeView_->rebuild(functionList_);
}

} // namespace vrl::gui
