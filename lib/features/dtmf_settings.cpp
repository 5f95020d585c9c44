#include "features/dtmf_settings.h"

#include "channels/channel_codes.h"
#include "features/field_areas.h"
#include "features/model_predicates.h"

#include <algorithm>
#include <array>

namespace vrl {

namespace {

constexpr int kTextOff = 69;
constexpr int kTextDKeyOff = 416;

struct TimingInfo {
    size_t offset;
    int step;
    int minIndex;
};

// Digit Time family: 50..200 ms in 10 ms steps; First Digit Delay family: 100..1000 ms
// in 50 ms steps.
constexpr TimingInfo timingInfo(DtmfSettings::Timing t) {
    switch (t) {
    case DtmfSettings::Timing::DigitTime:
        return {DtmfSettings::kDigitTime, 10, 5};
    case DtmfSettings::Timing::InterDigitTime:
        return {DtmfSettings::kInterDigitTime, 10, 5};
    case DtmfSettings::Timing::FirstDigitTime:
        return {DtmfSettings::kFirstDigitTime, 10, 5};
    case DtmfSettings::Timing::FirstDigitDelay:
        return {DtmfSettings::kFirstDigitDelay, 50, 2};
    case DtmfSettings::Timing::RiseTime:
        return {DtmfSettings::kRiseTime, 50, 2};
    }
    return {DtmfSettings::kDigitTime, 10, 5};
}

// Where each check box lives and which bit value means "on".
struct CheckInfo {
    size_t offset;
    int bit;
    bool onWhenSet;
};

constexpr CheckInfo checkInfo(DtmfSettings::Check c) {
    switch (c) {
    case DtmfSettings::Check::DialId:
        return {DtmfSettings::kKeypadFlags, 6, false};
    case DtmfSettings::Check::HoldTime:
        return {DtmfSettings::kModeFlags, 1, true};
    case DtmfSettings::Check::KeypadAutoPtt:
        return {DtmfSettings::kAutoPttFlags, 3, false};
    case DtmfSettings::Check::StoreAndSend:
        return {DtmfSettings::kKeypadFlags, 5, false};
    case DtmfSettings::Check::NumberDisplay:
        break;
    }
    return {DtmfSettings::kNumberDisplay, 0, false}; // a whole byte, handled apart
}

constexpr std::string_view kIntermediateChars = "#*0123456789ABCD";
constexpr std::array<uint8_t, 7> kGroupCodeBytes{0xFF, '*', '#', 'A', 'B', 'C', 'D'};
constexpr std::array<uint8_t, 3> kCallAlertBytes{0xFF, 1, 2}; // item 2 covers 2..4
constexpr std::array<uint8_t, 3> kTranspondBytes{2, 3, 4};

template <size_t N> int itemOf(const std::array<uint8_t, N>& bytes, uint8_t b) {
    for (size_t i = 0; i < N; ++i)
        if (bytes[i] == b) return static_cast<int>(i);
    return -1;
}

bool inItems(int item, size_t count) {
    return item >= 0 && static_cast<size_t>(item) < count;
}

bool isDtmfChar(uint8_t c) {
    return c != 0 && filterDtmfChar(static_cast<char>(c)) == static_cast<char>(c);
}

} // namespace

// ---- encoder timing ----------------------------------------------------------

size_t DtmfSettings::timingOffset(Timing t) {
    return timingInfo(t).offset;
}
int DtmfSettings::timingStep(Timing t) {
    return timingInfo(t).step;
}
int DtmfSettings::timingMinIndex(Timing t) {
    return timingInfo(t).minIndex;
}

std::string DtmfSettings::timingText(Timing t) const {
    const TimingInfo info = timingInfo(t);
    const int ms = image_.u16(info.offset);
    if (ms < info.step * info.minIndex || ms > info.step * kTimingMaxIndex) return {};
    return std::to_string(ms);
}

void DtmfSettings::setTimingText(Timing t, std::string_view text) {
    const TimingInfo info = timingInfo(t);
    const long ms = leadingNumber(text).value_or(0);
    const long index = std::clamp<long>(ms / info.step, info.minIndex, kTimingMaxIndex);
    image_.setU16(info.offset, static_cast<uint16_t>(info.step * index));
}

int DtmfSettings::timingIndex(Timing t) const {
    return image_.u16(timingInfo(t).offset) / timingInfo(t).step;
}

void DtmfSettings::setTimingIndex(Timing t, int index) {
    const TimingInfo info = timingInfo(t);
    index = wrapIndex(index, info.minIndex, kTimingMaxIndex);
    image_.setU16(info.offset, static_cast<uint16_t>(info.step * index));
}

// ---- D key assignment ----------------------------------------------------------

std::string DtmfSettings::dKeyText() const {
    const int s = image_.u8(kDKeyAssignment);
    if (s == 0) return text(kTextDKeyOff);
    return s <= kDKeyMax ? std::to_string(s) : std::string();
}

void DtmfSettings::setDKeyText(std::string_view t) {
    long s = 0;
    if (!t.empty() && t != text(kTextDKeyOff))
        s = std::min<long>(leadingNumber(t).value_or(0), kDKeyMax);
    image_.setU8(kDKeyAssignment, static_cast<uint8_t>(s));
}

int DtmfSettings::dKeyIndex() const {
    return image_.u8(kDKeyAssignment);
}

void DtmfSettings::setDKeyIndex(int index) {
    image_.setU8(kDKeyAssignment, static_cast<uint8_t>(wrapIndex(index, 0, kDKeyMax)));
}

// ---- auto reset timer ----------------------------------------------------------

std::string DtmfSettings::autoResetText() const {
    const int s = image_.u16(kAutoResetTimer);
    if (s == 0 || s == 0xFFFF) return text(kTextOff);
    return s <= kAutoResetMax ? std::to_string(s) : std::string();
}

void DtmfSettings::setAutoResetText(std::string_view t) {
    long s = kAutoResetDefault;
    if (t == text(kTextOff))
        s = 0;
    else if (!t.empty())
        s = std::min<long>(leadingNumber(t).value_or(0), kAutoResetMax);
    image_.setU16(kAutoResetTimer, s == 0 ? uint16_t{0xFFFF} : static_cast<uint16_t>(s));
}

int DtmfSettings::autoResetIndex() const {
    const int s = image_.u16(kAutoResetTimer);
    return s == 0xFFFF ? 0 : s;
}

void DtmfSettings::setAutoResetIndex(int index) {
    index = wrapIndex(index, 0, kAutoResetMax);
    image_.setU16(kAutoResetTimer, index == 0 ? uint16_t{0xFFFF} : static_cast<uint16_t>(index));
}

// ---- check boxes ------------------------------------------------------------------

bool DtmfSettings::check(Check c) const {
    if (c == Check::NumberDisplay) return image_.u8(kNumberDisplay) == 0x00;
    const CheckInfo info = checkInfo(c);
    return image_.bit(info.offset, info.bit) == info.onWhenSet;
}

void DtmfSettings::setCheck(Check c, bool on) {
    if (c == Check::NumberDisplay) {
        image_.setU8(kNumberDisplay, on ? 0x00 : 0xFF);
        return;
    }
    const CheckInfo info = checkInfo(c);
    image_.setBit(info.offset, info.bit, on == info.onWhenSet);
}

// ---- combos -----------------------------------------------------------------------

int DtmfSettings::keyCountItem() const {
    return image_.bit(kModeFlags, 0) ? 0 : 1;
}

void DtmfSettings::setKeyCountItem(int item) {
    if (inItems(item, 2)) image_.setBit(kModeFlags, 0, item == 0);
}

std::vector<DtmfSettings::Signalling> DtmfSettings::signallingModes() const {
    std::vector<Signalling> modes{Signalling::Single};
    if (predicates::isWideModel(image_)) modes.push_back(Signalling::Sequence);
    if (predicates::isNumberDisplayModel(image_)) modes.push_back(Signalling::NumberDisplay);
    return modes;
}

std::vector<std::string> DtmfSettings::signallingItems() const {
    std::vector<std::string> items;
    for (Signalling m : signallingModes())
        items.push_back(text(m == Signalling::Single     ? 400
                             : m == Signalling::Sequence ? 401
                                                         : kTextOff));
    return items;
}

int DtmfSettings::signallingItem() const {
    const int stored = (image_.u8(kModeFlags) >> 2) & 3;
    const std::vector<Signalling> modes = signallingModes();
    for (size_t i = 0; i < modes.size(); ++i)
        if (static_cast<int>(modes[i]) == stored) return static_cast<int>(i);
    return -1;
}

void DtmfSettings::setSignallingItem(int item) {
    const std::vector<Signalling> modes = signallingModes();
    if (!inItems(item, modes.size())) return;
    const int mode = static_cast<int>(modes[static_cast<size_t>(item)]);
    const uint8_t b = image_.u8(kModeFlags);
    image_.setU8(kModeFlags, static_cast<uint8_t>((b & ~0x0C) | (mode << 2)));
}

bool DtmfSettings::signallingIs(Signalling mode) const {
    const int item = signallingItem();
    return item >= 0 && signallingModes()[static_cast<size_t>(item)] == mode;
}

std::vector<std::string> DtmfSettings::intermediateItems() {
    std::vector<std::string> items;
    for (char c : kIntermediateChars)
        items.emplace_back(1, c);
    return items;
}

int DtmfSettings::intermediateItem() const {
    const auto c = static_cast<char>(image_.u8(kIntermediateCode));
    const size_t i = kIntermediateChars.find(c);
    return i == std::string_view::npos ? -1 : static_cast<int>(i);
}

void DtmfSettings::setIntermediateItem(int item) {
    if (inItems(item, kIntermediateChars.size()))
        image_.setU8(kIntermediateCode,
                     static_cast<uint8_t>(kIntermediateChars[static_cast<size_t>(item)]));
}

std::vector<std::string> DtmfSettings::groupCodeItems() const {
    std::vector<std::string> items{text(kTextOff)};
    for (size_t i = 1; i < kGroupCodeBytes.size(); ++i)
        items.emplace_back(1, static_cast<char>(kGroupCodeBytes[i]));
    return items;
}

int DtmfSettings::groupCodeItem() const {
    return itemOf(kGroupCodeBytes, image_.u8(kGroupCode));
}

void DtmfSettings::setGroupCodeItem(int item) {
    if (inItems(item, kGroupCodeBytes.size()))
        image_.setU8(kGroupCode, kGroupCodeBytes[static_cast<size_t>(item)]);
}

std::vector<std::string> DtmfSettings::callAlertItems() const {
    return {text(kTextOff), text(406), text(408)};
}

bool DtmfSettings::isTranspond() const {
    const uint8_t b = image_.u8(kCallAlert);
    return b >= 2 && b <= 4;
}

int DtmfSettings::callAlertItem() const {
    return isTranspond() ? 2 : itemOf(kCallAlertBytes, image_.u8(kCallAlert));
}

void DtmfSettings::setCallAlertItem(int item) {
    if (!inItems(item, kCallAlertBytes.size())) return;
    // Choosing Transpond again keeps the transpond mode already stored.
    if (item == 2 && isTranspond()) return;
    image_.setU8(kCallAlert, kCallAlertBytes[static_cast<size_t>(item)]);
}

std::vector<std::string> DtmfSettings::transpondItems() const {
    return {text(409), text(410), text(411)};
}

int DtmfSettings::transpondItem() const {
    return itemOf(kTranspondBytes, image_.u8(kCallAlert));
}

void DtmfSettings::setTranspondItem(int item) {
    if (inItems(item, kTranspondBytes.size()))
        image_.setU8(kCallAlert, kTranspondBytes[static_cast<size_t>(item)]);
}

// ---- dead-beat disable codes -----------------------------------------------------

std::string DtmfSettings::deadBeatText(int which) const {
    const size_t base = which == 0 ? kDeadBeatTx : kDeadBeatTxRx;
    std::string out;
    for (size_t i = 0; i < kDeadBeatLength; ++i) {
        const uint8_t b = image_.u8(base + i);
        if (b == 0xFF) break;
        if (!isDtmfChar(b)) return {}; // not a code this field can hold
        out.push_back(static_cast<char>(b));
    }
    return out;
}

void DtmfSettings::setDeadBeatText(int which, std::string_view typed) {
    const size_t base = which == 0 ? kDeadBeatTx : kDeadBeatTxRx;
    std::string t;
    for (char c : typed)
        if (const char d = filterDtmfChar(c)) t.push_back(d);
    if (t.size() == 1 || t.size() == 2) return; // too short to be a code: the old one stays
    t.resize(std::min(t.size(), kDeadBeatLength));
    image_.fill(base, kDeadBeatLength, 0xFF);
    for (size_t i = 0; i < t.size(); ++i)
        image_.setU8(base + i, static_cast<uint8_t>(t[i]));
}

// ---- the DTMF code list -------------------------------------------------------------

int DtmfSettings::codeRowCount() const {
    return predicates::isKeypadModel(image_) ? kMaxCodeRows : 1;
}

std::string DtmfSettings::code(int row) const {
    if (row < 1 || row > kMaxCodeRows) return {};
    const size_t base = codeRecord(row);
    const uint8_t count = image_.u8(base + 1);
    if (count == 0xFF) return {};
    std::array<uint8_t, kMaxCodeDigits / 2> digits;
    for (size_t i = 0; i < digits.size(); ++i)
        digits[i] = image_.u8(base + 16 + i);
    return readDtmfDigits(digits, std::min<size_t>(count, kMaxCodeDigits));
}

void DtmfSettings::setCode(int row, std::string_view t) {
    if (row < 1 || row > kMaxCodeRows) return;
    const size_t base = codeRecord(row);
    image_.setU8(base, 0xFF);
    image_.setU8(base + 1, 0xFF);
    image_.fill(base + 16, kMaxCodeDigits / 2, 0xFF);
    if (t.empty()) return;
    t = t.substr(0, kMaxCodeDigits);
    // The radio does not treat "#" alone or a code opening with "##" as a stored code.
    const bool usable = t != "#" && t.substr(0, 2) != "##";
    image_.setU8(base, usable ? static_cast<uint8_t>(row + 1) : uint8_t{0xFF});
    image_.setU8(base + 1, static_cast<uint8_t>(t.size()));
    std::array<uint8_t, kMaxCodeDigits / 2> digits;
    packDtmfDigits(t, digits);
    for (size_t i = 0; i < digits.size(); ++i)
        image_.setU8(base + 16 + i, digits[i]);
}

} // namespace vrl

// ---- field table ---------------------------------------------------------------

namespace vrl {

namespace {

constexpr const char* kArea = "dtmf";
constexpr const char* kDigits = "0123456789";

DtmfSettings dtmfOf(const FieldContext& c) {
    return DtmfSettings(c.image(), c.texts);
}

bool keypad(const FieldContext& c) {
    return predicates::isKeypadModel(c.image());
}

Field labelled(const char* label, int labelText, FieldKind kind, int controlId) {
    return labelledField(kArea, label, labelText, kind, controlId);
}

Field timingField(const char* label, int labelText, int editId, int spinId,
                  DtmfSettings::Timing t) {
    Field f = labelled(label, labelText, FieldKind::Spin, editId);
    f.spinId = spinId;
    f.maxLength = DtmfSettings::timingStep(t) == 10 ? 3 : 4;
    f.allowed = kDigits;
    f.text = [t](const FieldContext& c) { return dtmfOf(c).timingText(t); };
    f.setText = [t](FieldContext& c, const std::string& v) { dtmfOf(c).setTimingText(t, v); };
    f.stepIndex = [t](const FieldContext& c) { return dtmfOf(c).timingIndex(t); };
    f.setStep = [t](FieldContext& c, int i) { dtmfOf(c).setTimingIndex(t, i); };
    return f;
}

Field checkField(const char* label, int labelText, int controlId, DtmfSettings::Check which) {
    Field f = labelled(label, labelText, FieldKind::Check, controlId);
    f.value = [which](const FieldContext& c) { return int(dtmfOf(c).check(which)); };
    f.setValue = [which](FieldContext& c, int on) { dtmfOf(c).setCheck(which, on != 0); };
    return f;
}

using ItemsOf = std::vector<std::string> (DtmfSettings::*)() const;
using ItemOf = int (DtmfSettings::*)() const;
using SetItemOf = void (DtmfSettings::*)(int);

Field comboField(const char* label, int labelText, int controlId, ItemsOf items, ItemOf get,
                 SetItemOf set) {
    Field f = labelled(label, labelText, FieldKind::Combo, controlId);
    f.choices = [items](const FieldContext& c) { return (dtmfOf(c).*items)(); };
    f.value = [get](const FieldContext& c) { return (dtmfOf(c).*get)(); };
    f.setValue = [set](FieldContext& c, int item) { (dtmfOf(c).*set)(item); };
    return f;
}

Field deadBeatField(const char* label, int labelText, int controlId, int which) {
    Field f = labelled(label, labelText, FieldKind::Edit, controlId);
    f.maxLength = static_cast<int>(DtmfSettings::kDeadBeatLength);
    f.allowed = std::string(DtmfSettings::kDtmfCharacters);
    f.upperCase = true;
    f.text = [which](const FieldContext& c) { return dtmfOf(c).deadBeatText(which); };
    f.setText = [which](FieldContext& c, const std::string& v) {
        dtmfOf(c).setDeadBeatText(which, v);
    };
    f.refusalNote = [](const FieldContext&, const std::string& v) {
        return v.size() == 1 || v.size() == 2 ? std::string("refusal.dead_beat_short") : std::string();
    };
    return f;
}

FieldTable buildDtmfTable(const FieldContext& ctx) {
    using T = DtmfSettings::Timing;
    using C = DtmfSettings::Check;
    FieldTable t;
    // Page 1: encoder and keypad.
    t.push_back(timingField("Digit Time [msec]", 385, 1114, 1126, T::DigitTime));
    t.push_back(timingField("Inter Digit Time [msec]", 386, 1115, 1127, T::InterDigitTime));
    t.push_back(timingField("First Digit Time [msec]", 387, 1116, 1128, T::FirstDigitTime));
    t.push_back(timingField("First Digit Delay [msec]", 388, 1117, 1129, T::FirstDigitDelay));
    t.push_back(timingField("Rise Time With ST [msec]", 389, 1119, 1130, T::RiseTime));

    Field keys = comboField("No. of DTMF Key", 390, 1120, nullptr, &DtmfSettings::keyCountItem,
                            &DtmfSettings::setKeyCountItem);
    keys.choices = [](const FieldContext& c) { return textChoices(c, {391, 392}); };
    keys.enabled = keypad;
    t.push_back(std::move(keys));

    Field dKey = labelled("D Key Assignment [sec]", 393, FieldKind::Spin, 1118);
    dKey.spinId = 1131;
    dKey.maxLength = 2;
    dKey.allowed = kDigits;
    dKey.text = [](const FieldContext& c) { return dtmfOf(c).dKeyText(); };
    dKey.setText = [](FieldContext& c, const std::string& v) { dtmfOf(c).setDKeyText(v); };
    dKey.stepIndex = [](const FieldContext& c) { return dtmfOf(c).dKeyIndex(); };
    dKey.setStep = [](FieldContext& c, int i) { dtmfOf(c).setDKeyIndex(i); };
    t.push_back(std::move(dKey));

    Field dialId = checkField("Dial ID", 394, 1121, C::DialId);
    dialId.enabled = keypad;
    dialId.notifies = true; // the channel edit window follows it
    t.push_back(std::move(dialId));
    Field hold = checkField("DTMF Hold Time", 395, 1122, C::HoldTime);
    hold.enabled = keypad;
    t.push_back(std::move(hold));
    Field autoPtt = checkField("Keypad Auto-PTT", 396, 1123, C::KeypadAutoPtt);
    autoPtt.enabled = [](const FieldContext& c) {
        return keypad(c) && !dtmfOf(c).check(C::StoreAndSend);
    };
    t.push_back(std::move(autoPtt));
    Field storeSend = checkField("Store & Send", 397, 1124, C::StoreAndSend);
    storeSend.enabled = [](const FieldContext& c) {
        return predicates::channelCount(c.image()) == 128 && !dtmfOf(c).check(C::KeypadAutoPtt);
    };
    t.push_back(std::move(storeSend));

    // Page 2: decoder.
    Field signalling = comboField("DTMF Signalling", 399, 1132, &DtmfSettings::signallingItems,
                                  &DtmfSettings::signallingItem, &DtmfSettings::setSignallingItem);
    signalling.notifies = true; // the channel grid and channel edit window follow it
    t.push_back(std::move(signalling));
    Field intermediate =
        comboField("Intermediate Code", 402, 1136, nullptr, &DtmfSettings::intermediateItem,
                   &DtmfSettings::setIntermediateItem);
    intermediate.choices = [](const FieldContext&) { return DtmfSettings::intermediateItems(); };
    intermediate.enabled = [](const FieldContext& c) {
        return dtmfOf(c).signallingIs(DtmfSettings::Signalling::Sequence);
    };
    t.push_back(std::move(intermediate));
    Field group = comboField("Group Code", 403, 1134, &DtmfSettings::groupCodeItems,
                             &DtmfSettings::groupCodeItem, &DtmfSettings::setGroupCodeItem);
    group.enabled = [](const FieldContext& c) {
        return !dtmfOf(c).signallingIs(DtmfSettings::Signalling::NumberDisplay);
    };
    t.push_back(std::move(group));

    Field reset = labelled("Auto Reset Timer [sec]", 404, FieldKind::Spin, 1135);
    reset.spinId = 1140;
    reset.maxLength = 2;
    reset.allowed = kDigits;
    reset.text = [](const FieldContext& c) { return dtmfOf(c).autoResetText(); };
    reset.setText = [](FieldContext& c, const std::string& v) { dtmfOf(c).setAutoResetText(v); };
    reset.stepIndex = [](const FieldContext& c) { return dtmfOf(c).autoResetIndex(); };
    reset.setStep = [](FieldContext& c, int i) { dtmfOf(c).setAutoResetIndex(i); };
    t.push_back(std::move(reset));

    t.push_back(comboField("Call Alert/Transpond", 405, 1133, &DtmfSettings::callAlertItems,
                           &DtmfSettings::callAlertItem, &DtmfSettings::setCallAlertItem));
    Field transpond = comboField("Transpond", 407, 1137, &DtmfSettings::transpondItems,
                                 &DtmfSettings::transpondItem, &DtmfSettings::setTranspondItem);
    transpond.enabled = [](const FieldContext& c) { return dtmfOf(c).isTranspond(); };
    t.push_back(std::move(transpond));
    t.push_back(deadBeatField("Dead Beat Disable (TX)", 412, 1138, 0));
    t.push_back(deadBeatField("Dead Beat Disable (TX&RX)", 413, 1139, 1));

    Field display = checkField("DTMF Number Display", 417, 1580, C::NumberDisplay);
    display.shown = [](const FieldContext& c) {
        return predicates::isNumberDisplayModel(c.image());
    };
    display.enabled = [](const FieldContext& c) {
        return dtmfOf(c).signallingIs(DtmfSettings::Signalling::NumberDisplay);
    };
    t.push_back(std::move(display));

    // Page 3: the code list, only the rows this model shows.
    const int rows = dtmfOf(ctx).codeRowCount();
    for (int row = 1; row <= rows; ++row) {
        Field f;
        f.key = std::string(kArea) + ".code." + std::to_string(row);
        f.labelText = 415;
        f.kind = FieldKind::Cell;
        f.controlId = 1447; // the grid's code editor
        f.maxLength = static_cast<int>(DtmfSettings::kMaxCodeDigits);
        f.allowed = std::string(DtmfSettings::kDtmfCharacters);
        f.upperCase = true;
        f.text = [row](const FieldContext& c) { return dtmfOf(c).code(row); };
        f.setText = [row](FieldContext& c, const std::string& v) { dtmfOf(c).setCode(row, v); };
        t.push_back(std::move(f));
    }
    return t;
}

} // namespace

FieldArea dtmfArea() {
    FieldArea area;
    area.name = kArea;
    area.titleText = 383;
    area.build = buildDtmfTable;
    return area;
}

} // namespace vrl
