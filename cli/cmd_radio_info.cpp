// vrl73m-cli radio-info: the radio's model, band and information block.
#include "json_out.h"
#include "link_common.h"

#include "link/transfer.h"

#include <iostream>

namespace vrl::cli {

int cmdRadioInfo(const Args& args) {
    static const std::string kUsage =
        std::string("usage: vrl73m-cli radio-info --port DEVICE [--json]\n"
                    "Shows the connected radio's model, frequency band and serial number.\n") +
        std::string(kLinkOptionsHelp) +
        "  --json          print {\"label\", \"band\", \"serial\"} as JSON\n";
    Options opts(linkValuedOptions({}), {"--json"});
    if (auto code = startCommand("radio-info", kUsage, opts, args)) return *code;
    if (!opts.positional().empty()) return fail("radio-info", "unexpected argument\n" + kUsage, kExitUsage);

    LinkSession session;
    if (auto code = session.start("radio-info", opts)) return *code;
    CliUi ui("radio-info", session, false, std::nullopt);
    RadioInformation info;
    if (queryRadioInformation(session.link(), ui, info) != kTransferOk) return ui.failureExit();

    const std::string serial = infoBlockText(info.block);
    if (opts.has("--json")) {
        nlohmann::json j{{"label", info.info.label}, {"band", info.info.band}, {"serial", serial}};
        std::cout << jsonText(j) << '\n';
    } else {
        std::cout << "Model name:     " << info.info.label << '\n'
                  << "Frequency:      " << info.info.band << '\n'
                  << "Serial number:  " << serial << '\n';
    }
    return kExitOk;
}

} // namespace vrl::cli
