// SpinEdit: an edit with up/down buttons whose steps are reported, not applied.
// The field's accessor decides what a step means (wrap-around, special values),
// so the widget keeps no value of its own: stepped(delta) asks the owner to step,
// and the owner puts the new text back with setText().
#pragma once

#include "widgets/filtered_edit.h"

#include <QAbstractSpinBox>

namespace vrl::gui {

class SpinEdit : public QAbstractSpinBox {
    Q_OBJECT
  public:
    explicit SpinEdit(QWidget* parent = nullptr);
    SpinEdit(const CharFilter& filter, int maxLength, QWidget* parent = nullptr);

    FilteredEdit* edit() const { return edit_; }
    QString text() const { return edit_->text(); }
    void setText(const QString& text);
    // Typed into since the last setText().
    bool isModified() const { return edited_; }

    void stepBy(int steps) override;
    // Wide enough for the longest value and the up/down buttons (the base has no
    // value range to measure).
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  signals:
    void stepped(int delta);

  protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }

  private:
    FilteredEdit* edit_;
    bool edited_ = false;
};

} // namespace vrl::gui
