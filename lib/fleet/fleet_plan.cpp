#include "fleet/fleet_plan.h"

#include "channels/channel_csv.h"
#include "features/field_table.h"
#include "link/texts.h"
#include "link/write_check.h"
#include "model/radio_data.h"

#include <algorithm>
#include <map>
#include <memory>

namespace vrl::fleet {

namespace {

std::string trimmed(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    return std::string(text.substr(b, e - b));
}

int columnOf(const std::vector<std::string>& header, std::string_view name) {
    for (size_t i = 0; i < header.size(); ++i)
        if (trimmed(header[i]) == name) return static_cast<int>(i);
    return -1;
}

} // namespace

std::optional<UnitsTable> readUnitsCsv(std::string_view text, std::string& error) {
    const CsvParse parsed = parseCsv(text);
    if (!parsed.error.empty()) {
        error = "line " + std::to_string(parsed.errorLine) + ": " + parsed.error;
        return std::nullopt;
    }
    if (parsed.records.empty()) {
        error = "the units file has no header line";
        return std::nullopt;
    }
    UnitsTable table;
    table.header = parsed.records.front().fields;
    table.headerLine = parsed.records.front().line;
    for (size_t i = 1; i < parsed.records.size(); ++i) {
        table.rows.push_back(parsed.records[i].fields);
        table.lines.push_back(parsed.records[i].line);
    }
    return table;
}

Plan makePlan(const CDataImage& templ, const UnitsTable& table, const TextSource& texts) {
    Plan plan;
    plan.templateImage.assign(templ.bytes().begin(), templ.bytes().end());
    auto refuse = [&plan](int row, int column, std::string text) {
        plan.errors.push_back({row, column, std::move(text)});
    };
    const int unitColumn = columnOf(table.header, kUnitColumn);
    const int serialColumn = columnOf(table.header, kSerialColumn);
    plan.bySerial = serialColumn >= 0;
    if (unitColumn < 0) refuse(-1, -1, "the header has no Unit column");

    // Every other column must be a settings key of the template's model.
    auto data = std::make_unique<RadioData>();
    data->image = templ;
    data->model.refresh();
    std::map<std::string, int> seen;
    std::vector<std::pair<int, std::string>> keyColumns;
    for (size_t i = 0; i < table.header.size(); ++i) {
        const int col = static_cast<int>(i);
        const std::string name = trimmed(table.header[i]);
        if (!seen.emplace(name, col).second) {
            refuse(-1, col, "column named twice");
            continue;
        }
        if (col == unitColumn || col == serialColumn) continue;
        FieldContext ctx{*data, texts};
        if (!findField(ctx, name)) {
            std::vector<std::string> keys;
            for (const Field& f : allFields(ctx)) keys.push_back(f.key);
            const std::string hint = nearestKey(name, keys);
            refuse(-1, col, "unknown key '" + name + "'" + (hint.empty() ? "" : " (did you mean '" + hint + "'?)"));
            continue;
        }
        keyColumns.emplace_back(col, name);
    }
    if (table.rows.empty()) refuse(-1, -1, "the units file lists no units");
    if (!plan.ok()) return plan;

    std::map<std::string, int> names, serials;
    for (size_t r = 0; r < table.rows.size(); ++r) {
        const int row = static_cast<int>(r);
        const auto& cells = table.rows[r];
        if (cells.size() != table.header.size()) {
            refuse(row, -1, "has " + std::to_string(cells.size()) + " fields, the header " +
                                std::to_string(table.header.size()));
            continue;
        }
        Unit unit;
        unit.name = trimmed(cells[static_cast<size_t>(unitColumn)]);
        if (unit.name.empty())
            refuse(row, unitColumn, "the unit has no name");
        else if (!names.emplace(unit.name, row).second)
            refuse(row, unitColumn, "unit '" + unit.name + "' is named twice");
        if (serialColumn >= 0) {
            unit.serial = trimmed(cells[static_cast<size_t>(serialColumn)]);
            if (unit.serial.empty())
                refuse(row, serialColumn, "the serial number is empty");
            else if (!serials.emplace(unit.serial, row).second)
                refuse(row, serialColumn, "serial number " + unit.serial + " is named twice");
        }
        data->image = templ;
        data->model.refresh();
        FieldContext ctx{*data, texts};
        bool refused = false;
        for (const auto& [col, key] : keyColumns) {
            const std::string& value = cells[static_cast<size_t>(col)];
            if (value.empty()) continue;
            const auto field = findField(ctx, key);
            const FieldAssignResult result =
                field ? assignField(*field, ctx, value) : FieldAssignResult{false, "not a key of this model", {}, {}};
            if (!result.ok) {
                refuse(row, col, result.error);
                refused = true;
                continue;
            }
            unit.assignments.emplace_back(key, value);
            data->model.refresh();
        }
        if (refused) continue;
        const WriteCheck check = checkDataForWrite(data->image);
        if (!check.passes()) {
            refuse(row, -1, "the check before a write refuses the unit's data: " +
                                std::string(texts::englishText(check.messageText())));
            continue;
        }
        unit.image.assign(data->image.bytes().begin(), data->image.bytes().end());
        plan.units.push_back(std::move(unit));
    }
    if (!plan.ok()) plan.units.clear();
    return plan;
}

std::string formatMessage(const UnitsTable& table, const PlanMessage& m) {
    const int line = m.row < 0 ? table.headerLine
                               : (static_cast<size_t>(m.row) < table.lines.size() ? table.lines[static_cast<size_t>(m.row)]
                                                                                  : m.row + 2);
    std::string out = "line " + std::to_string(line);
    if (m.column >= 0) {
        out += ", column " + std::to_string(m.column + 1);
        if (static_cast<size_t>(m.column) < table.header.size()) out += " (" + table.header[static_cast<size_t>(m.column)] + ")";
    }
    return out + ": " + m.text;
}

} // namespace vrl::fleet
