#include "output/print_content.h"

#include "channels/channel_store.h"
#include "model/new_data.h"

#include <gtest/gtest.h>

using namespace vrl;

namespace {
struct Doc {
    RadioData data;
    FieldContext ctx{data, [](int i) { return "T" + std::to_string(i); }};
    explicit Doc(int row) {
        newDataFor(data, identityOfChoice(ModelChoice{row, 0, OptionBoard::None, 1}));
        data.model.refresh();
    }
    void addChannel(int g, int c) {
        ChannelStore store(data, ctx.texts);
        ASSERT_EQ(store.setText("150.00000", g, c, ChannelField::Receive), StoreResult::Ok);
    }
};

std::vector<std::string> firstCells(const std::vector<PrintLine>& lines, PrintLine::Kind kind) {
    std::vector<std::string> out;
    for (const PrintLine& l : lines)
        if (l.kind == kind) out.push_back(l.cells.at(0));
    return out;
}
} // namespace

TEST(PrintContent, GroupRangeFollowsTheDialogRules) {
    struct Case {
        int start, end, inUse, first, last;
    };
    for (const Case c : {Case{3, 2, 10, 1, 10},   // end below start: every group
                         Case{1, 999, 10, 1, 10}, // end lowered to the groups in use
                         Case{0, 0, 4, 1, 4},     // empty ends
                         Case{2, 3, 10, 2, 3}, Case{12, 15, 10, 10, 10}, Case{1, 1, 0, 1, 1}}) {
        const GroupRange r = printGroupRange(c.start, c.end, c.inUse);
        EXPECT_EQ(r.first, c.first) << c.start << "-" << c.end << " of " << c.inUse;
        EXPECT_EQ(r.last, c.last) << c.start << "-" << c.end << " of " << c.inUse;
    }
}

TEST(PrintContent, ChannelSectionPrintsTheGroupsOfTheRangeThatHoldChannels) {
    Doc doc(5); // 128 channels, groups
    doc.addChannel(0, 0);
    doc.addChannel(0, 1);
    doc.addChannel(2, 4);
    doc.addChannel(4, 0);
    EXPECT_EQ(groupsInUse(doc.ctx), 5);
    const auto lines = printSectionLines(PrintSection::Channels, doc.ctx, GroupRange{1, 3});
    EXPECT_EQ(firstCells(lines, PrintLine::Kind::Field), (std::vector<std::string>{"T206 1", "T206 3"}));
    EXPECT_EQ(firstCells(lines, PrintLine::Kind::TableRow), (std::vector<std::string>{"1", "2", "5"}));
    // Every column the grid shows: channel number, then receive ... option signalling.
    const auto head = std::find_if(lines.begin(), lines.end(),
                                   [](const PrintLine& l) { return l.kind == PrintLine::Kind::TableHead; });
    ASSERT_NE(head, lines.end());
    EXPECT_EQ(head->cells.front(), "T207");
    EXPECT_EQ(head->cells.at(1), "T179");
    EXPECT_EQ(head->cells.back(), "T195");
    const auto row = std::find_if(lines.begin(), lines.end(),
                                  [](const PrintLine& l) { return l.kind == PrintLine::Kind::TableRow; });
    EXPECT_EQ(row->cells.at(1), "150.00000");
    EXPECT_EQ(row->cells.size(), head->cells.size());
}

TEST(PrintContent, ModelBlockAndSectionsOfferedByModel) {
    Doc doc(0);
    const auto lines = printSectionLines(PrintSection::Model, doc.ctx, {});
    ASSERT_GE(lines.size(), 5u);
    EXPECT_EQ(lines[0].cells[0], "T99");
    EXPECT_EQ(lines[1].cells, (std::vector<std::string>{"T164", "RM-140A[8CH]:K"}));
    EXPECT_EQ(lines[4].cells[1], std::string(kPrintEmptyValue)); // no embedded message
    EXPECT_FALSE(printSectionOffered(PrintSection::Extended, doc.data.image));
    EXPECT_TRUE(printSectionOffered(PrintSection::Extended, Doc(5).data.image));
    EXPECT_EQ(printSectionByName("test_frequency"), PrintSection::TestFrequency);
    EXPECT_FALSE(printSectionByName("colour"));
}

TEST(PrintContent, KeyListGoesTwoToALine) {
    Doc doc(5);
    const auto lines = printSectionLines(PrintSection::Keys, doc.ctx, {});
    ASSERT_GT(lines.size(), 2u);
    EXPECT_EQ(lines[1].kind, PrintLine::Kind::Pair);
    EXPECT_EQ(lines[1].cells.size(), 4u);
}
