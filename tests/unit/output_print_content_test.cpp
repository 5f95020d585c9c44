#include "output/print_content.h"

#include "channels/channel_store.h"
#include "features/trunking.h"
#include "model/new_data.h"

#include <gtest/gtest.h>

using namespace vrl;

namespace {
struct Doc {
    RadioData data;
    FieldContext ctx{data, [](int i) { return "T" + std::to_string(i); }};
    explicit Doc(int row, OptionBoard board = OptionBoard::None) {
        newDataFor(data, identityOfChoice(ModelChoice{row, 0, board, 1}));
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
    EXPECT_EQ(firstCells(lines, PrintLine::Kind::Heading), (std::vector<std::string>{"T206 1", "T206 3"}));
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

TEST(PrintContent, GridAreasPrintAsHeadedTablesInTheWindowsOrder) {
    Doc doc(5, OptionBoard::Trunking);
    ASSERT_TRUE(TrunkingSettings(doc.data.image).setAccessCode("97531"));
    struct Case {
        PrintSection section;
        std::vector<std::string> headings;          // the tables' headings
        std::vector<std::vector<std::string>> heads; // their column headers
        size_t rows;
    };
    const Case cases[] = {
        {PrintSection::Dtmf, {"T414"}, {{"T66", "T415"}}, 9},
        {PrintSection::TwoTone, {"T432"}, {{"T66", "T433", "T420", "T421", "T434"}}, 10},
        // Speed dials (0-9, A-D) before the code list, as the window's pages.
        {PrintSection::Trunking, {"T454", "T456"}, {{"T66", "T454"}, {"T66", "T455"}, {"T66", "T457"}}, 10 + 4 + 16},
        {PrintSection::TestFrequency, {}, {{"T470", "T471", "T472"}}, 16},
    };
    for (const Case& c : cases) {
        const auto lines = printSectionLines(c.section, doc.ctx, {});
        SCOPED_TRACE(lines.at(0).cells.at(0));
        EXPECT_EQ(firstCells(lines, PrintLine::Kind::Heading), c.headings);
        std::vector<std::vector<std::string>> heads;
        size_t rows = 0;
        for (const PrintLine& l : lines) {
            if (l.kind == PrintLine::Kind::TableHead) heads.push_back(l.cells);
            if (l.kind == PrintLine::Kind::TableRow) {
                ++rows;
                EXPECT_EQ(l.cells.size(), heads.back().size());
            }
            // Grid cells never come out as loose label/value items any more.
            EXPECT_NE(l.kind, PrintLine::Kind::Pair);
        }
        EXPECT_EQ(heads, c.heads);
        EXPECT_EQ(rows, c.rows);
        EXPECT_EQ(lines.back().kind, PrintLine::Kind::Rule);
    }
    // The access code is printed as the window shows it: not at all.
    const auto trunking = printSectionLines(PrintSection::Trunking, doc.ctx, {});
    const auto access = std::find_if(trunking.begin(), trunking.end(),
                                     [](const PrintLine& l) { return !l.cells.empty() && l.cells[0] == "T460"; });
    ASSERT_NE(access, trunking.end());
    EXPECT_EQ(access->cells.at(1), std::string(kPrintMaskedValue));
    // An area the model lacks prints nothing at all.
    Doc without(5);
    EXPECT_TRUE(printSectionLines(PrintSection::Trunking, without.ctx, {}).empty());
}
