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

// Numbered items (grid cells, keys) go two to a line.
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

// The fields of an area as its window shows them: label and shown text, the
// cells of its lists two to a line, a separator between a list and what follows.
void areaLines(Lines& out, FieldContext& ctx, std::string_view areaName) {
    const FieldArea* area = findFieldArea(areaName);
    if (!area || !area->isOffered(ctx)) return;
    std::vector<std::pair<std::string, std::string>> cells;
    auto flushCells = [&] {
        if (cells.empty()) return;
        out.push_back({PrintLine::Kind::Separator, {}});
        pairs(out, cells);
        cells.clear();
    };
    for (const Field& f : area->build(ctx)) {
        if (!f.isShown(ctx)) continue;
        if (f.kind == FieldKind::Cell) {
            cells.emplace_back(f.labelIn(ctx), f.shownText(ctx));
            continue;
        }
        flushCells();
        field(out, f.labelIn(ctx), f.shownText(ctx));
    }
    flushCells();
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
    PrintLine head{PrintLine::Kind::TableHead, {ctx.text(kTextChannel)}};
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
            field(out, ctx.text(kTextGroup) + " " + std::to_string(g + 1),
                  name.empty() ? std::string() : ctx.text(kTextGroupName) + ": " + name);
        }
        out.push_back(head);
        for (const auto& [cg, cc] : channels) {
            if (cg != g) continue;
            PrintLine row{PrintLine::Kind::TableRow, {std::to_string(cc + 1)}};
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
    return out;
}

std::vector<PrintLine> testModeSheetLines(FieldContext& ctx, std::span<const uint8_t> tuningData,
                                          bool mobile, int bandwidth) {
    constexpr int kTextTestMode = 491;
    Lines out{{PrintLine::Kind::Title, {ctx.text(kTextTestMode)}}};
    modelBlock(out, ctx);
    out.push_back({PrintLine::Kind::Separator, {}});
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
    return out;
}

} // namespace vrl
