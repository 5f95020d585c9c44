// The test frequency table: texts, the band check, blanking and the rule that an
// all-blank table takes the defaults of the data's band.
#include "model/new_data.h"
#include "service/test_frequency.h"

#include <gtest/gtest.h>

using namespace vrl;

namespace {

struct TestFrequencies : ::testing::Test {
    RadioData data;
    TestFrequencyTable table{data};
    void SetUp() override { newDataFor(data, models::identityFor(0, 0, OptionBoard::None)); }
    void blankAllBut(int keep) {
        for (int n = 1; n <= kTestChannelCount; ++n)
            if (n != keep) data.image.fill(0x0140 + 10 * (n - 1), 10, 0xFF);
    }
};

} // namespace

TEST_F(TestFrequencies, NewDataHoldSixDefaultEntries) {
    EXPECT_FALSE(table.receiveText(1).empty());
    EXPECT_FALSE(table.receiveText(6).empty());
    EXPECT_TRUE(table.receiveText(7).empty());
    EXPECT_TRUE(table.receiveBlank(16));
    EXPECT_TRUE(table.receiveText(0).empty());
    EXPECT_TRUE(table.receiveText(17).empty());
}

TEST_F(TestFrequencies, TextsAreStoredWithTheirStepCodes) {
    struct Case {
        bool receive;
        std::string typed;
        std::string shown;
        TestFrequencyResult result;
    };
    const std::string low = std::to_string(data.model.bandLowMHz());
    const Case cases[] = {
        {true, low + ".125", low + ".12500", TestFrequencyResult::Ok},
        {true, low + ",125", low + ".12500", TestFrequencyResult::Ok}, // comma as point
        {false, low + ".5", low + ".50000", TestFrequencyResult::Ok},
        {true, "50", "", TestFrequencyResult::OutOfBand}, // below the outer limit: band low
        {true, "abc", "", TestFrequencyResult::Invalid},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const std::string before = c.receive ? table.receiveText(9) : table.transmitText(9);
        const auto r =
            c.receive ? table.setReceiveText(9, c.typed) : table.setTransmitText(9, c.typed);
        EXPECT_EQ(r, c.result);
        const std::string after = c.receive ? table.receiveText(9) : table.transmitText(9);
        const std::string expected = c.result == TestFrequencyResult::Invalid ? before
                                     : c.shown.empty()                        ? low + ".00000"
                                                                              : c.shown;
        EXPECT_EQ(after, expected);
        if (c.result != TestFrequencyResult::Invalid) {
            EXPECT_NE(data.image.u8(0x0140 + 10 * 8 + (c.receive ? 8 : 9)), 0xFF);
        }
    }
}

TEST_F(TestFrequencies, EmptyReceiveBlanksTheEntryEmptyTransmitOnlyItsSide) {
    table.setTransmitText(2, "");
    EXPECT_TRUE(table.transmitText(2).empty());
    EXPECT_FALSE(table.receiveText(2).empty());
    EXPECT_EQ(data.image.u8(0x0140 + 10 + 9), 0xFF);
    EXPECT_NE(data.image.u8(0x0140 + 10 + 8), 0xFF);
    table.setReceiveText(3, " ");
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(data.image.u8(0x0140 + 20 + i), 0xFF) << i;
    EXPECT_FALSE(table.defaultsLoaded());
}

TEST_F(TestFrequencies, ClearingTheLastFrequencyLoadsTheDefaultsOfTheBand) {
    const std::string firstDefault = table.receiveText(1);
    blankAllBut(10);
    table.setReceiveText(10, "150");
    table.setTransmitText(10, "");
    EXPECT_FALSE(table.allBlank());
    table.setReceiveText(10, "");
    EXPECT_TRUE(table.defaultsLoaded());
    EXPECT_EQ(table.receiveText(1), firstDefault);
    EXPECT_TRUE(table.receiveBlank(10));
}

TEST_F(TestFrequencies, WireBytesReverseEachGroup) {
    table.setReceiveText(4, "160.05");
    table.setTransmitText(4, "160.1");
    const TestChannelBytes wire = table.wireBytes(4);
    EXPECT_EQ(wire, (TestChannelBytes{0x16, 0x00, 0x50, 0x00, 0x16, 0x01, 0x00, 0x00}));
    EXPECT_EQ(reverseGroups(wire)[0], 0x00);
    TestChannelBytes blank;
    blank.fill(0xFF);
    EXPECT_EQ(table.wireBytes(16), blank);
}
