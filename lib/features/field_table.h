// The field table: every radio-wide setting described once. Each feature area
// (optional features, scan, DTMF, ...) lists its fields here with their key,
// label text, kind, control numbers, edit limits and their getter, setter,
// choices and enable/show rules bound to the area's accessor. The form windows
// bind their controls to these entries; the command line (`settings`, `set`),
// the print-out and compare iterate over the same tables, so a rule lives in one
// place only.
#pragma once

#include "channels/text_source.h"
#include "model/radio_data.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vrl {

// What a field's rules may consult: the one document and the words of the
// language chosen by the caller.
struct FieldContext {
    RadioData& data;
    TextSource texts;

    CDataImage& image() const { return data.image; }
    std::string text(int index) const { return texts ? texts(index) : std::string(); }
};

enum class FieldKind {
    Edit,  // a line edit: text in, text out
    Spin,  // a line edit with a spin: text in, or a step index moved by the spin
    Check, // a check box: value 0 or 1
    Combo, // a drop-down list: value = item index, -1 when none is selected
    Cell,  // a grid cell edited in place: text in, text out
};

const char* fieldKindName(FieldKind kind); // "edit", "spin", "check", "combo", "cell"

struct Field {
    using Text = std::function<std::string(const FieldContext&)>;
    using SetText = std::function<void(FieldContext&, const std::string&)>;
    using Int = std::function<int(const FieldContext&)>;
    using SetInt = std::function<void(FieldContext&, int)>;
    using Choices = std::function<std::vector<std::string>(const FieldContext&)>;
    using Predicate = std::function<bool(const FieldContext&)>;
    using Refusal = std::function<std::string(const FieldContext&, const std::string&)>;

    std::string key;       // "area.name", unique over all areas
    int labelText = -1;    // language text of the label; -1 when `label` is literal
    std::string label;     // literal label (grid rows and columns, fixed words)
    FieldKind kind = FieldKind::Edit;
    int controlId = 0;     // the edit, check box, combo box or grid of the window
    int spinId = 0;        // the spin partner of a Spin field

    // Edit, Spin, Cell: the limits of the edit control.
    int maxLength = 0;     // 0: no limit
    std::string allowed;   // the characters the edit takes; empty: any printable ASCII
    bool upperCase = false; // letters are upper-cased as typed

    Text text;            // Edit, Spin, Cell: the shown text
    SetText setText;      // Edit, Spin, Cell: stores typed text (clamps, defaults, refusals)
    Int stepIndex;        // Spin: the current step index
    SetInt setStep;       // Spin: stores a step index, wrapping it into range
    Int value;            // Check: 0/1; Combo: item index or -1
    SetInt setValue;      // Check, Combo
    Choices choices;      // Combo: the item texts

    Predicate enabled;    // empty: always enabled
    Predicate shown;      // empty: always shown
    bool notifies = false; // other windows show what this field stores
    bool secret = false;   // a code the window never shows (set through a dialog)
    // A typed text that is stored all the same but deserves a warning: the language
    // text of the warning, or -1. Optional.
    std::function<int(const FieldContext&, const std::string&)> warning;
    // A typed text the window refuses (it stores nothing): why, or "". Optional.
    Refusal refusal;
    // Cells whose store can refuse a typed text (the channel keys): stores it and
    // returns why it was refused, empty when stored; `note` gets a remark about a
    // text stored all the same. Used instead of setText when present.
    std::function<std::string(FieldContext&, const std::string&, std::string& note)> storeChecked;
    // The window's own note on a typed text it drops (the stored value stays): the key of
    // the supplement text that says why (%1 the label, %2 the text), or empty when the
    // text is taken. Shown in the status bar and the control's tip. Optional.
    Refusal refusalNote;

    // The label in the chosen language.
    std::string labelIn(const FieldContext& ctx) const;
    bool isShown(const FieldContext& ctx) const { return !shown || shown(ctx); }
    bool isEnabled(const FieldContext& ctx) const { return !enabled || enabled(ctx); }
    // Shown and enabled: what a person can change in the window now.
    bool isAvailable(const FieldContext& ctx) const { return isShown(ctx) && isEnabled(ctx); }
    // What the window shows: the edit's text, the selected item's text ("" when
    // none), "on"/"off" for a check box.
    std::string shownText(const FieldContext& ctx) const;
};

using FieldTable = std::vector<Field>;

// One area of settings: its name (the key prefix) and its table. The table is
// built for a document because grid rows depend on the model (a list the model
// shows with one row has one row's fields).
struct FieldArea {
    std::string name;
    int titleText = -1; // language text of the window's title
    std::function<FieldTable(const FieldContext&)> build;
    // Whether the model has this area's window at all; empty: every model.
    std::function<bool(const FieldContext&)> offered;

    bool isOffered(const FieldContext& ctx) const { return !offered || offered(ctx); }
};

// Every area, in the order of the Edit menu's windows (listed in field_areas.cpp;
// each area's file offers a function that returns its FieldArea).
const std::vector<FieldArea>& fieldAreas();
const FieldArea* findFieldArea(std::string_view name);

// Every field of every area the model offers, in area and window order.
FieldTable allFields(const FieldContext& ctx);
// The field of `key` in the tables of the areas the model offers, or nothing.
// Also answers the channel keys `channel.G.C.COLUMN` and `channels.COLUMN`
// (channel_keys.h), which no table lists.
std::optional<Field> findField(const FieldContext& ctx, std::string_view key);

// The key rule: the label lower-cased, every run of characters other than a-z
// and 0-9 replaced by one "_", no leading or trailing "_"; prefixed by "area.".
std::string fieldKeyName(std::string_view label);
std::string fieldKey(std::string_view area, std::string_view label);

// The key among `keys` nearest to `key` (edit distance), for "did you mean".
std::string nearestKey(std::string_view key, const std::vector<std::string>& keys);

// Applies a value as a person would: typed into the field's edit (Edit, Spin,
// Cell: the characters and length the edit takes, then the from-text setter),
// chosen from a combo (an item's text, case-insensitive, or "#N" for item N from
// 0) or set on a check box (on/off, 1/0, yes/no, true/false). A field that is
// hidden or disabled is refused. On success `text` is what the window then shows.
struct FieldAssignResult {
    bool ok = false;
    std::string error; // why the value was refused
    std::string text;
    std::string warning; // stored all the same, but the window would have warned
};
FieldAssignResult assignField(const Field& field, FieldContext& ctx, std::string_view value);

// ---- building blocks for the area tables --------------------------------------

// Spin indices wrap: above `max` to `min`, below `min` to `max`.
int wrapIndex(int index, int min, int max);
// The leading decimal number of a text (blanks before it skipped); nothing when the
// text does not start with a digit.
std::optional<long> leadingNumber(std::string_view text);
// Bits of the words at 0x2D, 0x44 and 0x84: bit n of the little-endian word, the
// other bits preserved.
bool wordBit(const CDataImage& image, size_t offset, int bitNo);
void setWordBit(CDataImage& image, size_t offset, int bitNo, bool on);
// A field of `area` labelled by language text `labelText`, keyed by the label as
// the window's template writes it (`label`).
Field labelledField(std::string_view area, std::string_view label, int labelText, FieldKind kind,
                    int controlId);
// Combo items from language texts, in the chosen language.
std::vector<std::string> textChoices(const FieldContext& ctx, std::initializer_list<int> items);

} // namespace vrl
