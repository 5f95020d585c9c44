// CToneCombo: the editable drop-down of every ST/CST tone field. The list holds the
// off text first and then the 205 tones of toneList(); any other tone can be typed.
// The edit field is a CToneEdit: at most 5 characters, digits, '.', ',', and the
// letters D, I, N (d, i, n are typed as capitals).
//
// The caller shows a stored code with setTone() (FormatTone) and, when the editing
// ends, stores the text with ParseTone and shows the stored code again; tone()
// does both conversions for callers that keep no code of their own.
#pragma once

#include "model/tone_code.h"
#include "widgets/filtered_edit.h"

#include <QComboBox>
#include <QValidator>

#include <functional>

namespace vrl::gui {

// Filters what is typed into an edit like its CharFilter and keeps it within a
// length, but leaves one text alone: the off text the field shows for "no value"
// (language text 65 or 69), whose letters the filter would otherwise strip when the
// field is loaded.
class OffTextValidator : public QValidator {
    Q_OBJECT
  public:
    OffTextValidator(const CharFilter& filter, int limit, std::function<QString()> offText,
                     QObject* parent);
    State validate(QString& input, int& pos) const override;

  private:
    CharFilter filter_;
    int limit_;
    std::function<QString()> offText_;
};

// Puts an OffTextValidator on a FilteredEdit in place of its own validator.
void keepOffText(FilteredEdit* edit, std::function<QString()> offText);

class CToneEdit : public FilteredEdit {
    Q_OBJECT
  public:
    static constexpr int kMaxLength = 5;
    explicit CToneEdit(QWidget* parent = nullptr);
    // The characters the edit takes, from the core's tone character filter.
    static CharFilter toneFilter();
};

class CToneCombo : public QComboBox {
    Q_OBJECT
  public:
    // `offText` is language text 65, the first item and the text of an off code.
    explicit CToneCombo(const QString& offText, QWidget* parent = nullptr);

    CToneEdit* toneEdit() const { return edit_; }
    const QString& offText() const { return offText_; }
    // Refills the list with a new off text (after a language change).
    void setOffText(const QString& offText);

    // Shows a stored code as its text.
    void setTone(ToneCode code);
    // The code the current text stands for (the text normalized first).
    ToneCode tone() const;
    // The current text brought into normal form, as it shows once stored.
    QString normalizedText() const;

  private:
    void fillList();

    CToneEdit* edit_;
    QString offText_;
};

} // namespace vrl::gui
