// vrl73m-cli read: Read Data from Radio into a data file.
#include "history_common.h"
#include "link_common.h"

#include "file/data_file.h"
#include "link/transfer.h"
#include "platform/data_folder.h"

#include <iostream>

namespace vrl::cli {

int cmdRead(const Args& args) {
    static const std::string kUsage =
        std::string("usage: vrl73m-cli read --port DEVICE -o FILE [--password DIGITS]\n"
                    "Reads the radio's memory into a data file. Blocks the radio does not use\n"
                    "hold 0xFF. Every image read is also kept in the backup folder.\n") +
        std::string(kLinkOptionsHelp) +
        "  --password DIGITS  the radio's data password, when it has one\n";
    Options opts(linkValuedOptions({"-o", "--output", "--password"}), {});
    if (auto code = startCommand("read", kUsage, opts, args)) return *code;
    const auto out = opts.value("-o") ? opts.value("-o") : opts.value("--output");
    if (!out || !opts.positional().empty())
        return fail("read", "-o FILE is required\n" + kUsage, kExitUsage);
    const auto password = opts.value("--password");
    if (password && (password->empty() || password->size() > 6 ||
                     password->find_first_not_of("0123456789") != std::string::npos))
        return fail("read", "--password must be 1 to 6 digits", kExitUsage);

    // An output that cannot be saved is refused before the radio is contacted.
    if (const SaveOutcome check = checkSaveTarget(*out); !check.ok)
        return fail("read", check.detail, kExitRefused);

    openHistoryEarly();
    LinkSession session;
    if (auto code = session.start("read", opts)) return *code;
    CliUi ui("read", session, false, password);
    ui.setProgressVerb("reading");
    RadioData data;
    const int result = readDataFromRadio(session.link(), data, ui);
    ui.endProgress();
    history::Event event = transferEvent(history::kRead, result, ui, *opts.value("--port"), *out);
    if (result != kTransferOk) {
        recordEvent("read", event);
        return ui.failureExit();
    }
    addSerialNumber(session, event);
    setEventImage(event, data);

    const std::string label(data.model.label());
    QString backupError;
    const QString backup = platform::saveBackup(data.image, QString::fromStdString(label), &backupError);
    if (backup.isEmpty())
        std::cerr << "vrl73m-cli read: backup not saved: " << backupError.toStdString() << '\n';
    else
        std::cerr << "backup: " << backup.toStdString() << '\n';

    const DataFileStatus status = writeDataFile(*out, data.image);
    if (status.result != kFileOk) event.message = "data file not saved: " + status.detail;
    recordEvent("read", event);
    if (status.result != kFileOk) return fail("read", status.detail, kExitRefused);
    std::cout << "read " << (label.empty() ? data.image.identity().hex() : label) << " into "
              << *out << '\n';
    return kExitOk;
}

} // namespace vrl::cli
