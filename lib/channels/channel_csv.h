// Channel tables as CSV files (RFC 4180), in the program's own layout
// (kChannelColumns) or in CHIRP's (kChirpColumns): the whole file written from
// the store, and a file read back with its layout found from the header line.
// The command line and the desktop program both go through here.
#pragma once

#include "channels/chirp_table.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vrl {

// One field, quoted when it holds a comma, a quote, CR or LF (quotes doubled).
std::string csvField(std::string_view text);
// A record of fields joined by commas and ended by CRLF.
std::string csvLine(const std::vector<std::string>& fields);

struct CsvRecord {
    int line = 0; // line on which the record starts (1-based)
    std::vector<std::string> fields;
};

struct CsvParse {
    std::vector<CsvRecord> records;
    std::string error; // empty when the whole text was read
    int errorLine = 0;
};

// Reads records separated by CRLF or LF; a quoted field may hold commas, line
// breaks and doubled quotes. A final line break does not open an empty record;
// blank lines are skipped.
CsvParse parseCsv(std::string_view text);

enum class ChannelCsvFormat { Own, Chirp };

// The header line and one line per existing channel, in group and channel order.
std::string channelCsvText(const ChannelStore& store, ChannelCsvFormat format);

// A channel CSV as read: the header decides the layout (CHIRP's when it names
// Location and Frequency).
struct ChannelCsv {
    ChannelCsvFormat format = ChannelCsvFormat::Own;
    TextRow header;
    int headerLine = 1;
    std::vector<TableRow> rows;
    std::optional<ImportMessage> error; // the text is no CSV or has no header line
};
ChannelCsv readChannelCsv(std::string_view text);

// Applies a read file: the own layout as importChannelRows does, CHIRP rows
// appended to group `group` (0-based; not used for the own layout). A read error
// or a group the model does not have is reported as an error. As with the row
// imports, the store's image is changed even when errors are reported.
ImportReport importChannelCsv(ChannelStore& store, const ChannelCsv& csv, int group);
// The same with CHIRP rows placed as importChirpRows does.
ImportReport importChannelCsv(ChannelStore& store, const ChannelCsv& csv, const ChirpTarget& target);

} // namespace vrl
