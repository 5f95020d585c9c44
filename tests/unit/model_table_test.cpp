#include "model/model_info.h"
#include "model/model_table.h"
#include "model/radio_data.h"

#include <gtest/gtest.h>

#include <set>

using namespace vrl;

namespace {
ModelIdentity makeId(const char* code, uint8_t variant, uint8_t option = 0xFF) {
    ModelIdentity id;
    for (int i = 0; i < 5; ++i) id.bytes[i] = static_cast<uint8_t>(code[i]);
    id.bytes[5] = variant;
    id.bytes[6] = option;
    return id;
}
} // namespace

TEST(ModelTable, EveryRowAndBandIdentifiesItself) {
    for (int row = 0; row < kModelRowCount; ++row) {
        const ModelRow& r = modelTable()[row];
        for (int pos = 0; pos < r.bandCount; ++pos) {
            ModelIdentity id = models::identityFor(row, pos, OptionBoard::None);
            EXPECT_EQ(models::findRow(id), row) << r.label;
            EXPECT_EQ(models::bandPosition(row, id.band()), pos) << r.label;
            EXPECT_EQ(models::bandText(row, id.band()), r.band(pos));
            EXPECT_TRUE(models::isAcceptable(id));
        }
    }
}

TEST(ModelTable, FamilyLetterSeparatesSameDigits) {
    // M1500 and P1500 share the digits "1500" and the market M.
    EXPECT_EQ(models::findRow(makeId("M1500", 0x14)), 3);
    EXPECT_EQ(models::findRow(makeId("P1500", 0x14)), 23);
    EXPECT_EQ(models::findRow(makeId("M4500", 0x36)), 14);
    EXPECT_EQ(models::findRow(makeId("P4500", 0x36)), 35);
}

TEST(ModelTable, KnownIdentities) {
    EXPECT_EQ(models::findRow(makeId("M1400", 0x05)), 0);
    EXPECT_EQ(models::bandText(0, 5), "136-162MHz");
    EXPECT_EQ(models::bandText(0, 4), "148-174MHz");
    EXPECT_EQ(models::findRow(makeId("P4700", 0x1B)), 37);
    EXPECT_EQ(models::bandText(37, 11), "350-370MHz");
    EXPECT_EQ(models::vhfUhfText(11), "UHF");
    EXPECT_EQ(models::bandPosition(14, 11), 2);
    EXPECT_EQ(models::bandText(14, 11), "350-390MHz");
}

TEST(ModelTable, UnknownOrUncarriedIsRefused) {
    EXPECT_EQ(models::findRow(makeId("M9999", 0x04)), kNoRow);
    EXPECT_EQ(models::findRow(makeId("M1400", 0x44)), kNoRow); // market X has no row
    EXPECT_FALSE(models::isAcceptable(makeId("M1400", 0x06))); // UHF band on a VHF row
    EXPECT_FALSE(models::isAcceptable(makeId("M1400", 0x0A))); // code 10 unused
    EXPECT_EQ(models::bandText(0, 6), "");
}

TEST(ModelTable, MarketKindTestsLongerTextFirst) {
    EXPECT_EQ(models::marketKind("RP-110A[8CH]:(N)E,(N)T"), kKindNENT);
    EXPECT_EQ(models::marketKind("RM-140A[8CH]:(N)E"), kKindNE);
    EXPECT_EQ(models::marketKind("RM-140A[8CH]:K"), kKindK);
    EXPECT_EQ(models::marketKind("RM-150A[128CH]:C"), kKindC);
    EXPECT_EQ(models::marketKind("garbage"), kKindK);
    EXPECT_FALSE(models::trunkingAllowed("RP-110A[8CH]:(N)E,(N)T"));
    EXPECT_TRUE(models::trunkingAllowed("RM-160A[128CH]:M"));
}

TEST(ModelTable, CapacityGroupsMatchLabels) {
    const std::set<int> eight{0, 1, 2, 3, 8, 9, 10, 11, 15, 16, 17, 18, 26, 27, 28, 29};
    for (int row = 0; row < kModelRowCount; ++row) {
        int expected = eight.count(row) ? 8 : (row == 23 || row == 34) ? 16
                                           : (row == 25 || row == 36)  ? 32
                                                                      : 128;
        EXPECT_EQ(models::capacityOfRow(row), expected) << row;
    }
}

TEST(ModelInfo, FlagsFollowIdentityAndMarkTrunkingByte) {
    RadioData data;
    data.image.setIdentity(makeId("M1600", 0x14, 0xDF));
    data.model.refresh();
    EXPECT_EQ(data.model.flags().capacity, 128);
    EXPECT_TRUE(data.model.flags().mobile);
    EXPECT_TRUE(data.model.flags().trunking);
    EXPECT_EQ(data.image.u8(0x8000), 1);
    EXPECT_EQ(data.model.optionBoardTextIndex(), kTextOptionTrunking);

    data.image.setIdentity(makeId("P1100", 0x04, 0x7F));
    data.model.refresh();
    EXPECT_FALSE(data.model.flags().mobile);
    EXPECT_TRUE(data.model.flags().scr);
    EXPECT_EQ(data.image.u8(0x8000), 0);
    EXPECT_EQ(data.model.optionBoardTextIndex(), kTextOptionScr);

    data.image.setIdentity(makeId("X9999", 0x04, 0xBF));
    data.model.refresh();
    EXPECT_EQ(data.model.flags().capacity, 0);
    EXPECT_FALSE(data.model.flags().mobile) << "unknown family keeps the mobile flag";
    EXPECT_EQ(data.model.optionBoardTextIndex(), kTextOptionNone);
    EXPECT_EQ(data.model.label(), "");
}
