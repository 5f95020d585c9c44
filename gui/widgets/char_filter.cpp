#include "widgets/char_filter.h"

#include <algorithm>

namespace vrl::gui {

CharFilter CharFilter::digits() { return {Mode::Digits, QStringLiteral("0123456789"), false}; }
CharFilter CharFilter::frequency() {
    return {Mode::Frequency, QString::fromLatin1(kFrequencyCharacters), false};
}
CharFilter CharFilter::dtmf() { return {Mode::Dtmf, QString::fromLatin1(kDtmfCharacters), true}; }
CharFilter CharFilter::display() {
    return {Mode::Display, QString::fromLatin1(kDisplayCharacters), true};
}
CharFilter CharFilter::list(const QString& allowed, bool upperCase) {
    return {Mode::List, allowed, upperCase};
}
CharFilter CharFilter::printableAscii() {
    QString all;
    for (char c = 0x20; c < 0x7F; ++c) all.append(QChar::fromLatin1(c));
    return {Mode::List, all, false};
}

QChar CharFilter::map(QChar c) const {
    if (mode_ == Mode::Any) return c;
    if (!allowed_.contains(c)) return {};
    return upperCase_ && c.unicode() < 0x80 ? c.toUpper() : c;
}

QString CharFilter::apply(const QString& text, int* cursor) const {
    QString out;
    out.reserve(text.size());
    int dropped = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar m = map(text.at(i));
        if (m.isNull()) {
            if (cursor && i < *cursor) ++dropped;
            continue;
        }
        out.append(m);
    }
    if (cursor) *cursor -= dropped;
    return out;
}

QString CharFilter::applyLimited(const QString& text, int* cursor, int limit) const {
    int pos = cursor ? *cursor : static_cast<int>(text.size());
    QString out = apply(text, &pos);
    if (limit > 0 && out.size() > limit) {
        const int excess = static_cast<int>(out.size()) - limit;
        const int from = pos >= excess ? pos - excess : static_cast<int>(out.size()) - excess;
        out.remove(from, excess);
        if (pos > from) pos = std::max(from, pos - excess);
    }
    if (cursor) *cursor = pos;
    return out;
}

} // namespace vrl::gui
