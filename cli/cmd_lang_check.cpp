// vrl73m-cli lang-check: loads a language file exactly as the program does at start-up, so
// that translators can check their work before it ships.
#include "commands.h"
#include "json_out.h"
#include "options.h"

#include "lang/language_table.h"

#include <iostream>

namespace vrl::cli {

int cmdLangCheck(const Args& args) {
    static constexpr std::string_view kUsage =
        "usage: vrl73m-cli lang-check FILE [--json]\n"
        "Loads a language file (vrl73m.lng) with the program's own loader and prints its\n"
        "languages with their fonts and the number of text rows. When the program would\n"
        "refuse the file, prints the exact reason (line, row and label) and exits 2.\n";
    Options opts({}, {"--json"});
    if (auto code = startCommand("lang-check", kUsage, opts, args)) return *code;
    if (opts.positional().size() != 1) {
        return fail("lang-check", "expected one language file", kExitUsage);
    }
    const std::string& path = opts.positional()[0];

    LanguageTable table;
    switch (table.loadFile(path)) {
    case LanguageLoadStatus::Ok:
        break;
    case LanguageLoadStatus::NotFound:
        return fail("lang-check", table.errorDetail(), kExitRefused);
    case LanguageLoadStatus::Damaged:
        return fail("lang-check", path + " is damaged: " + table.errorDetail(), kExitRefused);
    }

    // Names as language 0 writes them, and as each language writes its own name.
    const std::vector<std::string> names = table.languageNames();
    const auto ownName = [&](int k) {
        return table.text(LanguageTable::kFirstLanguageNameRow + k, k);
    };

    if (opts.has("--json")) {
        nlohmann::json languages = nlohmann::json::array();
        for (int k = 0; k < table.languageCount(); ++k) {
            const auto font = table.font(k);
            languages.push_back(
                {{"index", k},
                 {"name", names[static_cast<std::size_t>(k)]},
                 {"ownName", ownName(k)},
                 {"font", {{"face", font.face}, {"pixelHeight", font.pixelHeight}}}});
        }
        nlohmann::json out = {{"languages", languages}, {"rows", table.rowCount()}, {"file", path}};
        // Texts are bytes of the file; show anything that is not UTF-8 as U+FFFD.
        std::cout << jsonText(out) << '\n';
        return kExitOk;
    }

    std::cout << "languages: " << table.languageCount() << '\n';
    for (int k = 0; k < table.languageCount(); ++k) {
        const auto font = table.font(k);
        const std::string& name = names[static_cast<std::size_t>(k)];
        std::cout << "  " << k << "  " << name;
        if (ownName(k) != name) std::cout << " (" << ownName(k) << ")";
        std::cout << "  font \"" << font.face << "\", " << font.pixelHeight << " px\n";
    }
    std::cout << "rows: " << table.rowCount() << '\n';
    return kExitOk;
}

} // namespace vrl::cli
