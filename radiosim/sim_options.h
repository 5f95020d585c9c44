// Command line of vrl73m-radiosim.
#pragma once

#include "sim/sim_setup.h"

#include <optional>
#include <string>
#include <vector>

namespace vrl::radiosim {

struct SimOptions {
    sim::SimRadio radio;
    std::string password;      // data password put into the memory, empty = keep
    std::string saveFile;      // memory saved here on exit
    std::string linkPath;      // a symbolic link to the device, for scripts
    bool throttle = false;     // bytes take their line time at the radio's rate
    bool verbose = false;
};

extern const char* const kUsage;

// nullopt with `error` set when the command line is wrong.
std::optional<SimOptions> parseSimOptions(const std::vector<std::string>& args, std::string& error);

} // namespace vrl::radiosim
