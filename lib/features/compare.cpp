#include "features/compare.h"

#include "channels/channel_store.h"
#include "channels/channel_table.h"
#include "channels/keys.h"
#include "features/field_table.h"
#include "link/transfer.h"
#include "model/image_layout.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <map>
#include <set>
#include <utility>

namespace vrl {

namespace {

constexpr int kTextGroup = 206;
constexpr int kTextChannel = 207;

// Image areas whose bytes the channel and group entries already show (or that
// only say where those live): left out of the "memory" entries. Half-open.
// A byte of these areas counts as shown only when it belongs to a group or channel
// in use on either side (shownByChannels); the rest, unused slot records among
// them, is written like any other byte and so is listed under "memory". The group
// and channel counts (0x0E, 0x0F) no window shows are not among them.
constexpr std::array<std::pair<size_t, size_t>, 7> kChannelAreas{{
    {layout::kDirectory, layout::kDirectory + 2 * layout::kDirectoryWords},
    {layout::kGroupScanBits, layout::kScanAddBits + 16},
    {layout::kChannelIndex, layout::kChannelIndexEnd},
    {layout::kGroupRecords, layout::kGroupRecords + layout::kRecordSlots* layout::kGroupRecordSize},
    {layout::kChannelRecords,
     layout::kChannelRecords + layout::kRecordSlots* layout::kChannelRecordSize},
    {layout::kBotCodes, layout::kEotCodes + layout::kRecordSlots* layout::kDtmfCodeSize},
    {layout::kIdCodes, layout::kIdCodes + layout::kRecordSlots* layout::kIdCodeSize},
}};

bool inChannelArea(size_t offset) {
    return std::any_of(kChannelAreas.begin(), kChannelAreas.end(),
                       [offset](const auto& r) { return offset >= r.first && offset < r.second; });
}

// The groups and channels in use, as the channel entries show them.
std::pair<size_t, size_t> groupsAndChannels(RadioData& data, const TextSource& texts) {
    ChannelStore store(data, texts);
    const auto channels = store.existingChannels();
    std::set<int> groups;
    for (const auto& gc : channels) groups.insert(gc.first);
    return {groups.size(), channels.size()};
}

// The bytes of the channel areas that belong to a group or channel in use.
void markShownByChannels(RadioData& data, const TextSource& texts, std::vector<bool>& shown) {
    auto mark = [&](size_t from, size_t length) {
        for (size_t i = from; i < from + length && i < shown.size(); ++i) shown[i] = true;
    };
    mark(layout::kDirectory, 2 * layout::kDirectoryWords);
    ChannelStore store(data, texts);
    const auto channels = store.existingChannels();
    mark(layout::kChannelIndex, channels.size() * layout::kIndexEntrySize);
    std::set<int> groups;
    for (const auto& [g, c] : channels) {
        groups.insert(g);
        const auto slot = store.slotOf(g, c);
        if (!slot || *slot < 0 || *slot >= static_cast<int>(layout::kRecordSlots)) continue;
        const size_t s = static_cast<size_t>(*slot);
        mark(layout::kChannelRecords + s * layout::kChannelRecordSize, layout::kChannelRecordSize);
        mark(layout::kBotCodes + s * layout::kDtmfCodeSize, layout::kDtmfCodeSize);
        mark(layout::kEotCodes + s * layout::kDtmfCodeSize, layout::kDtmfCodeSize);
        mark(layout::kIdCodes + s * layout::kIdCodeSize, layout::kIdCodeSize);
        mark(layout::kScanAddBits + s / 8, 1);
    }
    for (int g : groups) {
        const auto slot = store.groupSlotOf(g);
        if (!slot || *slot < 0 || *slot >= static_cast<int>(layout::kRecordSlots)) continue;
        const size_t s = static_cast<size_t>(*slot);
        mark(layout::kGroupRecords + s * layout::kGroupRecordSize, layout::kGroupRecordSize);
        mark(layout::kGroupScanBits + s / 8, 1);
    }
}

bool inCounts(size_t offset) {
    return offset == layout::kGroupsInUse || offset == layout::kChannelsInUse;
}

bool inIdentity(size_t offset) {
    return offset >= layout::kIdentity && offset < layout::kIdentity + layout::kIdentitySize;
}

struct ShownField {
    std::string label;
    std::string text;
};

// key -> label and shown text, plus the keys in table order.
struct FieldTexts {
    std::vector<std::string> order;
    std::map<std::string, ShownField> byKey;
};

FieldTexts fieldTexts(RadioData& data, const TextSource& texts) {
    FieldContext ctx{data, texts};
    FieldTexts out;
    for (const Field& f : allFields(ctx)) {
        out.order.push_back(f.key);
        out.byKey[f.key] = {f.labelIn(ctx), f.shownText(ctx)};
    }
    return out;
}

std::string areaOfKey(const std::string& key) {
    return key.substr(0, key.find('.'));
}

// Settings: one entry per key whose shown text differs or that only one side has.
void compareFields(RadioData& a, RadioData& b, const TextSource& texts,
                   std::vector<Difference>& out) {
    const FieldTexts fa = fieldTexts(a, texts);
    const FieldTexts fb = fieldTexts(b, texts);
    std::vector<std::string> keys = fa.order;
    for (const std::string& k : fb.order)
        if (!fa.byKey.count(k)) keys.push_back(k);
    for (const std::string& k : keys) {
        const auto ia = fa.byKey.find(k);
        const auto ib = fb.byKey.find(k);
        const bool hasA = ia != fa.byKey.end();
        const bool hasB = ib != fb.byKey.end();
        if (hasA && hasB && ia->second.text == ib->second.text) continue;
        out.push_back({areaOfKey(k), k, hasA ? ia->second.label : ib->second.label,
                       hasA ? ia->second.text : std::string(),
                       hasB ? ib->second.text : std::string()});
    }
}

std::string channelLabel(const TextSource& texts, const std::string& g, const std::string& c) {
    auto text = [&texts](int i) { return texts ? texts(i) : std::string(); };
    return text(kTextGroup) + " " + g + " " + text(kTextChannel) + " " + c;
}

// What a channel present on one side only shows: its receive frequency and name.
std::string channelSummary(const TextRow& row) {
    const std::string& name = row[6];
    return name.empty() ? row[2] : row[2] + " " + name;
}

void compareChannels(RadioData& a, RadioData& b, const TextSource& texts,
                     std::vector<Difference>& out) {
    KeyAssignment keysA(a, texts);
    KeyAssignment keysB(b, texts);
    const std::vector<TextRow> rowsA = exportChannelRows(ChannelStore(a, texts, &keysA));
    const std::vector<TextRow> rowsB = exportChannelRows(ChannelStore(b, texts, &keysB));
    using Number = std::pair<int, int>;
    auto number = [](const TextRow& r) { return Number{std::stoi(r[0]), std::stoi(r[1])}; };
    std::map<Number, const TextRow*> mapA, mapB;
    for (const TextRow& r : rowsA)
        mapA[number(r)] = &r;
    for (const TextRow& r : rowsB)
        mapB[number(r)] = &r;
    std::set<Number> all;
    for (const auto& [n, r] : mapA)
        all.insert(n);
    for (const auto& [n, r] : mapB)
        all.insert(n);
    for (const Number& n : all) {
        const std::string g = std::to_string(n.first);
        const std::string c = std::to_string(n.second);
        const std::string key = "channel." + g + "." + c;
        const std::string label = channelLabel(texts, g, c);
        const auto ia = mapA.find(n);
        const auto ib = mapB.find(n);
        if (ia == mapA.end() || ib == mapB.end()) {
            out.push_back({"channel", key, label,
                           ia != mapA.end() ? channelSummary(*ia->second) : "",
                           ib != mapB.end() ? channelSummary(*ib->second) : ""});
            continue;
        }
        const TextRow& ra = *ia->second;
        const TextRow& rb = *ib->second;
        for (size_t col = 2; col < kChannelColumns.size(); ++col) {
            if (ra[col] == rb[col]) continue;
            const std::string column(kChannelColumns[col]);
            out.push_back({"channel", key + "." + column, label + ": " + column, ra[col], rb[col]});
        }
    }
}

// Keys are matched and named by their caption ("key.p1_key"), so that models of different
// key families still pair the keys they share; a key one side lacks is one entry.
void compareKeys(RadioData& a, RadioData& b, const TextSource& texts,
                 std::vector<Difference>& out) {
    KeyAssignment keysA(a, texts);
    KeyAssignment keysB(b, texts);
    const KeyFamily& fa = keysA.current();
    const KeyFamily& fb = keysB.current();
    auto rowOf = [](const KeyFamily& f, const std::string& caption) {
        for (int row = 0; row < f.rowCount(); ++row)
            if (f.caption(row) == caption) return row;
        return -1;
    };
    auto entry = [&](int rowA, int rowB) {
        const std::string ta = rowA >= 0 ? fa.keyText(rowA) : "";
        const std::string tb = rowB >= 0 ? fb.keyText(rowB) : "";
        if (rowA >= 0 && rowB >= 0 && ta == tb) return;
        const std::string caption = rowA >= 0 ? fa.caption(rowA) : fb.caption(rowB);
        out.push_back({"key", fieldKey("key", caption), caption, ta, tb});
    };
    for (int row = 0; row < fa.rowCount(); ++row)
        entry(row, rowOf(fb, fa.caption(row)));
    for (int row = 0; row < fb.rowCount(); ++row)
        if (rowOf(fa, fb.caption(row)) < 0) entry(-1, row);
}

// A scratch copy of one side on which single bytes of the other side are tried
// out, to tell the bytes that change a differing setting's shown text from the rest.
class CoverageProbe {
  public:
    CoverageProbe(const RadioData& from, const TextSource& texts, const std::set<std::string>& keys)
        : texts_(texts) {
        copyFrom(from);
        scratch_.model.refresh();
        copyFrom(from); // refresh writes the trunking flag; keep the side's own byte
        FieldContext ctx{scratch_, texts_};
        for (Field& f : allFields(ctx))
            if (keys.count(f.key)) fields_.push_back(std::move(f));
        for (const Field& f : fields_)
            base_.push_back(f.shownText(ctx));
    }

    bool covers(size_t offset, uint8_t value) {
        if (fields_.empty()) return false;
        CDataImage& image = scratch_.image;
        const uint8_t old = image.u8(offset);
        image.setU8(offset, value);
        if (inIdentity(offset)) scratch_.model.refresh();
        FieldContext ctx{scratch_, texts_};
        bool changed = false;
        for (size_t i = 0; i < fields_.size() && !changed; ++i)
            changed = fields_[i].shownText(ctx) != base_[i];
        image.setU8(offset, old);
        if (inIdentity(offset)) scratch_.model.refresh();
        return changed;
    }

  private:
    void copyFrom(const RadioData& side) {
        auto from = side.image.bytes();
        std::copy(from.begin(), from.end(), scratch_.image.bytes().begin());
    }

    RadioData scratch_;
    TextSource texts_;
    std::vector<Field> fields_;
    std::vector<std::string> base_;
};

void compareMemory(RadioData& a, RadioData& b, const TextSource& texts,
                   const std::vector<Difference>& found, std::vector<Difference>& out) {
    std::set<std::string> differingKeys;
    for (const Difference& d : found)
        if (d.area != "channel" && d.area != "key") differingKeys.insert(d.key);
    std::set<size_t> keyBytes;
    KeyAssignment keys(a, texts);
    for (const KeyRow& row : keys.current().rows())
        keyBytes.insert(row.offset);

    // Tried both ways and with a neighbouring value: a text stored over several
    // bytes (a line ending at the first 0xFF, trailing blanks dropped) may show a
    // byte's change only on one side, or only for another value than the other
    // side's.
    CoverageProbe probeA(a, texts, differingKeys);
    CoverageProbe probeB(b, texts, differingKeys);
    const auto ba = a.image.bytes();
    const auto bb = b.image.bytes();
    std::vector<bool> shown(ba.size(), false);
    markShownByChannels(a, texts, shown);
    markShownByChannels(b, texts, shown);
    // The counts follow from the channel entries when those list a different number
    // of groups or channels; counts that differ on their own are listed.
    if (groupsAndChannels(a, texts) != groupsAndChannels(b, texts))
        shown[layout::kGroupsInUse] = shown[layout::kChannelsInUse] = true;
    std::vector<bool> report(ba.size(), false);
    for (size_t i = 0; i < ba.size(); ++i)
        report[i] = ba[i] != bb[i] && !((inChannelArea(i) || inCounts(i)) && shown[i]) &&
                    !keyBytes.count(i) &&
                    !probeA.covers(i, bb[i]) && !probeB.covers(i, ba[i]) &&
                    !probeA.covers(i, ba[i] ^ 1) && !probeB.covers(i, bb[i] ^ 1);
    for (size_t i = 0; i < report.size();) {
        if (!report[i]) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < report.size() && report[end])
            ++end;
        char label[32];
        if (end - i == 1)
            std::snprintf(label, sizeof label, "0x%04zX", i);
        else
            std::snprintf(label, sizeof label, "0x%04zX-0x%04zX", i, end - 1);
        Difference d{"memory", "", label, hexRun(a.image, i, end - i), hexRun(b.image, i, end - i)};
        d.offset = i;
        d.length = end - i;
        out.push_back(std::move(d));
        i = end;
    }
}

} // namespace

std::vector<std::string> takeUnreadFromFile(RadioData& radio, const RadioData& file) {
    std::vector<std::string> notes;
    auto to = radio.image.bytes();
    const auto from = file.image.bytes();
    std::copy(from.begin() + layout::kRadioMemorySize, from.end(),
              to.begin() + layout::kRadioMemorySize);
    notes.push_back("the trunking-board area (0x8000-0x818C) is not part of the radio's "
                    "memory: left out");
    const BlockPlan plan = readPlan(radio.image.directory());
    std::string unread;
    for (int n = 0; n < static_cast<int>(layout::kBlockCount); ++n) {
        if (plan.moves(n)) continue;
        const size_t at = static_cast<size_t>(n) * layout::kBlockSize;
        if (std::equal(from.begin() + static_cast<long>(at),
                       from.begin() + static_cast<long>(at + layout::kBlockSize),
                       to.begin() + static_cast<long>(at)))
            continue;
        std::copy_n(from.begin() + static_cast<long>(at), layout::kBlockSize,
                    to.begin() + static_cast<long>(at));
        char number[8];
        std::snprintf(number, sizeof number, "0x%02X", n);
        unread += (unread.empty() ? "" : ", ") + std::string(number);
    }
    if (!unread.empty())
        notes.push_back("blocks the radio does not send on a read (" + unread + "): left out");
    radio.model.refresh();
    return notes;
}

std::string hexRun(const CDataImage& image, size_t offset, size_t length) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(length * 3);
    for (size_t i = 0; i < length; ++i) {
        const uint8_t v = image.u8(offset + i);
        if (i) out += ' ';
        out += kDigits[v >> 4];
        out += kDigits[v & 0x0F];
    }
    return out;
}

Comparison compareDocuments(RadioData& a, RadioData& b, const TextSource& texts) {
    Comparison result;
    a.model.refresh();
    b.model.refresh();
    result.sameModel = a.model.row() == b.model.row();
    if (!result.sameModel) {
        const std::string la(a.model.label()), lb(b.model.label());
        result.notes.push_back("different models (" + (la.empty() ? a.image.identity().hex() : la) +
                               ", " + (lb.empty() ? b.image.identity().hex() : lb) +
                               "): settings, channels and keys compared, image bytes not");
    }
    compareFields(a, b, texts, result.differences);
    compareChannels(a, b, texts, result.differences);
    compareKeys(a, b, texts, result.differences);
    if (result.sameModel) compareMemory(a, b, texts, result.differences, result.differences);
    return result;
}

} // namespace vrl
