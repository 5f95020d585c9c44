#include "features/trunking.h"

#include "features/field_areas.h"
#include "features/model_predicates.h"

#include <algorithm>
#include <cstdio>

namespace vrl {

namespace {

bool isDigit(uint8_t c) { return c >= '0' && c <= '9'; }

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return isDigit(static_cast<uint8_t>(c)); });
}

int hexValue(uint8_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string fourDigits(int value) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04d", value);
    return buf;
}

// Typed digits as a number; nothing for an empty text.
std::optional<int> typedNumber(std::string_view text) {
    if (text.empty() || !allDigits(text) || text.size() > 6) return std::nullopt;
    return std::stoi(std::string(text));
}

constexpr char kEmptyCode[] = "000F";

} // namespace

std::string speedDialLabel(int m) {
    if (m < 10) return std::string(1, static_cast<char>('0' + m));
    return std::string(1, static_cast<char>('A' + m - 10));
}

std::optional<int> TrunkingSettings::digitPairs(size_t offset) const {
    int value = 0;
    for (size_t i = 0; i < 4; ++i) {
        const uint8_t d = image_.u8(offset + 2 * i + 1);
        if (!isDigit(d)) return std::nullopt;
        value = value * 10 + (d - '0');
    }
    return value;
}

void TrunkingSettings::setDigitPairs(size_t offset, int value) {
    const std::string digits = fourDigits(value);
    for (size_t i = 0; i < 4; ++i) {
        image_.setU8(offset + 2 * i, '0');
        image_.setU8(offset + 2 * i + 1, static_cast<uint8_t>(digits[i]));
    }
}

std::string TrunkingSettings::code4(size_t offset) const {
    const auto value = digitPairs(offset);
    return value ? fourDigits(*value) : std::string();
}

bool TrunkingSettings::setCode4(size_t offset, std::string_view text) {
    if (text.empty()) {
        setDigitPairs(offset, 0);
        return true;
    }
    if (text.size() != 4 || !allDigits(text)) return false;
    setDigitPairs(offset, std::stoi(std::string(text)));
    return true;
}

// ---- system tone ------------------------------------------------------------

std::string TrunkingSettings::systemToneText() const {
    const int n = image_.u8(kSystemTone + 1) - '0';
    if (image_.u8(kSystemTone) != '0' || n < 0 || n > kMaxSystemTone) return {};
    return std::to_string(n);
}

int TrunkingSettings::systemToneIndex() const {
    const std::string text = systemToneText();
    return text.empty() ? 0 : std::stoi(text);
}

void TrunkingSettings::setSystemToneStep(int index) {
    const int n = std::clamp(index, 0, kMaxSystemTone);
    image_.setU8(kSystemTone, '0');
    image_.setU8(kSystemTone + 1, static_cast<uint8_t>('0' + n));
}

void TrunkingSettings::setSystemToneText(std::string_view text) {
    const auto n = typedNumber(text);
    setSystemToneStep(n ? std::min(*n, kMaxSystemTone) : kDefaultSystemTone);
}

// ---- system ID --------------------------------------------------------------

std::string TrunkingSettings::systemIdText() const {
    const int hi = hexValue(image_.u8(kSystemId));
    const int lo = hexValue(image_.u8(kSystemId + 1));
    if (hi < 0 || lo < 0 || hi * 16 + lo > kMaxSystemId) return {};
    return std::to_string(hi * 16 + lo);
}

int TrunkingSettings::systemIdIndex() const {
    const std::string text = systemIdText();
    return text.empty() ? 0 : std::stoi(text);
}

void TrunkingSettings::setSystemIdStep(int index) {
    const int n = std::clamp(index, 0, kMaxSystemId);
    char buf[4];
    std::snprintf(buf, sizeof buf, "%02X", n);
    image_.setU8(kSystemId, static_cast<uint8_t>(buf[0]));
    image_.setU8(kSystemId + 1, static_cast<uint8_t>(buf[1]));
}

void TrunkingSettings::setSystemIdText(std::string_view text) {
    const auto n = typedNumber(text);
    setSystemIdStep(n ? std::min(*n, kMaxSystemId) : 0);
}

// ---- decode blocks ----------------------------------------------------------

std::optional<int> TrunkingSettings::lowerBlock() const { return digitPairs(kLowerBlock); }
std::optional<int> TrunkingSettings::upperBlock() const { return digitPairs(kUpperBlock); }

std::string TrunkingSettings::lowerBlockText() const { return code4(kLowerBlock); }

std::string TrunkingSettings::upperBlockText() const {
    const auto lower = lowerBlock();
    const auto upper = upperBlock();
    if (!lower || !upper || *upper < *lower || *upper > *lower + kUpperBlockSpan) return {};
    return fourDigits(*upper);
}

int TrunkingSettings::lowerBlockIndex() const { return lowerBlock().value_or(0); }

int TrunkingSettings::upperBlockIndex() const {
    if (upperBlockText().empty()) return 0;
    return *upperBlock() - *lowerBlock();
}

bool TrunkingSettings::setLowerBlockText(std::string_view text) {
    if (!setCode4(kLowerBlock, text)) return false;
    setDigitPairs(kUpperBlock, *lowerBlock());
    return true;
}

void TrunkingSettings::setLowerBlockStep(int index) {
    const int n = std::clamp(index, 0, kMaxBlock);
    setDigitPairs(kLowerBlock, n);
    setDigitPairs(kUpperBlock, n);
}

void TrunkingSettings::setUpperBlockStep(int index) {
    const auto lower = lowerBlock();
    if (!lower) return;
    const int upper = *lower + std::clamp(index, 0, kUpperBlockSpan);
    if (upper > kMaxBlock) return; // the previous value stays
    setDigitPairs(kUpperBlock, upper);
}

void TrunkingSettings::setUpperBlockText(std::string_view text) {
    const auto lower = lowerBlock();
    if (!lower) return;
    if (text.empty()) {
        setDigitPairs(kUpperBlock, *lower);
        return;
    }
    // Shorter input: the current upper block stays.
    if (text.size() < 4 || !allDigits(text)) return;
    const int typed = std::stoi(std::string(text));
    setUpperBlockStep(std::clamp(typed, *lower, *lower + kUpperBlockSpan) - *lower);
}

// ---- combos and checks ------------------------------------------------------

int TrunkingSettings::busyChannelDetect() const {
    const uint8_t c = image_.u8(kBusyChannelDetect);
    return c == '1' ? 0 : c == '0' ? 1 : -1;
}

void TrunkingSettings::setBusyChannelDetect(int item) {
    if (item == 0 || item == 1) image_.setU8(kBusyChannelDetect, item == 0 ? '1' : '0');
}

int TrunkingSettings::radioKill() const {
    const uint8_t c = image_.u8(kRadioKill);
    return c == '0' ? 0 : c == '1' ? 1 : -1;
}

void TrunkingSettings::setRadioKill(int item) {
    if (item == 0 || item == 1) image_.setU8(kRadioKill, item == 0 ? '0' : '1');
}

bool TrunkingSettings::flag(size_t offset) const { return image_.u8(offset) == '1'; }

void TrunkingSettings::setFlag(size_t offset, bool on) { image_.setU8(offset, on ? '1' : '0'); }

// ---- code list and speed dials ----------------------------------------------

std::string TrunkingSettings::codeEntry(int n) const {
    const std::string entry = image_.readAscii(kCodeList + kCodeLength * static_cast<size_t>(n), kCodeLength);
    if (entry == kEmptyCode || entry == "FFFF") return {};
    return entry;
}

void TrunkingSettings::setCodeEntry(int n, std::string_view text) {
    const size_t offset = kCodeList + kCodeLength * static_cast<size_t>(n);
    if (text.empty()) {
        image_.writeAscii(offset, kEmptyCode);
        return;
    }
    if (text.size() < kCodeLength) return;
    image_.writeAscii(offset, text.substr(0, kCodeLength));
}

std::string TrunkingSettings::speedDial(int m) const {
    const std::string stored =
        image_.readAscii(kSpeedDials + kSpeedDialLength * static_cast<size_t>(m), kSpeedDialLength);
    std::string shown;
    for (char c : stored)
        if (c != 'F') shown.push_back(c);
    return shown;
}

void TrunkingSettings::setSpeedDial(int m, std::string_view text) {
    text = text.substr(0, kSpeedDialLength);
    std::string field(kSpeedDialLength, 'F');
    std::copy(text.begin(), text.end(), field.end() - static_cast<long>(text.size()));
    std::replace(field.begin(), field.end(), ' ', 'F');
    image_.writeAscii(kSpeedDials + kSpeedDialLength * static_cast<size_t>(m), field);
}

// ---- access code ------------------------------------------------------------

std::string TrunkingSettings::accessCode() const {
    std::string code;
    for (size_t i = 0; i < kAccessCodeLength; ++i) {
        const uint8_t c = image_.u8(kAccessCode + 2 * i);
        if (!isDigit(c)) return {};
        code.push_back(static_cast<char>(c));
    }
    return code;
}

bool TrunkingSettings::setAccessCode(std::string_view digits) {
    if (digits.size() != kAccessCodeLength || !allDigits(digits)) return false;
    for (size_t i = 0; i < kAccessCodeLength; ++i)
        image_.setU8(kAccessCode + 2 * i, static_cast<uint8_t>(digits[i]));
    return true;
}

} // namespace vrl

// ---- field table -------------------------------------------------------------

namespace vrl {

namespace {

constexpr char kDigits[] = "0123456789";
constexpr const char* kArea = "trunking";

TrunkingSettings settingsOf(const FieldContext& c) { return TrunkingSettings(c.image()); }

Field editField(int labelText, std::string_view label, int controlId, int maxLength) {
    Field f;
    f.key = fieldKey(kArea, label);
    f.labelText = labelText;
    f.kind = FieldKind::Edit;
    f.controlId = controlId;
    f.maxLength = maxLength;
    f.allowed = kDigits;
    return f;
}

Field spinField(int labelText, std::string_view label, int controlId, int spinId, int maxLength) {
    Field f = editField(labelText, label, controlId, maxLength);
    f.kind = FieldKind::Spin;
    f.spinId = spinId;
    return f;
}

// The window keeps nothing of an entry with fewer digits than the field holds; none at
// all (`emptyMeans`) is taken unless `emptyMeans` is null.
Field::Refusal digitsRefusal(size_t length, const char* emptyMeans) {
    return [length, emptyMeans](const FieldContext&, const std::string& t) -> std::string {
        if (t.size() >= length || (t.empty() && emptyMeans)) return {};
        return "takes " + std::to_string(length) + " digits" +
               (emptyMeans ? std::string(" (none for ") + emptyMeans + ")" : std::string());
    };
}

Field codeField(int labelText, std::string_view label, int controlId, size_t offset) {
    Field f = editField(labelText, label, controlId, 4);
    f.text = [offset](const FieldContext& c) { return settingsOf(c).code4(offset); };
    f.setText = [offset](FieldContext& c, const std::string& t) { settingsOf(c).setCode4(offset, t); };
    f.refusal = digitsRefusal(4, "0000");
    // The window says why it dropped the text: the same rule, in the window's words.
    f.refusalNote = [rule = f.refusal](const FieldContext& c, const std::string& t) {
        return rule(c, t).empty() ? std::string() : std::string("refusal.code_four_digits");
    };
    return f;
}

Field checkField(int labelText, std::string_view label, int controlId, size_t offset) {
    Field f;
    f.key = fieldKey(kArea, label);
    f.labelText = labelText;
    f.kind = FieldKind::Check;
    f.controlId = controlId;
    f.value = [offset](const FieldContext& c) { return settingsOf(c).flag(offset) ? 1 : 0; };
    f.setValue = [offset](FieldContext& c, int v) { settingsOf(c).setFlag(offset, v != 0); };
    return f;
}

Field cellField(std::string key, std::string label, int gridId, int maxLength) {
    Field f;
    f.key = std::move(key);
    f.label = std::move(label);
    f.kind = FieldKind::Cell;
    f.controlId = gridId;
    f.maxLength = maxLength;
    f.allowed = kDigits;
    return f;
}

FieldTable buildTrunkingTable(const FieldContext& ctx) {
    using S = TrunkingSettings;
    FieldTable t;
    t.push_back(codeField(437, "Primary Code", 1220, S::kPrimaryCode));
    t.push_back(codeField(438, "Secondary Code", 1221, S::kSecondaryCode));

    Field tone = spinField(439, "System Tone", 1224, 1226, 1);
    tone.text = [](const FieldContext& c) { return settingsOf(c).systemToneText(); };
    tone.setText = [](FieldContext& c, const std::string& v) { settingsOf(c).setSystemToneText(v); };
    tone.stepIndex = [](const FieldContext& c) { return settingsOf(c).systemToneIndex(); };
    tone.setStep = [](FieldContext& c, int i) {
        settingsOf(c).setSystemToneStep(wrapIndex(i, 0, S::kMaxSystemTone));
    };
    t.push_back(std::move(tone));

    Field id = spinField(440, "Trunking System ID Number", 1225, 1227, 2);
    id.text = [](const FieldContext& c) { return settingsOf(c).systemIdText(); };
    id.setText = [](FieldContext& c, const std::string& v) { settingsOf(c).setSystemIdText(v); };
    id.stepIndex = [](const FieldContext& c) { return settingsOf(c).systemIdIndex(); };
    id.setStep = [](FieldContext& c, int i) { settingsOf(c).setSystemIdStep(wrapIndex(i, 0, S::kMaxSystemId)); };
    t.push_back(std::move(id));

    Field lower = spinField(441, "Lower Block Decode", 1223, 1236, 4);
    lower.text = [](const FieldContext& c) { return settingsOf(c).lowerBlockText(); };
    lower.setText = [](FieldContext& c, const std::string& v) { settingsOf(c).setLowerBlockText(v); };
    lower.stepIndex = [](const FieldContext& c) { return settingsOf(c).lowerBlockIndex(); };
    lower.setStep = [](FieldContext& c, int i) { settingsOf(c).setLowerBlockStep(wrapIndex(i, 0, S::kMaxBlock)); };
    lower.refusal = digitsRefusal(4, "0000");
    t.push_back(std::move(lower));

    Field upper = spinField(442, "Upper Block Decode", 1222, 1228, 4);
    upper.text = [](const FieldContext& c) { return settingsOf(c).upperBlockText(); };
    upper.setText = [](FieldContext& c, const std::string& v) { settingsOf(c).setUpperBlockText(v); };
    upper.stepIndex = [](const FieldContext& c) { return settingsOf(c).upperBlockIndex(); };
    upper.setStep = [](FieldContext& c, int i) {
        settingsOf(c).setUpperBlockStep(wrapIndex(i, 0, S::kUpperBlockSpan));
    };
    upper.refusal = digitsRefusal(4, "the lower block");
    t.push_back(std::move(upper));

    Field busy;
    busy.key = fieldKey(kArea, "Busy Channel Detect");
    busy.labelText = 443;
    busy.kind = FieldKind::Combo;
    busy.controlId = 1229;
    busy.value = [](const FieldContext& c) { return settingsOf(c).busyChannelDetect(); };
    busy.setValue = [](FieldContext& c, int item) { settingsOf(c).setBusyChannelDetect(item); };
    busy.choices = [](const FieldContext& c) { return textChoices(c, {444, 445}); };
    t.push_back(std::move(busy));

    Field kill;
    kill.key = fieldKey(kArea, "Radio-Kill");
    kill.labelText = 446;
    kill.kind = FieldKind::Combo;
    kill.controlId = 1230;
    kill.value = [](const FieldContext& c) { return settingsOf(c).radioKill(); };
    kill.setValue = [](FieldContext& c, int item) { settingsOf(c).setRadioKill(item); };
    kill.choices = [](const FieldContext& c) { return textChoices(c, {447, 448}); };
    t.push_back(std::move(kill));

    t.push_back(checkField(449, "Priority Subscriber", 1231, S::kPrioritySubscriber));
    t.push_back(checkField(450, "Automatic PTT Mode", 1232, S::kAutomaticPtt));
    t.push_back(checkField(451, "Emergency Call Override", 1233, S::kEmergencyOverride));
    t.push_back(checkField(452, "Clear Channel Alerting Mode", 1234, S::kClearChannelAlerting));
    Field speedProg = checkField(453, "Memory Speed-dialing Programming", 1235, S::kSpeedDialProgramming);
    speedProg.enabled = [](const FieldContext& c) { return !predicates::isSmallPortable(c.image()); };
    t.push_back(std::move(speedProg));

    Field access = editField(460, "Access Code", 1266, S::kAccessCodeLength);
    access.text = [](const FieldContext& c) { return settingsOf(c).accessCode(); };
    access.setText = [](FieldContext& c, const std::string& v) { settingsOf(c).setAccessCode(v); };
    access.refusal = digitsRefusal(static_cast<size_t>(S::kAccessCodeLength), nullptr);
    access.secret = true; // a button and a password dialog in the window
    t.push_back(std::move(access));

    const int codes = trunkingCodeCount(ctx.image());
    for (int n = 0; n < codes; ++n) {
        Field f = cellField("trunking.code." + std::to_string(n), std::to_string(n), 1449,
                            static_cast<int>(S::kCodeLength));
        f.text = [n](const FieldContext& c) { return settingsOf(c).codeEntry(n); };
        f.setText = [n](FieldContext& c, const std::string& v) { settingsOf(c).setCodeEntry(n, v); };
        f.refusal = digitsRefusal(S::kCodeLength, "000F");
        t.push_back(std::move(f));
    }
    for (int m = 0; m < S::kSpeedDialCount; ++m) {
        const std::string label = speedDialLabel(m);
        Field f = cellField("trunking.speed_dial." + label, label, m < 10 ? 1450 : 1451,
                            static_cast<int>(S::kSpeedDialLength));
        f.text = [m](const FieldContext& c) { return settingsOf(c).speedDial(m); };
        f.setText = [m](FieldContext& c, const std::string& v) { settingsOf(c).setSpeedDial(m, v); };
        f.shown = [](const FieldContext& c) { return predicates::hasSpeedDialMemories(c.image()); };
        t.push_back(std::move(f));
    }
    return t;
}

} // namespace

int trunkingCodeCount(const CDataImage& image) {
    const int count = predicates::channelCount(image);
    return count == 8 || count == 16 ? 1 : TrunkingSettings::kCodeCount;
}

FieldArea trunkingArea() {
    FieldArea area;
    area.name = kArea;
    area.titleText = 435; // "Trunking"
    area.build = buildTrunkingTable;
    area.offered = [](const FieldContext& c) { return predicates::hasTrunkingBoard(c.image()); };
    return area;
}

} // namespace vrl
