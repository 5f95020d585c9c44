#include "features/field_table.h"
#include "features/trunking.h"
#include "model/new_data.h"

#include <gtest/gtest.h>

using namespace vrl;

namespace {

constexpr int kMobile8 = 0;     // RM-140A[8CH]:K
constexpr int kMobile128 = 4;   // RM-160A[128CH]:K
constexpr int kPortable8 = 15;  // RP-110A[8CH]:K
constexpr int kPortable16 = 23; // RP-150A[16CH]:M
constexpr int kPortable32 = 25; // RP-130A[32CH]:K
constexpr int kPortable128 = 19; // RP-120A[128CH]:K

// New data of a model row with the trunking board.
struct Doc {
    RadioData data;
    FieldContext ctx{data, [](int i) { return "T" + std::to_string(i); }};
    explicit Doc(int row = kMobile128) {
        newDataFor(data, identityOfChoice(ModelChoice{row, 0, OptionBoard::Trunking, 1}));
        data.model.refresh();
    }
    Field field(std::string_view key) {
        auto f = findField(ctx, key);
        if (!f) ADD_FAILURE() << "no field " << key;
        return f.value_or(Field{});
    }
    FieldAssignResult set(std::string_view key, std::string_view value) {
        return assignField(field(key), ctx, value);
    }
    std::string bytes(size_t offset, size_t length) { return data.image.readAscii(offset, length); }
    void put(size_t offset, std::string_view text) { data.image.writeAscii(offset, text); }
};

} // namespace

TEST(TrunkingFields, TypedTextIsStoredInItsCharacterForm) {
    struct Case {
        const char* key;
        const char* typed;
        size_t offset;
        const char* stored;
        const char* shown;
    };
    const Case cases[] = {
        {"trunking.primary_code", "1234", 0x8019, "01020304", "1234"},
        {"trunking.primary_code", "", 0x8019, "00000000", "0000"},
        {"trunking.secondary_code", "9087", 0x8021, "09000807", "9087"},
        {"trunking.system_tone", "7", 0x800B, "06", "6"},
        {"trunking.system_tone", "", 0x800B, "03", "3"},
        {"trunking.system_tone", "2", 0x800B, "02", "2"},
        {"trunking.trunking_system_id_number", "20", 0x8033, "14", "20"},
        {"trunking.trunking_system_id_number", "45", 0x8033, "1F", "31"},
        {"trunking.trunking_system_id_number", "", 0x8033, "00", "0"},
        {"trunking.lower_block_decode", "0100", 0x8029, "00010000", "0100"},
        {"trunking.lower_block_decode", "", 0x8029, "00000000", "0000"},
        {"trunking.code.3", "12AB", 0x8065 + 12, "12AB", "12AB"},
        {"trunking.code.3", "", 0x8065 + 12, "000F", ""},
        {"trunking.speed_dial.0", "555", 0x80A9, "FFFFFFFFFFFFF555", "555"},
        {"trunking.speed_dial.D", "0123456789012345", 0x80A9 + 13 * 16, "0123456789012345",
         "0123456789012345"},
        {"trunking.access_code", "12345", 0x8048, "1020304050", "12345"},
    };
    for (const Case& c : cases) {
        Doc doc;
        const auto r = doc.set(c.key, c.typed);
        const size_t length = std::string_view(c.stored).size();
        if (std::string_view(c.key).starts_with("trunking.code")) {
            // Only digits may be typed into the code list; store the letters directly.
            TrunkingSettings(doc.data.image).setCodeEntry(3, c.typed);
        } else {
            ASSERT_TRUE(r.ok) << c.key << " " << r.error;
        }
        EXPECT_EQ(doc.bytes(c.offset, length), c.stored) << c.key << " <- '" << c.typed << "'";
        EXPECT_EQ(doc.field(c.key).text(doc.ctx), c.shown) << c.key;
    }
}

TEST(TrunkingFields, IncompleteFourDigitInputIsRefusedAndStoresNothing) {
    for (const char* key : {"trunking.primary_code", "trunking.secondary_code",
                            "trunking.lower_block_decode"}) {
        Doc doc;
        ASSERT_TRUE(doc.set(key, "4321").ok);
        const std::vector<uint8_t> before(doc.data.image.bytes().begin(), doc.data.image.bytes().end());
        doc.set(key, "12");
        EXPECT_TRUE(std::equal(before.begin(), before.end(), doc.data.image.bytes().begin())) << key;
        EXPECT_EQ(doc.field(key).text(doc.ctx), "4321") << key;
    }
}

TEST(TrunkingFields, StoredValuesOutOfRangeShowEmpty) {
    struct Case {
        const char* key;
        size_t offset;
        const char* stored;
    };
    for (const Case& c : {Case{"trunking.system_tone", 0x800B, "07"},
                          Case{"trunking.system_tone", 0x800B, "13"},
                          Case{"trunking.trunking_system_id_number", 0x8033, "20"},
                          Case{"trunking.trunking_system_id_number", 0x8033, "1g"},
                          Case{"trunking.primary_code", 0x8019, "0102030F"},
                          Case{"trunking.lower_block_decode", 0x8029, "0F000000"},
                          Case{"trunking.code.0", 0x8065, "FFFF"},
                          Case{"trunking.access_code", 0x8048, "1020304F"}}) {
        Doc doc;
        doc.put(c.offset, c.stored);
        EXPECT_EQ(doc.field(c.key).text(doc.ctx), "") << c.key << " = " << c.stored;
    }
}

TEST(TrunkingFields, SpinsWrapAtBothEnds) {
    struct Case {
        const char* key;
        const char* start;
        int delta;
        const char* shown;
    };
    for (const Case& c : {Case{"trunking.system_tone", "6", +1, "0"},
                          Case{"trunking.system_tone", "0", -1, "6"},
                          Case{"trunking.trunking_system_id_number", "31", +1, "0"},
                          Case{"trunking.trunking_system_id_number", "0", -1, "31"},
                          Case{"trunking.lower_block_decode", "9999", +1, "0000"},
                          Case{"trunking.lower_block_decode", "0000", -1, "9999"}}) {
        Doc doc;
        ASSERT_TRUE(doc.set(c.key, c.start).ok);
        Field f = doc.field(c.key);
        f.setStep(doc.ctx, f.stepIndex(doc.ctx) + c.delta);
        EXPECT_EQ(f.text(doc.ctx), c.shown) << c.key << " from " << c.start;
    }
}

TEST(TrunkingFields, UpperBlockStaysWithinNineteenAboveTheLowerBlock) {
    struct Case {
        const char* lower;
        const char* typedUpper; // nullptr: a spin step instead
        int step;
        const char* shown;
    };
    for (const Case& c : {Case{"0100", "0150", 0, "0119"}, Case{"0100", "0050", 0, "0100"},
                          Case{"0100", "0107", 0, "0107"}, Case{"0100", "", 0, "0100"},
                          Case{"0100", nullptr, -1, "0119"}, Case{"0100", nullptr, +1, "0101"},
                          Case{"9990", nullptr, -1, "9990"}}) {
        Doc doc;
        ASSERT_TRUE(doc.set("trunking.lower_block_decode", c.lower).ok);
        EXPECT_EQ(doc.field("trunking.upper_block_decode").text(doc.ctx), c.lower)
            << "setting the lower block sets the upper block";
        if (c.typedUpper) {
            doc.set("trunking.upper_block_decode", c.typedUpper);
        } else {
            Field f = doc.field("trunking.upper_block_decode");
            f.setStep(doc.ctx, f.stepIndex(doc.ctx) + c.step);
        }
        EXPECT_EQ(doc.field("trunking.upper_block_decode").text(doc.ctx), c.shown)
            << c.lower << " / " << (c.typedUpper ? c.typedUpper : "step");
    }
}

TEST(TrunkingFields, UpperBlockShorterInputKeepsTheCurrentValue) {
    Doc doc;
    doc.set("trunking.lower_block_decode", "0100");
    doc.set("trunking.upper_block_decode", "0105");
    doc.set("trunking.upper_block_decode", "12");
    EXPECT_EQ(doc.bytes(0x8059, 8), "00010005");
}

TEST(TrunkingFields, UpperSpinAboveNineThousandNineHundredNinetyNineKeepsTheValue) {
    Doc doc;
    doc.set("trunking.lower_block_decode", "9990");
    doc.set("trunking.upper_block_decode", "9999");
    Field f = doc.field("trunking.upper_block_decode");
    f.setStep(doc.ctx, f.stepIndex(doc.ctx) + 1); // 9990 + 10
    EXPECT_EQ(doc.bytes(0x8059, 8), "09090909");
}

TEST(TrunkingFields, CombosAndChecksStoreTheirCharacters) {
    Doc doc;
    doc.set("trunking.busy_channel_detect", "#0");
    EXPECT_EQ(doc.bytes(0x8010, 1), "1");
    doc.set("trunking.busy_channel_detect", "T445");
    EXPECT_EQ(doc.bytes(0x8010, 1), "0");
    doc.set("trunking.radio_kill", "#0");
    EXPECT_EQ(doc.bytes(0x8044, 1), "0");
    doc.set("trunking.radio_kill", "#1");
    EXPECT_EQ(doc.bytes(0x8044, 1), "1");
    struct Check {
        const char* key;
        size_t offset;
    };
    for (const Check& c : {Check{"trunking.priority_subscriber", 0x8038},
                           Check{"trunking.automatic_ptt_mode", 0x8018},
                           Check{"trunking.emergency_call_override", 0x803C},
                           Check{"trunking.clear_channel_alerting_mode", 0x8040},
                           Check{"trunking.memory_speed_dialing_programming", 0x8054}}) {
        ASSERT_TRUE(doc.set(c.key, "on").ok) << c.key;
        EXPECT_EQ(doc.bytes(c.offset, 1), "1") << c.key;
        doc.set(c.key, "off");
        EXPECT_EQ(doc.bytes(c.offset, 1), "0") << c.key;
        doc.put(c.offset, "2");
        EXPECT_EQ(doc.field(c.key).value(doc.ctx), 0) << "only '1' is on: " << c.key;
    }
}

TEST(TrunkingFields, CodeListOfOneToThreeCharactersIsLeftAlone) {
    Doc doc;
    doc.set("trunking.code.0", "1234");
    doc.set("trunking.code.0", "56");
    EXPECT_EQ(doc.bytes(0x8065, 4), "1234");
}

TEST(TrunkingFields, SpeedDialBlanksBecomeF) {
    Doc doc;
    TrunkingSettings(doc.data.image).setSpeedDial(2, "12 34");
    EXPECT_EQ(doc.bytes(0x80A9 + 32, 16), "FFFFFFFFFFF12F34");
    EXPECT_EQ(doc.field("trunking.speed_dial.2").text(doc.ctx), "1234");
}

TEST(TrunkingFields, AccessCodeTakesExactlyFiveDigits) {
    Doc doc;
    doc.set("trunking.access_code", "12345");
    EXPECT_FALSE(doc.set("trunking.access_code", "123a5").ok);
    doc.set("trunking.access_code", "1234");
    EXPECT_EQ(doc.field("trunking.access_code").text(doc.ctx), "12345");
    EXPECT_EQ(doc.bytes(0x8047, 1), "0") << "the fillers between the digits are untouched";
}

TEST(TrunkingFields, ModelDecidesRowsAndAvailability) {
    struct Case {
        int row;
        int codes;
        bool speedDials;
        bool speedDialProgramming;
    };
    for (const Case& c : {Case{kMobile8, 1, true, true}, Case{kMobile128, 16, true, true},
                          Case{kPortable8, 1, false, false}, Case{kPortable16, 1, false, false},
                          Case{kPortable32, 16, false, true}, Case{kPortable128, 16, true, true}}) {
        Doc doc(c.row);
        EXPECT_TRUE(findField(doc.ctx, "trunking.code." + std::to_string(c.codes - 1))) << c.row;
        EXPECT_FALSE(findField(doc.ctx, "trunking.code." + std::to_string(c.codes))) << c.row;
        EXPECT_EQ(doc.field("trunking.speed_dial.A").isShown(doc.ctx), c.speedDials) << c.row;
        EXPECT_EQ(doc.field("trunking.memory_speed_dialing_programming").isEnabled(doc.ctx),
                  c.speedDialProgramming)
            << c.row;
    }
}

TEST(TrunkingFields, AreaIsOfferedOnlyWithTheTrunkingBoard) {
    RadioData data;
    newDataFor(data, identityOfChoice(ModelChoice{kMobile128, 0, OptionBoard::None, 1}));
    data.model.refresh();
    FieldContext ctx{data, {}};
    EXPECT_FALSE(findField(ctx, "trunking.primary_code"));
    Doc doc;
    EXPECT_TRUE(findField(doc.ctx, "trunking.primary_code"));
}
