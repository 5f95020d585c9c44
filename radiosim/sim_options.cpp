#include "sim_options.h"

#include "model/model_table.h"

#include <charconv>
#include <map>

namespace vrl::radiosim {

const char* const kUsage =
    "usage: vrl73m-radiosim [MEMORY] [OPTIONS]\n"
    "Serves as one radio on a new pseudo-terminal until stopped (Ctrl+C). Prints the\n"
    "device path to use as the program's port.\n"
    "Memory (one of):\n"
    "  --file FILE          the image of a data file (its model is the radio's)\n"
    "  --row N [--band P]   New data of model row N (0-37) and band position P (default\n"
    "                       row 0, band 0)\n"
    "Radio:\n"
    "  --firmware TEXT      firmware version text (default \"v2.30\"; \"v1.00 \" = oldest)\n"
    "  --password DIGITS    data password (up to 6 digits)\n"
    "  --serial TEXT        serial number in the information block (default SIM000000001)\n"
    "  --baud RATE          rate the radio answers at: 9600, 19200, 4800, 2400, 1200\n"
    "  --save FILE          save the memory as a data file on exit\n"
    "  --key-delay MS       answer a key command in test mode only after MS\n"
    "  --throttle           take the line time of every byte (11 bits at the rate)\n"
    "  --link PATH          also make PATH a symbolic link to the device\n"
    "  --verbose            log every exchange on stderr\n"
    "  --version            show the version and end\n"
    "Faults:\n"
    "  --drop-command N [--drop-count K]   commands N .. N+K-1 go unheard\n"
    "  --late-command N[,N...] [--late-ms MS]  these commands are answered after MS\n"
    "                                      (default 5000; the ACK that closes a reply\n"
    "                                      counts as a command too)\n"
    "  --late-block N                      the first reply to a request for block N\n"
    "                                      (read or write) comes after MS\n"
    "  --late-ack-block N                  the radio's first ACK closing block N (after\n"
    "                                      its read reply, or for its write) comes after MS\n"
    "  --bad-checksum-block N              first read of block N has a wrong checksum\n"
    "  --nak-block N                       first write of block N is answered NAK\n"
    "  --silent-block N [--silent-times K] block N goes unanswered K times (default 3)\n"
    "  --hangup-block N                    hang up when block N is asked for\n"
    "  --hit-reply-marker N                the first read reply of block N starts with\n"
    "                                      its first byte changed (\"W\" <-> \"Z\")\n"
    "  --hit-block-number N                the first write of block N arrives with its\n"
    "                                      block number changed (stored one block off)\n"
    "  --hit-fill N                        the fill byte of the first \"Z\" write of\n"
    "                                      block N, or of its first \"Z\" read reply,\n"
    "                                      arrives changed\n"
    "  --hit-request-number N              the first read request of block N arrives\n"
    "                                      with its block number changed (the reply\n"
    "                                      brings the block next to it)\n"
    "Trunking board (fitted when the model names it, or with --board):\n"
    "  --board              fit a trunking board whatever the model\n"
    "  --access-code NNNNN  the board's access code (default 00000)\n"
    "  --board-reject-code  every access code is answered as wrong\n"
    "  --board-crlf         the access code is answered \"2\" CR LF (a rejection)\n"
    "  --board-lost-record N [--board-lost-times K]  record N (0-98) never arrives, K times\n"
    "  --board-late-echo N [--board-late-ms MS]      alignment echo N comes late, after\n"
    "                       other bytes (default 300 ms)\n";

namespace {

std::optional<long> number(const std::string& text) {
    long v = 0;
    int base = 10;
    std::string_view s = text;
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        base = 16;
        s.remove_prefix(2);
    }
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return v;
}

} // namespace

std::optional<SimOptions> parseSimOptions(const std::vector<std::string>& args, std::string& error) {
    static const std::map<std::string, bool> kKnown{
        {"--file", true},         {"--row", true},
        {"--band", true},         {"--firmware", true},
        {"--password", true},     {"--serial", true},
        {"--baud", true},         {"--save", true},
        {"--link", true},         {"--drop-command", true},
        {"--drop-count", true},   {"--late-command", true},
        {"--late-ms", true},      {"--bad-checksum-block", true},
        {"--nak-block", true},    {"--silent-block", true},
        {"--silent-times", true}, {"--hangup-block", true},
        {"--late-block", true},   {"--late-ack-block", true},
        {"--hit-reply-marker", true}, {"--hit-block-number", true}, {"--hit-fill", true},
        {"--hit-request-number", true},
        {"--key-delay", true},    {"--throttle", false},
        {"--verbose", false},
        {"--board", false},       {"--access-code", true},  {"--board-reject-code", false},
        {"--board-crlf", false},  {"--board-lost-record", true}, {"--board-lost-times", true},
        {"--board-late-echo", true}, {"--board-late-ms", true},
    };
    std::map<std::string, std::string> v;
    for (size_t i = 0; i < args.size(); ++i) {
        auto it = kKnown.find(args[i]);
        if (it == kKnown.end()) {
            error = "unknown option " + args[i];
            return std::nullopt;
        }
        if (!it->second) {
            v[args[i]] = "1";
            continue;
        }
        if (i + 1 >= args.size()) {
            error = args[i] + " needs a value";
            return std::nullopt;
        }
        v[args[i]] = args[i + 1];
        ++i;
    }
    auto num = [&](const char* name, long lo, long hi, long def) -> std::optional<long> {
        if (!v.count(name)) return def;
        auto n = number(v[name]);
        if (!n || *n < lo || *n > hi) {
            error = std::string(name) + " must be " + std::to_string(lo) + " to " + std::to_string(hi);
            return std::nullopt;
        }
        return n;
    };

    SimOptions o;
    if (v.count("--file")) {
        if (v.count("--row")) {
            error = "give --file or --row, not both";
            return std::nullopt;
        }
        const auto status = sim::loadSimRadio(v["--file"], o.radio);
        if (status.result != kFileOk) {
            error = status.detail;
            return std::nullopt;
        }
    } else {
        auto row = num("--row", 0, kModelRowCount - 1, 0);
        if (!row) return std::nullopt;
        auto band = num("--band", 0, modelTable()[*row].bandCount - 1, 0);
        if (!band) return std::nullopt;
        o.radio = sim::newSimRadio(
            models::identityFor(static_cast<int>(*row), static_cast<int>(*band), OptionBoard::None));
    }
    o.radio.config.version = sim::firmwareFromText(v.count("--firmware") ? v["--firmware"] : "v2.30");
    o.radio.config.info = sim::infoBlockWithSerial(v.count("--serial") ? v["--serial"] : "SIM000000001");
    auto baud = num("--baud", 1200, 19200, 9600);
    if (!baud) return std::nullopt;
    if (*baud != 9600 && *baud != 19200 && *baud != 4800 && *baud != 2400 && *baud != 1200) {
        error = "--baud must be 9600, 19200, 4800, 2400 or 1200";
        return std::nullopt;
    }
    o.radio.config.answerBaud = static_cast<int>(*baud);
    if (v.count("--password")) {
        o.password = v["--password"];
        if (o.password.empty() || o.password.size() > 6 ||
            o.password.find_first_not_of("0123456789") != std::string::npos) {
            error = "--password must be 1 to 6 digits";
            return std::nullopt;
        }
    }
    auto& f = o.radio.config.faults;
    struct IntOption {
        const char* name;
        int* target;
        long lo, hi;
    };
    const IntOption ints[] = {
        {"--drop-command", &f.dropCommand, 1, 1000000},
        {"--drop-count", &f.dropCount, 1, 1000},
        {"--late-ms", &f.lateDelayMs, 0, 60000},
        {"--late-block", &f.lateBlock, 0, 255},
        {"--late-ack-block", &f.lateAckBlock, 0, 255},
        {"--bad-checksum-block", &f.badChecksumBlock, 0, 255},
        {"--nak-block", &f.nakBlock, 0, 255},
        {"--silent-block", &f.silentBlock, 0, 255},
        {"--silent-times", &f.silentTimes, 1, 1000},
        {"--hangup-block", &f.hangupBlock, 0, 255},
        {"--hit-reply-marker", &f.hitReplyMarkerBlock, 0, 255},
        {"--hit-block-number", &f.hitBlockNumberBlock, 0, 255},
        {"--hit-fill", &f.hitFillBlock, 0, 255},
        {"--hit-request-number", &f.hitRequestNumberBlock, 0, 255},
        {"--key-delay", &o.radio.config.keyDelayMs, 0, 60000},
    };
    for (const auto& io : ints) {
        if (!v.count(io.name)) continue;
        auto n = num(io.name, io.lo, io.hi, 0);
        if (!n) return std::nullopt;
        *io.target = static_cast<int>(*n);
    }
    if (v.count("--late-command")) {
        // A comma-separated list of command numbers.
        std::string list = v["--late-command"];
        size_t start = 0;
        while (start <= list.size()) {
            const size_t comma = std::min(list.find(',', start), list.size());
            auto n = number(list.substr(start, comma - start));
            if (!n || *n < 1 || *n > 1000000) {
                error = "--late-command must be command numbers 1 to 1000000, separated by commas";
                return std::nullopt;
            }
            f.lateCommands.push_back(static_cast<int>(*n));
            start = comma + 1;
        }
    }
    auto& board = o.radio.board;
    if (v.count("--board")) o.radio.boardFitted = true;
    if (v.count("--access-code")) {
        board.accessCode = v["--access-code"];
        if (board.accessCode.size() != 5 ||
            board.accessCode.find_first_not_of("0123456789") != std::string::npos) {
            error = "--access-code must be 5 digits";
            return std::nullopt;
        }
    }
    board.faults.rejectCode = v.count("--board-reject-code") != 0;
    board.faults.crlfAnswer = v.count("--board-crlf") != 0;
    const IntOption boardInts[] = {
        {"--board-lost-record", &board.faults.lostRecord, 0, 98},
        {"--board-lost-times", &board.faults.lostTimes, 1, 1000},
        {"--board-late-echo", &board.faults.lateEcho, 1, 1000},
        {"--board-late-ms", &board.faults.lateEchoMs, 0, 60000},
    };
    for (const auto& io : boardInts) {
        if (!v.count(io.name)) continue;
        auto n = num(io.name, io.lo, io.hi, 0);
        if (!n) return std::nullopt;
        *io.target = static_cast<int>(*n);
    }
    o.saveFile = v.count("--save") ? v["--save"] : "";
    o.linkPath = v.count("--link") ? v["--link"] : "";
    o.throttle = v.count("--throttle") != 0;
    o.verbose = v.count("--verbose") != 0;
    return o;
}

} // namespace vrl::radiosim
