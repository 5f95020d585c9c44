#include "csv.h"
#include "options.h"

#include <filesystem>
#include <system_error>

namespace vrl::cli {

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

std::string csvLine(const std::vector<std::string>& fields) {
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) out += ',';
        out += csvField(fields[i]);
    }
    return out + "\r\n";
}

CsvParse parseCsv(std::string_view text) {
    CsvParse out;
    CsvRecord record;
    std::string field;
    int line = 1;
    bool quoted = false;     // inside a quoted field
    bool wasQuoted = false;  // the current field was quoted (only a separator may follow)
    bool recordStarted = false;
    record.line = 1;
    auto endField = [&] {
        record.fields.push_back(std::move(field));
        field.clear();
        wasQuoted = false;
    };
    auto endRecord = [&] {
        endField();
        const bool blank = record.fields.size() == 1 && record.fields[0].empty() && !recordStarted;
        if (!blank) out.records.push_back(std::move(record));
        record = CsvRecord{};
        recordStarted = false;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!recordStarted && record.fields.empty() && field.empty()) record.line = line;
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                    wasQuoted = true;
                }
            } else {
                if (c == '\n') ++line;
                field += c;
            }
            continue;
        }
        if (c == ',') {
            recordStarted = true;
            endField();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue; // the LF ends the record
        } else if (c == '\n') {
            endRecord();
            ++line;
        } else if (wasQuoted) {
            out.error = "text after a closing quote";
            out.errorLine = line;
            return out;
        } else if (c == '"' && field.empty()) {
            quoted = true;
            recordStarted = true;
        } else {
            field += c;
            recordStarted = true;
        }
    }
    if (quoted) {
        out.error = "a quoted field is not closed";
        out.errorLine = record.line;
        return out;
    }
    if (recordStarted || !field.empty() || !record.fields.empty()) endRecord();
    return out;
}

namespace {
std::string executableDir() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.parent_path().string();
}
} // namespace

std::optional<LanguageTable> loadLanguageForCli(long language, std::string& error) {
    const std::string exeDir = executableDir();
    const std::filesystem::path sourceData = VRL_SOURCE_DATA_DIR;
    std::optional<std::string> path;
    for (const std::string& dir : {exeDir, exeDir + "/../share/vrl73m", sourceData.string()}) {
        if (dir.empty()) continue;
        if ((path = findLanguageFile(dir, "", "", ""))) break;
    }
    if (!path) {
        error = std::string("cannot find ") + kLanguageFileName;
        return std::nullopt;
    }
    LanguageTable table;
    if (table.loadFile(*path) != LanguageLoadStatus::Ok) {
        error = *path + ": " + table.errorDetail();
        return std::nullopt;
    }
    if (language < 0 || language >= table.languageCount()) {
        error = "--language must be 0 to " + std::to_string(table.languageCount() - 1);
        return std::nullopt;
    }
    table.setCurrentLanguage(static_cast<int>(language));
    return table;
}

// The --language option: a language index of the language file.
std::optional<int> languageOf(const Options& opts, std::string_view command, int& exitCode) {
    auto text = opts.value("--language");
    if (!text) return 0;
    auto v = parseNumber(*text);
    if (!v || *v < 0 || *v > kMaxLanguageOption) {
        exitCode = fail(command, "--language must be a language number (0, 1, ...)", kExitUsage);
        return std::nullopt;
    }
    return static_cast<int>(*v);
}

} // namespace vrl::cli
