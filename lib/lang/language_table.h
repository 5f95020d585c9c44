// The language table: every text the user sees, looked up by its row number (the text
// index) in the current language, loaded from the language file "vrl73m.lng".
//
// File format (read byte by byte, in the system's 8-bit character set or UTF-8):
//   - lines end with LF; a CR directly before an LF is dropped;
//   - fields are separated by commas; a double quote switches quoting on; inside quotes a
//     comma or LF belongs to the text and "" stands for one quote; a quote followed by any
//     other character ends the quoting and that character is read normally;
//   - the first line is a header; its number of commas L is the number of languages;
//   - every later line is one text row (row 0 is the line after the header) and must have
//     exactly L commas; its first field is a label the program ignores, field k + 2 (counting
//     from 1) is the text in language k;
//   - rows 0 and 1 hold each language's font face and pixel height;
//   - rows 564 … 563 + L hold the names of the L languages;
//   - in rows 84 … 158 (the menu texts) the two characters backslash, t stand for a tab;
//   - a byte 0xFF ends the file.
//
// Row count. N is the number of text rows, and the file must hold exactly 564 + L of them.
// In a file whose last row has no line feed, N equals the number of line breaks outside
// quotes, so the classic check "line breaks − L = 564" holds. A line feed that ends the
// data (right before the end or the 0xFF byte) closes the last row instead of opening an
// empty one, so the same file with a final line feed loads identically. Any other empty
// line is a row with no commas and makes the file damaged.
//
// The texts may need at most 50 bytes per cell on average (50 × L × N bytes in all,
// counting one terminating byte per text); a file that needs more is refused as damaged.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vrl {

inline constexpr const char* kLanguageFileName = "vrl73m.lng";
// Texts of the newer windows, looked up by a key instead of a row number. The file lies
// beside the language file; its columns are the same languages in the same order.
inline constexpr const char* kSupplementFileName = "vrl73m-extra.lng";

// Message boxes of a failed load: caption, and the two texts (with their double blanks).
inline constexpr const char* kLanguageMessageCaption = "VRL-73M";
inline constexpr const char* kLanguageNotFoundMessage =
    "Can't read language file.  Please install this software again.";
inline constexpr const char* kLanguageDamagedMessage =
    "Language file has been damaged.  Please install this software again.";

enum class LanguageLoadStatus { Ok, NotFound, Damaged };

class LanguageTable {
  public:
    static constexpr int kFontFaceRow = 0;
    static constexpr int kFontHeightRow = 1;
    static constexpr int kFirstTabRow = 84; // rows where "\t" becomes a tab
    static constexpr int kLastTabRow = 158;
    static constexpr int kFirstLanguageNameRow = 564; // also: N − L must equal this
    static constexpr std::size_t kBytesPerCell = 50;  // average text budget per cell

    struct FontSpec {
        std::string face;
        int pixelHeight = 0;
    };

    // Loads a file; NotFound when it cannot be opened or read, Damaged when its content
    // breaks a rule above. On failure the table keeps what it held before and
    // errorDetail() says why.
    LanguageLoadStatus loadFile(const std::string& path);
    LanguageLoadStatus loadBytes(std::string_view bytes);

    bool isLoaded() const { return languages_ > 0; }

    // The text of a row in the current language, or in `language`. An index below 0 or
    // at or beyond rowCount() (and a language out of range) yields "(null)".
    const std::string& text(int index) const;
    const std::string& text(int index, int language) const;

    int languageCount() const { return languages_; }
    int rowCount() const { return rows_; }

    // The current language. Out of range → 0 once a table is loaded. Before the first
    // load any non-negative index is kept and checked by the load: an index beyond the
    // file's last language becomes 0.
    int currentLanguage() const { return current_; }
    void setCurrentLanguage(int language);

    // The names of all L languages (rows 564 …), written in the current language.
    std::vector<std::string> languageNames() const;

    // The font of a language (face from row 0, height from row 1); an empty spec with
    // height 0 for a language out of range.
    FontSpec font(int language) const;
    FontSpec currentFont() const { return font(current_); }

    // Why the last load failed, precise enough for a translator to find the fault
    // ("line 123 (row 121, label "T0121") has 3 commas, the header has 2"). Empty after a
    // successful load.
    const std::string& errorDetail() const { return errorDetail_; }

    static const std::string& nullText();

    // The supplement: texts by key ("fleet.title"). Same quoting rules as the language
    // file; the header names the languages; every later row is KEY,TEXT0,TEXT1,...;
    // empty lines and lines starting with '#' are skipped. A missing text falls back to
    // the first language, a missing key to the key itself, so a window never shows an
    // empty label. Loading fails (Damaged, errorDetail() says where) on a row with more
    // fields than the header or a key given twice; the table keeps what it held.
    LanguageLoadStatus loadSupplementFile(const std::string& path);
    LanguageLoadStatus loadSupplementBytes(std::string_view bytes);
    const std::string& text(std::string_view key) const;
    const std::string& text(std::string_view key, int language) const;
    std::size_t supplementSize() const { return supplement_.size(); }

    // A text shown in language `from` as language `to` shows it: the row or key whose
    // text in `from` equals it, or equals its menu form (without '&' and without the
    // key after a tab). `text` itself when no row matches.
    std::string translate(std::string_view text, int from, int to) const;

  private:
    LanguageLoadStatus fail(LanguageLoadStatus status, std::string detail);

    int languages_ = 0;
    int rows_ = 0;
    int current_ = 0;
    std::vector<std::string> cells_; // entry (row, language) at language × rows_ + row
    std::vector<FontSpec> fonts_;
    std::map<std::string, std::vector<std::string>, std::less<>> supplement_;
    std::string errorDetail_;
};

// Full paths to try for the language file, in order: the executable's folder, the current
// folder, the installed data folder, then every entry of the PATH variable (separated by
// ':' on POSIX systems, ';' on Windows). Empty folders are skipped, repeated paths listed
// once.
std::vector<std::string> languageFileCandidates(const std::string& exeDir, const std::string& cwd,
                                                const std::string& dataDir,
                                                const std::string& pathEnv);

// The first candidate that names an existing regular file.
std::optional<std::string> findLanguageFile(const std::string& exeDir, const std::string& cwd,
                                            const std::string& dataDir, const std::string& pathEnv);

} // namespace vrl
