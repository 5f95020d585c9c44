#include "output/print_content.h"

#include "channels/channel_table.h"
#include "channels/keys.h"
#include "features/embedded_message.h"
#include "model/model_table.h"
#include "service/tuning_items.h"

#include <algorithm>

namespace vrl {

namespace {

constexpr std::array<PrintSectionInfo, kPrintSectionCount> kSections{{
    {PrintSection::Model, "model", 1094, 99, ""},
    {PrintSection::Optional, "optional", 1095, 100, "optional"},
    {PrintSection::Keys, "keys", 1096, 101, ""},
    {PrintSection::Scan, "scan", 1097, 102, "scan"},
    {PrintSection::Dtmf, "dtmf", 1099, 103, "dtmf"},
    {PrintSection::TwoTone, "twotone", 1098, 104, "twotone"},
    {PrintSection::Trunking, "trunking", 1100, 105, "trunking"},
    {PrintSection::Emergency, "emergency", 1101, 106, "emergency"},
    {PrintSection::Ost, "ost", 1104, 107, "ost"},
    {PrintSection::TestFrequency, "test_frequency", 1102, 108, "test_frequency"},
    {PrintSection::Message, "message", 1105, 109, "message"},
    {PrintSection::Channels, "channels", 1103, 110, ""},
    {PrintSection::Extended, "extended", 1579, 477, "extended"},
}};

// Language texts of the model block and the channel table.
constexpr int kTextModelType = 164;
constexpr int kTextFrequency = 165;
constexpr int kTextOptionBoard = 166;
constexpr int kTextEmbeddedMessage = 476;
constexpr int kTextGroup = 206;
constexpr int kTextChannel = 207;
constexpr int kTextGroupName = 177;

using Lines = std::vector<PrintLine>;

void field(Lines& out, std::string label, std::string value) {
    out.push_back({PrintLine::Kind::Field, {std::move(label), std::move(value)}});
}

// Numbered items (keys, alignment items) go two to a line.
void pairs(Lines& out, const std::vector<std::pair<std::string, std::string>>& items) {
    for (size_t i = 0; i < items.size(); i += 2) {
        PrintLine line{PrintLine::Kind::Pair, {items[i].first, items[i].second}};
        if (i + 1 < items.size()) {
            line.cells.push_back(items[i + 1].first);
            line.cells.push_back(items[i + 1].second);
        }
        out.push_back(std::move(line));
    }
}

void modelBlock(Lines& out, FieldContext& ctx) {
    const CModelInfo& model = ctx.data.model;
    field(out, ctx.text(kTextModelType), std::string(model.label()));
    field(out, ctx.text(kTextFrequency), std::string(model.bandText()));
    const int board = model.optionBoardTextIndex();
    field(out, ctx.text(kTextOptionBoard), board >= 0 ? ctx.text(board) : std::string());
    EmbeddedMessage message(ctx.image());
    for (int line = 0; line < EmbeddedMessage::kLineCount; ++line) {
        std::string text = message.line(line);
        if (text.empty()) text = kPrintEmptyValue;
        field(out, line == 0 ? ctx.text(kTextEmbeddedMessage) : std::string(), std::move(text));
    }
}

// The lists (grids) of the areas that have them, printed as tables: a heading
// (the tab's caption, or none), the column headers (the first names the row
// numbers or keys) and, for a cell field's key, the table, row and column it
// fills. The tables follow the window's order.
struct GridTable {
    int heading;              // language text, or -1
    std::vector<int> headers; // language texts; the first is the row column's
};
struct CellPlace {
    size_t table;
    std::string row;
    size_t column;
};
struct AreaGrids {
    std::string_view area;
    std::vector<GridTable> tables;
    std::optional<CellPlace> (*place)(const std::vector<std::string_view>& key);
};

std::vector<std::string_view> splitKey(std::string_view key) {
    std::vector<std::string_view> parts;
    for (size_t dot; (dot = key.find('.')) != std::string_view::npos; key.remove_prefix(dot + 1))
        parts.push_back(key.substr(0, dot));
    parts.push_back(key);
    return parts;
}

std::optional<size_t> indexIn(std::string_view word, std::initializer_list<std::string_view> words) {
    size_t i = 0;
    for (std::string_view w : words) {
        if (w == word) return i;
        ++i;
    }
    return std::nullopt;
}

const std::vector<AreaGrids>& areaGrids() {
    using K = std::vector<std::string_view>;
    static const std::vector<AreaGrids> grids{
        {"dtmf", {{414, {66, 415}}}, // dtmf.code.R
         [](const K& k) -> std::optional<CellPlace> {
             if (k.size() != 3 || k[1] != "code") return std::nullopt;
             return CellPlace{0, std::string(k[2]), 0};
         }},
        {"twotone", {{432, {66, 433, 420, 421, 434}}}, // twotone.code.R.column
         [](const K& k) -> std::optional<CellPlace> {
             if (k.size() != 4 || k[1] != "code") return std::nullopt;
             const auto column = indexIn(k[3], {"name", "tone_a", "tone_b", "time"});
             if (!column) return std::nullopt;
             return CellPlace{0, std::string(k[2]), *column};
         }},
        {"ost", {{-1, {66, 474, 475}}}, // ost.R.tone_C
         [](const K& k) -> std::optional<CellPlace> {
             if (k.size() != 3) return std::nullopt;
             const auto column = indexIn(k[2], {"tone_1", "tone_2"});
             if (!column) return std::nullopt;
             return CellPlace{0, std::string(k[1]), *column};
         }},
        {"test_frequency", {{-1, {470, 471, 472}}}, // test_frequency.N.receive
         [](const K& k) -> std::optional<CellPlace> {
             if (k.size() != 3) return std::nullopt;
             const auto column = indexIn(k[2], {"receive", "transmit"});
             if (!column) return std::nullopt;
             return CellPlace{0, std::string(k[1]), *column};
         }},
        // The window's pages: speed dials 0-9 and A-D, then the code list.
        {"trunking", {{454, {66, 454}}, {-1, {66, 455}}, {456, {66, 457}}},
         [](const K& k) -> std::optional<CellPlace> {
             if (k.size() != 3) return std::nullopt;
             if (k[1] == "code") return CellPlace{2, std::string(k[2]), 0};
             if (k[1] != "speed_dial") return std::nullopt;
             const bool digit = !k[2].empty() && k[2][0] >= '0' && k[2][0] <= '9';
             return CellPlace{digit ? 0u : 1u, std::string(k[2]), 0};
         }},
    };
    return grids;
}

// One table being filled: its rows in the order their first cell came.
struct TableRows {
    std::vector<std::string> order;
    std::vector<std::vector<std::string>> cells;

    std::vector<std::string>& row(const std::string& key, size_t columns) {
        const auto it = std::find(order.begin(), order.end(), key);
        if (it != order.end()) return cells[static_cast<size_t>(it - order.begin())];
        order.push_back(key);
        cells.emplace_back(columns);
        return cells.back();
    }
};

// The fields of an area as its window shows them: label and shown text, then its
// lists as tables, each after a separator.
void areaLines(Lines& out, FieldContext& ctx, std::string_view areaName) {
    const FieldArea* area = findFieldArea(areaName);
    if (!area || !area->isOffered(ctx)) return;
    const auto grids = std::find_if(areaGrids().begin(), areaGrids().end(),
                                    [&](const AreaGrids& g) { return g.area == areaName; });
    std::vector<TableRows> tables(grids == areaGrids().end() ? 0 : grids->tables.size());
    std::vector<std::pair<std::string, std::string>> loose; // cells of a list without a table
    for (const Field& f : area->build(ctx)) {
        if (!f.isShown(ctx)) continue;
        std::string text = f.shownText(ctx);
        if (f.secret && !text.empty()) text = kPrintMaskedValue;
        if (f.kind != FieldKind::Cell) {
            field(out, f.labelIn(ctx), std::move(text));
            continue;
        }
        const auto place = grids == areaGrids().end() ? std::nullopt : grids->place(splitKey(f.key));
        if (!place || place->table >= tables.size() ||
            place->column + 1 >= grids->tables[place->table].headers.size()) {
            loose.emplace_back(f.labelIn(ctx), std::move(text));
            continue;
        }
        const size_t columns = grids->tables[place->table].headers.size() - 1;
        tables[place->table].row(place->row, columns)[place->column] = std::move(text);
    }
    for (size_t t = 0; t < tables.size(); ++t) {
        if (tables[t].order.empty()) continue;
        const GridTable& spec = grids->tables[t];
        // A table without a heading of its own goes on under the one before it.
        if (spec.heading >= 0 || t == 0 || tables[t - 1].order.empty()) {
            if (out.size() > 1) out.push_back({PrintLine::Kind::Separator, {}});
            if (spec.heading >= 0) out.push_back({PrintLine::Kind::Heading, {ctx.text(spec.heading)}});
        }
        const int id = static_cast<int>(t) + 1;
        PrintLine head{PrintLine::Kind::TableHead, {}, id};
        for (int h : spec.headers) head.cells.push_back(ctx.text(h));
        out.push_back(std::move(head));
        for (size_t r = 0; r < tables[t].order.size(); ++r) {
            PrintLine row{PrintLine::Kind::TableRow, {tables[t].order[r]}, id};
            for (std::string& cell : tables[t].cells[r]) row.cells.push_back(std::move(cell));
            out.push_back(std::move(row));
        }
    }
    if (!loose.empty()) {
        if (out.size() > 1) out.push_back({PrintLine::Kind::Separator, {}});
        pairs(out, loose);
    }
}

void keyLines(Lines& out, FieldContext& ctx) {
    KeyAssignment keys(ctx.data, ctx.texts);
    const KeyFamily& family = keys.current();
    std::vector<std::pair<std::string, std::string>> items;
    for (int row = 0; row < family.rowCount(); ++row)
        items.emplace_back(family.caption(row), family.keyText(row));
    pairs(out, items);
}

void channelLines(Lines& out, FieldContext& ctx, GroupRange groups) {
    KeyAssignment keys(ctx.data, ctx.texts);
    ChannelStore store(ctx.data, ctx.texts, &keys);
    const std::vector<GridColumn> columns = gridColumns(store);
    constexpr int kChannelTable = 1; // every group's table lines up alike
    PrintLine head{PrintLine::Kind::TableHead, {ctx.text(kTextChannel)}, kChannelTable};
    for (const GridColumn& c : columns) head.cells.push_back(ctx.text(c.headerText));
    const auto channels = store.existingChannels();
    bool first = true;
    for (int g = groups.first - 1; g <= groups.last - 1; ++g) {
        // Groups without channels take no paper.
        if (std::none_of(channels.begin(), channels.end(), [g](const auto& ch) { return ch.first == g; }))
            continue;
        if (!first) out.push_back({PrintLine::Kind::Separator, {}});
        first = false;
        if (store.hasGroups()) {
            const std::string name = store.getGroupName(g);
            PrintLine heading{PrintLine::Kind::Heading, {ctx.text(kTextGroup) + " " + std::to_string(g + 1)}};
            if (!name.empty()) heading.cells.push_back(ctx.text(kTextGroupName) + ": " + name);
            out.push_back(std::move(heading));
        }
        out.push_back(head);
        for (const auto& [cg, cc] : channels) {
            if (cg != g) continue;
            PrintLine row{PrintLine::Kind::TableRow, {std::to_string(cc + 1)}, kChannelTable};
            for (const GridColumn& c : columns) row.cells.push_back(store.getText(c.field, cg, cc).value_or(""));
            out.push_back(std::move(row));
        }
    }
}

} // namespace

const std::array<PrintSectionInfo, kPrintSectionCount>& printSections() { return kSections; }

const PrintSectionInfo& printSectionInfo(PrintSection section) {
    return kSections[static_cast<size_t>(section)];
}

std::optional<PrintSection> printSectionByName(std::string_view name) {
    for (const PrintSectionInfo& s : kSections)
        if (s.name == name) return s.section;
    return std::nullopt;
}

bool printSectionOffered(PrintSection section, const CDataImage& image) {
    if (section != PrintSection::Extended) return true;
    const int cls = models::featureClass(models::findRow(image.identity()));
    return cls == 1 || cls == 2;
}

GroupRange printGroupRange(int start, int end, int inUse) {
    inUse = std::max(inUse, 1);
    start = std::clamp(start, 1, inUse);
    end = end <= 0 ? inUse : std::min(end, inUse); // an empty end means every group
    if (end < start) return {1, inUse};
    return {start, end};
}

int groupsInUse(const FieldContext& ctx) {
    // The highest group that holds channels: groups need not be used without gaps,
    // and a count of groups would leave the last ones out of every range.
    KeyAssignment keys(ctx.data, ctx.texts);
    ChannelStore store(ctx.data, ctx.texts, &keys);
    int highest = 1;
    for (const auto& [g, c] : store.existingChannels()) highest = std::max(highest, g + 1);
    return highest;
}

std::vector<PrintLine> printSectionLines(PrintSection section, FieldContext& ctx, GroupRange groups) {
    Lines out;
    const PrintSectionInfo& info = printSectionInfo(section);
    out.push_back({PrintLine::Kind::Title, {ctx.text(info.textIndex)}});
    switch (section) {
    case PrintSection::Model: modelBlock(out, ctx); break;
    case PrintSection::Keys: keyLines(out, ctx); break;
    case PrintSection::Channels: channelLines(out, ctx, groups); break;
    default: areaLines(out, ctx, info.area); break;
    }
    // A section with nothing to say on this model takes no paper.
    if (out.size() < 2) return {};
    out.push_back({PrintLine::Kind::Rule, {}});
    return out;
}

std::vector<PrintLine> testModeSheetLines(FieldContext& ctx, std::span<const uint8_t> tuningData,
                                          bool mobile, int bandwidth) {
    constexpr int kTextTestMode = 491;
    Lines out{{PrintLine::Kind::Title, {ctx.text(kTextTestMode)}}};
    modelBlock(out, ctx);
    out.push_back({PrintLine::Kind::Rule, {}});
    std::vector<std::pair<std::string, std::string>> items;
    for (const TuningItem& item : tuningItems(mobile)) {
        const int tabs = tabCount(item, bandwidth);
        const std::vector<int> tabNames = tabTexts(tabs);
        std::string values;
        for (int t = 0; t < tabs; ++t) {
            const auto place = tuningDataPlace(item.bytes[static_cast<size_t>(t)]);
            if (!place || *place >= tuningData.size()) continue;
            if (!values.empty()) values += "  ";
            if (tabs > 1 && t < static_cast<int>(tabNames.size())) values += ctx.text(tabNames[static_cast<size_t>(t)]) + ": ";
            values += std::to_string(tuningData[*place] + 1);
        }
        items.emplace_back(ctx.text(item.text), values);
    }
    pairs(out, items);
    out.push_back({PrintLine::Kind::Rule, {}});
    return out;
}

} // namespace vrl
