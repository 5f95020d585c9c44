// FilteredEdit: a line edit that takes only the characters of its CharFilter.
// Refused characters are dropped as they are typed, pasted or dropped in; letters
// are upper-cased where the filter says so; backspace and the editing keys always
// work.
#pragma once

#include "widgets/char_filter.h"

#include <QLineEdit>

namespace vrl::gui {

class FilteredEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit FilteredEdit(QWidget* parent = nullptr);
    FilteredEdit(const CharFilter& filter, int maxLength, QWidget* parent = nullptr);

    void setFilter(const CharFilter& filter);
    const CharFilter& filter() const { return filter_; }
    // The most characters the edit holds, counted after filtering (so a paste with
    // refused characters keeps all its good ones). Hides QLineEdit::setMaxLength.
    void setMaxLength(int length);
    int maxLength() const { return limit_; }
    // Shows `text` whole, without the filter and the length limit: a word a field
    // shows for a special value ("Off", "None") is not typed but must be seen.
    void setShownText(const QString& text);
    // True when typing `text` would enter at least one character.
    bool accepts(const QString& text) const;

    // The width that shows its longest value whole: `limit` characters, or the text
    // it shows when that is longer (a word for a special value).
    int valueWidth() const;
    // A short edit (a limit of a few characters) is never laid out narrower than
    // its value.
    QSize minimumSizeHint() const override;

  private:
    static constexpr int kShortLimit = 12; // longer edits take the width they get
    void updateValidator();

    CharFilter filter_;
    int limit_ = 0; // 0: no limit
};

} // namespace vrl::gui
