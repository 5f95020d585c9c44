// JSON output of the command line. Texts taken from an image, a file or a radio may
// hold bytes that are not UTF-8; they are replaced in the output, never allowed to
// abort it.
#pragma once

#include <nlohmann/json.hpp>

#include <string>

namespace vrl::cli {

inline std::string jsonText(const nlohmann::json& value) {
    return value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

} // namespace vrl::cli
