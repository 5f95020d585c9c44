// Which characters an edit control takes, and how it changes them as they are
// typed: digits; frequency characters; DTMF characters; the radio's display
// character set; or an explicit list.
#pragma once

#include <QChar>
#include <QString>

namespace vrl::gui {

// The characters of names and texts that the radio's display can show.
inline constexpr char kDisplayCharacters[] =
    "%+=()@_$#*-/0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz\\";
inline constexpr char kDtmfCharacters[] = "0123456789ABCDabcd#*";
inline constexpr char kFrequencyCharacters[] = "0123456789.,";
inline constexpr char kHexCharacters[] = "0123456789ABCDEFabcdef";

class CharFilter {
  public:
    enum class Mode { Any, Digits, Frequency, Dtmf, Display, List };

    CharFilter() = default; // takes everything
    static CharFilter digits();
    static CharFilter frequency();
    static CharFilter dtmf();    // a-d become A-D
    static CharFilter display(); // lower case becomes upper case
    // Exactly the characters of `allowed`; with `upperCase` letters are upper-cased
    // after the check.
    static CharFilter list(const QString& allowed, bool upperCase = false);
    // Printable ASCII (blank to tilde): for texts stored as single bytes.
    static CharFilter printableAscii();

    Mode mode() const { return mode_; }
    // The character as entered, or a null QChar when it is refused.
    QChar map(QChar c) const;
    // Drops refused characters and maps the rest; `cursor` (a position in `text`)
    // is moved back by the number of characters dropped before it.
    QString apply(const QString& text, int* cursor = nullptr) const;
    // The same, then cut to `limit` characters (0 = no limit): the characters just
    // typed, before the cursor, give way, so a paste keeps what fits.
    QString applyLimited(const QString& text, int* cursor, int limit) const;

  private:
    CharFilter(Mode mode, QString allowed, bool upperCase)
        : mode_(mode), allowed_(std::move(allowed)), upperCase_(upperCase) {}

    Mode mode_ = Mode::Any;
    QString allowed_;
    bool upperCase_ = false;
};

} // namespace vrl::gui
