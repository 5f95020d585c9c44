#include "features/extended_function.h"
#include "model/data_image.h"

#include <gtest/gtest.h>

using namespace vrl;

TEST(ExtendedFunction, PhaseItemsMapToByteAt0x2D3) {
    struct Case {
        uint8_t stored;
        int item;
        const char* text;
    };
    for (const Case c : {Case{0xFF, 0, "+180"}, Case{0x00, 1, "-120"}, Case{0x55, -1, ""},
                         Case{0x01, -1, ""}}) {
        CDataImage image;
        image.setU8(0x2D3, c.stored);
        ExtendedFunction ext(image);
        EXPECT_EQ(ext.reverseBurstPhase(), c.item) << int(c.stored);
        EXPECT_EQ(ext.reverseBurstPhaseText(), c.text) << int(c.stored);
    }
}

TEST(ExtendedFunction, ChoosingAnItemWritesItsByte) {
    CDataImage image;
    image.setU8(0x2D3, 0x55);
    ExtendedFunction ext(image);
    ext.setReverseBurstPhase(1);
    EXPECT_EQ(image.u8(0x2D3), 0x00);
    ext.setReverseBurstPhase(0);
    EXPECT_EQ(image.u8(0x2D3), 0xFF);
    EXPECT_EQ(image.u8(0x2D2), 0xFF);
    EXPECT_EQ(image.u8(0x2D4), 0xFF);
}

TEST(ExtendedFunction, UnknownItemLeavesStoredByteAlone) {
    CDataImage image;
    image.setU8(0x2D3, 0x55);
    ExtendedFunction ext(image);
    ext.setReverseBurstPhase(-1);
    ext.setReverseBurstPhase(2);
    EXPECT_EQ(image.u8(0x2D3), 0x55);
}
