#include "channel_test_support.h"

#include <gtest/gtest.h>

namespace vrl {
namespace {

using testing::ChannelFixture;
using Texts = std::vector<std::string>;

Texts texts(std::initializer_list<int> indices) {
    Texts out;
    for (int i : indices) out.push_back(testing::fakeText(i));
    return out;
}

TEST(KeyFunctionTable, HasThe34CodesInOrder) {
    KeyFunctionTable table(testing::fakeText);
    const auto& e = table.entries();
    ASSERT_EQ(e.size(), 34u);
    EXPECT_EQ(e.front().code, 0x31);
    EXPECT_EQ(e.back().code, 0xA2);
    for (uint8_t skipped : {0x32, 0x36, 0x44, 0x53, 0x5C})
        EXPECT_EQ(table.textOfCode(skipped), "") << int(skipped);
    EXPECT_EQ(table.textOfCode(0x4F), "T65");
    EXPECT_EQ(table.textOfCode(0x35), "T335");
    EXPECT_EQ(table.codeOfText("T358"), 0xA2);
    EXPECT_FALSE(table.codeOfText("T333").has_value());
}

TEST(KeyFamilies, RowsAndOffsetsPerFamily) {
    ChannelFixture mobile8(testing::kRowMobile8);
    EXPECT_EQ(mobile8.keys.currentKind(), KeyFamilyKind::MobileSmall);
    const auto& rows = mobile8.keys.current().rows();
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows.back().captionText, 320);
    EXPECT_EQ(rows.back().offset, 0x0116u);
    EXPECT_EQ(ChannelFixture(testing::kRowMobile128).keys.current().rowCount(), 11);
    EXPECT_EQ(ChannelFixture(testing::kRowPortable8).keys.current().rowCount(), 2);
    ChannelFixture p32(testing::kRowPortable32);
    EXPECT_EQ(p32.keys.currentKind(), KeyFamilyKind::PortableLarge);
    EXPECT_EQ(p32.keys.current().rows()[6].offset, 0x0124u);
}

TEST(KeyFamilies, KeyTextShowsTheFunctionOrNothing) {
    ChannelFixture f(testing::kRowMobile128);
    KeyFamily& keys = f.keys.current();
    f.image().setU8(0x0114, 0x4F);
    EXPECT_EQ(keys.keyText(0), "T65");
    f.image().setU8(0x0114, 0x00);
    EXPECT_EQ(keys.keyText(0), "");
    f.image().setU8(0x0114, 0xFF);
    EXPECT_EQ(keys.keyText(0), "");
    EXPECT_TRUE(keys.setKeyText(0, "T346"));
    EXPECT_EQ(f.image().u8(0x0114), 0x47);
    EXPECT_FALSE(keys.setKeyText(0, "T333")); // listed, but no table entry
    EXPECT_EQ(f.image().u8(0x0114), 0x47);
    EXPECT_TRUE(f.keys.scanAssigned());
}

TEST(KeyFamilies, HomeRuleClearsTheHomeChannelWhenNoKeyHoldsIt) {
    ChannelFixture f(testing::kRowMobile128);
    f.image().fill(0x0110, 11, 0x4F);
    f.image().setU8(0x0113, 0x35);
    f.image().setU8(0x0088, 3);
    f.image().setU8(0x0089, 1);
    EXPECT_FALSE(f.keys.applyHomeRule());
    EXPECT_EQ(f.image().u8(0x0088), 3);
    f.keys.current().setKeyText(8, "T65"); // caption 318 -> 0x0113
    EXPECT_TRUE(f.keys.applyHomeRule());
    EXPECT_EQ(f.image().u8(0x0088), 0xFF);
    EXPECT_EQ(f.image().u8(0x0089), 0xFF);
}

TEST(KeyFamilies, SmallPortablesAnswerNoToEveryQuestion) {
    ChannelFixture f(testing::kRowPortable8);
    f.image().setU8(0x0113, 0x35);
    f.image().setU8(0x0115, 0x47);
    EXPECT_FALSE(f.keys.homeChannelAssigned());
    EXPECT_FALSE(f.keys.scanAssigned());
    EXPECT_FALSE(f.keys.emergencyAssigned());
}

TEST(KeyFamilies, EmergencyIsAskedOfTheMobileEmergencyKey) {
    ChannelFixture f(testing::kRowMobile8);
    f.image().setU8(0x0110, 0x34);
    EXPECT_FALSE(f.keys.emergencyAssigned());
    f.image().setU8(0x0116, 0x34);
    EXPECT_TRUE(f.keys.emergencyAssigned());
}

TEST(KeyChoices, PortableSmall) {
    KeyModelTraits t{1, 8, 65};
    ChannelFixture f(testing::kRowPortable8);
    EXPECT_EQ(f.keys.current().choices(0, t), texts({65, 338, 339, 340, 341, 356, 352}));
    t.optionBoardText = 168;
    EXPECT_EQ(f.keys.current().choices(1, t), texts({65, 338, 339, 340, 341, 356, 348, 352}));
}

TEST(KeyChoices, PortableLargeSelectorAndOrdinaryKeys) {
    ChannelFixture f(testing::kRowPortable32);
    const KeyFamily& fam = f.keys.current();
    EXPECT_EQ(fam.choices(6, {1, 32, 65}), texts({65, 357}));
    EXPECT_EQ(fam.choices(6, {1, 32, 169}), texts({65, 357, 358}));
    EXPECT_EQ(fam.choices(6, {1, 128, 65}), texts({65, 357, 358}));
    EXPECT_EQ(fam.choices(0, {1, 32, 65}),
              texts({65, 329, 330, 331, 335, 337, 355, 338, 339, 340, 341, 342, 356, 346, 347, 350, 352}));
    EXPECT_EQ(fam.choices(0, {5, 128, 168}),
              texts({65, 329, 330, 331, 333, 334, 335, 337, 355, 338, 339, 340, 341, 344, 345, 356, 346,
                     347, 348, 349, 352}));
}

TEST(KeyChoices, MobileLarge) {
    ChannelFixture f(testing::kRowMobile128);
    const KeyFamily& fam = f.keys.current();
    EXPECT_EQ(fam.choices(10, {4, 128, 65}),
              texts({65, 328, 329, 330, 331, 332, 333, 334, 335, 336, 337, 338, 339, 340, 341, 343, 344,
                     346, 347, 349, 350, 352, 353, 354}));
    // Emergency only on the key of caption 320, never on kind 1; AUX only without a board.
    EXPECT_EQ(fam.choices(0, {1, 32, 169}),
              texts({65, 329, 330, 331, 333, 334, 335, 336, 337, 338, 339, 340, 341, 342, 343, 346, 347,
                     350, 351, 352, 353, 354}));
}

TEST(KeyChoices, MobileSmall) {
    ChannelFixture f(testing::kRowMobile8);
    const KeyFamily& fam = f.keys.current();
    EXPECT_EQ(fam.choices(8, {2, 8, 65}),
              texts({65, 328, 329, 330, 332, 335, 336, 337, 338, 339, 340, 341, 343, 344, 350, 352, 353,
                     354}));
    EXPECT_EQ(fam.choices(0, {5, 8, 168}),
              texts({65, 329, 330, 335, 336, 337, 338, 339, 340, 341, 343, 344, 348, 352, 353, 354}));
}

} // namespace
} // namespace vrl
