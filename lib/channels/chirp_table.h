// The channel table in CHIRP's CSV layout, the common exchange format of radio
// programming tools: every existing channel as one CHIRP row, and CHIRP rows
// appended as new channels. Both ways run through the plain channel table
// (channel_table.h) and so through the same ChannelStore rules as the grid.
#pragma once

#include "channels/channel_table.h"

#include <array>
#include <string_view>

namespace vrl {

inline constexpr std::array<std::string_view, 21> kChirpColumns{
    "Location",  "Name",     "Frequency",    "Duplex",     "Offset",    "Tone",     "rToneFreq",
    "cToneFreq", "DtcsCode", "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode",     "TStep",
    "Skip",      "Power",    "Comment",      "URCALL",     "RPT1CALL",  "RPT2CALL", "DVCODE"};

// A header is CHIRP's when it names both Location and Frequency.
bool isChirpHeader(const TextRow& header);

// Every existing channel in group and channel order as kChirpColumns texts.
std::vector<TextRow> exportChirpRows(const ChannelStore& store);

// Appends the rows as new channels of group `group` (0-based) from its first free
// channel number on, in file order. Columns are matched by name; Frequency is
// required, unknown columns are ignored. Messages name the CHIRP file's line and
// column. The store's image is changed even when errors are reported; callers
// work on a copy.
ImportReport importChirpRows(ChannelStore& store, const TextRow& header,
                             const std::vector<TableRow>& rows, int group, int headerLine = 1);

} // namespace vrl
