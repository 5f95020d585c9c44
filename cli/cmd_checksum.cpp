// vrl73m-cli checksum: the 16-bit check sum of the radio's memory.
#include "history_common.h"
#include "link_common.h"

#include "link/transfer.h"

#include <iostream>

namespace vrl::cli {

int cmdChecksum(const Args& args) {
    static const std::string kUsage =
        std::string("usage: vrl73m-cli checksum --port DEVICE\n"
                    "Prints the radio's memory check sum as four hexadecimal digits. The query\n"
                    "runs at 9600 baud.\n") +
        std::string(kLinkOptionsHelp);
    Options opts(linkValuedOptions({}), {});
    if (auto code = startCommand("checksum", kUsage, opts, args)) return *code;
    if (!opts.positional().empty()) return fail("checksum", "unexpected argument\n" + kUsage, kExitUsage);

    LinkSession session;
    if (auto code = session.start("checksum", opts)) return *code;
    CliUi ui("checksum", session, false, std::nullopt);
    std::array<uint8_t, 2> sum{};
    const int result = queryCheckSum(session.link(), ui, sum);
    history::Event event = transferEvent(history::kCheckSum, result, ui, *opts.value("--port"), "");
    if (result == kTransferOk) event.message = "check sum " + formatCheckSum(sum);
    recordEvent("checksum", event);
    if (result != kTransferOk) return ui.failureExit();
    std::cout << formatCheckSum(sum) << '\n';
    return kExitOk;
}

} // namespace vrl::cli
