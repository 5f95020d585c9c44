// Copy, paste and run deletion of channel rows.
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

} // namespace
} // namespace vrl
