// Scan settings through the field table: byte placement, clamps, wraps, defaults,
// the revert-channel list that follows the priority mode, and the enable rules.
#include "features/scan_settings.h"
#include "field_test_support.h"

using namespace vrl;
using namespace vrl::field_test;

TEST(ScanSettings, TypedValuesStoreTheirBytes) {
    struct Case {
        const char* key;
        const char* value;
        const char* shown;
        size_t offset;
        int word; // the little-endian word at offset (a byte field: its low byte)
    };
    const Case cases[] = {
        {"scan.look_back_time_a_sec", "1,23", "1.20", 0x21, 1200},
        {"scan.look_back_time_a_sec", "12", "5.00", 0x21, 5000},
        {"scan.look_back_time_a_sec", "0.1", "0.50", 0x21, 500},
        {"scan.look_back_time_a_sec", "", "0.50", 0x21, 500},
        {"scan.look_back_time_b_sec", "", "2.00", 0x23, 2000},
        {"scan.look_back_time_b_sec", "2.47", "2.45", 0x23, 2450},
        {"scan.look_back_time_b_sec", "1.05", "1.05", 0x23, 1050},
        {"scan.dropout_delay_time_sec", "", "3", 0x25, 3},
        {"scan.dropout_delay_time_sec", "999", "300", 0x25, 300},
        {"scan.dwell_time_sec", "0", "0", 0x27, 0},
        {"scan.dwell_time_sec", "45", "45", 0x27, 45},
    };
    for (const Case& c : cases) {
        Doc doc(kMobile128K);
        doc.image().setU8(0x20, '0'); // a priority mode enables the look-back times
        EXPECT_EQ(doc.set(c.key, c.value), c.shown) << c.key << "=" << c.value;
        EXPECT_EQ(doc.image().u16(c.offset), c.word) << c.key << "=" << c.value;
    }
}

TEST(ScanSettings, LookBackWithPointAtThirdCharacterKeepsThePreviousValue) {
    Doc doc(kMobile128K);
    doc.image().setU8(0x20, '1');
    doc.image().setU16(0x21, 1500);
    EXPECT_EQ(doc.set("scan.look_back_time_a_sec", "12.5"), "1.50");
    EXPECT_EQ(doc.image().u16(0x21), 1500);
    EXPECT_EQ(doc.set("scan.look_back_time_a_sec", "1.2x"),
              "refused: the character 'x' is not accepted");
    EXPECT_EQ(doc.set("scan.look_back_time_a_sec", "1,234"),
              "refused: at most 4 characters are accepted");
    // Longer text than the edit takes (pasted): whole milliseconds, then hundredths cut.
    ScanSettings(doc.image()).setTimeText(ScanSettings::LookBack::A, "1,234");
    EXPECT_EQ(doc.image().u16(0x21), 1200);
}

TEST(ScanSettings, PriorityThirdItemStoresOneWhateverTheTexts) {
    // The texts of the items (T367) and of the stored '1' (T373) differ here.
    Doc doc(kMobile128K);
    const struct {
        const char* value;
        uint8_t stored;
        const char* shown;
    } cases[] = {
        {"#2", '1', "T367"}, {"T366", '0', "T366"}, {"#0", 0xFF, "T65"}, {"t367", '1', "T367"}};
    for (const auto& c : cases) {
        EXPECT_EQ(doc.set("scan.priority", c.value), c.shown) << c.value;
        EXPECT_EQ(doc.image().u8(0x20), c.stored) << c.value;
    }
}

TEST(ScanSettings, SpinsWrapAtBothEnds) {
    Doc doc(kPortable32K);
    doc.image().setU8(0x20, '0');
    const struct {
        const char* key;
        size_t offset;
        int from; // stored word before the step
        int delta;
        int after; // stored word after it
    } cases[] = {
        {"scan.look_back_time_b_sec", 0x23, 500, -1, 5000},
        {"scan.look_back_time_b_sec", 0x23, 5000, +1, 500},
        {"scan.look_back_time_a_sec", 0x21, 1230, +1, 1250}, // between two steps: the next one
        {"scan.look_back_time_a_sec", 0x21, 9999, +1, 500},  // out of range: from the start
        {"scan.dropout_delay_time_sec", 0x25, 300, +1, 0},
        {"scan.dwell_time_sec", 0x27, 0, -1, 300},
        {"scan.dwell_time_sec", 0x27, 7, +1, 8},
    };
    for (const auto& c : cases) {
        const Field f = doc.field(c.key);
        doc.image().setU16(c.offset, static_cast<uint16_t>(c.from));
        f.setStep(doc.ctx, f.stepIndex(doc.ctx) + c.delta);
        EXPECT_EQ(doc.image().u16(c.offset), c.after) << c.key << " from " << c.from;
    }
}

TEST(ScanSettings, RevertChannelListFollowsThePriorityMode) {
    Doc doc(kMobile128K);
    const struct {
        uint8_t priority;
        std::vector<std::string> items;
    } cases[] = {
        {0xFF, {"T371", "T372", "T373", "T374"}},
        {'0', {"T371", "T372", "T373", "T374", "T375", "T376"}},
        {'1', {"T371", "T372", "T375", "T376"}},
    };
    for (const auto& c : cases) {
        doc.image().setU8(0x20, c.priority);
        EXPECT_EQ(doc.field("scan.revert_channel").choices(doc.ctx), c.items) << int(c.priority);
    }
    doc.image().setU8(0x20, '1');
    EXPECT_EQ(doc.set("scan.revert_channel", "T376"), "T376");
    EXPECT_EQ(doc.image().u8(0x29), '5');
    EXPECT_EQ(doc.set("scan.revert_channel", "T373"), "refused: not one of the choices \"T371\", "
                                                      "\"T372\", \"T375\", \"T376\" (or #0..#3)");
}

TEST(ScanSettings, PriorityChangeResetsAnUnofferedRevertChannel) {
    const struct {
        const char* priority;
        uint8_t revertBefore;
        uint8_t revertAfter;
    } cases[] =
        {
            {"#2", '3', '0'}, {"#2", '2', '0'},   {"#2", '4', '4'},
            {"#0", '4', '0'}, {"#0", '5', '0'},   {"#0", '3', '3'},
            {"#1", '5', '5'}, {"#2", 0x41, 0x41}, // a byte outside the list is left alone
        };
    for (const auto& c : cases) {
        Doc doc(kMobile128K);
        doc.image().setU8(0x20, '0');
        doc.image().setU8(0x29, c.revertBefore);
        doc.set("scan.priority", c.priority);
        EXPECT_EQ(doc.image().u8(0x29), c.revertAfter) << c.priority << " " << c.revertBefore;
    }
}

TEST(ScanSettings, OutOfRangeValuesShowEmptyAndStayUntilEdited) {
    Doc doc(kMobile128K);
    doc.image().setU8(0x20, 0x41);
    doc.image().setU16(0x21, 6000);
    doc.image().setU16(0x25, 301);
    doc.image().setU8(0x2A, 0x00);
    for (const char* key : {"scan.priority", "scan.look_back_time_a_sec",
                            "scan.dropout_delay_time_sec", "scan.group_scan"})
        EXPECT_EQ(doc.shown(key), "") << key;
    EXPECT_EQ(doc.set("scan.dwell_time_sec", "10"), "10");
    EXPECT_EQ(doc.set("scan.revert_channel", "#1"), "T372");
    EXPECT_EQ(doc.image().u8(0x20), 0x41);
    EXPECT_EQ(doc.image().u16(0x21), 6000);
    EXPECT_EQ(doc.image().u16(0x25), 301);
    EXPECT_EQ(doc.image().u8(0x2A), 0x00);
}

TEST(ScanSettings, GroupScanAndOffHookScanStoreTheirBytes) {
    Doc doc(kMobile128K);
    EXPECT_EQ(doc.set("scan.group_scan", "T381"), "T381");
    EXPECT_EQ(doc.image().u8(0x2A), '1');
    EXPECT_EQ(doc.set("scan.group_scan", "#0"), "T380");
    EXPECT_EQ(doc.image().u8(0x2A), '0');
    doc.image().setU8(0x2D, 0xA5);
    doc.image().setU8(0x2E, 0x5A);
    EXPECT_EQ(doc.set("scan.off_hook_scan", "on"), "on"); // on is a clear bit 0
    EXPECT_EQ(doc.image().u8(0x2D), 0xA4);
    EXPECT_EQ(doc.set("scan.off_hook_scan", "off"), "off");
    EXPECT_EQ(doc.image().u8(0x2D), 0xA5);
    EXPECT_EQ(doc.image().u8(0x2E), 0x5A);
}

TEST(ScanSettings, EnableRulesPerModel) {
    const struct {
        int row;
        OptionBoard board;
        bool offered, groupScan, offHook;
    } cases[] = {
        {kMobile128K, OptionBoard::None, true, true, true},
        {kPortable128K, OptionBoard::None, true, true, false},
        {kPortable32K, OptionBoard::None, true, false, false},
        {kPortable32K, OptionBoard::Trunking, true, true, false},
        {kMobile8K, OptionBoard::None, false, false, false},
        {kPortable16M, OptionBoard::None, false, false, false},
    };
    for (const auto& c : cases) {
        Doc doc(c.row, c.board);
        const auto group = findField(doc.ctx, "scan.group_scan");
        ASSERT_EQ(group.has_value(), c.offered) << c.row;
        if (!c.offered) continue;
        EXPECT_EQ(group->isEnabled(doc.ctx), c.groupScan) << c.row;
        EXPECT_EQ(doc.field("scan.off_hook_scan").isEnabled(doc.ctx), c.offHook) << c.row;
    }
    Doc doc(kMobile128K);
    doc.image().setU8(0x20, 0xFF);
    EXPECT_FALSE(doc.field("scan.look_back_time_b_sec").isEnabled(doc.ctx));
    EXPECT_EQ(doc.set("scan.look_back_time_b_sec", "1"),
              "refused: the field is disabled for this model and settings");
    doc.set("scan.priority", "#1");
    EXPECT_TRUE(doc.field("scan.look_back_time_b_sec").isEnabled(doc.ctx));
}
