#include "link/identity_check.h"

#include "link/texts.h"

#include <algorithm>

namespace vrl {

namespace {

std::string_view codeOf(const IdentityBytes& identity) {
    return {reinterpret_cast<const char*>(identity.data()), 5};
}

ModelIdentity toModelIdentity(const IdentityBytes& identity) {
    ModelIdentity id;
    id.bytes = identity;
    return id;
}

// Rows 23 and 34: the 16-channel M-market RP-150A and RP-450A.
bool isSixteenChannelMRow(int row) {
    if (row < 0 || row >= kModelRowCount) return false;
    const std::string_view label = modelTable()[row].label;
    return label == "RP-150A[16CH]:M" || label == "RP-450A[16CH]:M";
}

} // namespace

bool isSpecialIdentity(const IdentityBytes& identity) {
    const auto code = codeOf(identity);
    return code == "P9900" || code == "M9800";
}

std::optional<RadioIdentityInfo> acceptIdentity(const IdentityBytes& identity, IdentityMode mode) {
    const ModelIdentity id = toModelIdentity(identity);
    RadioIdentityInfo info;
    info.vhfUhf = std::string(models::vhfUhfText(id.band()));
    if (mode != IdentityMode::TestMode && isSpecialIdentity(identity)) {
        if (id.family() == 'M') info.radioTypeText = texts::kRadioMobile;
        if (id.family() == 'P') info.radioTypeText = texts::kRadioPortable;
        return info;
    }
    if (!models::isAcceptable(id)) return std::nullopt;
    info.row = models::findRow(id);
    const ModelRow& row = modelTable()[info.row];
    info.label = std::string(row.label);
    info.radioTypeText = row.family() == 'M' ? texts::kRadioMobile : texts::kRadioPortable;
    info.band = std::string(models::bandText(info.row, id.band()));
    return info;
}

bool radioDiffersFromData(const IdentityBytes& identity, const CDataImage& image) {
    const auto code = codeOf(identity);
    const bool tableCode = std::any_of(modelTable().begin(), modelTable().end(),
                                       [&](const ModelRow& r) { return r.code == code; });
    if (!isSpecialIdentity(identity) && !tableCode) return true;
    if (code == "M1400" && identity[5] == 0x14) return true;
    IdentityBytes copy = identity;
    copy[6] |= 0x01;
    for (size_t i = 0; i < 7; ++i)
        if (copy[i] != image.u8(layout::kIdentity + i)) return true;
    return isSpecialIdentity(identity);
}

bool firmwareBelow(const FirmwareVersion& version, char major, char minor) {
    const auto vMajor = static_cast<char>(version[1]);
    const auto vMinor = static_cast<char>(version[3]);
    return vMajor < major || (vMajor == major && vMinor < minor);
}

int firmwareWarningFor(int dataRow, const FirmwareVersion& version) {
    if (isSixteenChannelMRow(dataRow) && firmwareBelow(version, '2', '2'))
        return texts::kWarningDialog16Ch;
    if (models::featureClass(dataRow) != 0 && firmwareBelow(version, '2', '3'))
        return texts::kWarningDialogClass;
    return 0;
}

std::string firmwareText(const FirmwareVersion& version) {
    std::string text;
    for (uint8_t b : version) {
        if (b == 0xFF || b == 0) break;
        text.push_back(static_cast<char>(b >= 0x20 && b < 0x7F ? b : '?'));
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

} // namespace vrl
