// Subcommands of vrl73m-cli. Each takes the arguments after its name and
// returns the process exit status.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vrl::cli {

enum Exit : int {
    kExitOk = 0,
    kExitUsage = 1,   // bad command line
    kExitRefused = 2, // input refused (file, identity, question answered no, ...)
    kExitComm = 3,    // communication with the radio failed
    kExitSignal = 130, // ended by SIGINT, SIGTERM, SIGHUP or SIGQUIT, after the clean-up
};

// The exit status after a command returned `code` (signals, late output failures).
int finishCommand(const std::string& name, int code);

using Args = std::vector<std::string>;

struct Command {
    std::string_view name;
    std::string_view summary;
    int (*run)(const Args& args);
};

int cmdModels(const Args& args);
int cmdIdentify(const Args& args);
int cmdNew(const Args& args);
int cmdInfo(const Args& args);
int cmdDump(const Args& args);
int cmdLangCheck(const Args& args);
int cmdRead(const Args& args);
int cmdWrite(const Args& args);
int cmdTrunkRead(const Args& args);
int cmdTrunkWrite(const Args& args);
int cmdTrunkAlign(const Args& args);
int cmdRadioInfo(const Args& args);
int cmdChecksum(const Args& args);
int cmdChannels(const Args& args);
int cmdImportCsv(const Args& args);
int cmdSettings(const Args& args);
int cmdSet(const Args& args);
int cmdCopy(const Args& args);
int cmdPrint(const Args& args);
int cmdTestMode(const Args& args);
int cmdTune(const Args& args);
int cmdDiff(const Args& args);
int cmdFleet(const Args& args);
int cmdHistory(const Args& args);

// The table of all subcommands, in the order `vrl73m-cli --help` lists them.
const std::vector<Command>& allCommands();

} // namespace vrl::cli
