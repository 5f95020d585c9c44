// The channel table as text: one row per existing channel with the group and
// channel numbers and the 19 fields as display texts, and the way back, applying
// such rows through the ChannelStore exactly as the channel grid would.
#pragma once

#include "channels/channel_store.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vrl {

// Column names: "Group", "Channel", then the 19 fields in field-code order.
inline constexpr std::array<std::string_view, 21> kChannelColumns{
    "Group",     "Channel",    "Receive",   "Transmit",   "Decode",   "Encode",
    "Name",      "OptionSignalling", "IdCode", "BusyLockout", "TxPower", "Width",
    "PttId",     "BeginOfTx",  "EndOfTx",   "Scrambler",  "BeatShift", "Compander",
    "Priority",  "Home",       "ScanAdd"};

using TextRow = std::vector<std::string>;

// A column of the channel grid after the channel number: its field and header text.
struct GridColumn {
    ChannelField field;
    int headerText;
};
// The columns the channel grid shows for the current model (the print-out shows
// the same).
std::vector<GridColumn> gridColumns(const ChannelStore& store);

// Every existing channel, in index order, as kChannelColumns texts.
std::vector<TextRow> exportChannelRows(const ChannelStore& store);

struct TableRow {
    int line = 0; // line number of the row in its file, for messages
    TextRow cells;
};

struct ImportMessage {
    int line = 0;
    std::string column; // empty for a message about the whole row or header
    std::string text;
    std::string format() const;
};

struct ImportReport {
    std::vector<ImportMessage> errors;   // any error: the caller keeps nothing
    std::vector<ImportMessage> warnings; // stored all the same
    int created = 0;
    int deleted = 0;
    int changed = 0;
    bool ok() const { return errors.empty(); }
};

// The number of rows whose frequencies were stored outside the model's band.
int rowsOutOfBand(const ImportReport& report);

// Applies rows (header given separately, columns matched by name, any order,
// missing columns left unchanged) in order. The store's image is changed even
// when errors are reported; callers work on a copy.
ImportReport importChannelRows(ChannelStore& store, const TextRow& header,
                               const std::vector<TableRow>& rows, int headerLine = 1);

} // namespace vrl
