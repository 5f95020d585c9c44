#include "features/emergency_settings.h"

#include "features/field_areas.h"
#include "features/model_predicates.h"

#include <cctype>

namespace vrl {

namespace {

constexpr char kDigits[] = "0123456789ABCD*#"; // nibble value -> character
constexpr uint8_t kNoCode = 0xFF;

// The nibble of a code character; 0xF for a character outside the table.
uint8_t digitNibble(char c) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (uint8_t n = 0; n < 16; ++n)
        if (kDigits[n] == upper) return n;
    return 0xF;
}

} // namespace

std::string EmergencySettings::codeText(Code code) const {
    const size_t base = offsetOf(code);
    const uint8_t count = image_.u8(base + kDigitBytes);
    if (count == kNoCode || count > kMaxDigits) return {};
    std::string out;
    for (int i = 0; i < count; ++i) {
        const uint8_t b = image_.u8(base + static_cast<size_t>(i / 2));
        out.push_back(kDigits[(i % 2 == 0) ? (b & 0x0F) : (b >> 4)]);
    }
    return out;
}

std::string EmergencySettings::setCodeText(Code code, std::string_view text) {
    const size_t base = offsetOf(code);
    // The count byte follows the five digit bytes: an eleventh digit would land in it.
    if (text.size() > static_cast<size_t>(kMaxDigits)) text = text.substr(0, kMaxDigits);
    image_.fill(base, kDigitBytes, 0xFF);
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t at = base + i / 2;
        const uint8_t nibble = digitNibble(text[i]);
        if (i % 2 == 0)
            image_.setU8(at, static_cast<uint8_t>(0xF0 | nibble));
        else
            image_.setU8(at, static_cast<uint8_t>((image_.u8(at) & 0x0F) | (nibble << 4)));
    }
    image_.setU8(base + kDigitBytes, text.empty() ? kNoCode : static_cast<uint8_t>(text.size()));
    return codeText(code);
}

// ---- field table -------------------------------------------------------------

namespace {

Field codeField(EmergencySettings::Code code, const char* label, int labelText, int controlId) {
    Field f;
    f.labelText = labelText;
    f.key = fieldKey("emergency", label);
    f.kind = FieldKind::Edit;
    f.controlId = controlId;
    f.maxLength = EmergencySettings::kMaxDigits;
    f.allowed = EmergencySettings::kCodeCharacters;
    f.upperCase = true;
    f.text = [code](const FieldContext& c) { return EmergencySettings(c.image()).codeText(code); };
    f.setText = [code](FieldContext& c, const std::string& t) {
        EmergencySettings(c.image()).setCodeText(code, t);
    };
    return f;
}

Field recognitionField(bool ack, const char* label, int labelText, int controlId) {
    Field f;
    f.labelText = labelText;
    f.key = fieldKey("emergency", label);
    f.kind = FieldKind::Check;
    f.controlId = controlId;
    f.value = [ack](const FieldContext& c) {
        const EmergencySettings e(c.image());
        return int(ack ? e.ackRecognition() : e.modeRecognition());
    };
    f.setValue = [ack](FieldContext& c, int on) {
        EmergencySettings e(c.image());
        if (ack)
            e.setAckRecognition(on != 0);
        else
            e.setModeRecognition(on != 0);
    };
    return f;
}

} // namespace

FieldArea emergencyArea() {
    using Code = EmergencySettings::Code;
    FieldArea area;
    area.name = "emergency";
    area.titleText = 463;
    area.build = [](const FieldContext&) {
        return FieldTable{
            codeField(Code::Emergency, "Emergency Code", 464, 1056),
            codeField(Code::Ack, "Emergency Ack Code", 465, 1057),
            codeField(Code::Reset, "Emergency Reset Code", 466, 1058),
            recognitionField(false, "Emergency Mode Recognition", 467, 1061),
            recognitionField(true, "Emergency Ack Recognition", 468, 1062),
        };
    };
    // Mobiles of every market but K have the emergency window.
    area.offered = [](const FieldContext& c) {
        return predicates::isMobile(c.image()) && predicates::variantCode(c.image()) != 1;
    };
    return area;
}

} // namespace vrl
