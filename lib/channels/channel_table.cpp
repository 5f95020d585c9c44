#include "channels/channel_table.h"

#include "model/tone_code.h"

#include <algorithm>
#include <charconv>
#include <map>
#include <set>

namespace vrl {

std::vector<GridColumn> gridColumns(const ChannelStore& store) {
    const int kind = store.radioKind();
    const bool widthShown = kind != 3 && kind != 6;
    std::vector<GridColumn> cols{{ChannelField::Receive, 179},
                                 {ChannelField::Transmit, 180},
                                 {ChannelField::Decode, 181},
                                 {ChannelField::Encode, 182}};
    if (!store.smallModel()) cols.push_back({ChannelField::Name, 183});
    cols.push_back({ChannelField::TxPower, 184});
    if (widthShown) cols.push_back({ChannelField::Width, 187});
    if (!store.hasTrunking()) {
        if (!store.smallModel()) cols.push_back({ChannelField::ScanAdd, 192});
        cols.push_back({ChannelField::OptionSignalling, 195});
    }
    return cols;
}

namespace {
constexpr int kGroupColumn = 0;
constexpr int kChannelColumn = 1;
constexpr int kFirstFieldColumn = 2;

std::optional<int> parseIndex(const std::string& text) {
    int v = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
    return v;
}

std::string joinQuoted(const std::vector<std::string>& items) {
    std::string out;
    for (const auto& s : items) out += (out.empty() ? "\"" : ", \"") + s + "\"";
    return out;
}

// A number of a file as a whole: digits with at most one decimal point or comma,
// blanks around it allowed. "452.0abc", "452.0 MHz", "0x1C4" or "45\"2.0" are not.
bool isWholeNumber(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return false;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    bool digit = false, point = false;
    for (char c : text) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if ((c == '.' || c == ',') && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

// The off text, a CST code typed as the tone edit takes it, or an ST frequency as a
// whole number.
bool isToneText(const std::string& text, const std::string& offText) {
    if (text == offText || text.empty()) return true;
    if (text[0] == 'D' || text[0] == 'd')
        return std::all_of(text.begin(), text.end(), [](char c) { return filterToneChar(c) != 0; });
    return isWholeNumber(text);
}

std::string toneCapitals(std::string text, const std::string& offText) {
    if (text == offText) return text;
    for (char& c : text) c = filterToneChar(c);
    return text;
}

std::string refusal(StoreResult r, ChannelField f) {
    switch (r) {
    case StoreResult::CannotCreate: return "no free channel memory for a new channel";
    case StoreResult::IdCodeTooShort: return "an ID code needs at least three digits";
    case StoreResult::NoChannel: return "the channel does not exist";
    case StoreResult::Invalid:
        switch (f) {
        case ChannelField::Receive:
        case ChannelField::Transmit: return "not a frequency";
        case ChannelField::Name: return "a name takes only the display characters";
        case ChannelField::IdCode: return "an ID code takes only digits, up to the radio's length";
        case ChannelField::BeginOfTx:
        case ChannelField::EndOfTx: return "a DTMF code takes up to 16 of 0-9 A-D * #";
        case ChannelField::Scrambler: return "a scrambler code is 1 to 16 or off";
        default: return "value not accepted";
        }
    default: return {};
    }
}
} // namespace

std::string ImportMessage::format() const {
    std::string out = "line " + std::to_string(line);
    if (!column.empty()) out += ", column " + column;
    return out + ": " + text;
}

int rowsOutOfBand(const ImportReport& report) {
    std::set<int> lines;
    for (const ImportMessage& w : report.warnings)
        if (w.text == "frequency outside the model's band, stored all the same") lines.insert(w.line);
    return static_cast<int>(lines.size());
}

std::vector<TextRow> exportChannelRows(const ChannelStore& store) {
    std::vector<TextRow> rows;
    for (auto [g, c] : store.existingChannels()) {
        TextRow row{std::to_string(g + 1), std::to_string(c + 1)};
        for (int code = 0; code < kChannelFieldCount; ++code)
            row.push_back(store.getText(fieldOf(code), g, c).value_or(""));
        rows.push_back(std::move(row));
    }
    return rows;
}

ImportReport importChannelRows(ChannelStore& store, const TextRow& header,
                               const std::vector<TableRow>& rows, int headerLine) {
    ImportReport report;
    // Column of each known name.
    std::array<int, kChannelColumns.size()> columnOf;
    columnOf.fill(-1);
    for (size_t i = 0; i < header.size(); ++i) {
        auto it = std::find(kChannelColumns.begin(), kChannelColumns.end(), header[i]);
        const std::string where = std::to_string(i + 1) + " (" + header[i] + ")";
        if (it == kChannelColumns.end()) {
            report.errors.push_back({headerLine, where, "unknown column name"});
            continue;
        }
        const auto known = static_cast<size_t>(it - kChannelColumns.begin());
        if (columnOf[known] >= 0) {
            report.errors.push_back({headerLine, where, "column named twice"});
            continue;
        }
        columnOf[known] = static_cast<int>(i);
    }
    for (int required : {kGroupColumn, kChannelColumn})
        if (columnOf[required] < 0)
            report.errors.push_back(
                {headerLine, "", "the header has no " + std::string(kChannelColumns[required]) + " column"});
    if (!report.ok()) return report;

    const std::string offText = store.text(chtext::kOff);
    for (const TableRow& row : rows) {
        auto columnName = [&](int known) {
            return std::to_string(columnOf[known] + 1) + " (" + std::string(kChannelColumns[known]) + ")";
        };
        if (row.cells.size() != header.size()) {
            report.errors.push_back({row.line, "", "has " + std::to_string(row.cells.size()) +
                                                       " fields, the header " + std::to_string(header.size())});
            continue;
        }
        auto cell = [&](int known) -> const std::string& { return row.cells[columnOf[known]]; };
        auto error = [&](int known, std::string text) {
            report.errors.push_back({row.line, columnName(known), std::move(text)});
        };
        const auto group = parseIndex(cell(kGroupColumn));
        if (!group || *group < 1 || *group > store.groupCount()) {
            error(kGroupColumn, "group must be 1 to " + std::to_string(store.groupCount()));
            continue;
        }
        const int g = *group - 1;
        const auto channel = parseIndex(cell(kChannelColumn));
        if (!channel || *channel < 1 || *channel > store.channelsInGroup(g)) {
            error(kChannelColumn, "channel must be 1 to " + std::to_string(store.channelsInGroup(g)));
            continue;
        }
        const int c = *channel - 1;
        // A row counts as changed when any text of an existing channel differs after it.
        auto channelTexts = [&] {
            std::vector<std::optional<std::string>> texts;
            for (int code = 0; code < kChannelFieldCount; ++code) texts.push_back(store.getText(fieldOf(code), g, c));
            return texts;
        };
        const bool existedBefore = store.exists(g, c);
        const auto textsBefore = existedBefore ? channelTexts() : decltype(channelTexts()){};

        const int rxColumn = kFirstFieldColumn + codeOf(ChannelField::Receive);
        if (columnOf[rxColumn] >= 0) {
            const std::string& rx = cell(rxColumn);
            if (rx.find_first_not_of(' ') != std::string::npos && !isWholeNumber(rx)) {
                error(rxColumn, "\"" + rx + "\" is not a frequency in MHz (digits and one decimal point)");
                continue;
            }
            if (rx.find_first_not_of(' ') == std::string::npos) {
                if (store.exists(g, c)) {
                    store.deleteChannel(g, c);
                    ++report.deleted;
                }
                continue;
            }
            if (store.getText(ChannelField::Receive, g, c) != rx) {
                const bool existed = store.exists(g, c);
                const StoreResult r = store.setText(rx, g, c, ChannelField::Receive);
                if (r == StoreResult::OutOfBand)
                    report.warnings.push_back({row.line, columnName(rxColumn),
                                               "frequency outside the model's band, stored all the same"});
                else if (r != StoreResult::Ok) {
                    error(rxColumn, refusal(r, ChannelField::Receive));
                    continue;
                }
                if (!existed) ++report.created;
            }
        } else if (!store.exists(g, c)) {
            error(kChannelColumn, "the channel does not exist and the row has no Receive column");
            continue;
        }

        for (int code = 1; code < kChannelFieldCount; ++code) {
            const int known = kFirstFieldColumn + code;
            if (columnOf[known] < 0) continue;
            const ChannelField f = fieldOf(code);
            std::string value = cell(known);
            if (f == ChannelField::Transmit && value.find_first_not_of(' ') != std::string::npos &&
                !isWholeNumber(value)) {
                error(known, "\"" + value + "\" is not a frequency in MHz (digits and one decimal point)");
                continue;
            }
            if (f == ChannelField::Name && value.size() > static_cast<size_t>(std::max(store.nameLength(), 0)) &&
                value.find_first_not_of(' ', static_cast<size_t>(std::max(store.nameLength(), 0))) !=
                    std::string::npos) {
                report.warnings.push_back({row.line, columnName(known),
                                           "cut to the radio's " + std::to_string(store.nameLength()) +
                                               " characters"});
                value.resize(static_cast<size_t>(std::max(store.nameLength(), 0)));
            }
            const auto before = store.getText(f, g, c);
            if (before == value) continue;
            const bool enabled = store.isEnabled(f, g, c);
            StoreResult r;
            if (store.isChoiceField(f)) {
                const auto list = store.choices(f);
                auto it = std::find(list.begin(), list.end(), value);
                if (it == list.end()) {
                    error(known, "\"" + value + "\" is not one of " + joinQuoted(list));
                    continue;
                }
                r = store.setChoice(f, g, c, static_cast<int>(it - list.begin()));
            } else {
                if ((f == ChannelField::Decode || f == ChannelField::Encode) && !isToneText(value, offText)) {
                    error(known, "\"" + value + "\" is not a tone (ST in Hz, or D and an octal code with N or I)");
                    continue;
                }
                // Tone texts take the same capitals the tone edit types for d, i and n.
                std::string text = value;
                if (f == ChannelField::Decode || f == ChannelField::Encode) text = toneCapitals(text, offText);
                r = store.setText(text, g, c, f);
            }
            if (r == StoreResult::OutOfBand) {
                report.warnings.push_back({row.line, columnName(known),
                                           "frequency outside the model's band, stored all the same"});
            } else if (r != StoreResult::Ok) {
                error(known, refusal(r, f));
                continue;
            }
            if (!enabled && store.getText(f, g, c) != before)
                report.warnings.push_back({row.line, columnName(known),
                                           "stored, although the field is not in use for this channel"});
        }
        if (existedBefore && channelTexts() != textsBefore) ++report.changed;
    }
    return report;
}

} // namespace vrl
