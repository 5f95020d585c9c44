#include "features/memory_map.h"
#include "model/data_image.h"

#include <gtest/gtest.h>

using namespace vrl;
using namespace vrl::memmap;

TEST(MemoryMapLayout, TopRowIsHighestLineBottomRowIsLineZero) {
    EXPECT_EQ(rowLabel(1), "7FF_");
    EXPECT_EQ(offsetOf(1, 1), 0x7FF0u);
    EXPECT_EQ(offsetOf(1, 16), 0x7FFFu);
    EXPECT_EQ(rowLabel(2048), "000_");
    EXPECT_EQ(offsetOf(2048, 1), 0x0000u);
    EXPECT_EQ(offsetOf(2048, 16), 0x000Fu);
}

TEST(MemoryMapLayout, CellOffsets) {
    struct Case {
        int row, column;
        std::optional<size_t> offset;
    };
    for (const Case c : {Case{1, 18, 0x7FF0}, Case{1, 33, 0x7FFF}, Case{2048, 20, 0x0002},
                         Case{2047, 3, 0x0012}, Case{1024, 5, 0x4004}, Case{1, 0, std::nullopt},
                         Case{1, 17, std::nullopt}, Case{0, 1, std::nullopt},
                         Case{2049, 1, std::nullopt}, Case{1, 34, std::nullopt}})
        EXPECT_EQ(offsetOf(c.row, c.column), c.offset) << c.row << "," << c.column;
    EXPECT_EQ(rowOfOffset(0x4004), 1024);
    EXPECT_EQ(hexColumnOfOffset(0x4004), 5);
}

TEST(MemoryMapLayout, CaptionsAndAddress) {
    EXPECT_EQ(columnCaption(1), "_0");
    EXPECT_EQ(columnCaption(16), "_F");
    EXPECT_EQ(columnCaption(17), "");
    EXPECT_EQ(columnCaption(18), "_0");
    EXPECT_EQ(columnCaption(33), "_F");
    EXPECT_EQ(addressText(1, 16), "7FFF");
    EXPECT_EQ(addressText(2048, 20), "0002");
    EXPECT_EQ(addressText(1, 17), "");
}

TEST(MemoryMapCells, TextsOfBytes) {
    CDataImage image;
    image.setU8(0x0002, 'A');
    image.setU8(0x0003, 0x00);
    EXPECT_EQ(cellText(image, 2048, 3), "41");
    EXPECT_EQ(cellText(image, 2048, 20), "A");
    EXPECT_EQ(cellText(image, 2048, 4), "00");
    EXPECT_EQ(cellText(image, 2048, 21), "") << "control byte shows empty";
    EXPECT_EQ(cellText(image, 2048, 17), "");
    EXPECT_EQ(charText(0x7F), "");
    EXPECT_EQ(charText(0xFF), "\xFF");
}

TEST(MemoryMapCommit, HexEditorTexts) {
    struct Case {
        const char* text;
        std::optional<uint8_t> value;
    };
    for (const Case c : {Case{"", 0xFF}, Case{"A", 0x0A}, Case{"a", 0x0A}, Case{"7f", 0x7F},
                         Case{"00", 0x00}, Case{"FF", 0xFF}, Case{"G", std::nullopt},
                         Case{"123", std::nullopt}, Case{" 1", std::nullopt}})
        EXPECT_EQ(parseHex(c.text), c.value) << '"' << c.text << '"';
}

TEST(MemoryMapCommit, HexWritesTheCellsByte) {
    CDataImage image;
    EXPECT_EQ(commit(image, 2048, 1, "A"), 0x0A);
    EXPECT_EQ(image.u8(0x0000), 0x0A);
    EXPECT_EQ(commit(image, 2048, 1, ""), 0xFF) << "Delete then Enter writes FF";
    EXPECT_EQ(image.u8(0x0000), 0xFF);
    EXPECT_EQ(commit(image, 1, 16, "5A"), 0x5A);
    EXPECT_EQ(image.u8(0x7FFF), 0x5A);
    EXPECT_EQ(image.u8(0x8000), 0xFF) << "nothing beyond the radio memory";
}

TEST(MemoryMapCommit, CharacterWritesFirstCharacterEmptyLeavesByte) {
    CDataImage image;
    EXPECT_EQ(commit(image, 2048, 20, "Qx"), uint8_t('Q'));
    EXPECT_EQ(image.u8(0x0002), 'Q');
    EXPECT_EQ(commit(image, 2048, 20, ""), std::nullopt);
    EXPECT_EQ(image.u8(0x0002), 'Q');
}

TEST(MemoryMapCommit, RefusedTextAndNonDataCellsWriteNothing) {
    CDataImage image;
    EXPECT_EQ(commit(image, 2048, 1, "XY"), std::nullopt);
    EXPECT_EQ(commit(image, 2048, 17, "A"), std::nullopt);
    EXPECT_EQ(commit(image, 0, 1, "A"), std::nullopt);
    for (size_t i = 0; i < 0x8000; ++i) ASSERT_EQ(image.u8(i), 0xFF) << i;
}

TEST(MemoryMapMoves, RightAndLeftWrapBetweenLines) {
    // Row of line 0x7FE is row 2; right on its column 16 goes to line 0x7FF, column 1.
    EXPECT_EQ(moveRight(rowOfLine(0x7FE), 16), (Cell{rowOfLine(0x7FF), 1}));
    EXPECT_EQ(moveRight(2, 33), (Cell{1, 18}));
    EXPECT_EQ(moveRight(1, 16), std::nullopt) << "top row keeps the grid's move";
    EXPECT_EQ(moveRight(5, 15), std::nullopt);
    EXPECT_EQ(moveLeft(1, 1), (Cell{2, 16}));
    EXPECT_EQ(moveLeft(1, 18), (Cell{2, 33}));
    EXPECT_EQ(moveLeft(2048, 1), std::nullopt) << "bottom row keeps the grid's move";
    EXPECT_EQ(moveLeft(5, 2), std::nullopt);
}

TEST(MemoryMapMoves, HomeAndEnd) {
    EXPECT_EQ(home(100, false), (Cell{100, 1}));
    EXPECT_EQ(home(100, true), (Cell{1, 1}));
    EXPECT_EQ(end(100, false), (Cell{100, 33}));
    EXPECT_EQ(end(100, true), (Cell{2048, 33}));
}
