// The scan, emergency and operator selectable tone areas through the field table,
// as `vrl73m-cli set` and the windows use it: bytes stored, clamps, wraps,
// defaults, and which models offer and enable what.
#include "features/emergency_settings.h"
#include "features/field_table.h"
#include "features/scan_settings.h"
#include "model/model_table.h"
#include "model/new_data.h"

#include <gtest/gtest.h>

using namespace vrl;

namespace {

constexpr int kMobile8K = 0, kMobile8M = 3, kMobile128K = 4, kMobile128M = 5;
constexpr int kPortable128K = 19, kPortable16M = 23, kPortable32K = 25;

// New data of a model row, with language texts "T<index>".
struct Doc {
    RadioData data;
    FieldContext ctx{data, [](int i) { return "T" + std::to_string(i); }};
    explicit Doc(int row, OptionBoard board = OptionBoard::None) {
        newDataFor(data, identityOfChoice(ModelChoice{row, 0, board, 1}));
        data.model.refresh();
    }
    CDataImage& image() { return data.image; }
    Field field(const std::string& key) { return findField(ctx, key).value_or(Field{}); }
    // The shown text after the assignment, or "refused: why".
    std::string set(const std::string& key, const std::string& value) {
        const auto f = findField(ctx, key);
        if (!f) return "refused: no field";
        const FieldAssignResult r = assignField(*f, ctx, value);
        return r.ok ? r.text : "refused: " + r.error;
    }
};

} // namespace

TEST(ScanSettings, TypedValuesStoreTheirWords) {
    const struct {
        const char* key;
        const char* value;
        const char* shown;
        size_t offset;
        int word;
    } cases[] = {
        {"scan.look_back_time_a_sec", "1,23", "1.20", 0x21, 1200},
        {"scan.look_back_time_a_sec", "12", "5.00", 0x21, 5000},
        {"scan.look_back_time_a_sec", "0.1", "0.50", 0x21, 500},
        {"scan.look_back_time_a_sec", "12.5", "0.50", 0x21, 500}, // point too late: stays
        {"scan.look_back_time_b_sec", "", "2.00", 0x23, 2000},
        {"scan.look_back_time_b_sec", "2.47", "2.45", 0x23, 2450},
        {"scan.dropout_delay_time_sec", "", "3", 0x25, 3},
        {"scan.dropout_delay_time_sec", "999", "300", 0x25, 300},
        {"scan.dwell_time_sec", "45", "45", 0x27, 45},
    };
    for (const auto& c : cases) {
        Doc doc(kMobile128K);
        doc.image().setU8(0x20, '0'); // a priority mode enables the look-back times
        EXPECT_EQ(doc.set(c.key, c.value), c.shown) << c.key << "=" << c.value;
        EXPECT_EQ(doc.image().u16(c.offset), c.word) << c.key << "=" << c.value;
    }
    Doc doc(kMobile128K);
    doc.image().setU8(0x20, '0');
    EXPECT_EQ(doc.set("scan.look_back_time_a_sec", "1,234"),
              "refused: at most 4 characters are accepted");
    ScanSettings(doc.image()).setTimeText(ScanSettings::LookBack::A, "1,234"); // pasted
    EXPECT_EQ(doc.image().u16(0x21), 1200);
}

TEST(ScanSettings, SpinsWrapAtBothEnds) {
    const struct {
        const char* key;
        size_t offset;
        int from, delta, after;
    } cases[] = {
        {"scan.look_back_time_b_sec", 0x23, 500, -1, 5000},
        {"scan.look_back_time_b_sec", 0x23, 5000, +1, 500},
        {"scan.look_back_time_a_sec", 0x21, 1230, +1, 1250}, // between steps: the next one
        {"scan.look_back_time_a_sec", 0x21, 9999, +1, 500},  // out of range: from the start
        {"scan.dropout_delay_time_sec", 0x25, 300, +1, 0},
        {"scan.dwell_time_sec", 0x27, 0, -1, 300},
    };
    for (const auto& c : cases) {
        Doc doc(kPortable32K);
        doc.image().setU8(0x20, '0');
        doc.image().setU16(c.offset, static_cast<uint16_t>(c.from));
        const Field f = doc.field(c.key);
        f.setStep(doc.ctx, f.stepIndex(doc.ctx) + c.delta);
        EXPECT_EQ(doc.image().u16(c.offset), c.after) << c.key << " from " << c.from;
    }
}

TEST(ScanSettings, PriorityThirdItemStoresOneWhateverTheTexts) {
    Doc doc(kMobile128K); // T367 (the item) and T373 (the stored '1') differ here
    const struct {
        const char* value;
        uint8_t stored;
        const char* shown;
    } cases[] = {{"#2", '1', "T367"}, {"T366", '0', "T366"}, {"#0", 0xFF, "T65"}};
    for (const auto& c : cases) {
        EXPECT_EQ(doc.set("scan.priority", c.value), c.shown) << c.value;
        EXPECT_EQ(doc.image().u8(0x20), c.stored) << c.value;
    }
}

TEST(ScanSettings, PriorityModeDecidesTheRevertChannels) {
    const struct {
        const char* priority;
        uint8_t revertBefore, revertAfter;
        std::vector<std::string> items;
    } cases[] = {
        {"#0", '4', '0', {"T371", "T372", "T373", "T374"}},
        {"#0", '3', '3', {"T371", "T372", "T373", "T374"}},
        {"#1", '5', '5', {"T371", "T372", "T373", "T374", "T375", "T376"}},
        {"#2", '3', '0', {"T371", "T372", "T375", "T376"}},
        {"#2", 0x41, 0x41, {"T371", "T372", "T375", "T376"}}, // outside the list: left alone
    };
    for (const auto& c : cases) {
        Doc doc(kMobile128K);
        doc.image().setU8(0x20, '0');
        doc.image().setU8(0x29, c.revertBefore);
        doc.set("scan.priority", c.priority);
        EXPECT_EQ(doc.image().u8(0x29), c.revertAfter) << c.priority << " " << c.revertBefore;
        EXPECT_EQ(doc.field("scan.revert_channel").choices(doc.ctx), c.items) << c.priority;
    }
    Doc doc(kMobile128K);
    doc.image().setU8(0x20, '1');
    EXPECT_EQ(doc.set("scan.revert_channel", "T376"), "T376");
    EXPECT_EQ(doc.image().u8(0x29), '5');
}

TEST(ScanSettings, AnyStoreResetsAnUnavailableRevertChannelViewingDoesNot) {
    // Priority '1' does not offer '2'/'3', none (0xFF) does not offer '4'/'5'.
    const struct {
        uint8_t priority, revert;
        const char *key, *value;
        uint8_t after;
    } cases[] = {
        {'1', '3', "scan.dwell_time_sec", "10", '0'},
        {'1', '2', "scan.look_back_time_a_sec", "12.5", '0'}, // the time stays, the reset holds
        {0xFF, '5', "scan.off_hook_scan", "on", '0'},
        {0xFF, '4', "scan.group_scan", "#1", '0'},
        {0xFF, '3', "scan.dwell_time_sec", "10", '3'}, // available: kept
    };
    for (const auto& c : cases) {
        Doc doc(kMobile128K);
        doc.image().setU8(0x20, c.priority);
        doc.image().setU8(0x29, c.revert);
        for (const Field& f : allFields(doc.ctx)) (void)f.shownText(doc.ctx);
        EXPECT_EQ(doc.image().u8(0x29), c.revert) << "viewing changes nothing";
        EXPECT_NE(doc.set(c.key, c.value).rfind("refused", 0), 0u) << c.key;
        EXPECT_EQ(doc.image().u8(0x29), c.after) << c.key;
    }
}

TEST(ScanSettings, OutOfRangeValuesShowEmptyAndStayWhenOthersAreSet) {
    Doc doc(kMobile128K);
    doc.image().setU8(0x20, 0x41);
    doc.image().setU16(0x21, 6000);
    doc.image().setU16(0x25, 301);
    for (const char* key :
         {"scan.priority", "scan.look_back_time_a_sec", "scan.dropout_delay_time_sec"})
        EXPECT_EQ(doc.field(key).shownText(doc.ctx), "") << key;
    EXPECT_EQ(doc.set("scan.dwell_time_sec", "10"), "10");
    EXPECT_EQ(doc.set("scan.group_scan", "T381"), "T381");
    EXPECT_EQ(doc.image().u8(0x2A), '1');
    EXPECT_EQ(doc.image().u8(0x20), 0x41);
    EXPECT_EQ(doc.image().u16(0x21), 6000);
    EXPECT_EQ(doc.image().u16(0x25), 301);
    doc.image().setU16(0x2D, 0x5AA5);
    EXPECT_EQ(doc.set("scan.off_hook_scan", "on"), "on"); // on is a clear bit 0
    EXPECT_EQ(doc.image().u16(0x2D), 0x5AA4);
}

TEST(SettingsAreas, WindowsAndEnableRulesPerModel) {
    const struct {
        int row;
        OptionBoard board;
        bool scan, emergency, tones, groupScan = false, offHook = false;
    } cases[] = {
        {kMobile128K, OptionBoard::None, true, false, true, true, true},
        {kMobile128M, OptionBoard::None, true, true, false, true, true},
        {kMobile8K, OptionBoard::None, false, false, false},
        {kMobile8M, OptionBoard::None, false, true, false},
        {kPortable128K, OptionBoard::None, true, false, true, true, false},
        {kPortable32K, OptionBoard::None, true, false, true, false, false},
        {kPortable32K, OptionBoard::Trunking, true, false, true, true, false},
        {kPortable16M, OptionBoard::None, false, false, false},
    };
    for (const auto& c : cases) {
        Doc doc(c.row, c.board);
        EXPECT_EQ(findField(doc.ctx, "scan.priority").has_value(), c.scan) << c.row;
        EXPECT_EQ(findField(doc.ctx, "emergency.emergency_code").has_value(), c.emergency) << c.row;
        EXPECT_EQ(findField(doc.ctx, "ost.16.tone_2").has_value(), c.tones) << c.row;
        if (!c.scan) continue;
        EXPECT_EQ(doc.field("scan.group_scan").isEnabled(doc.ctx), c.groupScan) << c.row;
        EXPECT_EQ(doc.field("scan.off_hook_scan").isEnabled(doc.ctx), c.offHook) << c.row;
    }
    Doc doc(kMobile128K);
    doc.image().setU8(0x20, 0xFF);
    EXPECT_EQ(doc.set("scan.look_back_time_b_sec", "1"),
              "refused: the field is disabled for this model and settings");
    doc.set("scan.priority", "#1");
    EXPECT_EQ(doc.set("scan.look_back_time_b_sec", "1"), "1.00");
}

TEST(EmergencySettings, CodesStoreNibblesAndDigitCount) {
    const struct {
        const char* key;
        size_t offset;
        const char* value;
        const char* shown;
        std::vector<int> bytes;
    } cases[] = {
        {"emergency.emergency_code", 0x7280, "12A#", "12A#", {0x21, 0xFA, 0xFF, 0xFF, 0xFF, 0x04}},
        {"emergency.emergency_ack_code", 0x7286, "d", "D", {0xFD, 0xFF, 0xFF, 0xFF, 0xFF, 0x01}},
        {"emergency.emergency_reset_code",
         0x728C,
         "1234567890",
         "1234567890",
         {0x21, 0x43, 0x65, 0x87, 0x09, 0x0A}},
        {"emergency.emergency_code", 0x7280, "", "", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"emergency.emergency_code",
         0x7280,
         "12E",
         "refused: the character 'E' is not accepted",
         {0, 0, 0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        Doc doc(kMobile128M);
        doc.image().fill(c.offset, 6, 0x00); // a previous code to be overwritten
        EXPECT_EQ(doc.set(c.key, c.value), c.shown) << c.key << "=" << c.value;
        std::vector<int> bytes;
        for (size_t i = 0; i < 6; ++i)
            bytes.push_back(doc.image().u8(c.offset + i));
        EXPECT_EQ(bytes, c.bytes) << c.key << "=" << c.value;
    }
    Doc doc(kMobile128M);
    doc.image().setU8(0x7285, 0x0B); // more digits than the record holds
    EXPECT_EQ(doc.field("emergency.emergency_code").shownText(doc.ctx), "");
}

TEST(EmergencySettings, LongCodeDoesNotOverwriteTheCountByte) {
    Doc doc(kMobile128M);
    EmergencySettings e(doc.image());
    EXPECT_EQ(e.setCodeText(EmergencySettings::Code::Emergency, "123456789012"), "1234567890");
    EXPECT_EQ(doc.image().u8(0x7285), 10);
    EXPECT_EQ(doc.image().u8(0x7286), 0xFF); // the ack code record is untouched
}

TEST(EmergencySettings, RecognitionChecksKeepTheOtherBits) {
    Doc doc(kMobile128M);
    doc.image().setU8(0x91, 0xA4);
    EXPECT_EQ(doc.set("emergency.emergency_mode_recognition", "on"), "on");
    EXPECT_EQ(doc.set("emergency.emergency_ack_recognition", "yes"), "on");
    EXPECT_EQ(doc.image().u8(0x91), 0xA7);
    EXPECT_EQ(doc.set("emergency.emergency_mode_recognition", "off"), "off");
    EXPECT_EQ(doc.image().u8(0x91), 0xA6);
}

TEST(OperatorSelTone, ToneWordsOfTheSixteenRecords) {
    const struct {
        const char* key;
        size_t offset;
        const char* value;
        const char* shown;
        uint16_t word;
    } cases[] = {
        {"ost.1.tone_1", 0x0700, "88,5", "88.5", 885},
        {"ost.16.tone_2", 0x07F2, "d023i", "D023I", 0xA813},
        {"ost.8.tone_2", 0x0772, "300", "250.3", 2503},
        {"ost.8.tone_2", 0x0772, "", "T65", 0xFFFF},
    };
    for (const auto& c : cases) {
        Doc doc(kPortable32K);
        doc.image().fill(0x0700, 0x100, 0x00);
        EXPECT_EQ(doc.set(c.key, c.value), c.shown) << c.key << "=" << c.value;
        EXPECT_EQ(doc.image().u16(c.offset), c.word) << c.key << "=" << c.value;
        int changed = 0; // only the cell's word changed
        for (size_t i = 0x0700; i < 0x0800; ++i)
            changed += doc.image().u8(i) != 0x00;
        EXPECT_LE(changed, 2) << c.key;
    }
}
