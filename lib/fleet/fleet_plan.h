// Fleet programming, the plan: one template (a data image) and a units table in
// which each row names a unit, optionally the serial number of the radio it is
// for, and the settings keys (the keys of `vrl73m-cli set`) in which the unit
// differs from the template. Every row is applied to the template before any
// radio is contacted, so a bad row stops the run with nothing sent.
#pragma once

#include "channels/text_source.h"
#include "model/data_image.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vrl::fleet {

inline constexpr std::string_view kUnitColumn = "Unit";
inline constexpr std::string_view kSerialColumn = "Serial";

// The units table as read from its CSV: a header and the rows, with the file line
// of each row for messages.
struct UnitsTable {
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
    std::vector<int> lines; // file line of each row (header on line 1 when read from a file)
    int headerLine = 1;
};

// A refusal of the plan. Row -1 is the header; column -1 the whole row.
struct PlanMessage {
    int row = -1;
    int column = -1;
    std::string text;
};

struct Unit {
    std::string name;
    std::string serial; // empty when the table has no Serial column
    std::vector<std::pair<std::string, std::string>> assignments; // key, value (cells left empty are not listed)
    std::vector<uint8_t> image; // the template with the assignments applied
};

struct Plan {
    std::vector<uint8_t> templateImage;
    bool bySerial = false; // the table has a Serial column
    std::vector<Unit> units;
    std::vector<PlanMessage> errors;
    bool ok() const { return errors.empty(); }
};

// Reads a units CSV (RFC 4180, header line). nullopt, with `error` saying where,
// when the text is not CSV or has no header.
std::optional<UnitsTable> readUnitsCsv(std::string_view text, std::string& error);

// Applies every row to a copy of the template, in column order, exactly as `set`
// applies KEY=VALUE (an empty cell keeps the template's value). Refused: a header
// without Unit, a column named twice or no settings key, an empty or repeated
// unit name or serial, a row with the wrong number of fields, a value the field
// refuses, and a unit whose data the check before a write refuses.
Plan makePlan(const CDataImage& templ, const UnitsTable& table, const TextSource& texts);

// "line 3, column 2 (dtmf.id_code): ..." with the table's line numbers.
std::string formatMessage(const UnitsTable& table, const PlanMessage& message);

} // namespace vrl::fleet
