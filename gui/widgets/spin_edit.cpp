#include "widgets/spin_edit.h"

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
}

void SpinEdit::stepBy(int steps) {
    if (steps != 0) emit stepped(steps);
}

} // namespace vrl::gui
