#include "model/data_image.h"

#include <gtest/gtest.h>

using namespace vrl;

namespace {
// Puts `count` used index entries into the image with the given highest group and
// channel slots, as the channel store would leave them.
void allocate(CDataImage& image, int count, int highestGroupSlot, int highestChannelSlot) {
    image.setU8(layout::kGroupsInUse, 1);
    image.setU8(layout::kChannelsInUse, static_cast<uint8_t>(count));
    if (highestGroupSlot >= 0) image.setU8(0x1000 + 16 * highestGroupSlot, 1);
    if (highestChannelSlot >= 0) image.setU8(0x2000 + 48 * highestChannelSlot, 1);
}
} // namespace

TEST(DataImage, BlankImageHasBlankDirectoryAndIsNotModifiedAfterSnapshot) {
    CDataImage image;
    EXPECT_EQ(image.bytes().size(), 33165u);
    image.rebuildDirectory();
    for (uint16_t w : image.directory()) EXPECT_EQ(w, 0xFFFF);
    image.takeSnapshot();
    EXPECT_FALSE(image.isModified());
}

TEST(DataImage, DirectoryLastBlocksTruncateTowardZero) {
    struct Case {
        int entries, groupSlot, channelSlot;
        std::array<uint16_t, 6> expected;
    };
    const Case cases[] = {
        {0, -1, -1, {3, 3, 0x10, 0x10, 0x20, 0x20}},    // e = 0: -1/256 is 0
        {64, 0, 0, {3, 3, 0x10, 0x10, 0x20, 0x20}},     // 256 bytes of index: one block
        {65, 0, 0, {3, 4, 0x10, 0x10, 0x20, 0x20}},     // 260 bytes: two blocks
        {1, 15, 5, {3, 3, 0x10, 0x10, 0x20, 0x21}},     // 16 groups fill a block; 6 x 48 = 288
        {1, 16, 127, {3, 3, 0x10, 0x11, 0x20, 0x37}},   // slot 127 ends at 0x37FF
        {100, -1, -1, {3, 4, 0x10, 0x11, 0x20, 0x21}},  // no slots: e carries 400 forward
    };
    for (const Case& c : cases) {
        CDataImage image;
        allocate(image, c.entries, c.groupSlot, c.channelSlot);
        image.rebuildDirectory();
        EXPECT_EQ(image.directory(), c.expected) << "entries " << c.entries;
    }
}

TEST(DataImage, ModifiedExactlyWhileAnyByteDiffers) {
    CDataImage image;
    image.takeSnapshot();
    for (size_t offset : {size_t{0}, size_t{0x7FFF}, size_t{0x8000}, size_t{0x818C}}) {
        image.setU8(offset, 0x12);
        EXPECT_TRUE(image.isModified()) << offset;
        image.setU8(offset, 0xFF);
        EXPECT_FALSE(image.isModified()) << offset;
    }
}

TEST(DataImage, UndoCopyAndTrunkingCopyRestore) {
    CDataImage image;
    image.setU8(0x100, 1);
    image.takeUndoCopy();
    image.setU8(0x100, 2);
    image.restoreUndoCopy();
    EXPECT_EQ(image.u8(0x100), 1);

    image.writeAscii(layout::kTrunkData, "0E5");
    image.keepTrunkingData();
    image.fill(layout::kTrunkData, layout::kTrunkDataSize, 'F');
    image.restoreTrunkingData();
    EXPECT_EQ(image.readAscii(layout::kTrunkData, 3), "0E5");
}

TEST(DataImage, AccessOutsideTheImageThrowsInsteadOfOverrunning) {
    CDataImage image;
    EXPECT_THROW(image.u8(CDataImage::kSize), std::out_of_range);
    EXPECT_THROW(image.setU16(CDataImage::kSize - 1, 0), std::out_of_range);
    EXPECT_THROW(image.fill(CDataImage::kSize - 2, 3, 0), std::out_of_range);
}

TEST(DataImage, IndexLookups) {
    CDataImage image;
    // Entries (group 1, ch 1) slot 4, (group 1, ch 3) slot 0, (group 2, ch 2) slot 9.
    const uint8_t entries[][4] = {{1, 1, 0, 4}, {1, 3, 0, 0}, {2, 2, 3, 9}};
    for (size_t i = 0; i < 3; ++i)
        for (size_t b = 0; b < 4; ++b) image.setU8(0x0300 + 4 * i + b, entries[i][b]);
    EXPECT_EQ(image.channelRecordOffset(0, 2), 0x2000u);
    EXPECT_EQ(image.channelRecordOffset(1, 1), 0x2000u + 9 * 48);
    EXPECT_FALSE(image.channelRecordOffset(0, 1).has_value());
    EXPECT_EQ(image.groupRecordOffset(1), 0x1000u + 3 * 16);
    EXPECT_EQ(image.positionOf(1, 1), 2);
    EXPECT_EQ(image.positionOf(0, 1), -1);
    EXPECT_EQ(image.usedEntriesThrough(0, 2), 2);
    EXPECT_EQ(image.usedEntriesThrough(0, 1), 1);
    EXPECT_EQ(image.firstChannelSlotOfGroup(0), 4);
    EXPECT_EQ(image.firstChannelSlotOfGroup(5), -1);
}
