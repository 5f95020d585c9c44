#include "features/scan_settings.h"

#include "features/field_areas.h"
#include "features/model_predicates.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <type_traits>

namespace vrl {

namespace {
constexpr uint8_t kPriorityBytes[] = {0xFF, '0', '1'};
constexpr int kLookBackMinHundredths = 50;
constexpr int kLookBackMaxHundredths = 500;
constexpr int kLookBackDefaultB = 200; // empty input of B
constexpr int kDelayDefault = 3;       // empty input of dropout delay and dwell
} // namespace

// ---- priority ------------------------------------------------------------------

int ScanSettings::priorityItem() const {
    const uint8_t b = image_.u8(kPriority);
    for (int i = 0; i < 3; ++i)
        if (kPriorityBytes[i] == b) return i;
    return -1;
}

void ScanSettings::setPriorityItem(int item) {
    if (item < 0 || item > 2) return;
    image_.setU8(kPriority, kPriorityBytes[item]);
    resetUnavailableRevert();
}

bool ScanSettings::lookBackApplies() const {
    const int item = priorityItem();
    return item == kPriorityFixed || item == kPrioritySelected;
}

// ---- look-back times -------------------------------------------------------------

std::string ScanSettings::timeText(LookBack which) const {
    const int ms = image_.u16(offsetOf(which));
    if (ms < kLookBackMinHundredths * 10 || ms > kLookBackMaxHundredths * 10) return {};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d.%02d", ms / 1000, ms % 1000 / 10);
    return buf;
}

void ScanSettings::storeHundredths(LookBack which, int hundredths) {
    image_.setU16(offsetOf(which), static_cast<uint16_t>(hundredths * 10));
}

void ScanSettings::setTimeText(LookBack which, std::string_view typed) {
    std::string text(typed);
    std::replace(text.begin(), text.end(), ',', '.');
    if (text.empty() && which == LookBack::B) {
        storeHundredths(which, kLookBackDefaultB);
        return;
    }
    // "12.5" does not fit the field's s.hh form: the value stays.
    const size_t point = text.find('.');
    if (point != std::string::npos && point >= 2) return;
    const double seconds = std::strtod(text.c_str(), nullptr); // 0 without a number
    // Whole milliseconds first (rounded), then hundredths (cut), as typed 1.234 -> 1.23.
    const long ms = static_cast<long>(std::min(seconds, 1.0e6) * 1000 + 0.5);
    long h = std::clamp(ms / 10, long(kLookBackMinHundredths), long(kLookBackMaxHundredths));
    h -= h % 5;
    storeHundredths(which, static_cast<int>(h));
}

int ScanSettings::timeStep(LookBack which) const {
    const int ms = image_.u16(offsetOf(which));
    if (ms < kLookBackMinHundredths * 10 || ms > kLookBackMaxHundredths * 10) return -1;
    return ms / 10 / 5 - kLookBackMinHundredths / 5;
}

void ScanSettings::setTimeStep(LookBack which, int index) {
    storeHundredths(which, 5 * wrapIndex(index, 0, kLookBackSteps) + kLookBackMinHundredths);
}

// ---- revert channel --------------------------------------------------------------

std::vector<int> ScanSettings::revertChoices() const {
    const uint8_t priority = image_.u8(kPriority);
    std::vector<int> codes{0, 1};
    if (priority != '1') codes.insert(codes.end(), {2, 3});
    if (priority != 0xFF) codes.insert(codes.end(), {4, 5});
    return codes;
}

int ScanSettings::revertItem() const {
    const int code = image_.u8(kRevertChannel) - '0';
    const std::vector<int> codes = revertChoices();
    const auto it = std::find(codes.begin(), codes.end(), code);
    return it == codes.end() ? -1 : static_cast<int>(it - codes.begin());
}

void ScanSettings::resetUnavailableRevert() {
    const uint8_t revert = image_.u8(kRevertChannel);
    if (revert >= '0' && revert < '0' + kRevertCount && revertItem() < 0)
        image_.setU8(kRevertChannel, '0');
}

void ScanSettings::setRevertItem(int item) {
    const std::vector<int> codes = revertChoices();
    if (item < 0 || item >= static_cast<int>(codes.size())) return;
    image_.setU8(kRevertChannel, static_cast<uint8_t>('0' + codes[static_cast<size_t>(item)]));
}

// ---- dropout delay and dwell time --------------------------------------------------

std::string ScanSettings::timeText(Delay which) const {
    const int seconds = image_.u16(offsetOf(which));
    return seconds > kSecondsMax ? std::string() : std::to_string(seconds);
}

void ScanSettings::setTimeText(Delay which, std::string_view text) {
    const auto typed = leadingNumber(text);
    const long seconds = typed ? std::min(*typed, long(kSecondsMax)) : kDelayDefault;
    image_.setU16(offsetOf(which), static_cast<uint16_t>(seconds));
}

int ScanSettings::timeStep(Delay which) const {
    const int seconds = image_.u16(offsetOf(which));
    return seconds > kSecondsMax ? -1 : seconds;
}

void ScanSettings::setTimeStep(Delay which, int index) {
    image_.setU16(offsetOf(which), static_cast<uint16_t>(wrapIndex(index, 0, kSecondsMax)));
}

// ---- group scan and off-hook scan ----------------------------------------------------

int ScanSettings::groupScanItem() const {
    const uint8_t b = image_.u8(kGroupScan);
    return b == '0' ? 0 : b == '1' ? 1 : -1;
}

void ScanSettings::setGroupScanItem(int item) {
    if (item == 0 || item == 1) image_.setU8(kGroupScan, static_cast<uint8_t>('0' + item));
}

bool ScanSettings::offHookScan() const {
    return !wordBit(image_, kFlagWord, kOffHookBit);
}

void ScanSettings::setOffHookScan(bool on) {
    setWordBit(image_, kFlagWord, kOffHookBit, !on);
}

// ---- field table -------------------------------------------------------------------

namespace {

constexpr int kRevertFirstText = 371; // '0'..'5' are texts 371..376

// A time with a spin: look-back times (LookBack) and dropout delay and dwell
// times (Delay) share the accessor's time functions.
template <class Which>
Field timeField(Which which, const char* label, int labelText, int editId, int spinId) {
    constexpr bool lookBack = std::is_same_v<Which, ScanSettings::LookBack>;
    Field f;
    f.labelText = labelText;
    f.key = fieldKey("scan", label);
    f.kind = FieldKind::Spin;
    f.controlId = editId;
    f.spinId = spinId;
    f.maxLength = lookBack ? 4 : 3;
    f.allowed = lookBack ? "0123456789.," : "0123456789";
    f.text = [which](const FieldContext& c) { return ScanSettings(c.image()).timeText(which); };
    f.setText = [which](FieldContext& c, const std::string& t) {
        ScanSettings(c.image()).setTimeText(which, t);
    };
    f.stepIndex = [which](const FieldContext& c) {
        return ScanSettings(c.image()).timeStep(which);
    };
    f.setStep = [which](FieldContext& c, int i) { ScanSettings(c.image()).setTimeStep(which, i); };
    if (lookBack)
        f.enabled = [](const FieldContext& c) { return ScanSettings(c.image()).lookBackApplies(); };
    return f;
}

FieldTable scanFields(const FieldContext&) {
    using LB = ScanSettings::LookBack;
    using D = ScanSettings::Delay;
    FieldTable table;

    Field priority;
    priority.labelText = 365;
    priority.key = fieldKey("scan", "Priority");
    priority.kind = FieldKind::Combo;
    priority.controlId = 1100;
    // The third item stores '1' itself: its text (367) and the text the stored '1'
    // reads as (373) need not agree in every language.
    priority.choices = [](const FieldContext& c) { return textChoices(c, {65, 366, 367}); };
    priority.value = [](const FieldContext& c) { return ScanSettings(c.image()).priorityItem(); };
    priority.setValue = [](FieldContext& c, int i) { ScanSettings(c.image()).setPriorityItem(i); };
    priority.notifies = true; // the channel grid and channel edit show the priority channel
    table.push_back(std::move(priority));

    table.push_back(timeField(LB::A, "Look Back Time A [sec]", 368, 1101, 1102));
    table.push_back(timeField(LB::B, "Look Back Time B [sec]", 369, 1103, 1104));

    Field revert;
    revert.labelText = 370;
    revert.key = fieldKey("scan", "Revert Channel");
    revert.kind = FieldKind::Combo;
    revert.controlId = 1105;
    revert.choices = [](const FieldContext& c) {
        std::vector<std::string> items;
        for (int code : ScanSettings(c.image()).revertChoices())
            items.push_back(c.text(kRevertFirstText + code));
        return items;
    };
    revert.value = [](const FieldContext& c) { return ScanSettings(c.image()).revertItem(); };
    revert.setValue = [](FieldContext& c, int i) { ScanSettings(c.image()).setRevertItem(i); };
    table.push_back(std::move(revert));

    table.push_back(timeField(D::Dropout, "Dropout Delay Time [sec]", 377, 1106, 1108));
    table.push_back(timeField(D::Dwell, "Dwell Time [sec]", 378, 1107, 1109));

    Field group;
    group.labelText = 379;
    group.key = fieldKey("scan", "Group Scan");
    group.kind = FieldKind::Combo;
    group.controlId = 1110;
    group.choices = [](const FieldContext& c) { return textChoices(c, {380, 381}); };
    group.value = [](const FieldContext& c) { return ScanSettings(c.image()).groupScanItem(); };
    group.setValue = [](FieldContext& c, int i) { ScanSettings(c.image()).setGroupScanItem(i); };
    group.enabled = [](const FieldContext& c) { return predicates::hasGroupNames(c.image()); };
    group.notifies = true; // the group edit window shows it
    table.push_back(std::move(group));

    Field offHook;
    offHook.labelText = 382;
    offHook.key = fieldKey("scan", "Off Hook Scan");
    offHook.kind = FieldKind::Check;
    offHook.controlId = 1111;
    offHook.value = [](const FieldContext& c) {
        return int(ScanSettings(c.image()).offHookScan());
    };
    offHook.setValue = [](FieldContext& c, int on) {
        ScanSettings(c.image()).setOffHookScan(on != 0);
    };
    offHook.enabled = [](const FieldContext& c) { return predicates::isMobile(c.image()); };
    table.push_back(std::move(offHook));

    // Every store is followed by the reload that rebuilds the Revert Channel list.
    for (Field& f : table) {
        auto reset = [](FieldContext& c) { ScanSettings(c.image()).resetUnavailableRevert(); };
        if (f.setText)
            f.setText = [set = f.setText, reset](FieldContext& c, const std::string& t) {
                set(c, t);
                reset(c);
            };
        if (f.setStep)
            f.setStep = [set = f.setStep, reset](FieldContext& c, int i) {
                set(c, i);
                reset(c);
            };
        if (f.setValue)
            f.setValue = [set = f.setValue, reset](FieldContext& c, int i) {
                set(c, i);
                reset(c);
            };
    }
    return table;
}

} // namespace

FieldArea scanArea() {
    FieldArea area;
    area.name = "scan";
    area.titleText = 364;
    area.build = scanFields;
    // The scan window belongs to the 32- and 128-channel models.
    area.offered = [](const FieldContext& c) { return predicates::isWideModel(c.image()); };
    return area;
}

} // namespace vrl
