#include "features/feature_settings.h"

#include "channels/channel_codes.h"
#include "features/field_areas.h"
#include "features/field_table.h"
#include "features/model_predicates.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>

namespace vrl {

namespace {

constexpr int kTextNone = 65;
constexpr int kTextOff = 69;
constexpr int kTextToneVolumeC = 264;

// The plain number fields: a byte or word, a range, the word shown for 0 (or
// none) and the value an empty edit stands for.
struct NumberSpec {
    size_t offset;
    bool word;
    int min, max;
    int zeroText; // -1: 0 is shown as "0"
    int emptyValue;
};

std::optional<NumberSpec> plainNumber(FeatureSettings::Number field) {
    using N = FeatureSettings::Number;
    switch (field) {
    case N::MinimumVolume:
        return NumberSpec{FeatureSettings::kMinimumVolume, false, 0, 31, kTextOff, 8};
    case N::TotPreAlert:
        return NumberSpec{FeatureSettings::kTotPreAlert, true, 0, 10, kTextOff, 0};
    case N::TotRekeyTime:
        return NumberSpec{FeatureSettings::kTotRekeyTime, true, 0, 60, kTextOff, 0};
    case N::TotResetTime:
        return NumberSpec{FeatureSettings::kTotResetTime, true, 0, 15, kTextOff, 0};
    case N::SquelchLevel:
        return NumberSpec{FeatureSettings::kSquelchLevel, false, 0, 9, -1, 5};
    default:
        return std::nullopt;
    }
}

// Where a check box or a drop-down list keeps its state: a bit of a byte, a bit of
// a little-endian word (other bits kept), or a whole byte. `state[k]` is the bit
// (0/1) or the byte that stands for state k: for a check box 0 off and 1 on, for a
// list the item.
struct Storage {
    enum Form { ByteBit, WordBit, ByteValue } form;
    size_t offset;
    int bit;
    std::array<uint8_t, 2> state;
};

using FS = FeatureSettings;

constexpr std::array<Storage, 18> kSwitches{{
    {Storage::WordBit, FS::kWord84, 0, {0, 1}}, // PowerOnTone
    {Storage::WordBit, FS::kWord84, 1, {0, 1}}, // ControlTone
    {Storage::WordBit, FS::kWord84, 2, {0, 1}}, // WarningTone
    {Storage::ByteValue, FS::kBusyChannelLockoutTone, 0, {0xFF, 0x00}},
    {Storage::ByteValue, FS::kPreAlertTone, 0, {0xFF, 0x00}},
    {Storage::ByteValue, FS::kMuteDuringAlertTone, 0, {0x00, 0xFF}},
    {Storage::ByteValue, FS::kBatterySave, 0, {0xFF, 0x32}},
    {Storage::ByteBit, FS::kDisplayFlags, 3, {1, 0}},         // OffHookDecode
    {Storage::ByteBit, FS::kDisplayFlags, 2, {1, 0}},         // OffHookHornAlert
    {Storage::WordBit, FS::kWord2D, 5, {1, 0}},               // SpeakerMutingByOffHook
    {Storage::WordBit, FS::kWord44, 3, {1, 0}},               // DataTxWithStCst
    {Storage::WordBit, FS::kWord2D, 3, {1, 0}},               // ClearToTranspond
    {Storage::ByteValue, FS::kKeyDetection, 0, {0xFF, 0x33}}, // ModifyMode
    {Storage::ByteBit, FS::kModeFlags, 0, {0, 1}},            // PanelTest
    {Storage::ByteBit, FS::kModeFlags, 1, {0, 1}},            // PanelTuning
    {Storage::ByteBit, FS::kModeFlags, 2, {0, 1}},            // FirmwareProgramming
    {Storage::ByteBit, FS::kModeFlags, 3, {0, 1}},            // Clone
    {Storage::ByteBit, FS::kModeFlags, 4, {0, 1}},            // SelfProgramming
}};

static_assert(kSwitches.size() == static_cast<size_t>(FS::Switch::SelfProgramming) + 1,
              "one storage per check box, in Switch order");

// Two-item lists in Choice order (KeyDetection has three items and its own rule).
constexpr std::array<Storage, 8> kChoices{{
    {Storage::ByteBit, FS::kDisplayFlags, 0, {1, 0}}, // DisplayCharacter
    {Storage::ByteValue, FS::kTxInhibitTone, 0, {0xFF, 0x00}},
    {Storage::WordBit, FS::kWord2D, 10, {1, 0}}, // AccHookDtc (0x2E bit 2)
    {Storage::ByteValue, FS::kExternalPtt, 0, {0xFF, 0x00}},
    {Storage::ByteBit, FS::kSignalling, 0, {1, 0}},
    {Storage::WordBit, FS::kWord2D, 9, {1, 0}},  // KeyLock (0x2E bit 1)
    {},                                          // KeyDetection
    {Storage::WordBit, FS::kWord2D, 11, {1, 0}}, // LedControl (0x2E bit 3)
}};

static_assert(kChoices.size() == static_cast<size_t>(FS::Choice::LedControl) + 1,
              "one storage per list, in Choice order");

constexpr int kKeyDetectionTypeBit = 12; // 0x2E bit 4
constexpr uint8_t kKeyDetectionOn = 0x33;

// The state k whose pattern is stored, or -1.
int readState(const CDataImage& image, const Storage& s) {
    int value = 0;
    switch (s.form) {
    case Storage::ByteBit:
        value = image.bit(s.offset, s.bit);
        break;
    case Storage::WordBit:
        value = wordBit(image, s.offset, s.bit);
        break;
    case Storage::ByteValue:
        value = image.u8(s.offset);
        break;
    }
    for (int k = 0; k < 2; ++k)
        if (s.state[static_cast<size_t>(k)] == value) return k;
    return -1;
}

void writeState(CDataImage& image, const Storage& s, int k) {
    const uint8_t v = s.state[static_cast<size_t>(k)];
    switch (s.form) {
    case Storage::ByteBit:
        image.setBit(s.offset, s.bit, v != 0);
        break;
    case Storage::WordBit:
        setWordBit(image, s.offset, s.bit, v != 0);
        break;
    case Storage::ByteValue:
        image.setU8(s.offset, v);
        break;
    }
}

int rawValue(const CDataImage& image, const NumberSpec& s) {
    return s.word ? image.u16(s.offset) : image.u8(s.offset);
}

void storeValue(CDataImage& image, const NumberSpec& s, int value) {
    if (s.word)
        image.setU16(s.offset, static_cast<uint16_t>(value));
    else
        image.setU8(s.offset, static_cast<uint8_t>(value));
}

} // namespace

// ---- number fields -----------------------------------------------------------

int FeatureSettings::totSteps() const {
    return predicates::isMobile(image_) ? 40 : 20;
}

uint16_t FeatureSettings::totOffValue() const {
    return static_cast<uint16_t>(2 * totSteps() * kSecondsPerTotStep);
}

bool FeatureSettings::isTotOff() const {
    return image_.u16(kTimeOutTimer) == totOffValue();
}

int FeatureSettings::minStep(Number field) const {
    if (field == Number::ToneVolume) return -1;
    if (const auto spec = plainNumber(field)) return spec->min;
    return 0;
}

int FeatureSettings::maxStep(Number field) const {
    switch (field) {
    case Number::ChannelNameLength:
    case Number::GroupNameLength:
        return kNameSpaces;
    case Number::ToneVolume:
        return 31;
    case Number::TimeOutTimer:
        return totSteps();
    default:
        return plainNumber(field)->max;
    }
}

int FeatureSettings::stepIndex(Number field) const {
    const int g = image_.u8(kGroupNameLength);
    switch (field) {
    case Number::ChannelNameLength:
        return kNameSpaces - g;
    case Number::GroupNameLength:
        return g;
    case Number::ToneVolume: {
        const int v = image_.u8(kToneVolume);
        return v == kToneVolumeC ? -1 : v;
    }
    case Number::TimeOutTimer:
        return isTotOff() ? 0 : image_.u16(kTimeOutTimer) / kSecondsPerTotStep;
    default:
        return rawValue(image_, *plainNumber(field));
    }
}

// Stores the value of spin position `index` (already in range).
void FeatureSettings::storeNumber(Number field, int index) {
    switch (field) {
    case Number::ChannelNameLength:
        image_.setU8(kGroupNameLength, static_cast<uint8_t>(kNameSpaces - index));
        break;
    case Number::GroupNameLength:
        image_.setU8(kGroupNameLength, static_cast<uint8_t>(index));
        break;
    case Number::ToneVolume:
        image_.setU8(kToneVolume, index < 0 ? kToneVolumeC : static_cast<uint8_t>(index));
        break;
    case Number::TimeOutTimer:
        image_.setU16(kTimeOutTimer, index == 0
                                         ? totOffValue()
                                         : static_cast<uint16_t>(index * kSecondsPerTotStep));
        break;
    default:
        storeValue(image_, *plainNumber(field), index);
        break;
    }
}

std::string FeatureSettings::text(Number field) const {
    const int index = stepIndex(field);
    switch (field) {
    case Number::ChannelNameLength:
    case Number::GroupNameLength:
        if (index < 0 || index > kNameSpaces) return {};
        return index == 0 ? word(kTextNone) : std::to_string(index);
    case Number::ToneVolume:
        if (index < -1 || index > 31) return {};
        return index < 0 ? word(kTextToneVolumeC) : std::to_string(index);
    case Number::TimeOutTimer: {
        if (isTotOff()) return word(kTextOff);
        const int seconds = image_.u16(kTimeOutTimer);
        if (seconds < 1 || seconds > totSteps() * kSecondsPerTotStep) return {};
        return std::to_string(seconds);
    }
    default: {
        const NumberSpec spec = *plainNumber(field);
        if (index < spec.min || index > spec.max) return {};
        return index == 0 && spec.zeroText >= 0 ? word(spec.zeroText) : std::to_string(index);
    }
    }
}

std::string FeatureSettings::setStep(Number field, int index) {
    storeNumber(field, wrapIndex(index, minStep(field), maxStep(field)));
    return text(field);
}

// A name length as typed: the "none" word, "", "0" and "1".."8"; anything else
// counts as all eight places.
int FeatureSettings::parseNameLength(std::string_view typed) const {
    if (typed.empty() || typed == "0" || typed == word(kTextNone)) return 0;
    if (typed.size() == 1 && typed[0] >= '1' && typed[0] <= '8') return typed[0] - '0';
    return kNameSpaces;
}

// The time-out timer's step for typed seconds: empty is 60 s; a text holding a
// letter of the "off" word is off; seconds are divided by 15 and clamped.
int FeatureSettings::parseTot(std::string_view typed) const {
    constexpr int kEmptySteps = 60 / kSecondsPerTotStep;
    if (typed.empty()) return kEmptySteps;
    // Only the letters of the word count, so that a digit in some language's word
    // cannot turn a typed number into "off".
    for (char c : word(kTextOff))
        if (!std::isdigit(static_cast<unsigned char>(c)) && c != ' ' &&
            typed.find(c) != std::string_view::npos)
            return 0;
    const auto seconds = leadingNumber(typed);
    if (!seconds) return kEmptySteps;
    return static_cast<int>(std::min<long>(*seconds / kSecondsPerTotStep, totSteps()));
}

std::string FeatureSettings::setText(Number field, std::string_view typed) {
    int index = 0;
    switch (field) {
    case Number::ChannelNameLength:
    case Number::GroupNameLength:
        index = parseNameLength(typed);
        break;
    case Number::ToneVolume:
        if (typed.empty() || typed == word(kTextToneVolumeC) || typed[0] == 'C' ||
            typed[0] == 'c' || !leadingNumber(typed))
            index = -1;
        else
            index = static_cast<int>(std::min<long>(*leadingNumber(typed), 31));
        break;
    case Number::TimeOutTimer:
        index = parseTot(typed);
        break;
    default: {
        const NumberSpec spec = *plainNumber(field);
        const auto n = leadingNumber(typed);
        if (spec.zeroText >= 0 && !typed.empty() && typed == word(spec.zeroText))
            index = 0;
        else if (!n)
            index = spec.emptyValue;
        else
            index = static_cast<int>(std::clamp<long>(*n, spec.min, spec.max));
        break;
    }
    }
    storeNumber(field, index);
    return text(field);
}

// ---- texts -------------------------------------------------------------------

std::string FeatureSettings::powerOnText() const {
    std::array<uint8_t, kNameBytes> bytes;
    for (size_t i = 0; i < kNameBytes; ++i)
        bytes[i] = image_.u8(kPowerOnText + i);
    std::string text = readName(bytes);
    // Bytes the display cannot show are no text the window could edit.
    if (std::any_of(text.begin(), text.end(), [](char c) { return filterNameChar(c) == 0; }))
        return {};
    return text;
}

std::string FeatureSettings::setPowerOnText(std::string_view typed) {
    if (const auto packed = packName(typed, static_cast<int>(kNameBytes)))
        for (size_t i = 0; i < kNameBytes; ++i)
            image_.setU8(kPowerOnText + i, (*packed)[i]);
    return powerOnText();
}

// The digits up to the first 0xFF; empty when another byte stands among them.
std::string FeatureSettings::readDigits(size_t offset) const {
    std::string out;
    for (size_t i = 0; i < kPasswordLength; ++i) {
        const uint8_t b = image_.u8(offset + i);
        if (b == 0xFF) break;
        if (b < '0' || b > '9') return {};
        out.push_back(static_cast<char>(b));
    }
    return out;
}

// Six bytes of 0xFF with the typed digits (at most six) in front.
void FeatureSettings::writeDigits(size_t offset, std::string_view typed) {
    size_t n = 0;
    for (char c : typed)
        if (c >= '0' && c <= '9' && n < kPasswordLength)
            image_.setU8(offset + n++, static_cast<uint8_t>(c));
    for (; n < kPasswordLength; ++n)
        image_.setU8(offset + n, 0xFF);
}

std::string FeatureSettings::radioPassword() const {
    return readDigits(kRadioPassword);
}

std::string FeatureSettings::setRadioPassword(std::string_view typed) {
    writeDigits(kRadioPassword, typed);
    return radioPassword();
}

std::string FeatureSettings::dataPassword() const {
    return readDigits(kDataPassword);
}

std::string FeatureSettings::setDataPassword(std::string_view typed) {
    writeDigits(kDataPassword, typed);
    image_.setBit(kIdentityFlags, 6, image_.u8(kDataPassword) == 0xFF);
    return dataPassword();
}

// ---- checks and lists ----------------------------------------------------------

bool FeatureSettings::isOn(Switch field) const {
    return readState(image_, kSwitches[static_cast<size_t>(field)]) == 1;
}

void FeatureSettings::setOn(Switch field, bool on) {
    writeState(image_, kSwitches[static_cast<size_t>(field)], on ? 1 : 0);
}

int FeatureSettings::itemCount(Choice field) {
    return field == Choice::KeyDetection ? 3 : 2;
}

int FeatureSettings::item(Choice field) const {
    if (field != Choice::KeyDetection)
        return readState(image_, kChoices[static_cast<size_t>(field)]);
    switch (image_.u8(kKeyDetection)) {
    case 0xFF:
        return 0;
    case kKeyDetectionOn:
        return wordBit(image_, kWord2D, kKeyDetectionTypeBit) ? 1 : 2;
    default:
        return -1;
    }
}

void FeatureSettings::setItem(Choice field, int item) {
    if (item < 0 || item >= itemCount(field)) return;
    if (field != Choice::KeyDetection) {
        writeState(image_, kChoices[static_cast<size_t>(field)], item);
        return;
    }
    image_.setU8(kKeyDetection, item == 0 ? 0xFF : kKeyDetectionOn);
    setWordBit(image_, kWord2D, kKeyDetectionTypeBit, item != 2);
}

} // namespace vrl

// ---- field table -------------------------------------------------------------

namespace vrl {

namespace {

using Number = FeatureSettings::Number;
using Switch = FeatureSettings::Switch;
using Choice = FeatureSettings::Choice;

constexpr char kArea[] = "optional";
constexpr char kDigits[] = "0123456789";

FeatureSettings settings(const FieldContext& c) {
    return FeatureSettings(c.image(), c.texts);
}

Field labelled(const char* label, int labelText, FieldKind kind, int controlId) {
    return labelledField(kArea, label, labelText, kind, controlId);
}

Field numberField(const char* label, int labelText, Number n, int editId, int spinId, int maxLength,
                  const char* allowed = kDigits) {
    Field f = labelled(label, labelText, FieldKind::Spin, editId);
    f.spinId = spinId;
    f.maxLength = maxLength;
    f.allowed = allowed;
    f.text = [n](const FieldContext& c) { return settings(c).text(n); };
    f.setText = [n](FieldContext& c, const std::string& t) { settings(c).setText(n, t); };
    f.stepIndex = [n](const FieldContext& c) { return settings(c).stepIndex(n); };
    f.setStep = [n](FieldContext& c, int index) { settings(c).setStep(n, index); };
    return f;
}

Field textField(const char* label, int labelText, int editId, int maxLength, std::string allowed,
                std::string (FeatureSettings::*get)() const,
                std::string (FeatureSettings::*set)(std::string_view)) {
    Field f = labelled(label, labelText, FieldKind::Edit, editId);
    f.maxLength = maxLength;
    f.allowed = std::move(allowed);
    f.text = [get](const FieldContext& c) { return (settings(c).*get)(); };
    f.setText = [set](FieldContext& c, const std::string& t) {
        auto s = settings(c);
        (s.*set)(t);
    };
    return f;
}

Field switchField(const char* label, int labelText, Switch s, int checkId) {
    Field f = labelled(label, labelText, FieldKind::Check, checkId);
    f.value = [s](const FieldContext& c) { return int(settings(c).isOn(s)); };
    f.setValue = [s](FieldContext& c, int on) { settings(c).setOn(s, on != 0); };
    return f;
}

Field choiceField(const char* label, int labelText, Choice ch, int comboId,
                  std::vector<int> itemTexts) {
    Field f = labelled(label, labelText, FieldKind::Combo, comboId);
    f.value = [ch](const FieldContext& c) { return settings(c).item(ch); };
    f.setValue = [ch](FieldContext& c, int item) { settings(c).setItem(ch, item); };
    f.choices = [itemTexts](const FieldContext& c) {
        std::vector<std::string> items;
        for (int t : itemTexts)
            items.push_back(c.text(t));
        return items;
    };
    return f;
}

// An enable or show rule over the document's image.
template <class Rule> Field::Predicate when(Rule rule) {
    return [rule](const FieldContext& c) { return rule(c.image()); };
}

bool isWide(const CDataImage& image) {
    const int count = predicates::channelCount(image);
    return count == 32 || count == 128;
}
bool hasSixteenChannels(const CDataImage& image) {
    return predicates::channelCount(image) == 16;
}
bool timerRuns(CDataImage& image) {
    return !FeatureSettings(image, {}).isTotOff();
}
bool preAlertToneOn(CDataImage& image) {
    return predicates::isBatteryWarningModel(image) &&
           FeatureSettings(image, {}).isOn(Switch::PreAlertTone);
}

FieldTable pageOne() {
    FieldTable t;
    const auto names = when(predicates::hasGroupNames);
    t.push_back(
        numberField("Channel Name text length", 253, Number::ChannelNameLength, 1013, 1014, 1));
    t.back().enabled = names;
    t.back().notifies = true;
    t.push_back(numberField("Group Name text length", 254, Number::GroupNameLength, 1012, 1011, 1));
    t.back().enabled = names;
    t.back().notifies = true;
    t.push_back(choiceField("Display Character", 257, Choice::DisplayCharacter, 1023, {255, 256}));
    t.back().enabled = when(isWide);
    t.push_back(textField("Power On Text", 258, 1029, 8, std::string(kNameCharacters),
                          &FeatureSettings::powerOnText, &FeatureSettings::setPowerOnText));
    t.back().upperCase = true;
    t.back().enabled = when(isWide);
    t.push_back(switchField("Power On Tone", 259, Switch::PowerOnTone, 1015));
    t.push_back(switchField("Control Tone", 260, Switch::ControlTone, 1016));
    t.push_back(switchField("Warning Tone", 261, Switch::WarningTone, 1017));
    t.push_back(
        switchField("Busy Channel Lockout Tone", 262, Switch::BusyChannelLockoutTone, 1018));
    t.back().enabled = [](const FieldContext& c) { return settings(c).isOn(Switch::ControlTone); };
    t.push_back(numberField("Minimum Volume", 263, Number::MinimumVolume, 1020, 1019, 2));
    t.back().enabled = when(predicates::isMobile);
    t.push_back(numberField("Tone Volume", 265, Number::ToneVolume, 1022, 1021, 2, "0123456789Cc"));
    t.back().enabled = when(predicates::isMobile);
    // The timer takes "off" in words as well as seconds: any characters.
    t.push_back(
        numberField("Time Out Timer(TOT)[sec]", 266, Number::TimeOutTimer, 1032, 1031, 0, ""));
    t.push_back(numberField("TOT Pre-Alert [sec]", 267, Number::TotPreAlert, 1034, 1033, 2));
    t.back().enabled = when(timerRuns);
    t.push_back(numberField("TOT Rekey Time [sec]", 268, Number::TotRekeyTime, 1036, 1035, 2));
    t.back().enabled = when(timerRuns);
    t.push_back(numberField("TOT Reset Time [sec]", 269, Number::TotResetTime, 1038, 1037, 2));
    t.back().enabled = when(timerRuns);
    t.push_back(textField("Radio Password", 270, 1045, 6, kDigits, &FeatureSettings::radioPassword,
                          &FeatureSettings::setRadioPassword));
    t.back().enabled = when(isWide);
    t.push_back(textField("Data Password", 271, 1046, 6, kDigits, &FeatureSettings::dataPassword,
                          &FeatureSettings::setDataPassword));
    // The battery warning group exists on two portables only.
    const auto battery = when(predicates::isBatteryWarningModel);
    t.push_back(switchField("Pre Alert Tone", 273, Switch::PreAlertTone, 1571));
    t.back().shown = battery;
    t.push_back(switchField("Mute During Alert Tone", 274, Switch::MuteDuringAlertTone, 1572));
    t.back().shown = battery;
    t.back().enabled = when(preAlertToneOn);
    t.push_back(choiceField("TX Inhibit Tone", 306, Choice::TxInhibitTone, 1573, {307, 308}));
    t.back().shown = battery;
    t.back().enabled = when(preAlertToneOn);
    return t;
}

bool notPortable(const CDataImage& image) {
    return !predicates::isPortable(image);
}

FieldTable pageTwo() {
    FieldTable t;
    t.push_back(switchField("Battery Save", 302, Switch::BatterySave, 1040));
    t.back().enabled = when(predicates::isPortable);
    t.push_back(switchField("Off Hook Decode", 303, Switch::OffHookDecode, 1024));
    t.back().enabled = when(predicates::isMobile);
    t.push_back(switchField("Off Hook Horn Alert", 304, Switch::OffHookHornAlert, 1025));
    t.back().enabled = when(predicates::isMobile);
    t.push_back(
        switchField("Speaker Muting by Off Hook", 305, Switch::SpeakerMutingByOffHook, 1026));
    t.back().enabled = when([](const CDataImage& image) {
        const int variant = predicates::variantCode(image);
        return notPortable(image) && variant >= 2 && variant <= 4;
    });
    t.push_back(choiceField("ACC Hook/DTC", 275, Choice::AccHookDtc, 1030, {276, 277}));
    // On the key-detection models the hook input serves key detection while it is on.
    t.back().enabled = when([](const CDataImage& image) {
        return predicates::isMobile(image) && !(predicates::isKeyDetectionModel(image) &&
                                                image.u8(FeatureSettings::kKeyDetection) != 0xFF);
    });
    t.push_back(choiceField("External PTT", 278, Choice::ExternalPtt, 1056, {279, 280}));
    t.back().enabled = when(predicates::isMobile);
    t.push_back(switchField("Data TX with ST/CST", 281, Switch::DataTxWithStCst, 1027));
    t.back().enabled = when([](const CDataImage& image) {
        return notPortable(image) && predicates::variantCode(image) == 1;
    });
    t.push_back(switchField("Clear to Transpond", 282, Switch::ClearToTranspond, 1039));
    t.push_back(choiceField("Signalling", 283, Choice::Signalling, 1042, {284, 285}));
    t.push_back(numberField("Squelch Level", 286, Number::SquelchLevel, 1044, 1043, 1));
    t.push_back(choiceField("Key Lock", 287, Choice::KeyLock, 1028, {288, 289}));
    t.back().enabled = when([](const CDataImage& image) {
        return !(predicates::isPortable(image) && predicates::channelCount(image) != 128);
    });
    t.push_back(switchField("Modify Mode", 290, Switch::ModifyMode, 1041));
    t.back().enabled = when(hasSixteenChannels);
    t.push_back(choiceField("Key Detection", 291, Choice::KeyDetection, 1047, {292, 293, 294}));
    t.back().enabled = when(predicates::isKeyDetectionModel);
    t.push_back(labelled("LED Control", 295, FieldKind::Combo, 1048));
    t.back().value = [](const FieldContext& c) { return settings(c).item(Choice::LedControl); };
    t.back().setValue = [](FieldContext& c, int item) {
        settings(c).setItem(Choice::LedControl, item);
    };
    t.back().choices = [](const FieldContext&) { return std::vector<std::string>{"1", "2"}; };
    t.back().enabled = when(hasSixteenChannels);
    // The service modes the radio allows (group box "Mode").
    t.push_back(switchField("Panel Test", 297, Switch::PanelTest, 1049));
    t.back().enabled = when(isWide);
    t.push_back(switchField("Panel Tuning", 298, Switch::PanelTuning, 1050));
    t.back().enabled = when([](CDataImage& image) {
        return isWide(image) && FeatureSettings(image, {}).isOn(Switch::PanelTest);
    });
    t.push_back(switchField("Firmware Programming", 299, Switch::FirmwareProgramming, 1051));
    t.push_back(switchField("Clone", 300, Switch::Clone, 1052));
    t.back().enabled = when(isWide);
    t.push_back(switchField("Self Programming", 301, Switch::SelfProgramming, 1053));
    t.back().enabled = when([](const CDataImage& image) {
        return isWide(image) && !predicates::hasTrunkingBoard(image);
    });
    return t;
}

} // namespace

FieldArea optionalFeaturesArea() {
    FieldArea area;
    area.name = kArea;
    area.titleText = 250;
    area.build = [](const FieldContext&) {
        FieldTable table = pageOne();
        FieldTable two = pageTwo();
        table.insert(table.end(), std::make_move_iterator(two.begin()),
                     std::make_move_iterator(two.end()));
        return table;
    };
    return area;
}

} // namespace vrl
