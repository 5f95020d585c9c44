// Channel CSV files: the RFC 4180 reader on the cases that break naive splitting,
// the layout found from the header and the CHIRP rows' target group. (Whole files
// written and read back: the desktop program's channel table test.)
#include "channel_test_support.h"
#include "channels/channel_csv.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vrl {
namespace {

using testing::ChannelFixture;

struct ParseCase {
    const char* name;
    std::string_view text;
    std::vector<CsvRecord> records;
    int errorLine = 0; // 0: no error expected
};

TEST(ChannelCsv, ParsesRecordsAndRefusesBrokenQuotes) {
    const ParseCase cases[] = {
        {"crlf and a final break", "a,b\r\nc,d\r\n", {{1, {"a", "b"}}, {2, {"c", "d"}}}},
        {"no final break", "a,b\nc,d", {{1, {"a", "b"}}, {2, {"c", "d"}}}},
        {"blank lines skipped", "a\n\n\nb\n", {{1, {"a"}}, {4, {"b"}}}},
        {"empty fields kept", ",\n", {{1, {"", ""}}}},
        {"quoted comma and quote", "\"x,\"\"y\"\"\",z\n", {{1, {"x,\"y\"", "z"}}}},
        {"line break in a quoted field moves the line count",
         "\"a\nb\",c\nd\n",
         {{1, {"a\nb", "c"}}, {3, {"d"}}}},
        {"text after a closing quote", "a\n\"b\"c\n", {}, 2},
        {"quote not closed", "a\n\"b,c\n", {}, 2},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CsvParse parsed = parseCsv(c.text);
        EXPECT_EQ(parsed.errorLine, c.errorLine) << parsed.error;
        EXPECT_EQ(parsed.error.empty(), c.errorLine == 0);
        if (c.errorLine) continue;
        ASSERT_EQ(parsed.records.size(), c.records.size());
        for (size_t i = 0; i < c.records.size(); ++i) {
            EXPECT_EQ(parsed.records[i].line, c.records[i].line);
            EXPECT_EQ(parsed.records[i].fields, c.records[i].fields);
        }
    }
}

TEST(ChannelCsv, WrittenFieldsReadBackUnchanged) {
    const TextRow fields{"plain", "a,b", "say \"hi\"", "two\r\nlines", "", " spaced "};
    const CsvParse parsed = parseCsv(csvLine(fields) + csvLine({"next"}));
    ASSERT_TRUE(parsed.error.empty()) << parsed.error;
    ASSERT_EQ(parsed.records.size(), 2u);
    EXPECT_EQ(parsed.records[0].fields, fields);
    EXPECT_EQ(parsed.records[1].line, 3);
}

TEST(ChannelCsv, RegressionByteOrderMarkHidesTheFirstColumn) {
    const struct {
        std::string_view text;
        ChannelCsvFormat format;
    } cases[] = {
        {"\xEF\xBB\xBFLocation,Frequency\r\n1,150.000000\r\n", ChannelCsvFormat::Chirp},
        {"\xEF\xBB\xBFGroup,Channel,Receive\r\n1,1,150\r\n", ChannelCsvFormat::Own},
    };
    for (const auto& c : cases) {
        const ChannelCsv csv = readChannelCsv(c.text);
        ASSERT_FALSE(csv.error);
        EXPECT_EQ(csv.format, c.format);
        ChannelFixture f(testing::kRowMobile128);
        const ImportReport report = importChannelCsv(f.store, csv, 0);
        ASSERT_TRUE(report.ok()) << report.errors[0].format();
        EXPECT_TRUE(f.store.exists(0, 0));
    }
}

TEST(ChannelCsv, ChirpRowsGoOnlyToAGroupTheModelHas) {
    ChannelFixture f(testing::kRowMobile128);
    const ChannelCsv csv = readChannelCsv("Location,Frequency\n1,150.000000\n");
    ASSERT_EQ(csv.format, ChannelCsvFormat::Chirp);
    for (int group : {-1, f.store.groupCount()}) {
        SCOPED_TRACE(group);
        const ImportReport report = importChannelCsv(f.store, csv, group);
        ASSERT_FALSE(report.ok());
        EXPECT_EQ(report.errors[0].line, 1);
        EXPECT_EQ(f.store.channelsInUse(), 0);
    }
    EXPECT_TRUE(importChannelCsv(f.store, csv, 2).ok());
    EXPECT_TRUE(f.store.exists(2, 0));
}


// The own layout takes a number only as a whole: trailing text, units, hex or a
// stray quote is refused by line and column, never read as far as it looks like one.
TEST(ChannelCsv, OwnLayoutTakesOnlyWholeNumbersAndCutsLongNames) {
    struct Case {
        const char* row;
        const char* refusedColumn; // nullptr: accepted
        const char* warning = nullptr;
    };
    const Case cases[] = {
        {"1,1,452.0abc,,,", "Receive"},
        {"1,1,452.0 MHz,,,", "Receive"},
        {"1,1,0x1C4,,,", "Receive"},
        {"1,1,45\"2.0,,,", "Receive"},
        {"1,1,-452.0,,,", "Receive"},
        {"1,1,452.0,453.0x,,", "Transmit"},
        {"1,1,452.0,,67.0DN,", "Decode"},
        {"1,1,452.0,,6 7.0,", "Decode"},
        {"1,1,\" 452,5 \",452.50000,D023N,", nullptr},
        {"1,1,452.0,,67.0,ABCDEFGHIJ", nullptr, "cut to the radio's 8 characters"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        ChannelFixture f(testing::kRowMobileUhf128);
        const ChannelCsv csv =
            readChannelCsv(std::string("Group,Channel,Receive,Transmit,Decode,Name\n") + c.row + "\n");
        ASSERT_FALSE(csv.error);
        const ImportReport report = importChannelCsv(f.store, csv, 0);
        if (c.refusedColumn) {
            ASSERT_EQ(report.errors.size(), 1u);
            EXPECT_EQ(report.errors[0].line, 2);
            EXPECT_NE(report.errors[0].column.find(c.refusedColumn), std::string::npos)
                << report.errors[0].format();
            continue;
        }
        ASSERT_TRUE(report.ok()) << report.errors[0].format();
        EXPECT_EQ(report.warnings.empty(), c.warning == nullptr);
        if (c.warning) {
            EXPECT_NE(report.warnings[0].text.find(c.warning), std::string::npos);
            EXPECT_EQ(f.store.getText(ChannelField::Name, 0, 0), "ABCDEFGH");
        }
    }
}

TEST(ChannelCsv, ExportIsValidUtf8WhateverTheNameBytes) {
    ChannelFixture f(testing::kRowMobile128);
    ASSERT_EQ(f.store.setText("150", 0, 0, ChannelField::Receive), StoreResult::Ok);
    ASSERT_EQ(f.store.setText("QZ", 0, 0, ChannelField::Name), StoreResult::Ok);
    const auto bytes = f.image().bytes();
    const auto at = std::search(bytes.begin(), bytes.end(), std::begin("QZ      "), std::end("QZ      ") - 1);
    ASSERT_NE(at, bytes.end());
    f.image().setU8(static_cast<size_t>(at - bytes.begin()) + 1, 0xE9); // a byte another tool left
    for (ChannelCsvFormat format : {ChannelCsvFormat::Own, ChannelCsvFormat::Chirp}) {
        const std::string text = channelCsvText(f.store, format);
        EXPECT_EQ(text.find('\xE9'), std::string::npos);
        EXPECT_NE(text.find("Q\xEF\xBF\xBD"), std::string::npos) << "shown as U+FFFD";
    }
}

} // namespace
} // namespace vrl
