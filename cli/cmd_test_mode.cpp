// vrl73m-cli test-mode: checks a radio against a data file in its test state and
// drives it: test channel, signalling, bandwidth, and keying for a while.
#include "history_common.h"
#include "service_common.h"

#include <iostream>

namespace vrl::cli {

int cmdTestMode(const Args& args) {
    static const std::string kUsage =
        std::string(
            "usage: vrl73m-cli test-mode FILE --port DEVICE [--channel N] [--signalling N]\n"
            "                            [--bandwidth 0|1] [--key SECONDS]\n"
            "Brings the radio into its test state and checks it against the data in FILE\n"
            "(model, firmware, the 16 test channels), selects what was asked, keys the\n"
            "transmitter for SECONDS and unkeys it. The radio always leaves the test state,\n"
            "also on SIGINT, SIGTERM, SIGHUP or SIGQUIT (unkeyed first; exit status 130).\n"
            "Exit status 2 when the radio does not match the data, 3 when the link failed.\n") +
        std::string(kLinkOptionsHelp) + std::string(kServiceOptionsHelp) +
        "  --key SECONDS      key the transmitter this long (0-600, decimals allowed)\n";
    Options opts(serviceValuedOptions({"--key"}), {});
    if (auto code = startCommand("test-mode", kUsage, opts, args)) return *code;
    std::optional<double> keySeconds;
    if (auto text = opts.value("--key")) {
        try {
            size_t used = 0;
            keySeconds = std::stod(*text, &used);
            if (used != text->size() || *keySeconds < 0 || *keySeconds > 600) keySeconds.reset();
        } catch (const std::exception&) {
        }
        if (!keySeconds) return fail("test-mode", "--key must be 0 to 600 seconds", kExitUsage);
    }
    ServiceRun run("test-mode");
    if (auto code = run.prepare(opts)) return *code;
    // The session is recorded with how it ended; the data file names what was checked.
    auto record = [&](int code, const std::string& message) {
        history::Event event;
        event.operation = history::kTestMode;
        event.result = code == kExitOk ? history::kOk
                       : code == kExitRefused || code == kExitSignal ? history::kCancelled
                                                                    : history::kFailed;
        event.message = message;
        event.port = opts.value("--port").value_or("");
        event.file = opts.positional().empty() ? "" : opts.positional()[0];
        event.model = std::string(run.data().model.label());
        event.identity = run.data().image.identity().hex();
        recordEvent("test-mode", event);
        return code;
    };
    if (auto code = run.open(opts)) return record(*code, "the radio did not enter test mode");
    if (keySeconds && !interruptRequested()) {
        if (run.test().setKeyed(true)) {
            std::cout << "keyed" << std::flush;
            const bool full = run.wait(*keySeconds);
            // After a signal, finish() unkeys without asking.
            if (full && run.test().setKeyed(false))
                std::cout << ", unkeyed after " << *keySeconds << " s\n";
            else
                std::cout << (full ? "\n" : ", interrupted\n");
        }
    }
    const int code = run.finish();
    return record(code, keySeconds ? "keyed for " + *opts.value("--key") + " s" : "");
}

} // namespace vrl::cli
