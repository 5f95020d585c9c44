// The optional features through their field table: what typed text, spin steps,
// check boxes and list choices store, which bits they leave alone, and which
// fields each model kind enables or shows.
#include "features/feature_settings.h"
#include "features/field_table.h"
#include "model/model_table.h"
#include "model/new_data.h"

#include <gtest/gtest.h>

using namespace vrl;

namespace {

// Model rows by kind.
constexpr int kM8K = 0;          // RM-140A[8CH]:K
constexpr int kM8E = 1;          // RM-140A[8CH]:E
constexpr int kKeyDetM8 = 3;     // RM-150A[8CH]:M
constexpr int kM128K = 4;        // RM-160A[128CH]:K
constexpr int kKeyDetM128 = 7;   // RM-150A[128CH]:C
constexpr int kP8K = 15;         // RP-110A[8CH]:K
constexpr int kP8E = 17;         // RP-110A[8CH]:E
constexpr int kP128K = 19;       // RP-120A[128CH]:K
constexpr int kBatteryP16 = 23;  // RP-150A[16CH]:M
constexpr int kP128C = 24;       // RP-150A[128CH]:C
constexpr int kP32K = 25;        // RP-130A[32CH]:K
constexpr int kBatteryP16U = 34; // RP-450A[16CH]:M

std::string words(int index) {
    switch (index) {
    case 65:
        return "None";
    case 69:
        return "Off";
    case 264:
        return "C";
    case 307:
        return "Single";
    case 308:
        return "Repeat";
    case 276:
        return "ACC Hook";
    case 277:
        return "DTC";
    case 292:
        return "Off";
    case 293:
        return "Type 1";
    case 294:
        return "Type 2";
    }
    return "T" + std::to_string(index);
}

struct Doc {
    RadioData data;
    FieldContext ctx{data, words};
    explicit Doc(int row, OptionBoard board = OptionBoard::None) {
        newDataFor(data, identityOfChoice(ModelChoice{row, 0, board, 1}));
        data.model.refresh();
    }
    CDataImage& image() { return data.image; }
    Field field(const std::string& key) {
        auto f = findField(ctx, "optional." + key);
        EXPECT_TRUE(f) << key;
        return f ? *f : Field{};
    }
    // Assigns as `set` does; returns the shown text, or "<refused>".
    std::string set(const std::string& key, const std::string& value) {
        const FieldAssignResult r = assignField(field(key), ctx, value);
        return r.ok ? r.text : "<refused>";
    }
    std::string shown(const std::string& key) { return field(key).shownText(ctx); }
    std::string step(const std::string& key, int delta) {
        const Field f = field(key);
        f.setStep(ctx, f.stepIndex(ctx) + delta);
        return f.shownText(ctx);
    }
    bool enabled(const std::string& key) { return field(key).isAvailable(ctx); }
    // A byte (size 1) or a little-endian word (size 2).
    int stored(size_t offset, int size) {
        return size == 2 ? image().u16(offset) : image().u8(offset);
    }
    void store(size_t offset, int size, int value) {
        if (size == 2)
            image().setU16(offset, static_cast<uint16_t>(value));
        else
            image().setU8(offset, static_cast<uint8_t>(value));
    }
};

// A number field: its key, where it is stored and how wide.
struct Place {
    const char* key;
    size_t offset;
    int size;
};
constexpr Place kGroupName{"group_name_text_length", 0x8D, 1};
constexpr Place kChannelName{"channel_name_text_length", 0x8D, 1};
constexpr Place kMinimumVolume{"minimum_volume", 0x8A, 1};
constexpr Place kToneVolume{"tone_volume", 0x8B, 1};
constexpr Place kTimer{"time_out_timer_tot_sec", 0x10, 2};
constexpr Place kPreAlert{"tot_pre_alert_sec", 0x16, 2};
constexpr Place kRekey{"tot_rekey_time_sec", 0x12, 2};
constexpr Place kReset{"tot_reset_time_sec", 0x14, 2};
constexpr Place kSquelch{"squelch_level", 0x1E, 1};

} // namespace

// ---- typed text and spin steps: clamps, defaults, wraps and special words -----

TEST(OptionalFeatures, TypedNumbersAreClampedDefaultedAndStored) {
    struct Case {
        int row;
        Place at;
        const char* typed;
        int stored;
        const char* shown;
    };
    const Case cases[] = {
        {kM128K, kGroupName, "3", 3, "3"},       {kM128K, kGroupName, "", 0, "None"},
        {kM128K, kGroupName, "9", 8, "8"}, // not 1..8: all eight places
        {kM128K, kChannelName, "0", 8, "None"},  {kM128K, kChannelName, "6", 2, "6"},
        {kM128K, kMinimumVolume, "", 8, "8"},    {kM128K, kMinimumVolume, "45", 31, "31"},
        {kM128K, kMinimumVolume, "0", 0, "Off"}, {kM128K, kToneVolume, "c", 0xFF, "C"},
        {kM128K, kToneVolume, "", 0xFF, "C"},    {kM128K, kToneVolume, "45", 31, "31"},
        {kM128K, kTimer, "100", 90, "90"},       {kM128K, kTimer, "14", 1200, "Off"},
        {kM128K, kTimer, "", 60, "60"},          {kM128K, kTimer, "9999", 600, "600"},
        {kM128K, kTimer, "off", 1200, "Off"},    {kP128K, kTimer, "9999", 300, "300"},
        {kP128K, kTimer, "0", 600, "Off"},       {kM128K, kPreAlert, "", 0, "Off"},
        {kM128K, kPreAlert, "12", 10, "10"},     {kM128K, kRekey, "99", 60, "60"},
        {kM128K, kReset, "20", 15, "15"},        {kM128K, kSquelch, "", 5, "5"},
    };
    for (const Case& c : cases) {
        Doc doc(c.row);
        doc.image().setU16(0x10, 60); // a running timer: the sub-fields take input
        const std::string what = std::string(c.at.key) + "=" + c.typed;
        EXPECT_EQ(doc.set(c.at.key, c.typed), c.shown) << what;
        EXPECT_EQ(doc.stored(c.at.offset, c.at.size), c.stored) << what;
    }
}

TEST(OptionalFeatures, SpinsWrapAtBothEnds) {
    struct Case {
        int row;
        Place at;
        int from;
        int delta;
        int stored;
        const char* shown;
    };
    const Case cases[] = {
        {kM128K, kToneVolume, 31, +1, 0xFF, "C"},
        {kM128K, kToneVolume, 0xFF, +1, 0, "0"},
        {kM128K, kToneVolume, 0xFF, -1, 31, "31"},
        {kM128K, kMinimumVolume, 0, -1, 31, "31"},
        {kM128K, kTimer, 600, +1, 1200, "Off"},
        {kM128K, kTimer, 1200, +1, 15, "15"},
        {kP128K, kTimer, 300, +1, 600, "Off"},
        {kP128K, kTimer, 600, -1, 300, "300"},
        {kM128K, kGroupName, 8, +1, 0, "None"},
        {kM128K, kChannelName, 0, +1, 8, "None"},
        {kM128K, kChannelName, 8, -1, 0, "8"},
        {kM128K, kSquelch, 0x40, +1, 0, "0"}, // out of range: starts again
    };
    for (const Case& c : cases) {
        Doc doc(c.row);
        doc.store(c.at.offset, c.at.size, c.from);
        const std::string what = std::string(c.at.key) + " from " + std::to_string(c.from);
        EXPECT_EQ(doc.step(c.at.key, c.delta), c.shown) << what;
        EXPECT_EQ(doc.stored(c.at.offset, c.at.size), c.stored) << what;
    }
}

TEST(OptionalFeatures, TextsAndPasswordsKeepTheirByteForms) {
    Doc doc(kM128K);
    EXPECT_EQ(doc.set("power_on_text", "hello"), "HELLO");
    EXPECT_EQ(doc.image().readAscii(0x94, 8), "HELLO   ");
    EXPECT_EQ(doc.set("power_on_text", "        "), "");
    for (size_t i = 0x94; i <= 0x9B; ++i)
        EXPECT_EQ(doc.image().u8(i), 0xFF) << i;

    EXPECT_EQ(doc.set("radio_password", "1234"), "1234");
    EXPECT_EQ(doc.image().readAscii(0xD4, 4), "1234");
    EXPECT_EQ(doc.image().u16(0xD8), 0xFFFF);

    const uint8_t identity = doc.image().u8(0xAE);
    EXPECT_EQ(doc.set("data_password", "5"), "5");
    EXPECT_EQ(doc.image().u16(0xDA), 0xFF00 | '5');
    EXPECT_EQ(doc.image().u8(0xAE), identity & ~0x40);
    EXPECT_EQ(doc.set("data_password", ""), "");
    EXPECT_EQ(doc.image().u8(0xDA), 0xFF);
    EXPECT_EQ(doc.image().u8(0xAE), identity | 0x40);
}

TEST(OptionalFeatures, EditsRefuseWhatTheyWouldNotTake) {
    Doc doc(kM128K);
    std::vector<uint8_t> before(doc.image().bytes().begin(), doc.image().bytes().end());
    for (const auto& [key, value] : std::vector<std::pair<const char*, const char*>>{
             {"power_on_text", "HELLO!"},    // not a display character
             {"power_on_text", "ABCDEFGHI"}, // nine characters
             {"radio_password", "12a"},
             {"group_name_text_length", "12"},
             {"tone_volume", "x"},
             {"pre_alert_tone", "on"}, // hidden on this model
         })
        EXPECT_EQ(doc.set(key, value), "<refused>") << key << "=" << value;
    EXPECT_TRUE(std::equal(before.begin(), before.end(), doc.image().bytes().begin()));
}

// ---- checks and lists: bits and bytes, the other bits kept ----------------------

TEST(OptionalFeatures, ChecksAndListsWriteTheirBitsOnly) {
    struct Case {
        int row;
        const char* key;
        const char* value;
        size_t offset; // the word at offset is compared
        uint16_t before;
        uint16_t after;
    };
    const Case cases[] = {
        {kM128K, "power_on_tone", "off", 0x84, 0x5AA5, 0x5AA4},
        {kM128K, "warning_tone", "on", 0x84, 0x0000, 0x0004},
        {kM8E, "speaker_muting_by_off_hook", "on", 0x2D, 0xFFFF, 0xFFDF},
        {kM128K, "clear_to_transpond", "on", 0x2D, 0x5A0F, 0x5A07},
        {kM128K, "key_lock", "#1", 0x2D, 0xFFFF, 0xFDFF},                // 0x2E bit 1
        {kM128K, "acc_hook_dtc", "DTC", 0x2D, 0x5AA5, 0x5AA5 & ~0x0400}, // 0x2E bit 2
        {kBatteryP16, "led_control", "2", 0x2D, 0xFFFF, 0xF7FF},         // 0x2E bit 3
        {kKeyDetM8, "key_detection", "Type 2", 0x2D, 0xFFFF, 0xEFFF},    // 0x2E bit 4
        {kKeyDetM8, "key_detection", "Off", 0x2D, 0x0000, 0x1000},
        {kM128K, "data_tx_with_st_cst", "on", 0x44, 0xFFFF, 0xFFF7},
        {kM128K, "display_character", "#1", 0x80, 0xFFFF, 0xFFFE},
        {kM128K, "off_hook_decode", "on", 0x80, 0xFFFF, 0xFFF7},
        {kM128K, "off_hook_horn_alert", "on", 0x80, 0xFFFF, 0xFFFB},
        {kM128K, "panel_tuning", "on", 0x82, 0x0001, 0x0003},
        {kM128K, "signalling", "#1", 0xFE, 0xFFFF, 0xFFFE},
        {kM128K, "busy_channel_lockout_tone", "on", 0x2F7, 0xFFFF, 0xFF00},
        {kBatteryP16, "pre_alert_tone", "on", 0xEA, 0xFFFF, 0x00FF}, // 0xEB
        {kBatteryP16, "mute_during_alert_tone", "on", 0xEA, 0x0000, 0x00FF},
        {kBatteryP16, "tx_inhibit_tone", "Repeat", 0xE9, 0xFFFF, 0xFF00},
        {kP8K, "battery_save", "on", 0x1F, 0xFFFF, 0xFF32},
        {kBatteryP16, "modify_mode", "on", 0x1EC, 0xFFFF, 0xFF33},
        {kM128K, "external_ptt", "#1", 0x2DA, 0xFFFF, 0x00FF}, // 0x2DB
    };
    for (const Case& c : cases) {
        Doc doc(c.row);
        // The neighbours some enable rules read: Control Tone and Pre Alert Tone on.
        doc.image().setU8(0x84, doc.image().u8(0x84) | 0x02);
        doc.image().setU8(0xEB, 0x00);
        doc.image().setU16(c.offset, c.before);
        const std::string what = std::string(c.key) + "=" + c.value;
        EXPECT_NE(doc.set(c.key, c.value), "<refused>") << what;
        EXPECT_EQ(doc.image().u16(c.offset), c.after) << what;
    }
    Doc doc(kKeyDetM8);
    doc.set("key_detection", "Type 2");
    EXPECT_EQ(doc.image().u8(0x1EC), 0x33);
    doc.set("key_detection", "Off");
    EXPECT_EQ(doc.image().u8(0x1EC), 0xFF);
}

// ---- values outside a field's range ----------------------------------------------

TEST(OptionalFeatures, StoredValueOutOfRangeShowsEmptyAndStaysUntilEdited) {
    struct Case {
        int row;
        Place at;
        int stored;
    };
    const Case cases[] = {
        {kM128K, kChannelName, 12},
        {kM128K, kToneVolume, 0x40},
        {kM128K, kTimer, 7777},
        {kP128K, kTimer, 1200},
        {kM128K, kPreAlert, 11},
        {kM128K, {"tx_inhibit_tone", 0xE9, 1}, 0x12},
        {kKeyDetM8, {"key_detection", 0x1EC, 1}, 0x12},
        {kM128K, {"radio_password", 0xD4, 1}, 'A'},
        {kM128K, {"power_on_text", 0x94, 1}, 0x01},
    };
    for (const Case& c : cases) {
        Doc doc(c.row);
        doc.store(c.at.offset, c.at.size, c.stored);
        EXPECT_EQ(doc.shown(c.at.key), "") << c.at.key;
        doc.set("warning_tone", "off"); // another field's change leaves it as it is
        doc.set("squelch_level", "3");
        EXPECT_EQ(doc.stored(c.at.offset, c.at.size), c.stored) << c.at.key;
    }
}

// ---- enable and show rules per model kind ------------------------------------------

TEST(OptionalFeatures, FieldsAreAvailableOnTheirModelsOnly) {
    struct Case {
        int row;
        OptionBoard board;
        const char* key;
        bool available;
    };
    const OptionBoard none = OptionBoard::None;
    const OptionBoard trunk = OptionBoard::Trunking;
    const Case cases[] = {
        {kM128K, none, "channel_name_text_length", true},
        {kP32K, trunk, "channel_name_text_length", true},
        {kP32K, none, "group_name_text_length", false},
        {kM8K, none, "channel_name_text_length", false},
        {kP32K, none, "display_character", true},
        {kBatteryP16, none, "power_on_text", false},
        {kM8K, none, "radio_password", false},
        {kP128K, none, "tone_volume", false},
        {kP8K, none, "battery_save", true},
        {kM8K, none, "battery_save", false},
        {kP8K, none, "off_hook_decode", false},
        {kM8E, none, "speaker_muting_by_off_hook", true},
        {kKeyDetM8, none, "speaker_muting_by_off_hook", true}, // M market
        {kM8K, none, "speaker_muting_by_off_hook", false},
        {kP8E, none, "speaker_muting_by_off_hook", false},
        {kM8K, none, "data_tx_with_st_cst", true},
        {kM8E, none, "data_tx_with_st_cst", false},
        {kP8K, none, "external_ptt", false},
        {kP32K, none, "key_lock", false},
        {kP128K, none, "key_lock", true},
        {kBatteryP16, none, "modify_mode", true},
        {kM128K, none, "led_control", false},
        {kKeyDetM128, none, "key_detection", true},
        {kM8K, none, "key_detection", false},
        {kM8K, none, "clone", false},
        {kM128K, none, "self_programming", true},
        {kM128K, trunk, "self_programming", false},
        {kBatteryP16, none, "pre_alert_tone", true},
        {kBatteryP16U, none, "pre_alert_tone", true},
        {kP128C, none, "pre_alert_tone", false}, // hidden
    };
    for (const Case& c : cases) {
        Doc doc(c.row, c.board);
        EXPECT_EQ(doc.enabled(c.key), c.available)
            << c.key << " on " << modelTable()[static_cast<size_t>(c.row)].label;
    }
}

TEST(OptionalFeatures, FieldsFollowTheSettingsTheyDependOn) {
    struct Case {
        int row;
        const char* key;
        const char* value;
        const char* dependent;
        bool available;
    };
    const Case cases[] = {
        {kM128K, "time_out_timer_tot_sec", "60", "tot_pre_alert_sec", true},
        {kM128K, "time_out_timer_tot_sec", "0", "tot_rekey_time_sec", false},
        {kM128K, "control_tone", "off", "busy_channel_lockout_tone", false},
        {kM128K, "control_tone", "on", "busy_channel_lockout_tone", true},
        {kM128K, "panel_test", "off", "panel_tuning", false},
        {kBatteryP16, "pre_alert_tone", "off", "mute_during_alert_tone", false},
        {kBatteryP16, "pre_alert_tone", "on", "tx_inhibit_tone", true},
        // On a key-detection model the hook input is taken while key detection is on.
        {kKeyDetM8, "key_detection", "Type 1", "acc_hook_dtc", false},
        {kKeyDetM8, "key_detection", "Off", "acc_hook_dtc", true},
    };
    for (const Case& c : cases) {
        Doc doc(c.row);
        EXPECT_NE(doc.set(c.key, c.value), "<refused>") << c.key;
        EXPECT_EQ(doc.enabled(c.dependent), c.available)
            << c.key << "=" << c.value << ": " << c.dependent;
    }
    Doc doc(kM128K); // disabled, Busy Channel Lockout Tone keeps its byte
    doc.set("busy_channel_lockout_tone", "on");
    doc.set("control_tone", "off");
    EXPECT_EQ(doc.image().u8(0x2F7), 0x00);
}

TEST(OptionalFeatures, TimerOffWordCountsOnlyByItsLetters) {
    // A language whose "off" word holds a digit must not make typed seconds "off".
    Doc doc(kM128K);
    doc.ctx.texts = [](int i) { return i == 69 ? std::string("0 s") : words(i); };
    EXPECT_EQ(doc.set("time_out_timer_tot_sec", "30"), "30");
    EXPECT_EQ(doc.set("time_out_timer_tot_sec", "s"), "0 s");
    EXPECT_EQ(doc.image().u16(0x10), 1200);
}
