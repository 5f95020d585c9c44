#include "csv.h"
#include "options.h"

#include <filesystem>
#include <system_error>

namespace vrl::cli {

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
