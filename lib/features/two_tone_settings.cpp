#include "features/two_tone_settings.h"

#include "channels/channel_codes.h"
#include "features/field_areas.h"
#include "features/model_predicates.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace vrl {

namespace {

constexpr int kTextOff = 69;
constexpr std::array<std::string_view, 3> kDefaultTones{"321.7", "928.1", "600.9"};
// Decoder call format: the item texts, the high nibble each stores and the value of
// bits 4-6 each is recognised by.
constexpr std::array<std::string_view, 6> kCallFormats{"A-B", "C-B", "C-A", "B-C", "B-A", "A-C"};
constexpr std::array<uint8_t, 6> kCallFormatNibbles{0xF, 0xA, 0xB, 0xC, 0xD, 0xE};
// Group call (bits 0-1) and alert tone/transpond (bits 2-3): the stored value of each item.
constexpr std::array<uint8_t, 4> kGroupCallValues{3, 1, 2, 0};
constexpr std::array<uint8_t, 3> kAlertValues{3, 1, 2};

template <size_t N> int itemOf(const std::array<uint8_t, N>& values, int v) {
    for (size_t i = 0; i < N; ++i)
        if (values[i] == v) return static_cast<int>(i);
    return -1;
}

bool inRange(uint16_t tenths) {
    return tenths >= TwoToneSettings::kMinTone && tenths <= TwoToneSettings::kMaxTone;
}

// The window stores the +2 % and -2 % words as f x 10.2 and f x 9.8 (f in hertz), each
// + 0.5 and truncated, in double. This is not the single-precision recompute that
// follows a radio read: 292.5 Hz gives 2984 here and 2983 there.
uint16_t scaledTone(uint16_t tenths, double factor) {
    return static_cast<uint16_t>(tenths / 10.0 * factor + 0.5);
}

} // namespace

uint16_t TwoToneSettings::parseTone(std::string_view text) {
    long tenths = 0;
    size_t i = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        tenths = std::min(tenths * 10 + (text[i] - '0'), 1000000L);
    tenths *= 10;
    if (i < text.size() && (text[i] == '.' || text[i] == ',') && i + 1 < text.size() &&
        std::isdigit(static_cast<unsigned char>(text[i + 1])))
        tenths += text[i + 1] - '0';
    return static_cast<uint16_t>(std::clamp<long>(tenths, kMinTone, kMaxTone));
}

std::string TwoToneSettings::toneText(uint16_t tenths) {
    if (!inRange(tenths)) return {};
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

// ---- decoder tones --------------------------------------------------------------

std::string_view TwoToneSettings::defaultToneText(int tone) {
    return kDefaultTones[static_cast<size_t>(std::clamp(tone, 0, 2))];
}

std::string TwoToneSettings::decoderToneText(int tone) const {
    return toneText(image_.u16(toneOffset(tone)));
}

void TwoToneSettings::setDecoderToneText(int tone, std::string_view t) {
    if (tone < 0 || tone > 2) return;
    const uint16_t tenths = parseTone(t.empty() ? defaultToneText(tone) : t);
    image_.setU16(toneOffset(tone), tenths);
    image_.setU16(toneOffset(tone) + 2, scaledTone(tenths, 10.2));
    image_.setU16(toneOffset(tone) + 4, scaledTone(tenths, 9.8));
}

// ---- combos -------------------------------------------------------------------------

std::vector<std::string> TwoToneSettings::callFormatItems() {
    return {kCallFormats.begin(), kCallFormats.end()};
}

int TwoToneSettings::callFormatItem() const {
    const int bits = (image_.u8(kOptions) >> 4) & 7;
    for (size_t i = 0; i < kCallFormatNibbles.size(); ++i)
        if ((kCallFormatNibbles[i] & 7) == bits) return static_cast<int>(i);
    return -1;
}

void TwoToneSettings::setCallFormatItem(int item) {
    if (item < 0 || item >= static_cast<int>(kCallFormatNibbles.size())) return;
    const uint8_t low = image_.u8(kOptions) & 0x0F;
    image_.setU8(kOptions,
                 static_cast<uint8_t>(kCallFormatNibbles[static_cast<size_t>(item)] << 4 | low));
}

std::vector<std::string> TwoToneSettings::groupCallItems() const {
    return {text(65), text(425), text(426), text(427)};
}

int TwoToneSettings::groupCallItem() const {
    return itemOf(kGroupCallValues, image_.u8(kOptions) & 3);
}

void TwoToneSettings::setGroupCallItem(int item) {
    if (item < 0 || item >= static_cast<int>(kGroupCallValues.size())) return;
    const uint8_t b = image_.u8(kOptions);
    image_.setU8(kOptions,
                 static_cast<uint8_t>((b & ~0x03) | kGroupCallValues[static_cast<size_t>(item)]));
}

std::vector<std::string> TwoToneSettings::alertItems() const {
    return {text(65), text(429), text(430)};
}

int TwoToneSettings::alertItem() const {
    return itemOf(kAlertValues, (image_.u8(kOptions) >> 2) & 3);
}

void TwoToneSettings::setAlertItem(int item) {
    if (item < 0 || item >= static_cast<int>(kAlertValues.size())) return;
    const uint8_t b = image_.u8(kOptions);
    image_.setU8(kOptions,
                 static_cast<uint8_t>((b & ~0x0C) | kAlertValues[static_cast<size_t>(item)] << 2));
}

// ---- auto reset timer -------------------------------------------------------------

std::string TwoToneSettings::autoResetText() const {
    const int s = image_.u16(kAutoResetTimer);
    if (s == 0xFFFF) return text(kTextOff);
    return s >= 1 && s <= kAutoResetMax ? std::to_string(s) : std::string();
}

void TwoToneSettings::setAutoResetText(std::string_view t) {
    long s = 10;
    if (!t.empty()) {
        const bool offWord = t == text(kTextOff) || t.find('O') != std::string_view::npos ||
                             t.find('f') != std::string_view::npos;
        s = offWord ? 0 : std::min<long>(leadingNumber(t).value_or(0), kAutoResetMax);
    }
    image_.setU16(kAutoResetTimer, s < 1 ? uint16_t{0xFFFF} : static_cast<uint16_t>(s));
}

int TwoToneSettings::autoResetIndex() const {
    const int s = image_.u16(kAutoResetTimer);
    return s == 0xFFFF ? 0 : s;
}

void TwoToneSettings::setAutoResetIndex(int index) {
    index = wrapIndex(index, 0, kAutoResetMax);
    image_.setU16(kAutoResetTimer, index == 0 ? uint16_t{0xFFFF} : static_cast<uint16_t>(index));
}

// ---- the 2-tone code list ---------------------------------------------------------

bool TwoToneSettings::hasCodeNames() const { return predicates::isWideModel(image_); }

int TwoToneSettings::codeRowCount() const {
    return hasCodeNames() ? kMaxCodeRows : 1;
}

std::string TwoToneSettings::codeName(int row) const {
    if (!validRow(row) || !hasCodeNames()) return {};
    std::string out;
    for (size_t i = 0; i < kNameLength; ++i) {
        const uint8_t b = image_.u8(codeRecord(row) + 4 + i);
        if (b == 0xFF) break;
        out.push_back(b >= 0x20 && b < 0x7F ? static_cast<char>(b) : ' ');
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

void TwoToneSettings::setCodeName(int row, std::string_view t) {
    if (!validRow(row)) return;
    const size_t base = codeRecord(row) + 4;
    image_.fill(base, kNameLength, ' ');
    for (size_t i = 0; i < kNameLength && i < t.size(); ++i) {
        const auto c = static_cast<unsigned char>(t[i]);
        image_.setU8(base + i, static_cast<uint8_t>(std::toupper(c)));
    }
}

std::string TwoToneSettings::codeToneText(int row, int column) const {
    if (!validRow(row) || column < 0 || column > 1) return {};
    return toneText(image_.u16(codeRecord(row) + 2 * static_cast<size_t>(column)));
}

void TwoToneSettings::setCodeToneText(int row, int column, std::string_view t) {
    if (!validRow(row) || column < 0 || column > 1) return;
    const size_t offset = codeRecord(row) + 2 * static_cast<size_t>(column);
    if (t.empty()) {
        // Row 1 always keeps its tones once set: clearing one puts its default back.
        const bool keep = row == 1 && image_.u16(offset) != 0xFFFF;
        image_.setU16(offset, keep ? parseTone(defaultToneText(column)) : uint16_t{0xFFFF});
        return;
    }
    image_.setU16(offset, parseTone(t));
}

bool TwoToneSettings::codeHasBothTones(int row) const {
    return validRow(row) && image_.u16(codeRecord(row)) != 0xFFFF &&
           image_.u16(codeRecord(row) + 2) != 0xFFFF;
}

std::string TwoToneSettings::codeTimeText(int row) const {
    if (!codeHasBothTones(row)) return {};
    const int v = image_.u16(codeRecord(row) + 12);
    return v <= kTimeMax ? std::to_string(v) : std::string();
}

void TwoToneSettings::setCodeTimeText(int row, std::string_view t) {
    if (!validRow(row)) return;
    const long v = std::min<long>(leadingNumber(t).value_or(0), kTimeMax);
    image_.setU16(codeRecord(row) + 12, static_cast<uint16_t>(v));
}

int TwoToneSettings::codeTimeIndex(int row) const {
    return validRow(row) ? image_.u16(codeRecord(row) + 12) : 0;
}

void TwoToneSettings::setCodeTimeIndex(int row, int index) {
    if (!validRow(row)) return;
    image_.setU16(codeRecord(row) + 12, static_cast<uint16_t>(wrapIndex(index, 0, kTimeMax)));
}

} // namespace vrl

// ---- field table ---------------------------------------------------------------

namespace vrl {

namespace {

constexpr const char* kArea = "twotone";
constexpr const char* kDigits = "0123456789";

TwoToneSettings toneOf(const FieldContext& c) {
    return TwoToneSettings(c.image(), c.texts);
}

Field labelled(const char* label, int labelText, FieldKind kind, int controlId) {
    return labelledField(kArea, label, labelText, kind, controlId);
}

Field decoderTone(const char* label, int labelText, int controlId, int tone) {
    Field f = labelled(label, labelText, FieldKind::Edit, controlId);
    f.maxLength = 6;
    f.allowed = std::string(TwoToneSettings::kToneCharacters);
    f.text = [tone](const FieldContext& c) { return toneOf(c).decoderToneText(tone); };
    f.setText = [tone](FieldContext& c, const std::string& v) {
        toneOf(c).setDecoderToneText(tone, v);
    };
    return f;
}

Field codeCell(int row, const char* column, int labelText, int controlId) {
    Field f;
    f.key = std::string(kArea) + ".code." + std::to_string(row) + "." + column;
    f.labelText = labelText;
    f.kind = FieldKind::Cell;
    f.controlId = controlId;
    return f;
}

FieldTable buildTwoToneTable(const FieldContext& ctx) {
    FieldTable t;
    // Page 1: decoder.
    t.push_back(decoderTone("A Tone [Hz]", 420, 1160, 0));
    t.push_back(decoderTone("B Tone [Hz]", 421, 1161, 1));
    t.push_back(decoderTone("C Tone [Hz]", 422, 1162, 2));

    Field format = labelled("Decoder Call Format", 423, FieldKind::Combo, 1164);
    format.choices = [](const FieldContext&) { return TwoToneSettings::callFormatItems(); };
    format.value = [](const FieldContext& c) { return toneOf(c).callFormatItem(); };
    format.setValue = [](FieldContext& c, int i) { toneOf(c).setCallFormatItem(i); };
    t.push_back(std::move(format));
    Field group = labelled("Group Call", 424, FieldKind::Combo, 1165);
    group.choices = [](const FieldContext& c) { return toneOf(c).groupCallItems(); };
    group.value = [](const FieldContext& c) { return toneOf(c).groupCallItem(); };
    group.setValue = [](FieldContext& c, int i) { toneOf(c).setGroupCallItem(i); };
    t.push_back(std::move(group));
    Field alert = labelled("Alert Tone/Transpond", 428, FieldKind::Combo, 1166);
    alert.choices = [](const FieldContext& c) { return toneOf(c).alertItems(); };
    alert.value = [](const FieldContext& c) { return toneOf(c).alertItem(); };
    alert.setValue = [](FieldContext& c, int i) { toneOf(c).setAlertItem(i); };
    t.push_back(std::move(alert));

    Field reset = labelled("Auto Reset Timer [sec]", 431, FieldKind::Spin, 1163);
    reset.spinId = 1168;
    reset.maxLength = 3;
    reset.allowed = kDigits;
    reset.text = [](const FieldContext& c) { return toneOf(c).autoResetText(); };
    reset.setText = [](FieldContext& c, const std::string& v) { toneOf(c).setAutoResetText(v); };
    reset.stepIndex = [](const FieldContext& c) { return toneOf(c).autoResetIndex(); };
    reset.setStep = [](FieldContext& c, int i) { toneOf(c).setAutoResetIndex(i); };
    t.push_back(std::move(reset));

    // Page 2: the code list, only the rows this model shows.
    const int rows = toneOf(ctx).codeRowCount();
    for (int row = 1; row <= rows; ++row) {
        Field name = codeCell(row, "name", 433, 1209);
        name.maxLength = static_cast<int>(TwoToneSettings::kNameLength);
        name.allowed = std::string(kNameCharacters);
        name.upperCase = true;
        name.text = [row](const FieldContext& c) { return toneOf(c).codeName(row); };
        name.setText = [row](FieldContext& c, const std::string& v) {
            toneOf(c).setCodeName(row, v);
        };
        name.enabled = [](const FieldContext& c) { return toneOf(c).hasCodeNames(); };
        t.push_back(std::move(name));
        const std::pair<const char*, int> tones[] = {{"tone_a", 420}, {"tone_b", 421}};
        for (int column = 0; column < 2; ++column) {
            Field tone = codeCell(row, tones[column].first, tones[column].second, 1210 + column);
            tone.maxLength = 6;
            tone.allowed = std::string(TwoToneSettings::kToneCharacters);
            tone.text = [row, column](const FieldContext& c) {
                return toneOf(c).codeToneText(row, column);
            };
            tone.setText = [row, column](FieldContext& c, const std::string& v) {
                toneOf(c).setCodeToneText(row, column, v);
            };
            t.push_back(std::move(tone));
        }
        Field time = codeCell(row, "time", 434, 1208);
        time.spinId = 1227;
        time.maxLength = 3;
        time.allowed = kDigits;
        time.text = [row](const FieldContext& c) { return toneOf(c).codeTimeText(row); };
        time.setText = [row](FieldContext& c, const std::string& v) {
            toneOf(c).setCodeTimeText(row, v);
        };
        time.stepIndex = [row](const FieldContext& c) { return toneOf(c).codeTimeIndex(row); };
        time.setStep = [row](FieldContext& c, int i) { toneOf(c).setCodeTimeIndex(row, i); };
        time.enabled = [row](const FieldContext& c) { return toneOf(c).codeHasBothTones(row); };
        t.push_back(std::move(time));
    }
    return t;
}

} // namespace

FieldArea twoToneArea() {
    FieldArea area;
    area.name = kArea;
    area.titleText = 418;
    area.build = buildTwoToneTable;
    return area;
}

} // namespace vrl
