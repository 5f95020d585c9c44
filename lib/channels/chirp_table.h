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

// A header is CHIRP's when it names both Location and Frequency. Column names
// match without regard to case and surrounding blanks ("TStep", "tstep ").
bool isChirpHeader(const TextRow& header);

// Every existing channel in group and channel order as kChirpColumns texts. The
// Comment names the channel's place ("G2 C5", then the group name if any).
std::vector<TextRow> exportChirpRows(const ChannelStore& store);

// Where CHIRP rows go.
struct ChirpTarget {
    int first = 0; // first group (0-based) the rows fill
    int last = -1; // last group they may fill; -1: the model's last group
    // When every row's Comment names a free place of the model ("G2 C5", as the
    // export writes it), the rows go back to those places instead.
    bool byPlace = false;
};

// Whether every row's Comment names a free channel of the model, none twice.
bool chirpRowsCarryPlaces(const ChannelStore& store, const TextRow& header,
                          const std::vector<TableRow>& rows);

// Adds the rows as new channels: into the free channel numbers of groups
// target.first to target.last in turn (each group's from its first free number
// on, in file order), or to their own places (target.byPlace). Rows that do not
// all fit are refused with one message naming how many fit. Columns are matched
// by name; Frequency is required, unknown columns are ignored with a warning. A
// row may have more fields than the header when the extra ones are empty, and
// fewer (the missing ones are empty). Messages name the CHIRP file's line and
// column. The store's image is changed even when errors are reported; callers
// work on a copy.
ImportReport importChirpRows(ChannelStore& store, const TextRow& header,
                             const std::vector<TableRow>& rows, const ChirpTarget& target,
                             int headerLine = 1);
// The rows fill groups `group` (0-based) to the last.
ImportReport importChirpRows(ChannelStore& store, const TextRow& header,
                             const std::vector<TableRow>& rows, int group, int headerLine = 1);

} // namespace vrl
