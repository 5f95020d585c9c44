#include "app/ui_helpers.h"

#include "widgets/form_view.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLayout>
#include <QPointer>
#include <QSpacerItem>
#include <QVariant>
#include <QWidget>

#include <algorithm>

namespace vrl::gui {

WaitCursor::WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
WaitCursor::~WaitCursor() { QApplication::restoreOverrideCursor(); }

void fitTitle(QWidget* dialog) {
    // The title bar's font is the window manager's; the application's font, with a
    // quarter more for a larger or bold bar font, stands in for it. The bar's icon and
    // buttons take about 120 pixels.
    // The width joins the layout's own minimum (a minimum width set on the dialog would
    // override what the layout needs, and a fixed-size layout would ignore a resize).
    const QFontMetrics metrics(QApplication::font());
    const int title = metrics.horizontalAdvance(dialog->windowTitle()) * 5 / 4 + 120;
    QLayout* layout = dialog->layout();
    if (!layout) {
        dialog->resize(std::max(dialog->width(), title), dialog->height());
        return;
    }
    // One empty spacer per dialog, as wide as the title (an empty item adds no spacing);
    // a later call, after the title changed language, resizes the same spacer.
    const QMargins margins = layout->contentsMargins();
    const int inner = title - margins.left() - margins.right();
    const char* const kKey = "vrlTitleSpacer";
    if (auto* spacer = static_cast<QSpacerItem*>(dialog->property(kKey).value<void*>())) {
        spacer->changeSize(inner, 0, QSizePolicy::Minimum, QSizePolicy::Fixed);
        layout->invalidate();
        return;
    }
    auto* spacer = new QSpacerItem(inner, 0, QSizePolicy::Minimum, QSizePolicy::Fixed);
    layout->addItem(spacer);
    dialog->setProperty(kKey, QVariant::fromValue<void*>(spacer));
}

void applyLanguageFont(QWidget* root, const QFont& font) {
    if (!root) return;
    root->setFont(font);
    for (QWidget* child : root->findChildren<QWidget*>()) child->setFont(font);
}

QWidget* firstFocusableControl(QWidget* window) {
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain()) {
        if (!window->isAncestorOf(w)) continue;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(window) &&
            !w->focusProxy())
            return w;
    }
    return nullptr;
}

void focusInitialControl(QWidget* window) {
    QWidget* target = nullptr;
    if (auto* form = qobject_cast<CFormView*>(window)) target = form->initialFocusControl();
    if (!target) target = firstFocusableControl(window);
    (target ? target : window)->setFocus(Qt::OtherFocusReason);
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
