// vrl73m-cli write: the data check, then Write Data to Radio.
#include "history_common.h"
#include "link_common.h"

#include "file/data_file.h"
#include "link/texts.h"
#include "link/transfer.h"
#include "link/write_check.h"
#include "util/bytes.h"

#include <iostream>

namespace vrl::cli {

int cmdWrite(const Args& args) {
    static const std::string kUsage =
        std::string("usage: vrl73m-cli write --port DEVICE FILE [--yes] [--no-verify]\n"
                    "Writes a data file to the radio. Questions that can destroy data (the\n"
                    "radio and the data differ, passwords on old firmware, firmware warnings)\n"
                    "are answered no unless --yes is given. Every written block is read back\n"
                    "before programming mode ends; blocks that differ are written once more,\n"
                    "and a second difference fails the write (exit 3).\n") +
        std::string(kLinkOptionsHelp) + "  --yes           answer such questions yes\n" +
        "  --no-verify     do not read the written blocks back\n";
    Options opts(linkValuedOptions({}), {"--yes", "--no-verify"});
    if (auto code = startCommand("write", kUsage, opts, args)) return *code;
    if (opts.positional().size() != 1) return fail("write", "one FILE is required\n" + kUsage, kExitUsage);
    const std::string file = opts.positional()[0];

    RadioData data;
    const DataFileStatus status = readDataFile(file, data.image);
    if (status.result != kFileOk) return fail("write", status.detail, kExitRefused);
    data.model.refresh();

    // A failing check refuses before the radio is contacted.
    const WriteCheck check = checkDataForWrite(data.image);
    if (!check.passes())
        return fail("write", std::string(texts::englishText(check.messageText())), kExitRefused);

    LinkSession session;
    if (auto code = session.start("write", opts)) return *code;
    CliUi ui("write", session, opts.has("--yes"), std::nullopt);
    ui.setProgressVerb("writing");
    WriteOptions options;
    options.verify = !opts.has("--no-verify");
    WriteReport report;
    const int result = writeDataToRadio(session.link(), data, ui, options, &report);
    ui.endProgress();
    history::Event event = transferEvent(history::kWrite, result, ui, *opts.value("--port"), file);
    setEventImage(event, data);
    if (result == kTransferOk) addSerialNumber(session, event);
    if (!report.rewritten.empty()) {
        std::string list;
        for (int n : report.rewritten) {
            const uint8_t block = static_cast<uint8_t>(n);
            list += (list.empty() ? "0x" : ", 0x") + bytes::hex({&block, 1});
        }
        std::cerr << "vrl73m-cli write: read back different and written again: block"
                  << (report.rewritten.size() == 1 ? " " : "s ") << list << '\n';
        event.message += (event.message.empty() ? "" : "; ") + std::string("blocks written again: ") + list;
    }
    if (result == kTransferOk)
        event.message += (event.message.empty() ? "" : "; ") +
                         std::string(report.verified ? "verified" : options.verify ? "" : "not verified");
    recordEvent("write", event);
    if (result != kTransferOk) {
        ui.tellPartialWrite("radio");
        return ui.failureExit();
    }
    std::cout << "wrote " << file << " to the radio"
              << (report.verified ? ", verified" : options.verify ? "" : ", not verified")
              << "\n";
    return kExitOk;
}

} // namespace vrl::cli
