#include "channels/channel_csv.h"

#include "util/utf8.h"

namespace vrl {

std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + '"';
}

std::string csvLine(const std::vector<std::string>& fields) {
    std::string out;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) out += ',';
        out += csvField(fields[i]);
    }
    return out + "\r\n";
}

CsvParse parseCsv(std::string_view text) {
    CsvParse out;
    CsvRecord record;
    std::string field;
    int line = 1;
    bool quoted = false;    // inside a quoted field
    bool wasQuoted = false; // the current field was quoted (only a separator may follow)
    bool recordStarted = false;
    record.line = 1;
    auto endField = [&] {
        record.fields.push_back(std::move(field));
        field.clear();
        wasQuoted = false;
    };
    auto endRecord = [&] {
        endField();
        const bool blank = record.fields.size() == 1 && record.fields[0].empty() && !recordStarted;
        if (!blank) out.records.push_back(std::move(record));
        record = CsvRecord{};
        recordStarted = false;
    };
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (!recordStarted && record.fields.empty() && field.empty()) record.line = line;
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                    wasQuoted = true;
                }
            } else {
                if (c == '\n') ++line;
                field += c;
            }
            continue;
        }
        if (c == ',') {
            recordStarted = true;
            endField();
        } else if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue; // the LF ends the record
        } else if (c == '\n') {
            endRecord();
            ++line;
        } else if (wasQuoted) {
            out.error = "text after a closing quote";
            out.errorLine = line;
            return out;
        } else if (c == '"' && field.empty()) {
            quoted = true;
            recordStarted = true;
        } else {
            field += c;
            recordStarted = true;
        }
    }
    if (quoted) {
        out.error = "a quoted field is not closed";
        out.errorLine = record.line;
        return out;
    }
    if (recordStarted || !field.empty() || !record.fields.empty()) endRecord();
    return out;
}

std::string channelCsvText(const ChannelStore& store, ChannelCsvFormat format) {
    const bool chirp = format == ChannelCsvFormat::Chirp;
    std::string out = chirp ? csvLine(TextRow(kChirpColumns.begin(), kChirpColumns.end()))
                            : csvLine(TextRow(kChannelColumns.begin(), kChannelColumns.end()));
    for (const TextRow& row : chirp ? exportChirpRows(store) : exportChannelRows(store))
        out += csvLine(row);
    return validUtf8(out);
}

ChannelCsv readChannelCsv(std::string_view text) {
    // Spreadsheets save UTF-8 CSV with a byte order mark; it is no part of the
    // first column's name.
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
    ChannelCsv out;
    CsvParse csv = parseCsv(text);
    if (!csv.error.empty()) {
        out.error = ImportMessage{csv.errorLine, "", csv.error};
        return out;
    }
    if (csv.records.empty()) {
        out.error = ImportMessage{1, "", "the CSV has no header line"};
        return out;
    }
    out.header = std::move(csv.records[0].fields);
    out.headerLine = csv.records[0].line;
    out.format = isChirpHeader(out.header) ? ChannelCsvFormat::Chirp : ChannelCsvFormat::Own;
    for (size_t i = 1; i < csv.records.size(); ++i)
        out.rows.push_back({csv.records[i].line, std::move(csv.records[i].fields)});
    return out;
}

ImportReport importChannelCsv(ChannelStore& store, const ChannelCsv& csv, int group) {
    return importChannelCsv(store, csv, ChirpTarget{group, -1, false});
}

ImportReport importChannelCsv(ChannelStore& store, const ChannelCsv& csv, const ChirpTarget& target) {
    const int group = target.first;
    if (csv.error) {
        ImportReport report;
        report.errors.push_back(*csv.error);
        return report;
    }
    if (csv.format == ChannelCsvFormat::Own)
        return importChannelRows(store, csv.header, csv.rows, csv.headerLine);
    if (group < 0 || group >= store.groupCount()) {
        ImportReport report;
        report.errors.push_back({csv.headerLine, "",
                                 "group " + std::to_string(group + 1) + " is not one of 1 to " +
                                     std::to_string(store.groupCount())});
        return report;
    }
    return importChirpRows(store, csv.header, csv.rows, target, csv.headerLine);
}

} // namespace vrl
