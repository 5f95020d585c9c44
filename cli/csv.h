// The language set-up the commands share; the channel commands' CSV itself is
// channels/channel_csv.h of the core.
#pragma once

#include "lang/language_table.h"

#include <optional>
#include <string>
#include <string_view>

namespace vrl::cli {

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
