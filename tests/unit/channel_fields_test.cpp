// Display texts, stores and enabling tests of the channel fields.
#include "channel_test_support.h"
#include "channels/channel_codes.h"

#include <gtest/gtest.h>

namespace vrl {
namespace {

using testing::ChannelFixture;
using F = ChannelField;

size_t recordOf(ChannelFixture& f, int g, int c) { return 0x2000 + 48 * *f.store.slotOf(g, c); }

TEST(ChannelFields, ReceiveWithDecimalCommaIsStored) {
    ChannelFixture f(testing::kRowMobile128);
    EXPECT_EQ(f.store.setText("148,0125", 0, 0, F::Receive), StoreResult::Ok);
    EXPECT_EQ(f.store.getText(F::Receive, 0, 0), "148.01250");
}

TEST(ChannelFields, ReceiveStoresKnownBytesAtRecordOffsets) {
    ChannelFixture f(testing::kRowMobile128);
    ASSERT_EQ(f.store.setText("148.00625", 0, 0, F::Receive), StoreResult::Ok);
    const size_t r = recordOf(f, 0, 0);
    EXPECT_EQ(f.image().u8(r + 0x0C), 0x25);
    EXPECT_EQ(f.image().u8(r + 0x0D), 0x06);
    EXPECT_EQ(f.image().u8(r + 0x0E), 0x80);
    EXPECT_EQ(f.image().u8(r + 0x0F), 0x14);
    EXPECT_EQ(f.image().u8(r + 0x14), 0x32);
}

TEST(ChannelFields, UhfReceiveIsRoundedToTheStep) {
    ChannelFixture f(testing::kRowMobileUhf128);
    ASSERT_EQ(f.store.setText("450.0075", 0, 0, F::Receive), StoreResult::Ok);
    EXPECT_EQ(f.store.getText(F::Receive, 0, 0), "450.00625");
    EXPECT_EQ(f.image().u8(recordOf(f, 0, 0) + 0x14), 0x32);
}

// Regression: a sixth decimal was cut off before the step search instead of being
// rounded with the rewritten "%9.5f" text, so 148.012499 landed on a 5 kHz step.
TEST(ChannelFields, SixthDecimalIsEncodedFromTheRoundedText) {
    struct Case {
        const char* typed;
        const char* stored;
        uint8_t step;
    };
    const Case cases[] = {
        {"148.012499", "148.01250", 0x35},
        {"148.0062549", "148.00625", 0x32},
        {"148,0062451", "148.00625", 0x32},
        {"148.0000049", "148.00000", 0x35},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        ChannelFixture f(testing::kRowMobile128);
        ASSERT_EQ(f.store.setText(c.typed, 0, 0, F::Receive), StoreResult::Ok);
        EXPECT_EQ(f.store.getText(F::Receive, 0, 0), c.stored);
        EXPECT_EQ(f.image().u8(recordOf(f, 0, 0) + 0x14), c.step);
        f.store.setText(c.typed, 0, 0, F::Transmit);
        EXPECT_EQ(f.store.getText(F::Transmit, 0, 0), c.stored);
    }
}

TEST(ChannelFields, OutOfBandIsStoredWithAWarning) {
    ChannelFixture f(testing::kRowMobile128);
    EXPECT_EQ(f.store.setText("50", 0, 0, F::Receive), StoreResult::OutOfBand);
    EXPECT_EQ(f.store.getText(F::Receive, 0, 0), "148.00000");
    EXPECT_EQ(f.store.setText("120", 0, 0, F::Receive), StoreResult::OutOfBand);
    EXPECT_EQ(f.store.getText(F::Receive, 0, 0), "120.00000");
}

TEST(ChannelFields, FineStepSwitchAllows1250HzSteps) {
    ChannelFixture f(testing::kRowMobile128);
    f.store.setText("150.00125", 0, 0, F::Receive);
    EXPECT_EQ(f.store.getText(F::Receive, 0, 0), "150.00000");
    f.data.model.options.fineStep = true;
    f.store.setText("150.00125", 0, 0, F::Receive);
    EXPECT_EQ(f.store.getText(F::Receive, 0, 0), "150.00125");
    EXPECT_EQ(f.image().u8(recordOf(f, 0, 0) + 0x14), 0x2F);
}

TEST(ChannelFields, GarbageFrequencyIsRefusedAndCreatesNothing) {
    ChannelFixture f(testing::kRowMobile128);
    EXPECT_EQ(f.store.setText("abc", 0, 0, F::Receive), StoreResult::Invalid);
    EXPECT_FALSE(f.store.exists(0, 0));
}

TEST(ChannelFields, EmptyTransmitClearsTransmitSide) {
    ChannelFixture f(testing::kRowMobile128);
    f.store.setText("150", 0, 0, F::Receive);
    f.store.setText("151", 0, 0, F::Transmit);
    f.store.setText("D023N", 0, 0, F::Encode);
    const size_t r = recordOf(f, 0, 0);
    EXPECT_EQ(f.image().u16(r + 0x18), 0x2813);
    f.store.setText("", 0, 0, F::Transmit);
    EXPECT_EQ(f.image().u16(r + 0x18), 0xFFFF);
    EXPECT_EQ(f.image().u8(r + 0x15), 0xFF);
    EXPECT_TRUE(f.store.isBlank(0, 0, 1));
    EXPECT_EQ(f.store.getText(F::Encode, 0, 0), "T65");
    // Transmit on a missing channel is refused.
    EXPECT_EQ(f.store.setText("150", 0, 1, F::Transmit), StoreResult::NoChannel);
}

TEST(ChannelFields, TonesUseToneCodesAndTheOffText) {
    ChannelFixture f(testing::kRowMobile128);
    f.store.setText("150", 0, 0, F::Receive);
    const size_t r = recordOf(f, 0, 0);
    struct Case {
        const char* typed;
        uint16_t code;
        const char* shown;
    } cases[] = {{"67", 670, "67.0"},       {"66,9", 670, "67.0"},     {"300", 2503, "250.3"},
                 {"D754I", 0xA9EC, "D754I"}, {"D23", 0x2898, "D230N"}, {"T65", 0xFFFF, "T65"},
                 {"", 0xFFFF, "T65"}};
    for (const auto& c : cases) {
        f.store.setText(c.typed, 0, 0, F::Decode);
        EXPECT_EQ(f.image().u16(r + 0x16), c.code) << c.typed;
        EXPECT_EQ(f.store.getText(F::Decode, 0, 0), c.shown) << c.typed;
    }
    f.image().setU16(r + 0x16, 0x7FFF);
    EXPECT_EQ(f.store.getText(F::Decode, 0, 0), "T65");
}

TEST(ChannelFields, NameIsLimitedByTheGroupNameLength) {
    ChannelFixture f(testing::kRowMobile128, 0, 2);
    f.store.setText("150", 0, 0, F::Receive);
    const size_t r = recordOf(f, 0, 0);
    EXPECT_EQ(f.store.setText("abcdefgh", 0, 0, F::Name), StoreResult::Ok);
    EXPECT_EQ(f.image().readAscii(r + 2, 8), "ABCDEF  ");
    EXPECT_EQ(f.store.getText(F::Name, 0, 0), "ABCDEF");
    f.store.setText("   ", 0, 0, F::Name);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(f.image().u8(r + 2 + i), 0xFF);
    EXPECT_EQ(f.store.setText("A~B", 0, 0, F::Name), StoreResult::Invalid);
}

TEST(ChannelFields, IdCodeNeedsThreeDigits) {
    ChannelFixture f(testing::kRowMobile128);
    f.store.setText("150", 0, 0, F::Receive);
    const int slot = *f.store.slotOf(0, 0);
    EXPECT_EQ(f.store.setText("12", 0, 0, F::IdCode), StoreResult::IdCodeTooShort);
    EXPECT_EQ(f.store.getText(F::IdCode, 0, 0), "000");
    EXPECT_EQ(f.store.setText("12345", 0, 0, F::IdCode), StoreResult::Ok);
    EXPECT_EQ(f.image().u8(0x7000 + 5 * slot), 0x21);
    EXPECT_EQ(f.image().u8(0x7000 + 5 * slot + 1), 0x43);
    EXPECT_EQ(f.image().u8(0x7000 + 5 * slot + 2), 0xF5);
    EXPECT_EQ(f.image().u8(0x7000 + 5 * slot + 3), 0xFF);
    EXPECT_EQ(f.store.getText(F::IdCode, 0, 0), "12345");
    // Three-digit radios take no longer code.
    f.image().setU8(0x00FF, 0x04);
    EXPECT_EQ(f.store.idCodeLength(), 3);
    EXPECT_EQ(f.store.setText("1234", 0, 0, F::IdCode), StoreResult::Invalid);
}

TEST(ChannelFields, DtmfCodesPackTwoDigitsPerByteWithCount) {
    ChannelFixture f(testing::kRowMobile128);
    f.store.setText("150", 0, 0, F::Receive);
    const int slot = *f.store.slotOf(0, 0);
    EXPECT_EQ(f.store.setText("1a*#", 0, 0, F::BeginOfTx), StoreResult::Ok);
    const size_t b = 0x6000 + 16 * slot;
    EXPECT_EQ(f.image().u8(b), 0xA1);
    EXPECT_EQ(f.image().u8(b + 1), 0xFE);
    EXPECT_EQ(f.image().u8(b + 15), 4);
    EXPECT_EQ(f.store.getText(F::BeginOfTx, 0, 0), "1A*#");
    EXPECT_EQ(f.store.setText("0123456789ABCD*#", 0, 0, F::EndOfTx), StoreResult::Ok);
    EXPECT_EQ(f.store.getText(F::EndOfTx, 0, 0), "0123456789ABCD*#");
    EXPECT_EQ(f.store.setText("0123456789ABCD*#0", 0, 0, F::EndOfTx), StoreResult::Invalid);
    f.store.setText("", 0, 0, F::BeginOfTx);
    EXPECT_EQ(f.image().u8(b + 15), 0xFF);
    EXPECT_EQ(f.store.getText(F::BeginOfTx, 0, 0), "");
}

TEST(ChannelFields, ScramblerStore) {
    ChannelFixture f(testing::kRowMobile128);
    f.store.setText("150", 0, 0, F::Receive);
    const size_t r = recordOf(f, 0, 0) + 0x1E;
    EXPECT_EQ(f.store.getText(F::Scrambler, 0, 0), "T69");
    f.store.setText("16", 0, 0, F::Scrambler);
    EXPECT_EQ(f.image().u8(r), 16);
    f.store.setText("0", 0, 0, F::Scrambler);
    EXPECT_EQ(f.image().u8(r), 0xFF);
    EXPECT_EQ(f.store.setText("17", 0, 0, F::Scrambler), StoreResult::Invalid);
    f.image().setU8(r, 40);
    EXPECT_EQ(f.store.getText(F::Scrambler, 0, 0), "");
}

struct ChoiceCase {
    F field;
    int selection;
    uint8_t flags, flags2, signalling; // expected record bytes 0x20, 0x21, 0x1F
    const char* text;
};

TEST(ChannelFields, ChoicesWriteTheirBitsAndShowTheirTexts) {
    const ChoiceCase cases[] = {
        {F::OptionSignalling, 1, 0xFF, 0xFF, '0', "T196"},
        {F::OptionSignalling, 2, 0xFF, 0xFF, '1', "T197"},
        {F::OptionSignalling, 0, 0xFF, 0xFF, 0xFF, "T65"},
        {F::TxPower, 1, 0xFB, 0xFF, 0xFF, "T186"},
        {F::Width, 1, 0xFE, 0xFF, 0xFF, "T189"},
        {F::PttId, 1, 0x3F, 0xFF, 0xFF, "T221"},  // BOT = 0, sets 0x21 bit 2 (already set)
        {F::PttId, 3, 0xBF, 0xFF, 0xFF, "T223"},  // both = 2
        {F::PttId, 0, 0xFF, 0xFF, 0xFF, "T69"},
        {F::BusyLockout, 1, 0xFF, 0xFD, 0xFF, "T67"}, // kind 1: on = 1
        {F::BeatShift, 1, 0xDF, 0xFF, 0xFF, "T67"},
        {F::Compander, 1, 0xFD, 0xFF, 0xFF, "T67"},
    };
    for (const auto& c : cases) {
        ChannelFixture f(testing::kRowMobile128);
        f.store.setText("150", 0, 0, F::Receive);
        const size_t r = recordOf(f, 0, 0);
        SCOPED_TRACE(codeOf(c.field) * 10 + c.selection);
        ASSERT_EQ(f.store.setChoice(c.field, 0, 0, c.selection), StoreResult::Ok);
        EXPECT_EQ(f.image().u8(r + 0x20), c.flags);
        EXPECT_EQ(f.image().u8(r + 0x21), c.flags2);
        EXPECT_EQ(f.image().u8(r + 0x1F), c.signalling);
        EXPECT_EQ(f.store.getText(c.field, 0, 0), c.text);
        EXPECT_EQ(f.store.choiceIndex(c.field, 0, 0), c.selection);
    }
}

TEST(ChannelFields, PttIdSetsTheSecondFlagBit) {
    ChannelFixture f(testing::kRowMobile128);
    f.store.setText("150", 0, 0, F::Receive);
    const size_t r = recordOf(f, 0, 0);
    f.image().setU8(r + 0x21, 0x03);
    f.store.setChoice(F::PttId, 0, 0, 0);
    EXPECT_EQ(f.image().u8(r + 0x21), 0x03);
    f.store.setChoice(F::PttId, 0, 0, 2);
    EXPECT_EQ(f.image().u8(r + 0x21), 0x07);
    EXPECT_EQ(f.image().u8(r + 0x20) >> 6, 1);
}

TEST(ChannelFields, BusyLockoutListDependsOnTheRadioKind) {
    ChannelFixture k(testing::kRowMobile128);
    EXPECT_EQ(k.store.choices(F::BusyLockout), (std::vector<std::string>{"T68", "T67"}));
    ChannelFixture m(testing::kRowMobile128M); // kind 4, offers the third kind
    EXPECT_EQ(m.store.choices(F::BusyLockout),
              (std::vector<std::string>{"T68", "T216", "T217", "T249"}));
    m.store.setText("150", 0, 0, F::Receive);
    const size_t r = recordOf(m, 0, 0);
    const int stored[] = {3, 1, 2, 0};
    for (int s = 0; s < 4; ++s) {
        m.store.setChoice(F::BusyLockout, 0, 0, s);
        EXPECT_EQ(m.image().u8(r + 0x21) & 3, stored[s]);
        EXPECT_EQ(m.store.choiceIndex(F::BusyLockout, 0, 0), s);
    }
}

TEST(ChannelFields, WidthOnKind2UsesItsOwnTexts) {
    ChannelFixture f(testing::kRowPortable128E);
    EXPECT_EQ(f.store.choices(F::Width), (std::vector<std::string>{"T190", "T191"}));
}

TEST(ChannelFields, WidthFirstItemWithCompanderOnSwitchesCompanderOff) {
    ChannelFixture f(testing::kRowMobile128);
    f.store.setText("150", 0, 0, F::Receive);
    const size_t r = recordOf(f, 0, 0);
    f.store.setChoice(F::Width, 0, 0, 1);
    f.store.setCheck(F::Compander, 0, 0, true);
    EXPECT_TRUE(f.store.widthNeedsConfirmation(0, 0, 0));
    EXPECT_FALSE(f.store.widthNeedsConfirmation(0, 0, 1));
    f.store.setChoice(F::Width, 0, 0, 0);
    EXPECT_EQ(f.image().u8(r + 0x20) & 3, 3);
    ChannelFixture p32(testing::kRowPortable32);
    p32.store.setText("150", 0, 0, F::Receive);
    p32.store.setChoice(F::Width, 0, 0, 1);
    p32.store.setCheck(F::Compander, 0, 0, true);
    EXPECT_FALSE(p32.store.widthNeedsConfirmation(0, 0, 0));
}

TEST(ChannelFields, PriorityHomeAndScanAddChecks) {
    ChannelFixture f(testing::kRowMobile128);
    f.store.setText("150", 1, 2, F::Receive);
    f.store.setCheck(F::Priority, 1, 2, true);
    EXPECT_EQ(f.image().u8(0x002B), 1);
    EXPECT_EQ(f.image().u8(0x002C), 2);
    EXPECT_EQ(f.store.getText(F::Priority, 1, 2), "T70");
    f.store.setCheck(F::Home, 1, 2, true);
    EXPECT_EQ(f.image().u8(0x0089), 1);
    EXPECT_EQ(f.image().u8(0x0088), 2);
    const int slot = *f.store.slotOf(1, 2);
    f.store.setChoice(F::ScanAdd, 1, 2, 1);
    EXPECT_FALSE(f.image().bit(0x0070 + slot / 8, slot % 8));
    EXPECT_EQ(f.store.getText(F::ScanAdd, 1, 2), "T194");
    f.store.setCheck(F::Priority, 1, 2, false);
    EXPECT_EQ(f.image().u8(0x002B), 0xFF);
}

TEST(ChannelFields, MissingChannelHasNoTexts) {
    ChannelFixture f(testing::kRowMobile128);
    for (int code = 0; code < kChannelFieldCount; ++code)
        EXPECT_FALSE(f.store.getText(fieldOf(code), 0, 0).has_value());
    EXPECT_EQ(f.store.setChoice(F::TxPower, 0, 0, 0), StoreResult::NoChannel);
    EXPECT_EQ(f.store.setText("ABC", 0, 0, F::Name), StoreResult::NoChannel);
}

TEST(ChannelEnabling, FollowsReceiveTransmitAndModel) {
    ChannelFixture f(testing::kRowMobile128);
    EXPECT_TRUE(f.store.isEnabled(F::Receive, 0, 0));
    EXPECT_FALSE(f.store.isEnabled(F::Transmit, 0, 0));
    f.store.setText("150", 0, 0, F::Receive);
    EXPECT_TRUE(f.store.isEnabled(F::Transmit, 0, 0));
    EXPECT_FALSE(f.store.isEnabled(F::Encode, 0, 0));
    f.store.setText("150", 0, 0, F::Transmit);
    EXPECT_TRUE(f.store.isEnabled(F::Encode, 0, 0));
    EXPECT_TRUE(f.store.isEnabled(F::Name, 0, 0));
    EXPECT_TRUE(f.store.isEnabled(F::ScanAdd, 0, 0));
    // ID code needs DTMF signalling, and not both bits 2-3 of 0x00FF.
    f.image().setU8(0x00FF, 0x00);
    EXPECT_FALSE(f.store.isEnabled(F::IdCode, 0, 0));
    f.store.setChoice(F::OptionSignalling, 0, 0, 1);
    EXPECT_TRUE(f.store.isEnabled(F::IdCode, 0, 0));
    f.image().setU8(0x00FF, 0x0C);
    EXPECT_FALSE(f.store.isEnabled(F::IdCode, 0, 0));
    // BOT/EOT follow PTT ID.
    f.store.setChoice(F::PttId, 0, 0, 0);
    EXPECT_FALSE(f.store.isEnabled(F::BeginOfTx, 0, 0));
    f.store.setChoice(F::PttId, 0, 0, 1);
    EXPECT_TRUE(f.store.isEnabled(F::BeginOfTx, 0, 0));
    EXPECT_FALSE(f.store.isEnabled(F::EndOfTx, 0, 0));
    // Priority needs 0x0020 = "0".
    EXPECT_FALSE(f.store.isEnabled(F::Priority, 0, 0));
    f.image().setU8(0x0020, '0');
    EXPECT_TRUE(f.store.isEnabled(F::Priority, 0, 0));
    // Home needs a key holding Home Channel (text 335, code 0x35).
    EXPECT_FALSE(f.store.isEnabled(F::Home, 0, 0));
    f.image().setU8(0x0114, 0x35);
    EXPECT_TRUE(f.store.isEnabled(F::Home, 0, 0));
    EXPECT_FALSE(f.store.isEnabled(F::Scrambler, 0, 0));
}

TEST(ChannelEnabling, PortableWithBit6ClearOffersBotWithoutPttId) {
    ChannelFixture f(testing::kRowPortable128);
    f.store.setText("150", 0, 0, F::Receive);
    f.image().setU8(0x00FD, 0xBF);
    EXPECT_TRUE(f.store.isEnabled(F::BeginOfTx, 0, 0));
    EXPECT_TRUE(f.store.isEnabled(F::EndOfTx, 0, 0));
}

TEST(ChannelEnabling, TrunkingGroupsLockSignallingFields) {
    ChannelFixture f(testing::kRowPortable32, 2);
    f.store.setText("150", 0, 0, F::Receive);
    f.image().setU8(0x0020, '0');
    for (F field : {F::OptionSignalling, F::BusyLockout, F::PttId, F::ScanAdd, F::Priority})
        EXPECT_FALSE(f.store.isEnabled(field, 0, 0)) << codeOf(field);
    f.store.setText("150", 3, 0, F::Receive);
    EXPECT_TRUE(f.store.isEnabled(F::ScanAdd, 3, 0));
}

TEST(ChannelCounts, GroupsChannelsAndFreeMemoryPerModelKind) {
    struct Case {
        int row, t, groups, inFirst, inLast, max;
    } cases[] = {
        {testing::kRowMobile8, 0, 1, 8, 8, 8},        {testing::kRowMobile8, 2, 8, 16, 1, 38},
        {testing::kRowPortable16, 0, 1, 16, 16, 16},  {testing::kRowPortable16, 8, 16, 16, 1, 128},
        {testing::kRowPortable32, 0, 1, 32, 32, 32},  {testing::kRowPortable32, 3, 128, 16, 128, 128},
        {testing::kRowMobile128, 0, 128, 128, 128, 128},
    };
    for (const auto& c : cases) {
        ChannelFixture f(c.row, c.t);
        SCOPED_TRACE(c.row * 100 + c.t);
        EXPECT_EQ(f.store.groupCount(), c.groups);
        EXPECT_EQ(f.store.channelsInGroup(0), c.inFirst);
        EXPECT_EQ(f.store.channelsInGroup(c.groups - 1), c.inLast);
        EXPECT_EQ(f.store.maxChannels(), c.max);
        EXPECT_EQ(f.store.freeChannelMemory(), c.max * 48);
    }
    ChannelFixture f(testing::kRowMobile128);
    for (int c = 0; c < 10; ++c) f.store.setText("150", 0, c, F::Receive);
    EXPECT_EQ(f.store.freeChannelMemory(), 5664);
}

TEST(ChannelGroups, NamesAndScanBits) {
    ChannelFixture f(testing::kRowMobile128, 0, 4);
    EXPECT_EQ(f.store.getGroupName(0), "");
    EXPECT_TRUE(f.store.getGroupScan(0));
    f.store.setText("150", 0, 0, F::Receive);
    f.store.setGroupName("abcdefg", 0);
    EXPECT_EQ(f.image().readAscii(0x1002, 8), "ABCD    ");
    EXPECT_EQ(f.store.getGroupName(0), "ABCD");
    f.store.setGroupName("    ", 0);
    EXPECT_EQ(f.image().u8(0x1002), 0xFF);
    EXPECT_EQ(f.store.getGroupName(0), "");
    f.image().setU8(0x0060, 0xFF);
    f.store.setGroupScan(0, false);
    EXPECT_EQ(f.image().u8(0x0060), 0xFE);
}

} // namespace
} // namespace vrl
