// Copy, paste and run deletion of channel rows; Channel Copy and Group Copy.
#include "channel_test_support.h"

#include <gtest/gtest.h>

namespace vrl {
namespace {

using testing::ChannelFixture;
using F = ChannelField;

std::string freq(int c) { return std::to_string(150 + c) + ".00000"; }

TEST(ChannelCopy, RowsPastedIntoAnotherGroupTakeTheTargetNumbers) {
    ChannelFixture f(testing::kRowMobile128);
    for (int c : {2, 4}) f.store.setText(freq(c), 0, c, F::Receive);
    f.store.setText("D023N", 0, 2, F::Decode);
    f.store.setChoice(F::OptionSignalling, 0, 2, 1);
    f.store.setText("4567", 0, 2, F::IdCode);
    f.store.setText("12#", 0, 4, F::EndOfTx);
    f.store.setCheck(F::ScanAdd, 0, 4, false);
    f.store.setText(freq(10), 1, 10, F::Receive); // deleted by the empty source row

    ASSERT_TRUE(f.store.copyBuffer().copy(f.store, 0, 4, 2)); // rows 3-5, either order
    ASSERT_TRUE(f.store.copyBuffer().canPaste(f.store, 1));
    const PasteOutcome out = f.store.copyBuffer().paste(f.store, 1, 9);
    EXPECT_EQ(out.rowsWritten, 3);
    EXPECT_FALSE(out.cannotCreate);

    EXPECT_EQ(f.store.getText(F::Receive, 1, 9), freq(2));
    EXPECT_EQ(f.store.getText(F::Decode, 1, 9), "D023N");
    EXPECT_EQ(f.store.getText(F::IdCode, 1, 9), "4567");
    EXPECT_FALSE(f.store.exists(1, 10));
    EXPECT_EQ(f.store.getText(F::Receive, 1, 11), freq(4));
    EXPECT_EQ(f.store.getText(F::EndOfTx, 1, 11), "12#");
    EXPECT_EQ(f.store.getText(F::ScanAdd, 1, 11), "T194");
    const size_t r = 0x2000 + 48 * *f.store.slotOf(1, 9);
    EXPECT_EQ(f.image().u8(r), 10);
    EXPECT_EQ(f.image().u8(r + 1), 2);
    // Source rows are untouched.
    EXPECT_EQ(f.store.getText(F::EndOfTx, 0, 4), "12#");
    EXPECT_EQ(f.store.channelsInUse(), 4);
}

TEST(ChannelCopy, PasteStopsAtTheEndOfTheGroup) {
    ChannelFixture f(testing::kRowPortable32);
    for (int c = 0; c < 3; ++c) f.store.setText(freq(c), 0, c, F::Receive);
    f.store.copyBuffer().copy(f.store, 0, 0, 2);
    const PasteOutcome out = f.store.copyBuffer().paste(f.store, 0, 31);
    EXPECT_EQ(out.rowsWritten, 1);
    EXPECT_EQ(f.store.getText(F::Receive, 0, 31), freq(0));
    EXPECT_EQ(f.store.channelsInUse(), 4);
}

TEST(ChannelCopy, PasteStopsWhenNoChannelCanBeCreated) {
    ChannelFixture f(testing::kRowMobile8);
    for (int c = 0; c < 8; ++c) f.store.setText(freq(c), 0, c, F::Receive);
    f.store.setText("", 0, 7, F::Receive);
    f.store.copyBuffer().copy(f.store, 0, 0, 1);
    f.store.setText(freq(7), 0, 7, F::Receive);
    // Overwriting existing channels always fits.
    EXPECT_FALSE(f.store.copyBuffer().paste(f.store, 0, 5).cannotCreate);
    EXPECT_EQ(f.store.getText(F::Receive, 0, 6), freq(1));
}

TEST(ChannelCopy, PasteNeedsAGroupOfTheSameKind) {
    ChannelFixture f(testing::kRowPortable32, 2);
    f.store.setText(freq(0), 0, 0, F::Receive);
    f.store.copyBuffer().copy(f.store, 0, 0, 0);
    EXPECT_TRUE(f.store.copyBuffer().canPaste(f.store, 0));
    EXPECT_TRUE(f.store.copyBuffer().canPaste(f.store, 1));
    EXPECT_FALSE(f.store.copyBuffer().canPaste(f.store, 2));
    EXPECT_EQ(f.store.copyBuffer().paste(f.store, 2, 0).rowsWritten, 0);
    f.store.copyBuffer().clear();
    EXPECT_FALSE(f.store.copyBuffer().canPaste(f.store, 0));
}

TEST(ChannelCopy, SingleChannelGroupsCannotBeCopied) {
    ChannelFixture f(testing::kRowMobile8, 2);
    f.store.setText(freq(0), 4, 0, F::Receive);
    EXPECT_FALSE(f.store.copyBuffer().copy(f.store, 4, 0, 0));
    EXPECT_FALSE(f.store.copyBuffer().present());
}

TEST(ChannelCopy, DeleteRunSkipsMissingChannels) {
    ChannelFixture f(testing::kRowMobile128);
    for (int c : {1, 3, 4, 8}) f.store.setText(freq(c), 0, c, F::Receive);
    EXPECT_EQ(deleteChannelRun(f.store, 0, 4, 0), 3);
    EXPECT_EQ(f.store.channelsInUse(), 1);
    EXPECT_TRUE(f.store.exists(0, 8));
}

// --- Channel Copy and Group Copy ------------------------------------------------

std::vector<uint8_t> bytesAt(ChannelFixture& f, size_t at, size_t n) {
    auto b = f.image().bytes().subspan(at, n);
    return {b.begin(), b.end()};
}
size_t recordAt(ChannelFixture& f, int g, int c) { return 0x2000 + 48 * *f.store.slotOf(g, c); }

// A channel with every side table and a few record bytes the editors never touch.
void fillChannel(ChannelFixture& f, int g, int c) {
    f.store.setText(freq(c), g, c, F::Receive);
    f.store.setText("155.5", g, c, F::Transmit);
    f.store.setText("88.5", g, c, F::Decode);
    f.store.setChoice(F::OptionSignalling, g, c, 1);
    f.store.setText("12345", g, c, F::IdCode);
    f.store.setText("1A*", g, c, F::BeginOfTx);
    f.store.setText("#9", g, c, F::EndOfTx);
    f.store.setCheck(F::ScanAdd, g, c, false);
    f.image().setU8(recordAt(f, g, c) + 0x0A, 0x5A);
    f.image().setU8(recordAt(f, g, c) + 0x2F, 0xA5);
}

TEST(ChannelCopyTool, CopyTakesRecordAndSideTablesWithTargetNumbers) {
    ChannelFixture f(testing::kRowMobile128);
    fillChannel(f, 0, 4);
    ASSERT_EQ(f.store.copyChannel(0, 4, 6, 9), CopyResult::Copied);
    EXPECT_EQ(f.store.channelsInUse(), 2);
    const size_t from = recordAt(f, 0, 4), to = recordAt(f, 6, 9);
    EXPECT_EQ(f.image().u8(to), 10);
    EXPECT_EQ(f.image().u8(to + 1), 7);
    EXPECT_EQ(bytesAt(f, to + 2, 46), bytesAt(f, from + 2, 46));
    const int fs = *f.store.slotOf(0, 4), ts = *f.store.slotOf(6, 9);
    EXPECT_EQ(bytesAt(f, 0x7000 + 5 * ts, 5), bytesAt(f, 0x7000 + 5 * fs, 5));
    EXPECT_EQ(bytesAt(f, 0x6000 + 16 * ts, 16), bytesAt(f, 0x6000 + 16 * fs, 16));
    EXPECT_EQ(bytesAt(f, 0x6800 + 16 * ts, 16), bytesAt(f, 0x6800 + 16 * fs, 16));
    EXPECT_FALSE(f.image().bit(0x0070 + ts / 8, ts % 8));
    EXPECT_EQ(f.image().u8(0x000E), 2);
}

TEST(ChannelCopyTool, CopyOntoAnExistingChannelKeepsCountAndGroupRecord) {
    ChannelFixture f(testing::kRowMobile128, 0, 4);
    fillChannel(f, 0, 1);
    f.store.setText("150", 3, 0, F::Receive); // the only channel of group 4
    f.store.setGroupName("WEST", 3);
    f.image().setU8(0x002A, '1');
    f.store.setGroupScan(3, false);
    f.store.setCheck(F::Priority, 3, 0, true);
    f.image().setU8(0x0020, '0');
    f.store.setCheck(F::Priority, 3, 0, true);
    ASSERT_EQ(f.image().u8(0x002B), 3);
    const auto directory = bytesAt(f, 0, 12);

    ASSERT_EQ(f.store.copyChannel(0, 1, 3, 0), CopyResult::Copied);
    EXPECT_EQ(f.store.channelsInUse(), 2);
    EXPECT_EQ(f.store.getText(F::Receive, 3, 0), freq(1));
    EXPECT_EQ(f.store.getGroupName(3), "WEST");
    EXPECT_FALSE(f.store.getGroupScan(3));
    EXPECT_EQ(f.image().u8(0x002B), 0xFF) << "the overwritten channel was the priority channel";
    EXPECT_EQ(bytesAt(f, 0, 12), directory);
}

TEST(ChannelCopyTool, Refusals) {
    struct Case {
        int row, trunking;
        int g, c, toG, toC;
        CopyResult expected;
    };
    const Case cases[] = {
        {testing::kRowMobile128, 0, 0, 4, 0, 4, CopyResult::Unchanged},
        {testing::kRowMobile128, 0, 0, 5, 1, 5, CopyResult::NoSource},
        {testing::kRowMobile128, 0, 0, 4, 128, 0, CopyResult::OutOfRange},
        {testing::kRowMobile128, 0, 0, 4, 0, 128, CopyResult::OutOfRange},
        {testing::kRowPortable32, 3, 0, 4, 1, 4, CopyResult::NotOffered},
        {testing::kRowPortable32, 3, 0, 4, 0, 16, CopyResult::OutOfRange},
        {testing::kRowPortable32, 0, 0, 4, 0, 31, CopyResult::Copied},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.row << " " << c.toG << ":" << c.toC);
        ChannelFixture f(c.row, c.trunking);
        fillChannel(f, 0, 4);
        const auto before = bytesAt(f, 0, 0x8000);
        EXPECT_EQ(f.store.copyChannel(c.g, c.c, c.toG, c.toC), c.expected);
        if (c.expected != CopyResult::Copied) {
            EXPECT_EQ(bytesAt(f, 0, 0x8000), before);
        }
    }
}

TEST(ChannelCopyTool, NoNewChannelWhenTheMemoryIsFull) {
    ChannelFixture f(testing::kRowMobile128);
    for (int c = 0; c < 128; ++c) f.store.setText(freq(c % 20), c / 64, c % 64, F::Receive);
    const auto before = bytesAt(f, 0, 0x8000);
    EXPECT_EQ(f.store.copyChannel(0, 0, 2, 0), CopyResult::CannotCreate);
    EXPECT_EQ(bytesAt(f, 0, 0x8000), before);
    EXPECT_EQ(f.store.copyChannel(0, 0, 1, 0), CopyResult::Copied); // onto an existing one
}

// Group G (10 channels) onto a group of 4: carried out at 120 channels in use
// (120 + 10 - 4 = 126), refused at 125 (131 exceeds 128).
TEST(GroupCopyTool, LimitCountsSourceMinusTargetChannels) {
    struct Case {
        int inUse;
        CopyResult expected;
    };
    for (const Case c : {Case{120, CopyResult::Copied}, Case{125, CopyResult::CannotCreate},
                         Case{122, CopyResult::Copied}, Case{123, CopyResult::CannotCreate}}) {
        SCOPED_TRACE(c.inUse);
        ChannelFixture f(testing::kRowMobile128);
        for (int n = 0; n < 10; ++n) f.store.setText(freq(n), 0, n, F::Receive);
        for (int n = 0; n < 4; ++n) f.store.setText(freq(n), 1, 20 + n, F::Receive);
        for (int n = 14; n < c.inUse; ++n) f.store.setText(freq(0), 2 + n / 100, n % 100, F::Receive);
        ASSERT_EQ(f.store.channelsInUse(), c.inUse);
        const auto before = bytesAt(f, 0, 0x8000);
        EXPECT_EQ(f.store.copyGroup(0, 1), c.expected);
        if (c.expected == CopyResult::Copied) {
            EXPECT_EQ(f.store.channelsInUse(), c.inUse + 6);
            EXPECT_EQ(f.store.usedInGroup(1), 10);
        } else {
            EXPECT_EQ(bytesAt(f, 0, 0x8000), before);
        }
    }
}

TEST(GroupCopyTool, ReplacesTheTargetAndCopiesGroupRecordAndScanBit) {
    ChannelFixture f(testing::kRowMobile128, 0, 3);
    f.image().setU8(0x002A, '1');
    for (int c : {0, 4, 9}) fillChannel(f, 2, c);
    f.store.setGroupName("NORTH", 2);
    f.store.setGroupScan(2, false);
    const size_t srcRec = 0x1000 + 16 * *f.store.groupSlotOf(2);
    for (size_t i = 0x0A; i < 0x10; ++i) f.image().setU8(srcRec + i, static_cast<uint8_t>(i));
    for (int c : {4, 50}) f.store.setText(freq(30), 5, c, F::Receive);
    f.store.setGroupName("OLD", 5);

    ASSERT_EQ(f.store.copyGroup(2, 5), CopyResult::Copied);
    EXPECT_FALSE(f.store.exists(5, 50));
    for (int c : {0, 4, 9}) {
        EXPECT_EQ(f.store.getText(F::Receive, 5, c), freq(c));
        EXPECT_EQ(f.store.getText(F::IdCode, 5, c), "12345");
        EXPECT_EQ(f.image().u8(recordAt(f, 5, c) + 1), 6);
    }
    const size_t toRec = 0x1000 + 16 * *f.store.groupSlotOf(5);
    EXPECT_EQ(f.image().u8(toRec), 6);
    EXPECT_EQ(bytesAt(f, toRec + 1, 15), bytesAt(f, srcRec + 1, 15));
    EXPECT_EQ(f.image().u8(toRec + 1), 3);
    EXPECT_EQ(f.store.getGroupName(5), "NOR");
    EXPECT_FALSE(f.store.getGroupScan(5));
    EXPECT_EQ(f.store.channelsInUse(), 6);
    EXPECT_EQ(f.image().u8(0x000E), 2);
}

TEST(GroupCopyTool, Refusals) {
    struct Case {
        int row, trunking, g, toG;
        CopyResult expected;
    };
    const Case cases[] = {
        {testing::kRowMobile128, 0, 0, 0, CopyResult::Unchanged},
        {testing::kRowMobile128, 0, 1, 0, CopyResult::NoSource},
        {testing::kRowMobile128, 0, 0, 128, CopyResult::OutOfRange},
        {testing::kRowMobile128, 2, 0, 3, CopyResult::NotOffered},
        {testing::kRowPortable32, 2, 0, 3, CopyResult::NotOffered},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.row << " " << c.g << "->" << c.toG);
        ChannelFixture f(c.row, c.trunking);
        fillChannel(f, 0, 4);
        const auto before = bytesAt(f, 0, 0x8000);
        EXPECT_EQ(f.store.copyGroup(c.g, c.toG), c.expected);
        EXPECT_EQ(bytesAt(f, 0, 0x8000), before);
    }
}

TEST(GroupSettings, EditableOnlyForGroupsInUseAndByTheirRules) {
    ChannelFixture f(testing::kRowPortable32, 2, 4);
    f.image().setU8(0x002A, '1');
    f.store.setText("150", 0, 0, F::Receive); // trunking group
    f.store.setText("150", 3, 0, F::Receive);
    EXPECT_FALSE(f.store.setGroupName("A", 5)) << "group without channels";
    EXPECT_FALSE(f.store.setGroupScan(5, false));
    EXPECT_FALSE(f.store.setGroupScan(0, true)) << "trunking group";
    EXPECT_TRUE(f.store.setGroupName("ab1", 0));
    EXPECT_EQ(f.store.getGroupName(0), "AB1");
    EXPECT_FALSE(f.store.setGroupName("a~", 3)) << "not a name character";
    EXPECT_TRUE(f.store.setGroupScan(3, false));
    const int slot = *f.store.groupSlotOf(3);
    EXPECT_FALSE(f.image().bit(0x0060 + slot / 8, slot % 8));
    f.image().setU8(0x002A, '0'); // group scan off
    EXPECT_FALSE(f.store.groupScanEditable(3));
    EXPECT_FALSE(f.store.setGroupScan(3, true));
    f.image().setU8(0x008D, 0); // group-name length off
    EXPECT_FALSE(f.store.groupNameEditable(3));
}

} // namespace
} // namespace vrl
