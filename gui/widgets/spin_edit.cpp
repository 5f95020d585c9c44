#include "widgets/spin_edit.h"

namespace vrl::gui {

SpinEdit::SpinEdit(QWidget* parent) : SpinEdit(CharFilter(), 0, parent) {}

SpinEdit::SpinEdit(const CharFilter& filter, int maxLength, QWidget* parent)
    : QAbstractSpinBox(parent), edit_(new FilteredEdit(filter, maxLength, this)) {
    setLineEdit(edit_);
    setKeyboardTracking(false);
    setAccelerated(false);
}

void SpinEdit::setText(const QString& text) {
    edit_->setText(text);
    edit_->setModified(false);
}

void SpinEdit::stepBy(int steps) {
    if (steps != 0) emit stepped(steps);
}

} // namespace vrl::gui
