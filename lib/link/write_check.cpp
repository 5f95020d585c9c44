#include "link/write_check.h"

#include "link/texts.h"

namespace vrl {

namespace {

constexpr uint8_t kHomeChannelKey = 0x35;
constexpr int kTrunkGroupChannels = 16;

bool homeKeyAssigned(const CDataImage& image) {
    for (size_t a = 0x0110; a <= 0x011A; ++a)
        if (image.u8(a) == kHomeChannelKey) return true;
    if (!image.bit(0x0090, 6))
        for (size_t a = 0x0130; a <= 0x013F; ++a)
            if (image.u8(a) == kHomeChannelKey) return true;
    return false;
}

// A channel is blank when it has no index entry or its receive frequency starts
// with 0xFF 0xFF.
bool channelBlank(const CDataImage& image, int group, int channel) {
    auto record = image.channelRecordOffset(group, channel);
    if (!record) return true;
    return image.u8(*record + 0x0C) == 0xFF && image.u8(*record + 0x0D) == 0xFF;
}

} // namespace

int WriteCheck::messageText() const {
    if (scanWithoutPriority && homeKeyWithoutHome) return texts::kCheckScanAndHome;
    if (scanWithoutPriority) return texts::kCheckScan;
    if (homeKeyWithoutHome) return texts::kCheckHome;
    if (incompleteTrunkGroup) return texts::kCheckTrunkGroups;
    return 0;
}

WriteCheck checkDataForWrite(const CDataImage& image) {
    WriteCheck check;
    check.scanWithoutPriority =
        image.u8(0x0020) == 0x30 && image.u8(0x002B) == 0xFF && image.u8(0x002C) == 0xFF;
    check.homeKeyWithoutHome =
        homeKeyAssigned(image) && image.u8(0x0089) == 0xFF && image.u8(0x0088) == 0xFF;
    const bool trunkingBoard = !image.bit(layout::kOptionByte, 5);
    const int groups = image.u8(0x0087);
    if (trunkingBoard && groups >= 1 && groups <= 16) {
        for (int g = 0; g < groups && !check.incompleteTrunkGroup; ++g)
            for (int c = 0; c < kTrunkGroupChannels; ++c)
                if (channelBlank(image, g, c)) {
                    check.incompleteTrunkGroup = true;
                    break;
                }
    }
    return check;
}

} // namespace vrl
