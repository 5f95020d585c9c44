// Channel fields as settings keys, for `set` and the units file of fleet
// programming: `channel.G.C.COLUMN` names one channel's field, `channels.COLUMN`
// that field of every channel in use. COLUMN is a column of the channel CSV
// (IdCode, BeginOfTx, Name, ...; letter case does not matter) and a value goes
// through the same rules and refusals as a cell of an imported channel CSV.
#pragma once

#include "features/field_table.h"

#include <optional>
#include <string_view>

namespace vrl {

// The key has the channel-key prefix ("channel." or "channels.").
bool isChannelKey(std::string_view key);

// The cell field of a channel key, or nothing when the key is not well formed
// (numbers, a column that is not a channel field). Group and channel ranges are
// checked when a value is assigned, as the CSV import checks them.
std::optional<Field> channelKeyField(const FieldContext& ctx, std::string_view key);

} // namespace vrl
