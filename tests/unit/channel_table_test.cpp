// The channel table: export texts and applying rows back through the store.
#include "channel_test_support.h"
#include "channels/channel_table.h"
#include "model/tone_code.h"

#include <gtest/gtest.h>

#include <random>

namespace vrl {
namespace {

using testing::ChannelFixture;
using F = ChannelField;

TextRow fullHeader() { return TextRow(kChannelColumns.begin(), kChannelColumns.end()); }

std::vector<TableRow> numbered(const std::vector<TextRow>& rows) {
    std::vector<TableRow> out;
    int line = 2;
    for (const auto& r : rows) out.push_back({line++, r});
    return out;
}

TEST(ChannelTable, ExportImportExportIsStableForRandomChannels) {
    std::mt19937 rng(5);
    ChannelFixture src(testing::kRowMobile128M, 0, 2);
    src.image().setU8(0x00FF, 0x00);
    for (int i = 0; i < 60; ++i) {
        const int g = static_cast<int>(rng() % 3), c = static_cast<int>(rng() % 40);
        src.store.setText(std::to_string(140 + rng() % 40) + ".0125", g, c, F::Receive);
        if (rng() % 2) src.store.setText(std::to_string(150 + rng() % 20) + ".5", g, c, F::Transmit);
        src.store.setText(toneList()[rng() % toneList().size()], g, c, F::Decode);
        src.store.setText(toneList()[rng() % toneList().size()], g, c, F::Encode);
        src.store.setText("N" + std::to_string(i), g, c, F::Name);
        src.store.setText(std::to_string(100 + i), g, c, F::IdCode);
        src.store.setText("12AB", g, c, F::BeginOfTx);
        for (F f : {F::OptionSignalling, F::BusyLockout, F::TxPower, F::Width, F::PttId, F::BeatShift,
                    F::Compander, F::Priority, F::ScanAdd})
            src.store.setChoice(f, g, c, static_cast<int>(rng() % src.store.choices(f).size()));
    }
    const auto first = exportChannelRows(src.store);
    ASSERT_FALSE(first.empty());

    ChannelFixture dst(testing::kRowMobile128M, 0, 2);
    dst.image().setU8(0x00FF, 0x00);
    const ImportReport report = importChannelRows(dst.store, fullHeader(), numbered(first));
    for (const auto& e : report.errors) ADD_FAILURE() << e.format();
    EXPECT_EQ(exportChannelRows(dst.store), first);
}

TEST(ChannelTable, RowsApplyInOrderCreatingAndDeleting) {
    ChannelFixture f(testing::kRowMobile128);
    const TextRow header{"Receive", "Channel", "Group", "TxPower"}; // any order
    const auto report = importChannelRows(f.store, header,
                                          {{2, {"150", "3", "1", "T186"}},
                                           {3, {"151", "4", "1", "T185"}},
                                           {4, {"", "3", "1", ""}}});
    ASSERT_TRUE(report.ok());
    EXPECT_EQ(report.created, 2);
    EXPECT_EQ(report.deleted, 1);
    EXPECT_FALSE(f.store.exists(0, 2));
    EXPECT_EQ(f.store.getText(F::TxPower, 0, 3), "T185");
}

TEST(ChannelTable, ARowCountsAsChangedWhateverFieldItChanges) {
    const struct {
        TextRow header, row;
        int created, changed;
    } cases[] = {
        {{"Group", "Channel", "Name"}, {"1", "1", "NEWNAME"}, 0, 1},
        {{"Group", "Channel", "TxPower"}, {"1", "1", "T185"}, 0, 1},
        {{"Group", "Channel", "Receive", "Name"}, {"1", "1", "151.00000", "NEWNAME"}, 0, 1},
        {{"Group", "Channel", "Receive"}, {"1", "1", "150.00000"}, 0, 0}, // as stored
        {{"Group", "Channel", "Name"}, {"1", "1", "OLD"}, 0, 0},
        {{"Group", "Channel", "Receive", "Name"}, {"1", "2", "152", "X"}, 1, 0},
    };
    for (const auto& c : cases) {
        ChannelFixture f(testing::kRowMobile128);
        f.store.setText("150", 0, 0, F::Receive);
        f.store.setText("OLD", 0, 0, F::Name);
        f.store.setChoice(F::TxPower, 0, 0, 1); // T186
        const auto report = importChannelRows(f.store, c.header, {{2, c.row}});
        ASSERT_TRUE(report.ok()) << report.errors.front().format();
        EXPECT_EQ(report.created, c.created) << c.row.back();
        EXPECT_EQ(report.changed, c.changed) << c.row.back();
    }
}

TEST(ChannelTable, BadRowsNameTheirLineAndColumn) {
    ChannelFixture f(testing::kRowMobile128);
    const TextRow header{"Group", "Channel", "Receive", "Width", "IdCode", "Decode"};
    const auto report = importChannelRows(f.store, header,
                                          {{2, {"1", "1", "150", "Wide", "000", "T65"}},
                                           {3, {"1", "1", "150", "T188", "12", "T65"}},
                                           {4, {"1", "1", "150", "T188", "123", "88.5x"}},
                                           {5, {"129", "1", "150", "T188", "123", "T65"}},
                                           {6, {"1", "1", "abc", "T188", "123", "T65"}}});
    ASSERT_EQ(report.errors.size(), 5u);
    EXPECT_EQ(report.errors[0].format(), "line 2, column 4 (Width): \"Wide\" is not one of \"T188\", \"T189\"");
    EXPECT_EQ(report.errors[1].line, 3);
    EXPECT_EQ(report.errors[1].column, "5 (IdCode)");
    EXPECT_EQ(report.errors[2].column, "6 (Decode)");
    EXPECT_EQ(report.errors[3].column, "1 (Group)");
    EXPECT_EQ(report.errors[4].column, "3 (Receive)");
}

TEST(ChannelTable, LowerCaseCstCodesImportLikeTypedOnes) {
    ChannelFixture f(testing::kRowMobile128);
    const TextRow header{"Group", "Channel", "Receive", "Decode", "Encode"};
    const auto report = importChannelRows(f.store, header, {{2, {"1", "1", "150", "d189i", "d23"}}});
    ASSERT_TRUE(report.ok());
    EXPECT_EQ(f.store.getText(F::Decode, 0, 0), "D177I");
    EXPECT_EQ(f.store.getText(F::Encode, 0, 0), "D230N");
}

TEST(ChannelTable, HeaderProblemsAreReported) {
    ChannelFixture f(testing::kRowMobile128);
    EXPECT_EQ(importChannelRows(f.store, {"Group", "Receive"}, {}).errors.size(), 1u);
    EXPECT_EQ(importChannelRows(f.store, {"Group", "Channel", "Recieve"}, {}).errors.size(), 1u);
    EXPECT_EQ(importChannelRows(f.store, {"Group", "Channel", "Group"}, {}).errors.size(), 1u);
}

TEST(ChannelTable, OutOfBandIsAWarningAndCannotCreateAnError) {
    ChannelFixture f(testing::kRowMobile8);
    std::vector<TableRow> rows;
    for (int c = 1; c <= 8; ++c) rows.push_back({c + 1, {"1", std::to_string(c), c == 1 ? "120" : "150"}});
    auto report = importChannelRows(f.store, {"Group", "Channel", "Receive"}, rows);
    EXPECT_TRUE(report.ok());
    ASSERT_EQ(report.warnings.size(), 1u);
    EXPECT_EQ(report.warnings[0].line, 2);
    // A missing channel without a Receive column cannot be made.
    f.store.setText("", 0, 0, F::Receive);
    report = importChannelRows(f.store, {"Group", "Channel", "TxPower"}, {{2, {"1", "1", "T185"}}});
    EXPECT_FALSE(report.ok());
}

} // namespace
} // namespace vrl
