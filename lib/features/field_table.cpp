#include "features/field_table.h"

#include "channels/channel_keys.h"

#include <algorithm>
#include <cctype>

namespace vrl {

namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string trimmed(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
    return std::string(text.substr(b, e - b));
}

FieldAssignResult refused(std::string why) { return {false, std::move(why), {}, {}}; }

std::optional<bool> parseSwitch(std::string_view value) {
    const std::string v = lower(trimmed(value));
    if (v == "on" || v == "1" || v == "yes" || v == "true") return true;
    if (v == "off" || v == "0" || v == "no" || v == "false") return false;
    return std::nullopt;
}

// The item a combo value names: an item's text (case-insensitive) or "#N".
std::optional<int> parseItem(std::string_view value, const std::vector<std::string>& items) {
    const std::string v = trimmed(value);
    if (v.size() > 1 && v[0] == '#' &&
        std::all_of(v.begin() + 1, v.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); })) {
        if (v.size() > 6) return std::nullopt;
        const int item = std::stoi(v.substr(1));
        if (item < static_cast<int>(items.size())) return item;
        return std::nullopt;
    }
    const std::string wanted = lower(v);
    for (size_t i = 0; i < items.size(); ++i)
        if (lower(items[i]) == wanted) return static_cast<int>(i);
    return std::nullopt;
}

std::string describeChar(unsigned char c) {
    if (c >= 0x20 && c < 0x7F) return std::string("'") + static_cast<char>(c) + "'";
    static constexpr char kHex[] = "0123456789ABCDEF";
    return std::string("byte 0x") + kHex[c >> 4] + kHex[c & 15];
}

// The text as the field's edit would hold it after typing `value`: every
// character must be one the edit takes; letters upper-cased where it does so.
std::optional<std::string> typedText(const Field& field, std::string_view value, std::string& why) {
    std::string text;
    for (char c : value) {
        const auto u = static_cast<unsigned char>(c);
        const bool ok = field.allowed.empty() ? (u >= 0x20 && u < 0x7F)
                                              : field.allowed.find(c) != std::string::npos;
        if (!ok) {
            why = "the character " + describeChar(u) + " is not accepted";
            return std::nullopt;
        }
        text += field.upperCase ? static_cast<char>(std::toupper(u)) : c;
    }
    if (field.maxLength > 0 && static_cast<int>(text.size()) > field.maxLength) {
        why = "at most " + std::to_string(field.maxLength) + " characters are accepted";
        return std::nullopt;
    }
    return text;
}

} // namespace

const char* fieldKindName(FieldKind kind) {
    switch (kind) {
    case FieldKind::Edit: return "edit";
    case FieldKind::Spin: return "spin";
    case FieldKind::Check: return "check";
    case FieldKind::Combo: return "combo";
    case FieldKind::Cell: return "cell";
    }
    return "";
}

std::string Field::labelIn(const FieldContext& ctx) const {
    return labelText >= 0 ? ctx.text(labelText) : label;
}

std::string Field::shownText(const FieldContext& ctx) const {
    switch (kind) {
    case FieldKind::Check: return value && value(ctx) ? "on" : "off";
    case FieldKind::Combo: {
        const int item = value ? value(ctx) : -1;
        const std::vector<std::string> items = choices ? choices(ctx) : std::vector<std::string>{};
        return item >= 0 && item < static_cast<int>(items.size()) ? items[static_cast<size_t>(item)]
                                                                   : std::string();
    }
    case FieldKind::Edit:
    case FieldKind::Spin:
    case FieldKind::Cell: return text ? text(ctx) : std::string();
    }
    return {};
}

const FieldArea* findFieldArea(std::string_view name) {
    for (const FieldArea& area : fieldAreas())
        if (area.name == name) return &area;
    return nullptr;
}

FieldTable allFields(const FieldContext& ctx) {
    FieldTable all;
    for (const FieldArea& area : fieldAreas()) {
        if (!area.isOffered(ctx)) continue;
        FieldTable table = area.build(ctx);
        all.insert(all.end(), std::make_move_iterator(table.begin()),
                   std::make_move_iterator(table.end()));
    }
    return all;
}

std::optional<Field> findField(const FieldContext& ctx, std::string_view key) {
    if (isChannelKey(key)) return channelKeyField(ctx, key);
    const size_t dot = key.find('.');
    if (dot == std::string_view::npos) return std::nullopt;
    const FieldArea* area = findFieldArea(key.substr(0, dot));
    if (!area || !area->isOffered(ctx)) return std::nullopt;
    for (Field& f : area->build(ctx))
        if (f.key == key) return std::move(f);
    return std::nullopt;
}

std::string fieldKeyName(std::string_view label) {
    std::string out;
    bool gap = false;
    for (char c : label) {
        const char l = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if ((l >= 'a' && l <= 'z') || (l >= '0' && l <= '9')) {
            if (gap && !out.empty()) out += '_';
            out += l;
            gap = false;
        } else {
            gap = true;
        }
    }
    return out;
}

std::string fieldKey(std::string_view area, std::string_view label) {
    return std::string(area) + "." + fieldKeyName(label);
}

std::string nearestKey(std::string_view key, const std::vector<std::string>& keys) {
    std::string best;
    size_t bestDistance = SIZE_MAX;
    for (const std::string& candidate : keys) {
        // Levenshtein distance, one row at a time.
        std::vector<size_t> row(candidate.size() + 1);
        for (size_t j = 0; j < row.size(); ++j) row[j] = j;
        for (size_t i = 1; i <= key.size(); ++i) {
            size_t diagonal = row[0];
            row[0] = i;
            for (size_t j = 1; j <= candidate.size(); ++j) {
                const size_t up = row[j];
                row[j] = std::min({row[j] + 1, row[j - 1] + 1,
                                   diagonal + (key[i - 1] == candidate[j - 1] ? 0 : 1)});
                diagonal = up;
            }
        }
        if (row.back() < bestDistance) {
            bestDistance = row.back();
            best = candidate;
        }
    }
    return best;
}

FieldAssignResult assignField(const Field& field, FieldContext& ctx, std::string_view value) {
    if (!field.isShown(ctx)) return refused("the field is not shown for this model");
    if (!field.isEnabled(ctx)) return refused("the field is disabled for this model and settings");
    switch (field.kind) {
    case FieldKind::Check: {
        const auto on = parseSwitch(value);
        if (!on) return refused("expected on/off, 1/0, yes/no or true/false");
        field.setValue(ctx, *on ? 1 : 0);
        break;
    }
    case FieldKind::Combo: {
        const std::vector<std::string> items = field.choices(ctx);
        const auto item = parseItem(value, items);
        if (!item) {
            std::string list;
            for (const std::string& i : items) list += (list.empty() ? "" : ", ") + ("\"" + i + "\"");
            return refused("not one of the choices " + list + " (or #0..#" +
                           std::to_string(items.empty() ? 0 : items.size() - 1) + ")");
        }
        field.setValue(ctx, *item);
        break;
    }
    case FieldKind::Edit:
    case FieldKind::Spin:
    case FieldKind::Cell: {
        std::string why;
        const auto text = typedText(field, value, why);
        if (!text) return refused(why);
        if (field.refusal)
            if (std::string no = field.refusal(ctx, *text); !no.empty()) return refused(std::move(no));
        if (field.storeChecked) {
            std::string note;
            const std::string why = field.storeChecked(ctx, *text, note);
            if (!why.empty()) return refused(why);
            return {true, {}, field.shownText(ctx), note};
        }
        const int warning = field.warning ? field.warning(ctx, *text) : -1;
        field.setText(ctx, *text);
        return {true, {}, field.shownText(ctx), warning >= 0 ? ctx.text(warning) : std::string()};
    }
    }
    return {true, {}, field.shownText(ctx), {}};
}

// ---- building blocks ---------------------------------------------------------

int wrapIndex(int index, int min, int max) {
    if (index > max) return min;
    if (index < min) return max;
    return index;
}

std::optional<long> leadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
    long v = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        v = std::min(v * 10 + (text[i] - '0'), 1000000000L);
    return v;
}

bool wordBit(const CDataImage& image, size_t offset, int bitNo) {
    return (image.u16(offset) >> bitNo) & 1;
}

void setWordBit(CDataImage& image, size_t offset, int bitNo, bool on) {
    const uint16_t mask = static_cast<uint16_t>(1u << bitNo);
    const uint16_t word = image.u16(offset);
    image.setU16(offset, static_cast<uint16_t>(on ? (word | mask) : (word & ~mask)));
}

Field labelledField(std::string_view area, std::string_view label, int labelText, FieldKind kind,
                    int controlId) {
    Field f;
    f.key = fieldKey(area, label);
    f.labelText = labelText;
    f.kind = kind;
    f.controlId = controlId;
    return f;
}

std::vector<std::string> textChoices(const FieldContext& ctx, std::initializer_list<int> items) {
    std::vector<std::string> out;
    for (int i : items) out.push_back(ctx.text(i));
    return out;
}

} // namespace vrl
