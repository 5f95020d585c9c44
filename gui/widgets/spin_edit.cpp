#include "widgets/spin_edit.h"

#include <QStyle>
#include <QStyleOptionSpinBox>

#include <algorithm>

namespace vrl::gui {

SpinEdit::SpinEdit(QWidget* parent) : SpinEdit(CharFilter(), 0, parent) {}

SpinEdit::SpinEdit(const CharFilter& filter, int maxLength, QWidget* parent)
    : QAbstractSpinBox(parent), edit_(new FilteredEdit(filter, maxLength, this)) {
    setLineEdit(edit_);
    setKeyboardTracking(false);
    setAccelerated(false);
    connect(edit_, &QLineEdit::textEdited, this, [this] { edited_ = true; });
}

void SpinEdit::setText(const QString& text) {
    edit_->setShownText(text);
    edited_ = false;
    updateGeometry(); // a longer word ("Off") may need more room
}

QSize SpinEdit::sizeHint() const {
    QSize size = QAbstractSpinBox::sizeHint();
    QStyleOptionSpinBox opt;
    initStyleOption(&opt);
    const QSize text(edit_->valueWidth() + 4, edit_->sizeHint().height());
    const QSize needed = style()->sizeFromContents(QStyle::CT_SpinBox, &opt, text, this);
    size.setWidth(std::max(size.width(), needed.width()));
    return size;
}

QSize SpinEdit::minimumSizeHint() const {
    QSize size = QAbstractSpinBox::minimumSizeHint();
    size.setWidth(std::max(size.width(), sizeHint().width()));
    return size;
}

void SpinEdit::stepBy(int steps) {
    if (steps != 0) emit stepped(steps);
}

} // namespace vrl::gui
