// vrl73m-cli fleet: one template written to many radios at once, each radio
// getting its own unit's settings from a units file; one worker per port.
#include "csv.h"
#include "history_common.h"
#include "json_out.h"
#include "link_common.h"
#include "signals.h"

#include "file/data_file.h"
#include "file/safe_save.h"
#include "fleet/fleet_run.h"
#include "model/radio_data.h"
#include "platform/data_folder.h"
#include "platform/transports.h"
#include "util/text_input.h"

#include <filesystem>
#include <iostream>
#include <mutex>

namespace vrl::cli {

namespace {

constexpr std::string_view kCommand = "fleet";

// Status lines of the ports on stderr, one at a time.
class StderrObserver : public fleet::PortObserver {
  public:
    explicit StderrObserver(std::mutex& out) : out_(out) {}
    void progress(const std::string&, int, int) override {}
    void status(const std::string& port, const std::string& text) override {
        std::lock_guard lock(out_);
        std::cerr << port << ": " << text << '\n';
    }

  private:
    std::mutex& out_;
};

// Every radio that answered becomes one history event. Recorded here, on the command's
// own thread, once the ports are done: the history's connection belongs to this thread.
void recordUnits(const std::vector<fleet::UnitResult>& results, const RadioData& templ,
                 const std::string& templatePath) {
    std::error_code ec;
    const std::string file = std::filesystem::absolute(templatePath, ec).string();
    for (const fleet::UnitResult& r : results)
        if (auto event = fleet::historyEventOf(r, templ, ec ? templatePath : file)) recordEvent(kCommand, *event);
}

std::string resultLine(const fleet::UnitResult& r) {
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "%.1f", r.seconds);
    std::string line = r.port + " " + (r.serial.empty() ? "-" : r.serial) + " " + (r.unit.empty() ? "-" : r.unit) +
                       " " + fleet::outcomeName(r.outcome) + " " + seconds;
    if (!r.message.empty()) line += "  (" + r.message + ")";
    return line;
}

nlohmann::json resultsJson(const std::vector<fleet::UnitResult>& results) {
    nlohmann::json list = nlohmann::json::array();
    for (const fleet::UnitResult& r : results)
        list.push_back({{"unit", r.unit},
                        {"serial", r.serial},
                        {"port", r.port},
                        {"result", fleet::outcomeName(r.outcome)},
                        {"message", r.message},
                        {"started", fleet::isoTime(r.started)},
                        {"seconds", r.seconds},
                        {"sha256", r.imageSha256}});
    return list;
}

} // namespace

int cmdFleet(const Args& args) {
    static const std::string kUsage =
        "usage: vrl73m-cli fleet TEMPLATE --units UNITS.csv --port P1 [--port P2 ...]\n"
        "                        [--report REPORT.csv] [--json] [--continuous] [--no-verify]\n"
        "Writes the data file TEMPLATE to the radios on every port at once, each radio with\n"
        "its own unit's settings. UNITS.csv has a header line with a Unit column, an optional\n"
        "Serial column (the serial number radio-info shows) and columns named by keys of\n"
        "'vrl73m-cli set' (channel.G.C.COLUMN and channels.COLUMN included); an empty cell\n"
        "keeps the template's value. Every row is applied before any radio is contacted: a\n"
        "refused row stops the run (exit 2). With a Serial column each radio gets the unit\n"
        "of its serial number, else the next unused unit in file order. A radio of another\n"
        "model than the template fails its port and nothing is written to it.\n"
        "  --port DEVICE   a port with a radio (repeat for each port; \"virtual\" too)\n"
        "  --units FILE    the units file\n"
        "  --report FILE   write the results as CSV (Unit, Serial, Port, Result, Message,\n"
        "                  Started, Seconds, SHA256)\n"
        "  --json          print the results as JSON instead of lines\n"
        "  --continuous    after a radio, wait on its port for the next one (another serial\n"
        "                  number) until Ctrl+C\n"
        "  --no-verify     do not read back what was written\n"
        "  --retries N     answer Retry to a failed exchange up to N times per radio (default 2)\n"
        "  --yes           answer the write's questions (data password, firmware) yes\n"
        "  --language N    language of list items in the units file (default 0)\n"
        "Prints 'port serial unit result seconds' per radio and a summary. Exit status 0\n"
        "when every radio that answered was programmed, 3 when any failed, 130 when a signal\n"
        "(Ctrl+C) ended the run.\n";
    // --port may be given many times: taken out before the common parser.
    std::vector<std::string> ports;
    Args rest;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--port" && i + 1 < args.size()) {
            ports.push_back(args[++i]);
        } else if (args[i].rfind("--port=", 0) == 0) {
            ports.push_back(args[i].substr(7));
        } else {
            rest.push_back(args[i]);
        }
    }
    Options opts({"--units", "--report", "--retries", "--language", "--port"},
                 {"--json", "--continuous", "--no-verify", "--yes"});
    if (auto code = startCommand(kCommand, kUsage, opts, rest)) return *code;
    if (opts.positional().size() != 1) return fail(kCommand, "one TEMPLATE is required\n" + kUsage, kExitUsage);
    const auto unitsPath = opts.value("--units");
    if (!unitsPath) return fail(kCommand, "--units FILE is required", kExitUsage);
    if (ports.empty() || opts.value("--port")) return fail(kCommand, "--port DEVICE is required", kExitUsage);
    for (size_t i = 0; i < ports.size(); ++i)
        for (size_t j = i + 1; j < ports.size(); ++j)
            if (ports[i] == ports[j]) return fail(kCommand, "port " + ports[i] + " is named twice", kExitUsage);
    fleet::Options options;
    options.continuous = opts.has("--continuous");
    options.verify = !opts.has("--no-verify");
    options.yes = opts.has("--yes");
    if (auto r = opts.value("--retries")) {
        auto n = parseNumber(*r);
        if (!n || *n < 0 || *n > 1000) return fail(kCommand, "--retries must be 0 to 1000", kExitUsage);
        options.retries = static_cast<int>(*n);
    }
    int code = kExitOk;
    const auto language = languageOf(opts, kCommand, code);
    if (!language) return code;
    std::string error;
    auto table = loadLanguageForCli(*language, error);
    if (!table) return fail(kCommand, error, kExitRefused);
    TextSource texts = [&table](int i) { return table->text(i); };

    // The template and the units: everything refused here is refused before any
    // radio is touched.
    RadioData templ;
    const DataFileStatus status = readDataFile(opts.positional()[0], templ.image);
    if (status.result != kFileOk) return fail(kCommand, status.detail, kExitRefused);
    templ.model.refresh();
    std::string unitsText;
    if (!readTextInput(*unitsPath, unitsText, error)) return fail(kCommand, error, kExitRefused);
    const auto units = fleet::readUnitsCsv(unitsText, error);
    if (!units) return fail(kCommand, *unitsPath + ": " + error, kExitRefused);
    const fleet::Plan plan = fleet::makePlan(templ.image, *units, texts);
    if (!plan.ok()) {
        for (const fleet::PlanMessage& m : plan.errors)
            std::cerr << "vrl73m-cli fleet: " << *unitsPath << ": " << fleet::formatMessage(*units, m) << '\n';
        return fail(kCommand, "units file refused; no radio was contacted", kExitRefused);
    }
    const auto reportPath = opts.value("--report");
    if (reportPath)
        if (const SaveOutcome check = checkSaveTarget(*reportPath); !check.ok)
            return fail(kCommand, check.detail, kExitRefused);

    ensureApplication();
    // A signal (Ctrl+C, SIGTERM, ...) only sets the flag; the workers see it through
    // interruptRequested() and end their radios cleanly.

    std::mutex out;
    StderrObserver observer(out);
    const bool json = opts.has("--json");
    fleet::FleetBook book(plan);
    book.onResult = [&](const fleet::UnitResult& r) {
        std::lock_guard lock(out);
        (json ? std::cerr : std::cout) << resultLine(r) << std::endl;
    };
    const auto makeLine = [](const std::string& port) {
        return platform::makeTransport(QString::fromStdString(port));
    };
    const std::vector<fleet::UnitResult> results =
        fleet::runFleet(plan, ports, makeLine, options, [] { return interruptRequested(); }, &observer, book,
                         platform::runOnQThreads);

    recordUnits(results, templ, opts.positional()[0]);

    int counts[5] = {};
    for (const fleet::UnitResult& r : results) ++counts[static_cast<int>(r.outcome)];
    for (const fleet::UnitResult& r : results)
        if (r.outcome == fleet::Outcome::NotProgrammed)
            (json ? std::cerr : std::cout) << "not programmed: " << r.unit
                                           << (r.serial.empty() ? "" : " (serial " + r.serial + ")") << '\n';
    (json ? std::cerr : std::cout) << counts[0] << " programmed, " << counts[1] << " failed, " << counts[2]
                                   << " incomplete, " << counts[3] << " units not programmed"
                                   << (interruptRequested() ? " (interrupted)" : "") << '\n';
    if (json) std::cout << jsonText(resultsJson(results)) << '\n';
    if (reportPath) {
        const std::string csv = fleet::reportCsv(results);
        const SaveOutcome saved = saveFileSafely(
            *reportPath, {std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(csv.data()), csv.size())});
        if (!saved.ok) {
            fail(kCommand, "report not saved: " + saved.detail, kExitRefused);
            return kExitComm;
        }
    }
    // Ended by a signal (Ctrl+C ends a continuous run): the signal's status, as every
    // command gives it; the lines above say which radios were done.
    if (interruptRequested()) return kExitSignal;
    return fleet::exitStatusOf(results);
}

} // namespace vrl::cli
