// CHIRP-layout channel rows: every tone mode and duplex case both ways, refusals by
// line and column, and the round trip through fresh data.
#include "channel_test_support.h"
#include "channels/channel_csv.h"
#include "channels/chirp_table.h"

#include <gtest/gtest.h>

namespace vrl {
namespace {

using testing::ChannelFixture;
using F = ChannelField;

TextRow chirpHeader() {
    return TextRow(kChirpColumns.begin(), kChirpColumns.end());
}

size_t col(std::string_view name) {
    return static_cast<size_t>(std::find(kChirpColumns.begin(), kChirpColumns.end(), name) -
                               kChirpColumns.begin());
}

// One CHIRP row with the given cells set, the others as CHIRP writes an unused value.
TextRow chirpRow(std::initializer_list<std::pair<std::string_view, std::string>> cells) {
    TextRow row{"1",    "",     "150.000000", "",    "0.000000",   "",   "88.5",
                "88.5", "023",  "NN",         "023", "Tone->Tone", "FM", "5.00",
                "",     "T185", "",           "",    "",           "",   ""};
    for (const auto& [name, value] : cells)
        row[col(name)] = value;
    return row;
}

struct ToneCase {
    const char* encode; // transmit tone
    const char* decode; // receive tone
    const char *tone, *rTone, *cTone, *code, *polarity, *rxCode, *cross;
};

const ToneCase kToneCases[] = {
    {"T65", "T65", "", "88.5", "88.5", "023", "NN", "023", "Tone->Tone"},
    {"100.0", "T65", "Tone", "100.0", "88.5", "023", "NN", "023", "Tone->Tone"},
    {"100.0", "100.0", "TSQL", "88.5", "100.0", "023", "NN", "023", "Tone->Tone"},
    {"D025N", "D025N", "DTCS", "88.5", "88.5", "025", "NN", "023", "Tone->Tone"},
    {"D025I", "D025N", "DTCS", "88.5", "88.5", "025", "RN", "023", "Tone->Tone"},
    {"D025N", "D025I", "DTCS", "88.5", "88.5", "025", "NR", "023", "Tone->Tone"},
    {"100.0", "123.0", "Cross", "100.0", "123.0", "023", "NN", "023", "Tone->Tone"},
    {"D025N", "T65", "Cross", "88.5", "88.5", "025", "NN", "023", "DTCS->"},
    {"D025I", "T65", "Cross", "88.5", "88.5", "025", "RN", "023", "DTCS->"},
    {"T65", "D754I", "Cross", "88.5", "88.5", "023", "NR", "754", "->DTCS"},
    {"100.0", "D754N", "Cross", "100.0", "88.5", "023", "NN", "754", "Tone->DTCS"},
    {"D025N", "123.0", "Cross", "88.5", "123.0", "025", "NN", "023", "DTCS->Tone"},
    {"T65", "123.0", "Cross", "88.5", "123.0", "023", "NN", "023", "->Tone"},
    {"D025I", "D754I", "Cross", "88.5", "88.5", "025", "RR", "754", "DTCS->DTCS"},
};

TEST(ChirpTable, EveryToneModeExportsAndImportsBack) {
    for (const ToneCase& t : kToneCases) {
        SCOPED_TRACE(std::string(t.encode) + " / " + t.decode);
        ChannelFixture f(testing::kRowMobile128);
        ASSERT_EQ(f.store.setText("150", 0, 0, F::Receive), StoreResult::Ok);
        f.store.setText(t.encode, 0, 0, F::Encode);
        f.store.setText(t.decode, 0, 0, F::Decode);
        const auto rows = exportChirpRows(f.store);
        ASSERT_EQ(rows.size(), 1u);
        const TextRow& r = rows[0];
        EXPECT_EQ(r[col("Tone")], t.tone);
        EXPECT_EQ(r[col("rToneFreq")], t.rTone);
        EXPECT_EQ(r[col("cToneFreq")], t.cTone);
        EXPECT_EQ(r[col("DtcsCode")], t.code);
        EXPECT_EQ(r[col("DtcsPolarity")], t.polarity);
        EXPECT_EQ(r[col("RxDtcsCode")], t.rxCode);
        EXPECT_EQ(r[col("CrossMode")], t.cross);

        ChannelFixture g(testing::kRowMobile128);
        const auto report = importChirpRows(g.store, chirpHeader(), {{2, r}}, 0);
        for (const auto& e : report.errors)
            ADD_FAILURE() << e.format();
        EXPECT_EQ(g.store.getText(F::Encode, 0, 0), t.encode);
        EXPECT_EQ(g.store.getText(F::Decode, 0, 0), t.decode);
    }
}

TEST(ChirpTable, DuplexCasesBothWays) {
    struct Case {
        const char* receive;
        const char* transmit;
        const char* duplex;
        const char* offset;
    } cases[] = {
        {"150", "150", "", "0.000000"},
        {"150", "150.6", "+", "0.600000"},
        {"160.0125", "155.5125", "-", "4.500000"},
        {"150", "", "off", "0.000000"},
        {"150", "200", "split", "200.000000"}, // transmit outside the model's band
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.transmit);
        ChannelFixture f(testing::kRowMobile128);
        f.store.setText(c.receive, 0, 0, F::Receive);
        f.store.setText(c.transmit, 0, 0, F::Transmit);
        const auto rows = exportChirpRows(f.store);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0][col("Duplex")], c.duplex);
        EXPECT_EQ(rows[0][col("Offset")], c.offset);

        ChannelFixture g(testing::kRowMobile128);
        const auto report = importChirpRows(g.store, chirpHeader(), {{2, rows[0]}}, 0);
        ASSERT_TRUE(report.ok()) << report.errors[0].format();
        EXPECT_EQ(g.store.getText(F::Transmit, 0, 0), f.store.getText(F::Transmit, 0, 0));
    }
}

TEST(ChirpTable, ModeStepSkipPowerNameAndComment) {
    ChannelFixture f(testing::kRowMobile128, 0, 3);
    f.store.setText("150.00625", 1, 4, F::Receive);
    f.store.setText("repeat", 1, 4, F::Name);
    f.store.setChoice(F::Width, 1, 4, 1);
    f.store.setChoice(F::ScanAdd, 1, 4, 1);
    f.store.setChoice(F::TxPower, 1, 4, 1);
    ASSERT_TRUE(f.store.setGroupName("abc", 1));
    const auto rows = exportChirpRows(f.store);
    ASSERT_EQ(rows.size(), 1u);
    const TextRow& r = rows[0];
    EXPECT_EQ(r[col("Location")], "1");
    EXPECT_EQ(r[col("Name")], "REPEA"); // eight characters less the group name's three
    EXPECT_EQ(r[col("Frequency")], "150.006250");
    EXPECT_EQ(r[col("Mode")], "NFM");
    EXPECT_EQ(r[col("TStep")], "6.25");
    EXPECT_EQ(r[col("Skip")], "S");
    EXPECT_EQ(r[col("Power")], "T186");
    EXPECT_EQ(r[col("Comment")], "G2 C5 ABC");
}

TEST(ChirpTable, RowsAppendFromTheFirstFreeChannelInFileOrder) {
    ChannelFixture f(testing::kRowMobile128);
    f.store.setText("150", 1, 0, F::Receive);
    f.store.setText("150", 1, 2, F::Receive);
    const TextRow header{"Location", "Frequency", "Name", "Power"}; // fewer columns, any order
    const auto report = importChirpRows(f.store, header,
                                        {{2, {"9", "151", "a", "t186"}},
                                         {3, {"1", "152", "b", "T185"}},
                                         {4, {"5", "153", "c", "T185"}}},
                                        1);
    ASSERT_TRUE(report.ok()) << report.errors[0].format();
    EXPECT_EQ(report.created, 3);
    EXPECT_EQ(f.store.getText(F::Receive, 1, 1), "151.00000");
    EXPECT_EQ(f.store.getText(F::TxPower, 1, 1), "T186"); // power names match in any case
    EXPECT_EQ(f.store.getText(F::Receive, 1, 3), "152.00000");
    EXPECT_EQ(f.store.getText(F::Receive, 1, 4), "153.00000");
    EXPECT_EQ(f.store.getText(F::Transmit, 1, 4), "153.00000"); // no Duplex column: simplex
}

TEST(ChirpTable, WhatTheRadioCannotHoldIsRefusedByLineAndColumn) {
    struct Bad {
        std::pair<std::string_view, std::string> cell;
        const char* message;
    } cases[] = {
        {{"Mode", "AM"},
         "line 2, column 13 (Mode): \"AM\" is not a mode the radio can hold (FM or NFM)"},
        {{"Mode", "DV"},
         "line 2, column 13 (Mode): \"DV\" is not a mode the radio can hold (FM or NFM)"},
        {{"Tone", "DTCS-R"},
         "line 2, column 6 (Tone): \"DTCS-R\" is not a tone mode the radio can hold"},
        {{"Frequency", "abc"}, "line 2, column 3 (Frequency): \"abc\" is not a frequency in MHz"},
        {{"Duplex", "x"},
         "line 2, column 4 (Duplex): \"x\" is not one of \"\", \"+\", \"-\", \"split\", \"off\""},
        {{"Skip", "X"}, "line 2, column 15 (Skip): \"X\" is not one of \"\", \"S\", \"P\""},
        {{"Power", "max"},
         "line 2, column 16 (Power): \"max\" is not one of \"T185\", \"T186\", High, Low or watts"},
    };
    for (const Bad& b : cases) {
        SCOPED_TRACE(b.message);
        ChannelFixture f(testing::kRowMobile128);
        const auto report = importChirpRows(f.store, chirpHeader(), {{2, chirpRow({b.cell})}}, 0);
        ASSERT_EQ(report.errors.size(), 1u);
        EXPECT_EQ(report.errors[0].format(), b.message);
    }
    // Tone values of each mode are checked in the column that mode reads.
    struct ToneBad {
        std::initializer_list<std::pair<std::string_view, std::string>> cells;
        const char* column;
    } tones[] = {
        {{{"Tone", "Tone"}, {"rToneFreq", "300.0"}}, "7 (rToneFreq)"},
        {{{"Tone", "TSQL"}, {"cToneFreq", "x"}}, "8 (cToneFreq)"},
        {{{"Tone", "DTCS"}, {"DtcsCode", "089"}}, "9 (DtcsCode)"},
        {{{"Tone", "DTCS"}, {"DtcsPolarity", "NX"}}, "10 (DtcsPolarity)"},
        {{{"Tone", "Cross"}, {"CrossMode", "->DTCS"}, {"RxDtcsCode", "8"}}, "11 (RxDtcsCode)"},
        {{{"Tone", "Cross"}, {"CrossMode", "Tone->"}}, "12 (CrossMode)"},
    };
    for (const ToneBad& t : tones) {
        SCOPED_TRACE(t.column);
        ChannelFixture f(testing::kRowMobile128);
        const auto report = importChirpRows(f.store, chirpHeader(), {{2, chirpRow(t.cells)}}, 0);
        ASSERT_EQ(report.errors.size(), 1u);
        EXPECT_EQ(report.errors[0].column, t.column);
    }
}

TEST(ChirpTable, MoreRowsThanFreeChannelsAreRefusedByLine) {
    ChannelFixture f(testing::kRowMobile8);
    std::vector<TableRow> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back({i + 2, chirpRow({})});
    const auto report = importChirpRows(f.store, chirpHeader(), rows, 0);
    ASSERT_EQ(report.errors.size(), 1u);
    EXPECT_EQ(report.errors[0].format(),
              "line 10: only 8 of the 10 rows fit: the radio holds 8 channels and 0 are in use");
}

TEST(ChirpTable, ExportImportExportIsStable) {
    ChannelFixture src(testing::kRowMobile128);
    const char* tones[] = {"T65", "100.0", "D025N", "D754I", "123.0"};
    for (int c = 0; c < 25; ++c) {
        src.store.setText(std::to_string(148 + c % 26) + ".0125", 0, c, F::Receive);
        if (c % 3) src.store.setText(std::to_string(150 + c % 5) + ".5", 0, c, F::Transmit);
        src.store.setText(tones[c % 5], 0, c, F::Encode);
        src.store.setText(tones[(c / 5) % 5], 0, c, F::Decode);
        src.store.setText("N" + std::to_string(c), 0, c, F::Name);
        src.store.setChoice(F::Width, 0, c, c % 2);
        src.store.setChoice(F::TxPower, 0, c, (c / 2) % 2);
        src.store.setChoice(F::ScanAdd, 0, c, (c / 4) % 2);
    }
    const auto first = exportChirpRows(src.store);
    std::vector<TableRow> rows;
    for (size_t i = 0; i < first.size(); ++i)
        rows.push_back({static_cast<int>(i) + 2, first[i]});
    ChannelFixture dst(testing::kRowMobile128);
    const auto report = importChirpRows(dst.store, chirpHeader(), rows, 0);
    for (const auto& e : report.errors)
        ADD_FAILURE() << e.format();
    EXPECT_EQ(exportChirpRows(dst.store), first);
}

// Files shaped as older CHIRP versions and hand edits write them.
TEST(ChirpTable, RealWorldFileShapesImportAsChirpReadsThem) {
    struct Channel {
        int group, channel;
        const char *receive, *transmit, *decode, *encode;
        int width, scan; // choice indices
    };
    struct Sample {
        const char* name;
        const char* csv;
        std::vector<Channel> channels;
        int outOfBand;
        const char* warning; // first warning, or empty
    } samples[] = {
        {"17 columns, a trailing empty field",
         "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
         "Mode,TStep,Skip,Comment,URCALL,RPT1CALL,RPT2CALL\r\n"
         "1,WX,162.4,off,0,,88.5,88.5,023,NN,FM,5,,,,,,\r\n"
         "2,B,151.820000,,0.600000,DTCS,88.5,88.5,23,NR,NFM,5.00,S,,,,,\r\n"
         "3,C,150.5,,0,Cross,100.0,123.0,023,NN,FM,5.00,P,,,,,\r\n",
         {{0, 0, "162.40000", "", "T65", "T65", 0, 0},
          {0, 1, "151.82000", "151.82000", "D023I", "D023N", 1, 1},
          {0, 2, "150.50000", "150.50000", "123.0", "100.0", 0, 0}},
         0,
         ""},
    };
    for (const Sample& s : samples) {
        SCOPED_TRACE(s.name);
        ChannelFixture f(testing::kRowMobile128);
        const auto report = importChannelCsv(f.store, readChannelCsv(s.csv), 0);
        for (const auto& e : report.errors)
            ADD_FAILURE() << e.format();
        EXPECT_EQ(f.store.channelsInUse(), static_cast<int>(s.channels.size()));
        for (const Channel& c : s.channels) {
            SCOPED_TRACE(c.receive);
            EXPECT_EQ(f.store.getText(F::Receive, c.group, c.channel), c.receive);
            EXPECT_EQ(f.store.getText(F::Transmit, c.group, c.channel), c.transmit);
            EXPECT_EQ(f.store.getText(F::Decode, c.group, c.channel), c.decode);
            EXPECT_EQ(f.store.getText(F::Encode, c.group, c.channel), c.encode);
            EXPECT_EQ(f.store.choiceIndex(F::Width, c.group, c.channel), c.width);
            EXPECT_EQ(f.store.choiceIndex(F::ScanAdd, c.group, c.channel), c.scan);
        }
        EXPECT_EQ(rowsOutOfBand(report), s.outOfBand);
        EXPECT_EQ(report.warnings.empty() ? "" : report.warnings[0].format(), s.warning);
    }
    // Fields after the header's columns must be empty.
    ChannelFixture f(testing::kRowMobile128);
    const auto report =
        importChannelCsv(f.store, readChannelCsv("Location,Frequency\n1,150,,\n2,151,,x\n"), 0);
    ASSERT_EQ(report.errors.size(), 1u);
    EXPECT_EQ(report.errors[0].format(),
              "line 3, column 4: the header names 2 columns; a field after them must be empty");
}

TEST(ChirpTable, RowsFillGroupsInTurnUntilTheModelRunsOut) {
    struct Case {
        int first, last, rows;
        std::pair<int, int> lastPlace; // of the last row when all fit
        const char* refusal;
    } cases[] = {
        {0, -1, 20, {1, 3}, ""},
        {2, -1, 3, {4, 0}, ""}, // groups 3 on hold one channel each
        {1, 1, 20, {}, "line 18: only 16 of the 20 rows fit: that many channel numbers are free in group 2"},
        {2, 4, 5, {}, "line 5: only 3 of the 5 rows fit: that many channel numbers are free in groups 3 to 5"},
        {0, -1, 40, {}, "line 40: only 38 of the 40 rows fit: the radio holds 38 channels and 0 are in use"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows);
        ChannelFixture f(testing::kRowMobile8, 2); // groups 1-2 trunking (16 channels), 3-8 one
        std::vector<TableRow> rows;
        for (int i = 0; i < c.rows; ++i)
            rows.push_back({i + 2, chirpRow({{"Frequency", std::to_string(150 + i)}})});
        const auto report = importChirpRows(f.store, chirpHeader(), rows, ChirpTarget{c.first, c.last});
        if (*c.refusal) {
            ASSERT_EQ(report.errors.size(), 1u);
            EXPECT_EQ(report.errors[0].format(), c.refusal);
            continue;
        }
        ASSERT_TRUE(report.ok()) << report.errors[0].format();
        EXPECT_EQ(f.store.channelsInUse(), c.rows);
        EXPECT_EQ(f.store.getText(F::Receive, c.lastPlace.first, c.lastPlace.second),
                  std::to_string(150 + c.rows - 1) + ".00000");
    }
}

TEST(ChirpTable, ExportOfSeveralGroupsComesBackToItsPlaces) {
    ChannelFixture src(testing::kRowMobile128, 0, 3);
    const std::tuple<int, int, const char*> places[] = {{0, 0, "AB"}, {1, 0, ""}, {4, 6, "XYZ"}};
    for (auto [g, c, group] : places) {
        src.store.setText("151", g, c, F::Receive);
        if (*group) src.store.setGroupName(group, g);
    }
    const auto first = exportChirpRows(src.store);
    std::vector<TableRow> rows;
    for (size_t i = 0; i < first.size(); ++i)
        rows.push_back({static_cast<int>(i) + 2, first[i]});
    ChannelFixture dst(testing::kRowMobile128, 0, 3);
    ASSERT_TRUE(chirpRowsCarryPlaces(dst.store, chirpHeader(), rows));
    const auto report = importChirpRows(dst.store, chirpHeader(), rows, ChirpTarget{0, -1, true});
    ASSERT_TRUE(report.ok()) << report.errors[0].format();
    EXPECT_EQ(exportChirpRows(dst.store), first);
    // Into data that have those places taken, the rows fill from the first group.
    EXPECT_FALSE(chirpRowsCarryPlaces(src.store, chirpHeader(), rows));
    ASSERT_TRUE(importChirpRows(src.store, chirpHeader(), rows, ChirpTarget{0, -1, true}).ok());
    EXPECT_TRUE(src.store.exists(0, 3));
}

} // namespace
} // namespace vrl
