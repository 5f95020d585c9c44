#include "widgets/filtered_edit.h"

#include <QStyle>

#include <algorithm>

#include <QValidator>

namespace vrl::gui {

namespace {

// Filtering as a validator covers every way text gets in: typing, paste, drag and
// drop and undo. The validator rewrites the text instead of refusing it, so a
// paste keeps its good characters; the length limit is applied afterwards by
// dropping the characters just before the cursor (the ones last inserted).
class FilterValidator : public QValidator {
  public:
    FilterValidator(const CharFilter& filter, int limit, QObject* parent)
        : QValidator(parent), filter_(filter), limit_(limit) {}
    State validate(QString& input, int& pos) const override {
        input = filter_.applyLimited(input, &pos, limit_);
        return Acceptable;
    }

  private:
    CharFilter filter_;
    int limit_;
};

} // namespace

FilteredEdit::FilteredEdit(QWidget* parent) : QLineEdit(parent) {}

FilteredEdit::FilteredEdit(const CharFilter& filter, int maxLength, QWidget* parent)
    : QLineEdit(parent), filter_(filter), limit_(maxLength) {
    updateValidator();
}

void FilteredEdit::setFilter(const CharFilter& filter) {
    filter_ = filter;
    updateValidator();
}

void FilteredEdit::setMaxLength(int length) {
    limit_ = length > 0 ? length : 0;
    updateValidator();
}

void FilteredEdit::updateValidator() {
    const QValidator* old = validator();
    setValidator(new FilterValidator(filter_, limit_, this));
    if (old && old->parent() == this) delete old;
}

void FilteredEdit::setShownText(const QString& text) {
    // The validator would filter the text as if it were typed; take it away while
    // the text is put in.
    const QValidator* filter = validator();
    setValidator(nullptr);
    setText(text);
    setValidator(filter);
}

bool FilteredEdit::accepts(const QString& text) const {
    for (QChar c : text)
        if (c.isPrint() && !filter_.map(c).isNull()) return true;
    return false;
}

int FilteredEdit::valueWidth() const {
    const QFontMetrics fm(font());
    // Digits are all as wide as "0"; other characters may be as wide as "W".
    const bool digitsOnly = filter_.map(QChar('W')).isNull() && filter_.map(QChar('w')).isNull();
    const int chars = limit_ > 0 ? fm.horizontalAdvance(QString(limit_, digitsOnly ? QChar('0') : QChar('W'))) : 0;
    return std::max(chars, fm.horizontalAdvance(text())) + fm.averageCharWidth();
}

QSize FilteredEdit::minimumSizeHint() const {
    QSize size = QLineEdit::minimumSizeHint();
    if (limit_ <= 0 || limit_ > kShortLimit) return size;
    const QMargins m = textMargins();
    const int frame = hasFrame() ? 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) : 0;
    size.setWidth(std::max(size.width(), valueWidth() + m.left() + m.right() + frame + 4));
    return size;
}

} // namespace vrl::gui
