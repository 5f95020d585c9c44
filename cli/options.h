// A small option parser shared by the subcommands: "--name value", "--name=value",
// flags, "-o FILE" and positional arguments. Every subcommand accepts --help.
#pragma once

#include "commands.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vrl::cli {

class Options {
  public:
    // `valued` lists the options that take a value ("--row", "-o", ...), `flags` those
    // that do not ("--json", "--yes"). --help is always a flag.
    Options(std::set<std::string> valued, std::set<std::string> flags);

    // False on an unknown option, a missing value or a valued option given twice;
    // error() then says which.
    bool parse(const Args& args);

    bool has(const std::string& name) const;
    std::optional<std::string> value(const std::string& name) const;
    const std::vector<std::string>& positional() const { return positional_; }
    const std::string& error() const { return error_; }

  private:
    std::set<std::string> valued_;
    std::set<std::string> flags_;
    std::map<std::string, std::string> values_;
    std::set<std::string> seen_;
    std::vector<std::string> positional_;
    std::string error_;
};

// Parses a whole decimal or 0x-prefixed hexadecimal number; nullopt on any junk.
std::optional<long> parseNumber(const std::string& text);

// Prints "vrl73m-cli NAME: MESSAGE" to stderr and returns `code`.
int fail(std::string_view command, const std::string& message, int code);

// Prints `usage` to stdout (for --help) and returns kExitOk.
int printHelp(std::string_view usage);

// Standard handling at the start of a subcommand: parses, answers --help, reports
// usage errors. Returns nullopt when the command should go on, else the exit code.
std::optional<int> startCommand(std::string_view command, std::string_view usage, Options& opts,
                                const Args& args);

} // namespace vrl::cli
