#include "app/ui_helpers.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>

namespace vrl::gui {

WaitCursor::WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
WaitCursor::~WaitCursor() { QApplication::restoreOverrideCursor(); }

void fitTitle(QWidget* dialog) {
    // The title bar's font is the window manager's; the application's font, with a
    // quarter more for a larger or bold bar font, stands in for it. The bar's icon and
    // buttons take about 120 pixels.
    // The dialog opens at that width; a minimum width set here would override the
    // minimum its layout needs.
    const QFontMetrics metrics(QApplication::font());
    const int title = metrics.horizontalAdvance(dialog->windowTitle()) * 5 / 4 + 120;
    const QSize hint = dialog->sizeHint();
    dialog->resize(std::max(hint.width(), title), hint.height());
}

void applyLanguageFont(QWidget* root, const QFont& font) {
    if (!root) return;
    root->setFont(font);
    for (QWidget* child : root->findChildren<QWidget*>()) child->setFont(font);
}

EnterMovesFocus::EnterMovesFocus(QWidget* dialog) : QObject(dialog) {
    for (QWidget* child : dialog->findChildren<QWidget*>()) child->installEventFilter(this);
}

bool EnterMovesFocus::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    if (key->modifiers() & ~Qt::KeypadModifier) return false;
    if (qobject_cast<QAbstractButton*>(watched)) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || !widget->isVisible()) return false;
    QWidget* next = widget->nextInFocusChain();
    while (next && next != widget && (!next->isEnabled() || !next->isVisible() ||
                                      !(next->focusPolicy() & Qt::TabFocus)))
        next = next->nextInFocusChain();
    if (next && next != widget) next->setFocus(Qt::TabFocusReason);
    return true;
}

CommitFocus::CommitFocus() : focused_(QApplication::focusWidget()) {
    if (focused_) focused_->clearFocus();
}

CommitFocus::~CommitFocus() {
    if (focused_) focused_->setFocus();
}

} // namespace vrl::gui
