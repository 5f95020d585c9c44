#include "features/emergency_settings.h"

#include "channels/channel_codes.h"
#include "features/field_areas.h"
#include "features/model_predicates.h"

namespace vrl {

namespace {
constexpr uint8_t kNoCode = 0xFF;
} // namespace

std::string EmergencySettings::codeText(Code code) const {
    const size_t base = offsetOf(code);
    const uint8_t count = image_.u8(base + kDigitBytes);
    if (count == kNoCode || count > kMaxDigits) return {};
    return readDtmfDigits(image_.bytes().subspan(base, kDigitBytes), count);
}

std::string EmergencySettings::setCodeText(Code code, std::string_view text) {
    const size_t base = offsetOf(code);
    // The count byte follows the five digit bytes: an eleventh digit would land in it.
    if (text.size() > static_cast<size_t>(kMaxDigits)) text = text.substr(0, kMaxDigits);
    packDtmfDigits(text, image_.bytes().subspan(base, kDigitBytes));
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
