// vrl73m-cli: the command-line face of the programming tool, for dealers who
// script their work. Each subcommand lives in its own cmd_*.cpp file.
#include "commands.h"
#include "history_common.h"
#include "signals.h"

#include <iostream>

namespace vrl::cli {

const std::vector<Command>& allCommands() {
    static const std::vector<Command> commands{
        {"models", "list the supported model variants", cmdModels},
        {"identify", "name the model variant of an 8-byte identity", cmdIdentify},
        {"new", "write the New data of a model variant to a data file", cmdNew},
        {"info", "check a data file and show its model and allocation", cmdInfo},
        {"dump", "hex dump of a data file's image bytes", cmdDump},
        {"lang-check", "check a language file with the program's own loader", cmdLangCheck},
        {"read", "read the radio's memory into a data file", cmdRead},
        {"write", "write a data file to the radio", cmdWrite},
        {"trunk-read", "read the trunking board into a data file", cmdTrunkRead},
        {"trunk-write", "write a data file's trunking settings to the board", cmdTrunkWrite},
        {"trunk-align", "key the radio through the trunking board for alignment", cmdTrunkAlign},
        {"radio-info", "show the radio's model, band and serial number", cmdRadioInfo},
        {"checksum", "show the check sum of the radio's memory", cmdChecksum},
        {"channels", "list the channels of a data file (text or CSV)", cmdChannels},
        {"import-csv", "apply a channel CSV to a data file", cmdImportCsv},
        {"settings", "list the radio-wide settings of a data file", cmdSettings},
        {"set", "change settings of a data file by key", cmdSet},
        {"copy", "copy a channel or a whole group within a data file", cmdCopy},
        {"print", "write the print-out of a data file as a PDF", cmdPrint},
        {"test-mode", "check a radio against a data file in test mode and key it", cmdTestMode},
        {"tune", "align one item of a radio in test mode", cmdTune},
        {"diff", "list what differs between two data files or a file and a radio", cmdDiff},
        {"fleet", "write one template to many radios at once, each with its own unit", cmdFleet},
        {"history", "list the radio history, restore an image, find radios by a setting", cmdHistory},
    };
    return commands;
}

} // namespace vrl::cli

namespace {
void printUsage(std::ostream& out) {
    out << "usage: vrl73m-cli COMMAND [OPTIONS]\n       vrl73m-cli --version\n\nCommands:\n";
    for (const auto& c : vrl::cli::allCommands()) {
        std::string name(c.name);
        name.resize(12, ' ');
        out << "  " << name << c.summary << '\n';
    }
    out << "\nRun 'vrl73m-cli COMMAND --help' for the options of a command.\n"
           "Exit status: 0 success, 1 usage error, 2 input refused, 3 communication failure,\n"
           "130 interrupted by a signal (SIGINT, SIGTERM, SIGHUP or SIGQUIT; the radio is\n"
           "unkeyed, left in its normal state and the port closed first).\n"
           "Every command takes --history DB: the radio history to record into (default: the\n"
           "VRL73M_HISTORY variable, else history.sqlite in the data folder).\n";
}
} // namespace

namespace vrl::cli {

// The exit status of a command that returned `code`: a signal or an output that
// failed afterwards (a trace file) overrides success.
int finishCommand(const std::string& name, int code) {
    if (!outputFailure().empty()) {
        std::cerr << "vrl73m-cli " << name << ": " << outputFailure() << '\n';
        if (code == kExitOk) code = kExitRefused;
    }
    if (interruptRequested()) {
        std::cerr << "vrl73m-cli " << name << ": interrupted by signal " << interruptSignal()
                  << '\n';
        return kExitSignal;
    }
    return code;
}

} // namespace vrl::cli

int main(int argc, char** argv) {
    if (argc < 2) {
        printUsage(std::cerr);
        return vrl::cli::kExitUsage;
    }
    std::string name = argv[1];
    if (name == "--version") {
        std::cout << "vrl73m-cli " VRL_VERSION "\n";
        return vrl::cli::kExitOk;
    }
    if (name == "--help" || name == "-h" || name == "help") {
        printUsage(std::cout);
        return vrl::cli::kExitOk;
    }
    vrl::cli::Args args(argv + 2, argv + argc);
    if (!vrl::cli::takeHistoryOption(args)) return vrl::cli::kExitUsage;
    vrl::cli::watchSignals();
    for (const auto& c : vrl::cli::allCommands())
        if (c.name == name) return vrl::cli::finishCommand(name, c.run(args));
    std::cerr << "vrl73m-cli: unknown command '" << name << "'\n";
    printUsage(std::cerr);
    return vrl::cli::kExitUsage;
}
