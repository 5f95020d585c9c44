// RFC 4180 CSV for the channel commands, and the language set-up they share.
#pragma once

#include "lang/language_table.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vrl::cli {

// One field, quoted when it holds a comma, a quote, CR or LF (quotes doubled).
std::string csvField(std::string_view text);
// A record of fields joined by commas and ended by CRLF.
std::string csvLine(const std::vector<std::string>& fields);

struct CsvRecord {
    int line = 0; // line on which the record starts (1-based)
    std::vector<std::string> fields;
};

struct CsvParse {
    std::vector<CsvRecord> records;
    std::string error; // empty when the whole text was read
    int errorLine = 0;
};

// Reads records separated by CRLF or LF; a quoted field may hold commas, line
// breaks and doubled quotes. A final line break does not open an empty record;
// blank lines are skipped.
CsvParse parseCsv(std::string_view text);

// Loads vrl73m.lng from beside the executable, ../share/vrl73m or the source
// tree's data folder and selects `language`; nullopt with `error` set on failure.
std::optional<LanguageTable> loadLanguageForCli(long language, std::string& error);
// The largest --language number taken before the file is read.
inline constexpr long kMaxLanguageOption = 999;

class Options;
// The --language option: a language index of the language file (0 when not
// given); nullopt with `exitCode` set (message printed) when it is malformed.
std::optional<int> languageOf(const Options& opts, std::string_view command, int& exitCode);

} // namespace vrl::cli
