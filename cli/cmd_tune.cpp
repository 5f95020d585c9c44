// vrl73m-cli tune: one alignment item of a radio in its test state, for scripts:
// shows every tab's value, moves the chosen tab's value, and keeps the item or
// returns the radio to its test channel.
#include "service_common.h"

#include "service/tuning_mode.h"

#include <iostream>
#include <map>

namespace vrl::cli {

namespace {

int runTuning(ServiceRun& run, TuningSession& tuning, const Options& opts, std::optional<int> tab,
              std::optional<int> value, std::optional<int> step, std::optional<int> volume) {
    if (!tuning.open()) return run.finish();
    const auto tabTextList = tabTexts(tuning.tabs());
    std::cout << "item " << tuning.index() << ": " << run.text(tuning.item().text) << '\n';
    for (size_t t = 0; t < static_cast<size_t>(tuning.tabs()); ++t)
        std::cout << "  tab " << t << " (" << run.text(tabTextList[t])
                  << "): " << (t < tuning.values().size() ? tuning.values()[t] + 1 : 0) << '\n';
    if (tab && *tab >= tuning.tabs()) {
        tuning.cancel();
        run.finish();
        return fail("tune",
                    "--tab must be 0 to " + std::to_string(tuning.tabs() - 1) + " for this item",
                    kExitUsage);
    }
    if (tab && *tab != 0 && !tuning.selectTab(*tab)) return run.finish();
    bool ok = true;
    if (value || step) {
        const int target = value ? *value - 1 : tuning.value() + *step;
        ok = tuning.setValue(target);
        if (ok) std::cout << "tab " << tuning.tab() << " value now " << tuning.value() + 1 << '\n';
    }
    if (ok && volume) {
        if (!tuning.mobile()) {
            std::cerr << "vrl73m-cli tune: a portable has no volume setting; --volume ignored\n";
        } else if ((ok = tuning.setVolume(*volume))) {
            std::cout << "volume now " << tuning.volume() << '\n';
        }
    }
    if (ok) {
        if (opts.has("--keep")) {
            if ((ok = tuning.keep())) std::cout << "item kept\n";
        } else if ((ok = tuning.cancel())) {
            std::cout << "item not kept; radio back on test channel " << run.test().channel()
                      << '\n';
        }
    }
    run.test().tuningClosed(!ok);
    return run.finish();
}

} // namespace

int cmdTune(const Args& args) {
    static const std::string kUsage =
        std::string(
            "usage: vrl73m-cli tune FILE --port DEVICE --item I [--tab T] [--value V | --step D]\n"
            "                       [--keep] [--volume V] [--channel N] [--signalling N]\n"
            "                       [--bandwidth 0|1]\n"
            "Opens Tuning Mode for item I of the radio's item list (0-based, as Test Mode\n"
            "lists it) after checking the radio against FILE, prints every tab's value\n"
            "(1-256), moves tab T's value to V or by D with one step command, then keeps\n"
            "the item (--keep) or returns the radio to its test channel. The radio always\n"
            "leaves the test state.\n") +
        std::string(kLinkOptionsHelp) + std::string(kServiceOptionsHelp) +
        "  --item I           item 0-11 (mobile) or 0-14 (portable)\n"
        "  --tab T            tab of the item, 0-based (default 0)\n"
        "  --value V          new value as shown, 1-256 (not for item 0 of a portable,\n"
        "                     the battery level's live reading)\n"
        "  --step D           change by D (-255 to 255)\n"
        "  --keep             the radio keeps the adjusted item\n"
        "  --volume V         volume of a mobile, 0-31\n";
    Options opts(serviceValuedOptions({"--item", "--tab", "--value", "--step", "--volume"}),
                 {"--keep"});
    if (auto code = startCommand("tune", kUsage, opts, args)) return *code;
    struct Range {
        const char* name;
        int lo, hi;
    };
    const Range ranges[] = {{"--item", 0, 14},
                            {"--tab", 0, 5},
                            {"--value", 1, 256},
                            {"--step", -255, 255},
                            {"--volume", 0, 31}};
    std::map<std::string, int> v;
    for (const auto& r : ranges) {
        const auto text = opts.value(r.name);
        if (!text) continue;
        const auto n = parseNumber(*text);
        if (!n || *n < r.lo || *n > r.hi)
            return fail("tune",
                        std::string(r.name) + " must be " + std::to_string(r.lo) + " to " +
                            std::to_string(r.hi),
                        kExitUsage);
        v[r.name] = static_cast<int>(*n);
    }
    if (!v.count("--item")) return fail("tune", "--item I is required\n" + kUsage, kExitUsage);
    if (v.count("--value") && v.count("--step"))
        return fail("tune", "give --value or --step, not both", kExitUsage);
    auto get = [&](const char* name) -> std::optional<int> {
        if (!v.count(name)) return std::nullopt;
        return v[name];
    };

    ServiceRun run("tune");
    if (auto code = run.prepare(opts)) return *code;
    // The radio matches the data, so the data tell its type before anything is sent.
    const bool mobileData = isMobileIdentity(run.data().image.identity().bytes[0]);
    if ((v.count("--value") || v.count("--step")) && isLiveReadingItem(mobileData, v["--item"]))
        return fail("tune",
                    "item " + std::to_string(v["--item"]) +
                        " of a portable shows a live reading and has no value to set; "
                        "--value and --step are refused, nothing was sent",
                    kExitUsage);
    if (auto code = run.open(opts)) return *code;
    const int item = v["--item"];
    const int items = static_cast<int>(tuningItems(run.test().mobile()).size());
    if (item >= items) {
        run.finish();
        return fail("tune", "--item must be 0 to " + std::to_string(items - 1) + " for this radio",
                    kExitUsage);
    }
    TuningSession tuning(run.test(), item);
    return runTuning(run, tuning, opts, get("--tab"), get("--value"), get("--step"),
                     get("--volume"));
}

} // namespace vrl::cli
