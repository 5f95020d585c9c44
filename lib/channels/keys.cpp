#include "channels/keys.h"

#include "model/model_table.h"

#include <algorithm>

namespace vrl {

namespace {
struct FixedEntry {
    uint8_t code;
    int textIndex;
};

constexpr std::array<FixedEntry, KeyFunctionTable::kSize> kFixedEntries{{
    {0x31, 360}, {0x33, 331}, {0x34, 332}, {0x35, 335}, {0x37, 329}, {0x38, 330}, {0x39, 337},
    {0x3A, 355}, {0x3B, 343}, {0x3C, 345}, {0x3D, 336}, {0x3E, 349}, {0x3F, 352}, {0x40, 338},
    {0x41, 339}, {0x42, 340}, {0x43, 341}, {0x45, 344}, {0x46, 356}, {0x47, 346}, {0x48, 347},
    {0x49, 361}, {0x4A, 362}, {0x4B, 363}, {0x4C, 351}, {0x4D, 348}, {0x4E, 342}, {0x4F, 65},
    {0x50, 353}, {0x51, 354}, {0x52, 350}, {0x5D, 328}, {0xA1, 357}, {0xA2, 358},
}};

std::vector<KeyRow> rowsOf(KeyFamilyKind kind) {
    switch (kind) {
    case KeyFamilyKind::PortableSmall: return {{325, 0x0113}, {326, 0x0115}};
    case KeyFamilyKind::PortableLarge:
        return {{321, 0x0114}, {322, 0x0110}, {323, 0x0111}, {324, 0x0112},
                {325, 0x0113}, {326, 0x0115}, {327, 0x0124}};
    case KeyFamilyKind::MobileSmall:
        return {{313, 0x0110}, {321, 0x0111}, {322, 0x0112}, {311, 0x0113}, {314, 0x0117},
                {315, 0x0118}, {316, 0x0119}, {317, 0x011A}, {320, 0x0116}};
    case KeyFamilyKind::MobileLarge:
        return {{310, 0x0114}, {311, 0x0110}, {312, 0x0111}, {313, 0x0115},
                {314, 0x0117}, {315, 0x0118}, {316, 0x0119}, {317, 0x011A},
                {318, 0x0113}, {319, 0x0112}, {320, 0x0116}};
    }
    return {};
}
} // namespace

KeyFunctionTable::KeyFunctionTable(TextSource texts) : texts_(std::move(texts)) { rebuild(); }

void KeyFunctionTable::rebuild() {
    for (size_t i = 0; i < kSize; ++i)
        entries_[i] = {kFixedEntries[i].code, kFixedEntries[i].textIndex,
                       texts_ ? texts_(kFixedEntries[i].textIndex) : std::string()};
}

std::string KeyFunctionTable::textOfCode(uint8_t code) const {
    for (const auto& e : entries_)
        if (e.code == code) return e.text;
    return {};
}

std::optional<uint8_t> KeyFunctionTable::codeOfText(const std::string& text) const {
    for (const auto& e : entries_)
        if (e.text == text) return e.code;
    return std::nullopt;
}

std::optional<int> KeyFunctionTable::textIndexOfCode(uint8_t code) {
    for (const auto& e : kFixedEntries)
        if (e.code == code) return e.textIndex;
    return std::nullopt;
}

KeyFamily::KeyFamily(KeyFamilyKind kind, CDataImage& image, const KeyFunctionTable& table,
                     TextSource texts)
    : kind_(kind), image_(image), table_(table), texts_(std::move(texts)), rows_(rowsOf(kind)) {}

std::string KeyFamily::caption(int row) const {
    if (row < 0 || row >= rowCount() || !texts_) return {};
    return texts_(rows_[row].captionText);
}

std::string KeyFamily::keyText(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    return table_.textOfCode(image_.u8(rows_[row].offset));
}

bool KeyFamily::setKeyText(int row, const std::string& text) {
    if (row < 0 || row >= rowCount()) return false;
    auto code = table_.codeOfText(text);
    if (!code) return false;
    image_.setU8(rows_[row].offset, *code);
    return true;
}

bool KeyFamily::hasFunction(const std::string& text) const {
    if (kind_ == KeyFamilyKind::PortableSmall) return false;
    for (int r = 0; r < rowCount(); ++r)
        if (!text.empty() && keyText(r) == text) return true;
    return false;
}

bool KeyFamily::emergencyKeyHoldsEmergency() const {
    if (kind_ != KeyFamilyKind::MobileSmall && kind_ != KeyFamilyKind::MobileLarge) return false;
    for (int r = 0; r < rowCount(); ++r)
        if (rows_[r].captionText == kTextEmergencyKeyCaption)
            return image_.u8(rows_[r].offset) == 0x34;
    return false;
}

std::vector<int> KeyFamily::choiceTexts(int row, const KeyModelTraits& t) const {
    const int kind = t.radioKind;
    const bool cap32 = t.capacity == 32;
    const bool scr = t.optionBoardText == 168;
    const bool trunk = t.optionBoardText == 169;
    const bool noBoard = t.optionBoardText == 65;
    const bool emergencyKey = row >= 0 && row < rowCount() &&
                              rows_[row].captionText == kTextEmergencyKeyCaption;
    std::vector<int> l{65};
    auto add = [&l](std::initializer_list<int> items) { l.insert(l.end(), items); };
    auto addIf = [&l](bool on, int item) {
        if (on) l.push_back(item);
    };
    switch (kind_) {
    case KeyFamilyKind::PortableSmall:
        add({338, 339, 340, 341, 356});
        addIf(scr, 348);
        add({352});
        break;
    case KeyFamilyKind::PortableLarge:
        if (row >= 0 && row < rowCount() && rows_[row].captionText == kTextSelectorKeyCaption) {
            add({357});
            addIf(!(cap32 && !trunk), 358);
            break;
        }
        add({329, 330, 331});
        if (!cap32 || trunk) add({333, 334});
        add({335, 337, 355, 338, 339, 340, 341});
        addIf(kind == 1, 342);
        addIf(!cap32, 344);
        addIf(kind == 5, 345);
        add({356, 346, 347});
        addIf(scr, 348);
        addIf(kind == 4 || kind == 5, 349);
        addIf(kind != 5, 350);
        addIf(trunk, 351);
        add({352});
        break;
    case KeyFamilyKind::MobileLarge:
        addIf(noBoard, 328);
        add({329, 330, 331});
        addIf(emergencyKey && kind != 1, 332);
        add({333, 334, 335, 336, 337, 338, 339, 340, 341});
        addIf(kind == 1, 342);
        add({343});
        addIf(!cap32, 344);
        addIf(kind == 5, 345);
        add({346, 347});
        addIf(scr, 348);
        addIf(kind == 4 || kind == 5, 349);
        addIf(kind != 5, 350);
        addIf(trunk, 351);
        add({352, 353, 354});
        break;
    case KeyFamilyKind::MobileSmall:
        addIf(noBoard, 328);
        add({329, 330});
        addIf(emergencyKey && kind != 1, 332);
        add({335, 336, 337, 338, 339, 340, 341, 343, 344});
        addIf(scr, 348);
        addIf(kind != 5, 350);
        add({352, 353, 354});
        break;
    }
    return l;
}

std::vector<std::string> KeyFamily::choices(int row, const KeyModelTraits& traits) const {
    std::vector<std::string> out;
    for (int index : choiceTexts(row, traits)) out.push_back(texts_ ? texts_(index) : std::string());
    return out;
}

KeyAssignment::KeyAssignment(RadioData& data, TextSource texts)
    : data_(data), texts_(texts), table_(texts),
      families_{KeyFamily(KeyFamilyKind::PortableSmall, data.image, table_, texts),
                KeyFamily(KeyFamilyKind::PortableLarge, data.image, table_, texts),
                KeyFamily(KeyFamilyKind::MobileSmall, data.image, table_, texts),
                KeyFamily(KeyFamilyKind::MobileLarge, data.image, table_, texts)} {}

KeyFamily& KeyAssignment::family(KeyFamilyKind kind) { return families_[static_cast<size_t>(kind)]; }

const KeyFamily& KeyAssignment::family(KeyFamilyKind kind) const {
    return families_[static_cast<size_t>(kind)];
}

KeyFamilyKind KeyAssignment::currentKind() const {
    const int capacity = models::capacityOfRow(data_.model.row());
    const bool small = capacity == 8 || capacity == 16;
    if (data_.model.radioTypeIndex() == 0)
        return small ? KeyFamilyKind::MobileSmall : KeyFamilyKind::MobileLarge;
    return small ? KeyFamilyKind::PortableSmall : KeyFamilyKind::PortableLarge;
}

KeyModelTraits KeyAssignment::traits() const {
    KeyModelTraits t;
    t.radioKind = models::marketKind(data_.model.label());
    t.capacity = models::capacityOfRow(data_.model.row());
    t.optionBoardText = data_.model.optionBoardTextIndex();
    return t;
}

bool KeyAssignment::homeChannelAssigned() const {
    return texts_ && current().hasFunction(texts_(kTextHomeChannel));
}

bool KeyAssignment::scanAssigned() const {
    return texts_ && current().hasFunction(texts_(kTextScan));
}

bool KeyAssignment::emergencyAssigned() const { return current().emergencyKeyHoldsEmergency(); }

bool KeyAssignment::applyHomeRule() {
    if (homeChannelAssigned()) return false;
    CDataImage& image = data_.image;
    if (image.u8(0x0088) == 0xFF && image.u8(0x0089) == 0xFF) return false;
    image.setU8(0x0088, 0xFF);
    image.setU8(0x0089, 0xFF);
    return true;
}

} // namespace vrl
