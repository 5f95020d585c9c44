#include "lang/language_table.h"

#include "util/text_input.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <utility>

namespace vrl {

namespace {

enum class Token { Char, FieldEnd, LineEnd, End };

// Walks the file byte by byte and applies the quoting rules; both load passes read the
// file through it, so they cannot disagree about where fields and lines end.
class Scanner {
  public:
    explicit Scanner(std::string_view bytes) : bytes_(bytes) {}

    Token next(char& c) {
        for (;;) {
            if (pos_ >= bytes_.size() || static_cast<unsigned char>(bytes_[pos_]) == 0xFF) {
                return Token::End;
            }
            const char b = bytes_[pos_];
            if (b == '\r' && pos_ + 1 < bytes_.size() && bytes_[pos_ + 1] == '\n') {
                ++pos_; // CR before LF is dropped, inside quotes too
                continue;
            }
            if (quoted_) {
                if (b == '"') {
                    if (pos_ + 1 < bytes_.size() && bytes_[pos_ + 1] == '"') {
                        pos_ += 2;
                        c = '"';
                        return Token::Char;
                    }
                    quoted_ = false; // the next byte is read normally
                    ++pos_;
                    continue;
                }
                ++pos_;
                if (b == '\n') ++line_;
                c = b;
                return Token::Char;
            }
            ++pos_;
            switch (b) {
            case '"':
                quoted_ = true;
                quoteLine_ = line_;
                continue;
            case ',':
                return Token::FieldEnd;
            case '\n':
                ++line_;
                return Token::LineEnd;
            default:
                c = b;
                return Token::Char;
            }
        }
    }

    std::size_t pos() const { return pos_; }
    // 1-based line of the file, counting every line feed (quoted ones too), as an editor
    // shows it.
    std::size_t line() const { return line_; }
    bool inQuotes() const { return quoted_; }
    std::size_t quoteLine() const { return quoteLine_; }

  private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
    bool quoted_ = false;
    std::size_t quoteLine_ = 0;
};

constexpr std::size_t kMaxLabelInDetail = 32;

std::string describeRow(std::size_t fileLine, long row, const std::string& label) {
    std::string s = "line " + std::to_string(fileLine);
    if (row >= 0) {
        s += " (row " + std::to_string(row);
        if (!label.empty()) s += ", label \"" + label + "\"";
        s += ")";
    }
    return s;
}

std::string commaWord(std::size_t n) {
    return std::to_string(n) + (n == 1 ? " comma" : " commas");
}

// Backslash + t → tab; every other backslash pair stays as written.
std::string expandTabs(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text[i] == '\\' && i + 1 < text.size()) {
            if (text[i + 1] == 't') {
                out += '\t';
            } else {
                out += text[i];
                out += text[i + 1];
            }
            i += 2;
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::optional<int> parsePixelHeight(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return std::nullopt;
    std::size_t last = text.find_last_not_of(" \t");
    std::string_view digits(text.data() + first, last - first + 1);
    int value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (ec != std::errc() || end != digits.data() + digits.size() || value <= 0) {
        return std::nullopt;
    }
    return value;
}

#ifdef _WIN32
constexpr char kPathListSeparator = ';';
#else
constexpr char kPathListSeparator = ':';
#endif

std::string joinPath(const std::string& dir, const char* name) {
    if (dir.back() == '/' || dir.back() == '\\') return dir + name;
    return dir + '/' + name;
}

} // namespace

const std::string& LanguageTable::nullText() {
    static const std::string text = "(null)";
    return text;
}

LanguageLoadStatus LanguageTable::fail(LanguageLoadStatus status, std::string detail) {
    errorDetail_ = std::move(detail);
    return status;
}

LanguageLoadStatus LanguageTable::loadFile(const std::string& path) {
    std::string bytes;
    std::string error;
    if (!readTextInput(path, bytes, error)) return fail(LanguageLoadStatus::NotFound, error);
    return loadBytes(bytes);
}

LanguageLoadStatus LanguageTable::loadBytes(std::string_view bytes) {
    constexpr auto damaged = LanguageLoadStatus::Damaged;
    const auto openQuoteNote = [](const Scanner& s) {
        if (!s.inQuotes()) return std::string();
        return "; the file ends inside a quoted text that starts on line " +
               std::to_string(s.quoteLine());
    };

    // First pass: the number of languages, the comma count of every line, the row count.
    std::size_t languages = 0;
    std::size_t lines = 0; // complete lines, the header included
    {
        Scanner s(bytes);
        std::size_t commas = 0;
        std::size_t lineStart = 0;
        std::size_t lineStartFileLine = 1;
        std::string label;
        char c = 0;
        for (;;) {
            const Token t = s.next(c);
            if (t == Token::Char) {
                if (commas == 0 && label.size() < kMaxLabelInDetail) label += c;
                continue;
            }
            if (t == Token::FieldEnd) {
                ++commas;
                continue;
            }
            // A line feed right at the end of the data closes the last row; it does not
            // open an empty one.
            if (t == Token::End && s.pos() == lineStart) break;
            if (lines == 0) {
                languages = commas;
            } else if (commas != languages) {
                return fail(damaged,
                            describeRow(lineStartFileLine, static_cast<long>(lines) - 1, label) +
                                " has " + commaWord(commas) + " outside quotes, the header has " +
                                std::to_string(languages) + openQuoteNote(s));
            }
            ++lines;
            if (t == Token::End) break;
            commas = 0;
            label.clear();
            lineStart = s.pos();
            lineStartFileLine = s.line();
        }
        if (lines == 0) return fail(damaged, "the file is empty");
        if (languages == 0) {
            return fail(damaged, "the header line has no commas, so the file holds no language");
        }
        const std::size_t rows = lines - 1;
        const std::size_t needed = kFirstLanguageNameRow + languages;
        if (rows != needed) {
            std::string detail = "the file has " + std::to_string(rows) +
                                 " text rows after the header; " + std::to_string(languages) +
                                 (languages == 1 ? " language needs" : " languages need") +
                                 " exactly " + std::to_string(needed) + " (rows 0-" +
                                 std::to_string(kFirstLanguageNameRow - 1) +
                                 " and one language-name row per language)";
            return fail(damaged, detail + openQuoteNote(s));
        }
    }

    const std::size_t rows = lines - 1;
    const std::size_t budget = kBytesPerCell * languages * rows;

    // Second pass: copy every text into the table.
    std::vector<std::string> cells(languages * rows);
    {
        Scanner s(bytes);
        char c = 0;
        Token t;
        while ((t = s.next(c)) != Token::LineEnd && t != Token::End) {
        }
        std::size_t row = 0;
        std::size_t field = 0;
        std::size_t used = 0; // bytes the texts need, one terminator each
        struct {
            std::size_t size = 0;
            std::string where;
        } longest;
        std::size_t rowStartLine = s.line();
        std::string current;
        std::string label;
        while (row < rows) {
            t = s.next(c);
            if (t == Token::Char) {
                if (field == 0) {
                    if (label.size() < kMaxLabelInDetail) label += c;
                } else {
                    current += c;
                }
                continue;
            }
            if (field > 0 && field <= languages) {
                std::string text =
                    (static_cast<int>(row) >= kFirstTabRow && static_cast<int>(row) <= kLastTabRow)
                        ? expandTabs(current)
                        : std::move(current);
                used += text.size() + 1;
                if (text.size() > longest.size) {
                    longest = {text.size(),
                               describeRow(rowStartLine, static_cast<long>(row), label) +
                                   ", language " + std::to_string(field - 1)};
                }
                cells[(field - 1) * rows + row] = std::move(text);
            }
            current.clear();
            if (t == Token::FieldEnd) {
                ++field;
                continue;
            }
            ++row;
            field = 0;
            label.clear();
            rowStartLine = s.line();
            if (t == Token::End) break;
        }
        if (used > budget) {
            return fail(damaged,
                        "the texts need " + std::to_string(used) + " bytes, more than the " +
                            std::to_string(budget) + " (" + std::to_string(kBytesPerCell) +
                            " per text on average) the table holds; the longest text, " +
                            std::to_string(longest.size) + " bytes, is in " + longest.where);
        }
    }

    // Fonts: face from row 0, pixel height from row 1.
    std::vector<FontSpec> fonts(languages);
    for (std::size_t k = 0; k < languages; ++k) {
        const std::string& height = cells[k * rows + kFontHeightRow];
        auto pixels = parsePixelHeight(height);
        if (!pixels) {
            return fail(damaged, "row " + std::to_string(kFontHeightRow) +
                                     " (font height) of language " + std::to_string(k) + " is \"" +
                                     height + "\"; it must be a whole number of pixels above 0");
        }
        fonts[k].face = cells[k * rows + kFontFaceRow];
        fonts[k].pixelHeight = *pixels;
    }

    languages_ = static_cast<int>(languages);
    rows_ = static_cast<int>(rows);
    cells_ = std::move(cells);
    fonts_ = std::move(fonts);
    if (current_ < 0 || current_ > languages_ - 1) current_ = 0;
    errorDetail_.clear();
    return LanguageLoadStatus::Ok;
}

LanguageLoadStatus LanguageTable::loadSupplementFile(const std::string& path) {
    std::string bytes;
    std::string error;
    if (!readTextInput(path, bytes, error)) return fail(LanguageLoadStatus::NotFound, error);
    return loadSupplementBytes(bytes);
}

LanguageLoadStatus LanguageTable::loadSupplementBytes(std::string_view bytes) {
    Scanner s(bytes);
    std::map<std::string, std::vector<std::string>, std::less<>> table;
    std::vector<std::string> fields(1);
    std::size_t columns = 0; // fields of the header
    bool header = true;
    int line = 1;
    const auto endLine = [&]() -> bool {
        const bool skip = (fields.size() == 1 && fields[0].empty()) ||
                          (!fields[0].empty() && fields[0][0] == '#');
        if (header) {
            columns = fields.size();
            header = false;
        } else if (!skip) {
            if (fields.size() > columns) {
                errorDetail_ = "line " + std::to_string(line) + " has " +
                               std::to_string(fields.size()) + " fields, the header " +
                               std::to_string(columns);
                return false;
            }
            std::string key = std::move(fields[0]);
            fields.erase(fields.begin());
            if (!table.emplace(key, std::move(fields)).second) {
                errorDetail_ = "line " + std::to_string(line) + ": the key \"" + key +
                               "\" is given twice";
                return false;
            }
        }
        fields.assign(1, std::string());
        line = static_cast<int>(s.line());
        return true;
    };
    for (;;) {
        char c = 0;
        const Token t = s.next(c);
        if (t == Token::Char) {
            fields.back() += c;
        } else if (t == Token::FieldEnd) {
            fields.emplace_back();
        } else if (t == Token::LineEnd) {
            if (!endLine()) return LanguageLoadStatus::Damaged;
        } else {
            if (!(fields.size() == 1 && fields[0].empty()) && !endLine()) {
                return LanguageLoadStatus::Damaged;
            }
            break;
        }
    }
    supplement_ = std::move(table);
    errorDetail_.clear();
    return LanguageLoadStatus::Ok;
}

const std::string& LanguageTable::text(std::string_view key) const {
    return text(key, current_);
}

const std::string& LanguageTable::text(std::string_view key, int language) const {
    const auto it = supplement_.find(key);
    if (it == supplement_.end()) {
        // Unknown keys are shown as themselves; remember them so the reference stays valid.
        static thread_local std::map<std::string, std::string, std::less<>> missing;
        auto m = missing.find(key);
        if (m == missing.end()) m = missing.emplace(std::string(key), std::string(key)).first;
        return m->second;
    }
    const auto& texts = it->second;
    if (language >= 0 && static_cast<std::size_t>(language) < texts.size() &&
        !texts[static_cast<std::size_t>(language)].empty()) {
        return texts[static_cast<std::size_t>(language)];
    }
    return texts.empty() ? it->first : texts.front();
}

const std::string& LanguageTable::text(int index) const {
    return text(index, current_);
}

const std::string& LanguageTable::text(int index, int language) const {
    if (index < 0 || index >= rows_ || language < 0 || language >= languages_) {
        return nullText();
    }
    return cells_[static_cast<std::size_t>(language) * static_cast<std::size_t>(rows_) +
                  static_cast<std::size_t>(index)];
}

namespace {
std::string menuForm(std::string_view text) {
    std::string out;
    for (char c : text.substr(0, text.find('\t')))
        if (c != '&') out += c;
    return out;
}
} // namespace

std::string LanguageTable::translate(std::string_view text, int from, int to) const {
    if (text.empty() || from == to) return std::string(text);
    for (int row = kFontHeightRow + 1; row < rows_; ++row) {
        const std::string& shown = this->text(row, from);
        if (shown == text) return this->text(row, to);
        if (menuForm(shown) == text) return menuForm(this->text(row, to));
    }
    for (const auto& [key, texts] : supplement_) {
        if (this->text(key, from) == text) return this->text(key, to);
    }
    return std::string(text);
}

void LanguageTable::setCurrentLanguage(int language) {
    if (language < 0 || (isLoaded() && language >= languages_)) language = 0;
    current_ = language;
}

std::vector<std::string> LanguageTable::languageNames() const {
    std::vector<std::string> names;
    names.reserve(static_cast<std::size_t>(languages_));
    for (int k = 0; k < languages_; ++k)
        names.push_back(text(kFirstLanguageNameRow + k));
    return names;
}

LanguageTable::FontSpec LanguageTable::font(int language) const {
    if (language < 0 || language >= languages_) return {};
    return fonts_[static_cast<std::size_t>(language)];
}

std::vector<std::string> languageFileCandidates(const std::string& exeDir, const std::string& cwd,
                                                const std::string& dataDir,
                                                const std::string& pathEnv) {
    std::vector<std::string> result;
    std::set<std::string> seen;
    const auto add = [&](const std::string& dir) {
        if (dir.empty()) return;
        std::string path = joinPath(dir, kLanguageFileName);
        if (seen.insert(path).second) result.push_back(std::move(path));
    };
    add(exeDir);
    add(cwd);
    add(dataDir);
    std::size_t start = 0;
    for (;;) {
        const std::size_t sep = pathEnv.find(kPathListSeparator, start);
        add(pathEnv.substr(start, sep == std::string::npos ? std::string::npos : sep - start));
        if (sep == std::string::npos) break;
        start = sep + 1;
    }
    return result;
}

std::optional<std::string> findLanguageFile(const std::string& exeDir, const std::string& cwd,
                                            const std::string& dataDir,
                                            const std::string& pathEnv) {
    for (const std::string& path : languageFileCandidates(exeDir, cwd, dataDir, pathEnv)) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(path, ec)) return path;
    }
    return std::nullopt;
}

} // namespace vrl
