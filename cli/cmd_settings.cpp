// vrl73m-cli settings / set: every radio-wide setting of a data file as the
// function windows show it, and changes made as if typed into those windows.
// Both walk the core's field tables, so they cannot disagree with the windows.
#include "commands.h"
#include "csv.h"
#include "json_out.h"
#include "options.h"

#include "features/field_table.h"
#include "features/settings_keys_doc.h"
#include "file/data_file.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <iostream>

namespace vrl::cli {

namespace {

std::vector<Field> fieldsOfArea(const FieldContext& ctx, const std::string& area) {
    std::vector<Field> out;
    for (Field& f : allFields(ctx))
        if (area.empty() || f.key.compare(0, area.size() + 1, area + ".") == 0) out.push_back(std::move(f));
    return out;
}

} // namespace

int cmdSettings(const Args& args) {
    static constexpr std::string_view kUsage =
        "usage: vrl73m-cli settings FILE [--area AREA] [--json] [--language N]\n"
        "       vrl73m-cli settings --keys-doc [--language N]\n"
        "Lists every radio-wide setting of the data file FILE as the function windows show it,\n"
        "in window order: key, label, and the shown text (\"on\"/\"off\" for check boxes, the\n"
        "selected item for lists, empty when nothing is selected). Fields that are disabled or\n"
        "hidden on this model are marked. --area limits the list to one area (optional, scan,\n"
        "dtmf, twotone, emergency, ost, message, extended, ...). --json prints an array of\n"
        "objects with key, area, label, kind, text, enabled (shown and enabled), shown and,\n"
        "for lists, choices.\n"
        "--keys-doc prints the Markdown list of every key over all models.\n";
    Options opts({"--area", "--language"}, {"--json", "--keys-doc"});
    if (auto code = startCommand("settings", kUsage, opts, args)) return *code;
    int code = kExitOk;
    const auto language = languageOf(opts, "settings", code);
    if (!language) return code;
    std::string error;
    auto table = loadLanguageForCli(*language, error);
    if (!table) return fail("settings", error, kExitRefused);
    TextSource texts = [&table](int i) { return table->text(i); };
    if (opts.has("--keys-doc")) {
        if (!opts.positional().empty() || opts.has("--json") || opts.value("--area"))
            return fail("settings", "--keys-doc takes no data file, --area or --json; it prints the list of all keys",
                        kExitUsage);
        std::cout << settingsKeysMarkdown(texts);
        return kExitOk;
    }
    if (opts.positional().size() != 1) return fail("settings", "expected one data file", kExitUsage);

    RadioData data;
    DataFileStatus status = readDataFile(opts.positional()[0], data.image);
    if (status.result != kFileOk) return fail("settings", status.detail, kExitRefused);
    data.model.refresh();
    FieldContext ctx{data, texts};

    const std::string area = opts.value("--area").value_or("");
    if (opts.value("--area") && !findFieldArea(area)) {
        std::string names;
        for (const FieldArea& a : fieldAreas()) names += (names.empty() ? "" : ", ") + a.name;
        return fail("settings", "unknown area '" + area + "' (areas: " + names + ")", kExitUsage);
    }
    const std::vector<Field> fields = fieldsOfArea(ctx, area);

    if (opts.has("--json")) {
        nlohmann::json list = nlohmann::json::array();
        for (const Field& f : fields) {
            nlohmann::json o{{"key", f.key},
                             {"area", f.key.substr(0, f.key.find('.'))},
                             {"label", f.labelIn(ctx)},
                             {"kind", fieldKindName(f.kind)},
                             {"text", f.shownText(ctx)},
                             {"enabled", f.isAvailable(ctx)},
                             {"shown", f.isShown(ctx)}};
            if (f.kind == FieldKind::Combo) {
                nlohmann::json items = nlohmann::json::array();
                for (const std::string& item : f.choices(ctx)) items.push_back(item);
                o["choices"] = items;
            }
            list.push_back(std::move(o));
        }
        std::cout << jsonText(list) << '\n';
        return kExitOk;
    }
    size_t keyWidth = 0;
    for (const Field& f : fields) keyWidth = std::max(keyWidth, f.key.size());
    for (const Field& f : fields) {
        std::string line = f.key;
        line.resize(keyWidth + 2, ' ');
        line += f.shownText(ctx);
        if (!f.isShown(ctx))
            line += "  (hidden)";
        else if (!f.isEnabled(ctx))
            line += "  (disabled)";
        std::cout << line << '\n';
    }
    return kExitOk;
}

int cmdSet(const Args& args) {
    static constexpr std::string_view kUsage =
        "usage: vrl73m-cli set FILE KEY=VALUE... -o OUT [--language N]\n"
        "Applies the assignments in order, exactly as if the value were typed into that\n"
        "field's window (clamps, defaults and 'previous value stays' rules apply) or chosen:\n"
        "check boxes take on/off, 1/0, yes/no, true/false; lists take an item's text\n"
        "(case-insensitive) or #N for item N counted from 0. Prints KEY=TEXT with the text\n"
        "the window then shows. An unknown key, a field disabled or hidden on this model, a\n"
        "character the field does not take, a text longer than the field or a value that is\n"
        "not one of a list's items is refused (exit 2) and nothing is written.\n"
        "Keys: 'vrl73m-cli settings FILE' lists them.\n";
    Options opts({"--language", "-o", "--output"}, {});
    if (auto code = startCommand("set", kUsage, opts, args)) return *code;
    auto out = opts.value("-o") ? opts.value("-o") : opts.value("--output");
    if (opts.positional().size() < 2 || !out)
        return fail("set", "expected FILE, at least one KEY=VALUE and -o OUT", kExitUsage);
    int code = kExitOk;
    const auto language = languageOf(opts, "set", code);
    if (!language) return code;
    std::string error;
    auto table = loadLanguageForCli(*language, error);
    if (!table) return fail("set", error, kExitRefused);
    TextSource texts = [&table](int i) { return table->text(i); };

    RadioData data;
    DataFileStatus status = readDataFile(opts.positional()[0], data.image);
    if (status.result != kFileOk) return fail("set", status.detail, kExitRefused);
    data.model.refresh();
    FieldContext ctx{data, texts};

    std::vector<std::string> printed;
    for (size_t i = 1; i < opts.positional().size(); ++i) {
        const std::string& assignment = opts.positional()[i];
        const size_t eq = assignment.find('=');
        if (eq == std::string::npos || eq == 0)
            return fail("set", "'" + assignment + "' is not KEY=VALUE; nothing written", kExitUsage);
        const std::string key = assignment.substr(0, eq);
        const auto field = findField(ctx, key);
        const FieldArea* area = findFieldArea(key.substr(0, key.find('.')));
        if (!field && area && !area->isOffered(ctx))
            return fail("set", "the model " + std::string(data.model.label()) + " has no " + ctx.text(area->titleText) +
                                   " window ('" + key + "'); nothing written",
                        kExitRefused);
        if (!field) {
            std::vector<std::string> keys;
            for (const Field& f : allFields(ctx)) keys.push_back(f.key);
            const std::string hint = nearestKey(key, keys);
            return fail("set", "unknown key '" + key + "'" + (hint.empty() ? "" : " (did you mean '" + hint + "'?)") +
                                   "; nothing written",
                        kExitRefused);
        }
        const FieldAssignResult result = assignField(*field, ctx, assignment.substr(eq + 1));
        if (!result.ok) return fail("set", key + ": " + result.error + "; nothing written", kExitRefused);
        if (!result.warning.empty()) std::cerr << "vrl73m-cli set: warning: " << key << ": " << result.warning << '\n';
        printed.push_back(key + "=" + result.text);
        data.model.refresh();
    }
    status = writeDataFile(*out, data.image);
    if (status.result != kFileOk) return fail("set", status.detail, kExitRefused);
    for (const std::string& line : printed) std::cout << line << '\n';
    return kExitOk;
}

} // namespace vrl::cli
