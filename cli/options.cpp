#include "options.h"

#include <charconv>
#include <iostream>

namespace vrl::cli {

Options::Options(std::set<std::string> valued, std::set<std::string> flags)
    : valued_(std::move(valued)), flags_(std::move(flags)) {
    flags_.insert("--help");
}

bool Options::parse(const Args& args) {
    for (size_t i = 0; i < args.size(); ++i) {
        std::string arg = args[i];
        if (arg.size() < 2 || arg[0] != '-' || arg == "--") {
            positional_.push_back(arg);
            continue;
        }
        if (arg == "-h") arg = "--help";
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (auto eq = arg.find('='); eq != std::string::npos && arg.rfind("--", 0) == 0) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        if (flags_.count(name) && !inlineValue) {
            seen_.insert(name);
        } else if (valued_.count(name)) {
            if (values_.count(name)) {
                error_ = "option " + name + " is given twice";
                return false;
            }
            if (inlineValue) {
                values_[name] = *inlineValue;
            } else if (i + 1 < args.size()) {
                values_[name] = args[++i];
            } else {
                error_ = "option " + name + " needs a value";
                return false;
            }
            seen_.insert(name);
        } else {
            error_ = "unknown option " + arg;
            return false;
        }
    }
    return true;
}

bool Options::has(const std::string& name) const { return seen_.count(name) != 0; }

std::optional<std::string> Options::value(const std::string& name) const {
    auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
}

std::optional<long> parseNumber(const std::string& text) {
    int base = 10;
    std::string_view digits = text;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        base = 16;
        digits.remove_prefix(2);
    }
    if (digits.empty()) return std::nullopt;
    long value = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, base);
    if (ec != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return value;
}

int fail(std::string_view command, const std::string& message, int code) {
    std::cerr << "vrl73m-cli " << command << ": " << message << '\n';
    return code;
}

int printHelp(std::string_view usage) {
    std::cout << usage;
    if (!usage.empty() && usage.back() != '\n') std::cout << '\n';
    return kExitOk;
}

std::optional<int> startCommand(std::string_view command, std::string_view usage, Options& opts,
                                const Args& args) {
    if (!opts.parse(args)) {
        std::cerr << "vrl73m-cli " << command << ": " << opts.error() << "\n" << usage;
        return kExitUsage;
    }
    if (opts.has("--help")) return printHelp(usage);
    return std::nullopt;
}

} // namespace vrl::cli
