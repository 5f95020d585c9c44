// vrl73m-cli history: the events of the radio history, the image of one event as a
// data file, and the radios whose latest image carries a given setting.
#include "csv.h"
#include "history_common.h"
#include "json_out.h"
#include "options.h"

#include "file/data_file.h"
#include "history/key_value.h"
#include "platform/history_store.h"

#include <iostream>
#include <memory>
#include <regex>

namespace vrl::cli {

namespace {

constexpr std::string_view kCommand = "history";

history::HistoryStore* openStore(int& code) {
    std::string error;
    history::HistoryStore* store = platform::programHistory(error);
    if (!store)
        code = fail(kCommand,
                    "history " + history::redactLocation(platform::historyLocation().toStdString()) + ": " + error,
                    kExitRefused);
    return store;
}

std::string orDash(const std::string& text) { return text.empty() ? "-" : text; }

int listEvents(const Options& opts) {
    history::Filter filter;
    filter.serial = opts.value("--serial").value_or("");
    filter.operation = opts.value("--operation").value_or("");
    filter.since = opts.value("--since").value_or("");
    static const std::regex kDate(R"(\d{4}-\d{2}-\d{2}([T ]\d{2}(:\d{2}(:\d{2})?)?Z?)?)");
    if (!filter.since.empty() && !std::regex_match(filter.since, kDate))
        return fail(kCommand, "--since takes a date YYYY-MM-DD or a UTC time YYYY-MM-DDTHH:MM:SS", kExitUsage);
    if (!filter.operation.empty() && !history::isOperation(filter.operation))
        return fail(kCommand,
                    "--operation must be read, write, trunk-read, trunk-write, fleet, checksum or test-mode",
                    kExitUsage);
    int code = kExitOk;
    history::HistoryStore* store = openStore(code);
    if (!store) return code;
    std::string error;
    const auto events = store->list(filter, error);
    if (!events) return fail(kCommand, store->displayName() + ": " + error, kExitRefused);
    if (opts.has("--json")) {
        nlohmann::json list = nlohmann::json::array();
        for (const history::Event& e : *events)
            list.push_back({{"id", e.id},         {"time", e.time},   {"operation", e.operation},
                            {"result", e.result}, {"message", e.message}, {"serial", e.serial},
                            {"model", e.model},   {"port", e.port},   {"file", e.file},
                            {"sha256", e.sha256}});
        std::cout << jsonText(list) << '\n';
        return kExitOk;
    }
    for (const history::Event& e : *events) {
        std::cout << e.id << "  " << e.time << "  " << e.operation << "  " << e.result << "  serial "
                  << orDash(e.serial) << "  " << orDash(e.model) << "  " << orDash(e.port) << "  "
                  << orDash(e.file);
        if (!e.message.empty()) std::cout << "  (" << e.message << ')';
        std::cout << '\n';
    }
    return kExitOk;
}

int showEvent(const Options& opts) {
    const auto out = opts.value("-o") ? opts.value("-o") : opts.value("--output");
    if (opts.positional().size() != 2 || !out)
        return fail(kCommand, "usage: vrl73m-cli history show ID -o OUT.dat", kExitUsage);
    if (const SaveOutcome check = checkSaveTarget(*out); !check.ok) return fail(kCommand, check.detail, kExitRefused);
    auto data = std::make_unique<RadioData>();
    std::string error;
    if (!loadHistoryImage(opts.positional()[1], *data, error)) return fail(kCommand, error, kExitRefused);
    const DataFileStatus status = writeDataFile(*out, data->image.bytes());
    if (status.result != kFileOk) return fail(kCommand, status.detail, kExitRefused);
    std::cout << "wrote event " << opts.positional()[1] << " (" << orDash(std::string(data->model.label()))
              << ") to " << *out << '\n';
    return kExitOk;
}

int whereValue(const Options& opts) {
    const std::string assignment = *opts.value("--where");
    const size_t eq = assignment.find('=');
    if (eq == std::string::npos || eq == 0)
        return fail(kCommand, "--where takes KEY=VALUE (a key of 'vrl73m-cli set')", kExitUsage);
    const std::string key = assignment.substr(0, eq);
    const std::string wanted = assignment.substr(eq + 1);
    int code = kExitOk;
    const auto language = languageOf(opts, kCommand, code);
    if (!language) return code;
    std::string error;
    auto table = loadLanguageForCli(*language, error);
    if (!table) return fail(kCommand, error, kExitRefused);
    const TextSource texts = [&table](int i) { return table->text(i); };

    history::HistoryStore* store = openStore(code);
    if (!store) return code;
    const auto latest = store->latestImages(error);
    if (!latest) return fail(kCommand, store->displayName() + ": " + error, kExitRefused);
    nlohmann::json list = nlohmann::json::array();
    auto data = std::make_unique<RadioData>();
    for (const history::Event& e : *latest) {
        if (e.image.size() != data->image.bytes().size()) continue;
        std::copy(e.image.begin(), e.image.end(), data->image.bytes().begin());
        data->model.refresh();
        const auto value = history::keyValue(*data, texts, key);
        if (!value || !history::sameValue(*value, wanted)) continue;
        if (opts.has("--json"))
            list.push_back({{"serial", e.serial}, {"model", e.model}, {"id", e.id}, {"time", e.time},
                            {"operation", e.operation}, {"value", *value}});
        else
            std::cout << e.serial << "  " << orDash(e.model) << "  event " << e.id << " (" << e.operation << ", "
                      << e.time << ")  " << key << '=' << *value << '\n';
    }
    if (opts.has("--json")) std::cout << jsonText(list) << '\n';
    return kExitOk;
}

} // namespace

int cmdHistory(const Args& args) {
    static constexpr std::string_view kUsage =
        "usage: vrl73m-cli history [--serial S] [--operation OP] [--since DATE] [--json]\n"
        "       vrl73m-cli history show ID -o OUT.dat\n"
        "       vrl73m-cli history --where KEY=VALUE [--json] [--language N]\n"
        "Every read, write, trunking-board read and write, fleet unit, check sum and test-mode\n"
        "session is recorded with the radio's serial number and the image moved. The first\n"
        "form lists events newest first (--json: a list of objects with id, time, operation,\n"
        "result, message, serial, model, port, file and sha256); DATE is YYYY-MM-DD or a UTC\n"
        "time YYYY-MM-DDTHH:MM:SS. 'show' writes an event's image as a data file; 'diff\n"
        "history:ID ...' compares it. --where lists the radios whose latest image read or\n"
        "written has that value for a key of 'vrl73m-cli set' or a channel column\n"
        "(channel.G.C.Receive).\n"
        "The history is --history DB, else VRL73M_HISTORY, else history.sqlite in the data\n"
        "folder; DB is an SQLite file or a PostgreSQL URI (postgresql://user@host/db,\n"
        "postgresql://user@/db?host=/run/postgresql).\n";
    Options opts({"--serial", "--operation", "--since", "--where", "--language", "-o", "--output"}, {"--json"});
    if (auto code = startCommand(kCommand, kUsage, opts, args)) return *code;
    if (!opts.positional().empty()) {
        if (opts.positional()[0] != "show")
            return fail(kCommand, "unknown argument '" + opts.positional()[0] + "'\n" + std::string(kUsage),
                        kExitUsage);
        return showEvent(opts);
    }
    if (opts.value("-o") || opts.value("--output")) return fail(kCommand, "-o belongs to 'history show ID'", kExitUsage);
    if (opts.value("--where")) return whereValue(opts);
    return listEvents(opts);
}

} // namespace vrl::cli
