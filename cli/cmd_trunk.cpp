// vrl73m-cli trunk-read, trunk-write and trunk-align: the trunking board's
// transfer and alignment mode, through the radio's programming cable.
#include "history_common.h"
#include "link_common.h"

#include "features/model_predicates.h"
#include "file/data_file.h"
#include "link/board_align.h"
#include "link/board_transfer.h"
#include "link/texts.h"
#include "link/transfer.h"

#include <chrono>
#include <iostream>
#include <memory>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace vrl::cli {

namespace {

constexpr std::string_view kAccessCodeHelp =
    "  --access-code NNNNN  the board's five-digit access code\n";

std::optional<int> checkAccessCode(std::string_view command, const Options& opts) {
    const auto code = opts.value("--access-code");
    if (!code) return fail(command, "--access-code NNNNN is required", kExitUsage);
    if (code->size() != board::kAccessCodeLength || code->find_first_not_of("0123456789") != std::string::npos)
        return fail(command, "--access-code must be 5 digits", kExitUsage);
    return std::nullopt;
}

// The data file, refused before any byte is sent when its option board is not the
// trunking board.
std::optional<int> loadBoardData(std::string_view command, const std::string& file, RadioData& data) {
    const DataFileStatus status = readDataFile(file, data.image);
    if (status.result != kFileOk) return fail(command, status.detail, kExitRefused);
    data.model.refresh();
    if (!predicates::hasTrunkingBoard(data.image))
        return fail(command, file + ": the data's option board is not the trunking board", kExitRefused);
    return std::nullopt;
}

// What trunk-read and trunk-write share: the data of FILE, the line and the
// questions answered from the command line.
struct BoardRun {
    RadioData data;
    LinkSession session;
    std::unique_ptr<CliUi> ui;

    // nullopt when ready, else the exit status (the message already printed).
    std::optional<int> start(std::string_view command, const Options& opts) {
        if (auto code = checkAccessCode(command, opts)) return code;
        if (auto code = loadBoardData(command, opts.positional()[0], data)) return code;
        if (auto code = session.start(command, opts)) return code;
        ui = std::make_unique<CliUi>(command, session, false, std::nullopt);
        ui->setAccessCode(*opts.value("--access-code"));
        ui->setProgressVerb("records");
        return std::nullopt;
    }
};

// Waits for the given seconds, or (0) for Enter, end of input or Ctrl+C.
void waitWhileTransmitting(long seconds) {
    using namespace std::chrono;
    const auto end = steady_clock::now() + std::chrono::seconds(seconds);
    while (!interruptRequested()) {
        if (seconds > 0) {
            if (steady_clock::now() >= end) return;
            std::this_thread::sleep_for(milliseconds(100));
            continue;
        }
        pollfd in{STDIN_FILENO, POLLIN, 0};
        if (poll(&in, 1, 100) > 0) {
            char buf[256];
            const ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
            // Enter, or no more input: a script must never leave the radio keyed.
            if (n <= 0 || std::string_view(buf, static_cast<size_t>(n)).find('\n') != std::string_view::npos)
                return;
        }
    }
}

} // namespace

int cmdTrunkRead(const Args& args) {
    static const std::string kUsage =
        std::string("usage: vrl73m-cli trunk-read FILE --port DEVICE --access-code NNNNN -o OUT\n"
                    "Reads the trunking board's 396 characters into FILE's data (image\n"
                    "0x8001-0x818C) and writes the result to OUT. FILE's option board must be\n"
                    "the trunking board.\n") +
        std::string(kLinkOptionsHelp) + std::string(kAccessCodeHelp);
    Options opts(linkValuedOptions({"-o", "--output", "--access-code"}), {});
    if (auto code = startCommand("trunk-read", kUsage, opts, args)) return *code;
    const auto out = opts.value("-o") ? opts.value("-o") : opts.value("--output");
    if (!out || opts.positional().size() != 1)
        return fail("trunk-read", "FILE and -o OUT are required\n" + kUsage, kExitUsage);
    // An output that cannot be saved is refused before the board is contacted.
    if (const SaveOutcome check = checkSaveTarget(*out); !check.ok)
        return fail("trunk-read", check.detail, kExitRefused);
    BoardRun run;
    if (auto code = run.start("trunk-read", opts)) return *code;
    const int result = readTrunkingBoard(run.session.link(), run.data.image, *run.ui);
    run.ui->endProgress();
    history::Event event = transferEvent(history::kTrunkRead, result, *run.ui, *opts.value("--port"), *out);
    if (result == kTransferOk) setEventImage(event, run.data);
    recordEvent("trunk-read", event);
    if (result != kTransferOk) return run.ui->failureExit();
    const DataFileStatus status = writeDataFile(*out, run.data.image);
    if (status.result != kFileOk) return fail("trunk-read", status.detail, kExitRefused);
    std::cout << "read the trunking board into " << *out << '\n';
    return kExitOk;
}

int cmdTrunkWrite(const Args& args) {
    static const std::string kUsage =
        std::string("usage: vrl73m-cli trunk-write FILE --port DEVICE --access-code NNNNN\n"
                    "Writes FILE's trunking settings to the board. When FILE holds no access\n"
                    "code yet, the one given is stored in what is sent. FILE's option board\n"
                    "must be the trunking board.\n") +
        std::string(kLinkOptionsHelp) + std::string(kAccessCodeHelp);
    Options opts(linkValuedOptions({"--access-code"}), {});
    if (auto code = startCommand("trunk-write", kUsage, opts, args)) return *code;
    if (opts.positional().size() != 1) return fail("trunk-write", "one FILE is required\n" + kUsage, kExitUsage);
    BoardRun run;
    if (auto code = run.start("trunk-write", opts)) return *code;
    const int result = writeTrunkingBoard(run.session.link(), run.data.image, *run.ui);
    run.ui->endProgress();
    history::Event event =
        transferEvent(history::kTrunkWrite, result, *run.ui, *opts.value("--port"), opts.positional()[0]);
    setEventImage(event, run.data);
    recordEvent("trunk-write", event);
    if (result != kTransferOk) {
        run.ui->tellPartialWrite("trunking board");
        return run.ui->failureExit();
    }
    std::cout << "wrote " << opts.positional()[0] << " to the trunking board\n";
    // The board answers reads only in an exchange of their own, after a new access
    // code: what was stored is not read back.
    std::cerr << "vrl73m-cli trunk-write: note: the board write is not verified (read it "
                 "back with trunk-read to check)\n";
    return kExitOk;
}

int cmdTrunkAlign(const Args& args) {
    static const std::string kUsage =
        std::string("usage: vrl73m-cli trunk-align --port DEVICE --access-code NNNNN [--seconds S]\n"
                    "Trunking alignment mode: the board keys the radio, which transmits DTMF 9\n"
                    "for S seconds (without --seconds: until Enter, end of input or Ctrl+C).\n"
                    "Transmitting is stopped and the board released in every case, also on\n"
                    "SIGINT, SIGTERM, SIGHUP or SIGQUIT (exit status 130). A board that does not\n"
                    "echo the stop and release bytes is a failure (exit 3). Connect a dummy load\n"
                    "first.\n") +
        std::string(kLinkOptionsHelp) + std::string(kAccessCodeHelp) +
        "  --seconds S     transmit for S seconds (1 to 3600)\n";
    Options opts(linkValuedOptions({"--access-code", "--seconds"}), {});
    if (auto code = startCommand("trunk-align", kUsage, opts, args)) return *code;
    if (!opts.positional().empty()) return fail("trunk-align", "no FILE is taken\n" + kUsage, kExitUsage);
    if (auto code = checkAccessCode("trunk-align", opts)) return *code;
    long seconds = 0;
    if (auto s = opts.value("--seconds")) {
        auto n = parseNumber(*s);
        if (!n || *n < 1 || *n > 3600) return fail("trunk-align", "--seconds must be 1 to 3600", kExitUsage);
        seconds = *n;
    }

    LinkSession session;
    if (auto code = session.start("trunk-align", opts)) return *code;
    // Running the command is the confirmation the desktop program asks for.
    CliUi ui("trunk-align", session, true, std::nullopt);
    ui.setYesReason("running trunk-align is the confirmation");
    ui.setAccessCode(*opts.value("--access-code"));
    BoardAlignment mode(session.link(), ui);
    if (!mode.start()) return ui.failureExit();
    std::cerr << "vrl73m-cli trunk-align: transmitting DTMF 9"
              << (seconds > 0 ? " for " + std::to_string(seconds) + " s" : "; press Enter to stop")
              << '\n';
    waitWhileTransmitting(seconds);
    if (!mode.finish()) {
        std::cerr << "vrl73m-cli trunk-align: the trunking board did not confirm the stop and "
                     "the release; the radio may still be transmitting: switch it off\n";
        return kExitComm;
    }
    std::cout << "stopped transmitting; the trunking board is released\n";
    return kExitOk;
}

} // namespace vrl::cli
