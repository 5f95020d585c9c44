#include "widgets/tab_page_list.h"

#include <QKeyEvent>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>

namespace vrl::gui {

TabPageList::TabPageList(QTabWidget* tabs) : QObject(tabs), tabs_(tabs) {
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int page) {
        // The tab control takes the focus when the page changes, as the tab bar
        // would after a click, so that the keyboard stays on the pages.
        if (tabs_->isVisible()) tabs_->tabBar()->setFocus(Qt::TabFocusReason);
        emit pageChanged(page);
    });
}

int TabPageList::addPage(QWidget* page, int captionTextIndex) {
    captions_.append(captionTextIndex);
    return tabs_->addTab(page, QString());
}

int TabPageList::pageCount() const { return tabs_->count(); }
int TabPageList::current() const { return tabs_->currentIndex(); }

void TabPageList::select(int page) {
    if (page >= 0 && page < pageCount()) tabs_->setCurrentIndex(page);
}

void TabPageList::next() {
    if (pageCount() > 0) select((current() + 1) % pageCount());
}

void TabPageList::previous() {
    if (pageCount() > 0) select((current() + pageCount() - 1) % pageCount());
}

void TabPageList::installKeys(QWidget* window) {
    auto add = [this, window](QList<QKeySequence> keys, void (TabPageList::*step)()) {
        auto* shortcut = new QShortcut(window);
        shortcut->setKeys(keys);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, step);
    };
    add({QKeySequence(Qt::CTRL | Qt::Key_Tab), QKeySequence(Qt::CTRL | Qt::Key_PageDown)},
        &TabPageList::next);
    add({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab),
         QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), QKeySequence(Qt::CTRL | Qt::Key_Backtab),
         QKeySequence(Qt::CTRL | Qt::Key_PageUp)},
        &TabPageList::previous);
}

bool TabPageList::handleKey(const QKeyEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) return false;
    if (event->key() == Qt::Key_PageDown) {
        next();
        return true;
    }
    if (event->key() == Qt::Key_PageUp) {
        previous();
        return true;
    }
    if (event->key() == Qt::Key_Backtab ||
        (event->key() == Qt::Key_Tab && (event->modifiers() & Qt::ShiftModifier))) {
        previous();
        return true;
    }
    if (event->key() == Qt::Key_Tab) {
        next();
        return true;
    }
    return false;
}

} // namespace vrl::gui
