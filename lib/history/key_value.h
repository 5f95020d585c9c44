// The value of a setting key in an image, as `vrl73m-cli set` names it: a field of
// the field table ("scan.mode"), or a channel column ("channel.1.3.Receive").
#pragma once

#include "channels/text_source.h"
#include "model/radio_data.h"

#include <optional>
#include <string>
#include <string_view>

namespace vrl::history {

// The shown text; nullopt when the model has no such key (or no such channel).
std::optional<std::string> keyValue(RadioData& data, const TextSource& texts, std::string_view key);

// The two texts name the same value: equal, or equal as decimal numbers
// ("151.82" and "151.82000").
bool sameValue(std::string_view a, std::string_view b);

} // namespace vrl::history
