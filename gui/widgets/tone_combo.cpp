#include "widgets/tone_combo.h"

namespace vrl::gui {

OffTextValidator::OffTextValidator(const CharFilter& filter, int limit,
                                   std::function<QString()> offText, QObject* parent)
    : QValidator(parent), filter_(filter), limit_(limit), offText_(std::move(offText)) {}

QValidator::State OffTextValidator::validate(QString& input, int& pos) const {
    if (offText_ && input == offText_()) return Acceptable;
    input = filter_.applyLimited(input, &pos, limit_);
    return Acceptable;
}

void keepOffText(FilteredEdit* edit, std::function<QString()> offText) {
    const QValidator* old = edit->validator();
    edit->setValidator(new OffTextValidator(edit->filter(), edit->maxLength(), std::move(offText), edit));
    if (old && old->parent() == edit) delete old;
}

CToneEdit::CToneEdit(QWidget* parent) : FilteredEdit(toneFilter(), kMaxLength, parent) {}

CharFilter CToneEdit::toneFilter() {
    QString allowed;
    for (int c = 0x20; c < 0x7F; ++c)
        if (filterToneChar(static_cast<char>(c)) != 0) allowed.append(QChar(c));
    // filterToneChar maps exactly the lower-case letters it takes to capitals.
    return CharFilter::list(allowed, true);
}

CToneCombo::CToneCombo(const QString& offText, QWidget* parent)
    : QComboBox(parent), edit_(new CToneEdit(this)), offText_(offText) {
    setEditable(true);
    setLineEdit(edit_);
    // A typed tone is stored by the caller, never added to the list.
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMaxVisibleItems(16);
    keepOffText(edit_, [this] { return offText_; });
    fillList();
}

void CToneCombo::fillList() {
    const QString text = currentText();
    clear();
    addItem(offText_);
    for (const std::string& tone : toneList()) addItem(QString::fromStdString(tone));
    setEditText(text);
}

void CToneCombo::setOffText(const QString& offText) {
    if (offText == offText_) return;
    offText_ = offText;
    fillList();
}

void CToneCombo::setTone(ToneCode code) {
    const QString text = QString::fromStdString(FormatTone(code, offText_.toStdString()));
    const int index = findText(text);
    setCurrentIndex(index);
    setEditText(text);
}

ToneCode CToneCombo::tone() const {
    std::string text = currentText().toStdString();
    for (char& c : text)
        if (c == ',') c = '.';
    return ParseTone(text, offText_.toStdString());
}

QString CToneCombo::normalizedText() const {
    return QString::fromStdString(FormatTone(tone(), offText_.toStdString()));
}

} // namespace vrl::gui
