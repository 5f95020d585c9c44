#include "features/model_predicates.h"

#include "model/model_table.h"

namespace vrl::predicates {

namespace {
constexpr size_t kFamily = 0x00A7;
constexpr size_t kOptionBoard = 0x00AD;

int rowOf(const CDataImage& image) { return models::findRow(image.identity()); }
} // namespace

bool isPortable(const CDataImage& image) { return image.u8(kFamily) == 'P'; }
bool isMobile(const CDataImage& image) { return image.u8(kFamily) == 'M'; }

int channelCount(const CDataImage& image) { return models::capacityOfRow(rowOf(image)); }

std::string_view modelLabel(const CDataImage& image) {
    const int row = rowOf(image);
    return row == kNoRow ? std::string_view() : modelTable()[row].label;
}

int variantCode(const CDataImage& image) { return models::marketKind(modelLabel(image)); }

bool hasTrunkingBoard(const CDataImage& image) { return !image.bit(kOptionBoard, 5); }

bool isWideModel(const CDataImage& image) {
    const int count = channelCount(image);
    return count == 32 || count == 128;
}

bool hasGroupNames(const CDataImage& image) {
    const int count = channelCount(image);
    return count == 128 || (count == 32 && hasTrunkingBoard(image));
}

bool isKeyDetectionModel(const CDataImage& image) {
    const ModelIdentity id = image.identity();
    return id.family() == 'M' && (id.codeDigits() == "1500" || id.codeDigits() == "4500");
}

bool isBatteryWarningModel(const CDataImage& image) {
    const std::string_view label = modelLabel(image);
    return label == "RP-150A[16CH]:M" || label == "RP-450A[16CH]:M";
}

bool isKeypadModel(const CDataImage& image) {
    const int count = channelCount(image);
    return count == 128 || (count == 8 && !isPortable(image));
}

bool isSmallPortable(const CDataImage& image) {
    const int count = channelCount(image);
    return (count == 8 || count == 16) && isPortable(image);
}

bool hasSpeedDialMemories(const CDataImage& image) {
    return channelCount(image) == 128 || !isPortable(image);
}

bool isNumberDisplayModel(const CDataImage& image) {
    const int row = rowOf(image);
    if (row == kNoRow) return false;
    const ModelRow& r = modelTable()[static_cast<size_t>(row)];
    struct Kind {
        std::string_view code;
        uint8_t market;
    };
    static constexpr Kind kKinds[] = {{"M1600", 1}, {"M4600", 1}, {"P1200", 1}, {"P4200", 1},
                                      {"M1500", 1}, {"M1500", 3}, {"M4500", 1}, {"M4500", 3}};
    for (const Kind& k : kKinds) {
        if (r.code != k.code || r.market != k.market) continue;
        if (k.code == "M4500" && k.market == 3) {
            const int band = image.identity().band();
            return band == 6 || band == 8;
        }
        return true;
    }
    return false;
}

} // namespace vrl::predicates
