// DTMF and 2-tone settings, driven through the field table as the windows and the
// command line drive them.
#include "features/dtmf_settings.h"
#include "features/field_table.h"
#include "features/model_predicates.h"
#include "features/two_tone_settings.h"
#include "model/model_table.h"
#include "model/new_data.h"

#include <gtest/gtest.h>

#include <set>
#include <vector>

using namespace vrl;

namespace {

// Rows of the model table used below.
constexpr int kM8 = 0;     // RM-140A[8CH]:K, mobile: keypad, no names
constexpr int kM8M = 3;    // RM-150A[8CH]:M: number display
constexpr int kM128 = 4;   // RM-160A[128CH]:K
constexpr int kM128M = 5;  // RM-160A[128CH]:M: number display
constexpr int kM128C = 14; // RM-450A[128CH]:C: number display on bands 6 and 8 only
constexpr int kP8 = 15;    // RP-110A[8CH]:K, portable: no keypad
constexpr int kP16 = 23;   // RP-150A[16CH]:M
constexpr int kP32 = 25;   // RP-130A[32CH]:K

// New data of a model row, with language texts "T<index>".
struct Doc {
    RadioData data;
    FieldContext ctx{data, [](int i) { return "T" + std::to_string(i); }};
    explicit Doc(int row, int band = 0) {
        newDataFor(data, identityOfChoice(ModelChoice{row, band, OptionBoard::None, 1}));
        data.model.refresh();
    }
    CDataImage& image() { return data.image; }
    Field field(const std::string& key) {
        auto f = findField(ctx, key);
        if (!f) ADD_FAILURE() << "no field " << key;
        return f ? *f : Field{};
    }
    // Assigns and returns the text shown then; "REFUSED" when refused.
    std::string set(const std::string& key, const std::string& value) {
        const FieldAssignResult r = assignField(field(key), ctx, value);
        return r.ok ? r.text : "REFUSED";
    }
    void step(const std::string& key, int delta) {
        const Field f = field(key);
        f.setStep(ctx, f.stepIndex(ctx) + delta);
    }
    bool enabled(const std::string& key) { return field(key).isAvailable(ctx); }
    bool has(const std::string& key) { return findField(ctx, key).has_value(); }
};

std::vector<uint8_t> copyOf(const CDataImage& image) {
    return {image.bytes().begin(), image.bytes().end()};
}

// The offsets whose byte differs.
std::set<size_t> changed(const std::vector<uint8_t>& before, const CDataImage& after) {
    std::set<size_t> out;
    for (size_t i = 0; i < before.size(); ++i)
        if (before[i] != after.u8(i)) out.insert(i);
    return out;
}

std::vector<uint8_t> bytes(const CDataImage& image, size_t offset, size_t n) {
    std::vector<uint8_t> out;
    for (size_t i = 0; i < n; ++i)
        out.push_back(image.u8(offset + i));
    return out;
}

// One assignment: the text shown then, and the 16-bit word (or byte) that holds it.
struct Store {
    const char* key;
    const char* value;
    const char* shown;
    size_t offset;
    int word; // -1: the byte at offset is checked instead, in `byte`
    int byte = -1;
};

void checkStores(int row, std::initializer_list<Store> cases) {
    for (const Store& c : cases) {
        Doc doc(row);
        const auto before = copyOf(doc.image());
        EXPECT_EQ(doc.set(c.key, c.value), c.shown) << c.key << "=" << c.value;
        if (c.word >= 0) {
            EXPECT_EQ(doc.image().u16(c.offset), c.word) << c.key << "=" << c.value;
        }
        if (c.byte >= 0) {
            EXPECT_EQ(doc.image().u8(c.offset), c.byte) << c.key << "=" << c.value;
        }
        // Nothing outside the field's own bytes is rewritten.
        for (size_t off : changed(before, doc.image()))
            EXPECT_TRUE(off == c.offset || (c.word >= 0 && off == c.offset + 1))
                << c.key << "=" << c.value << " touched 0x" << std::hex << off;
    }
}

} // namespace

// ---- DTMF ---------------------------------------------------------------------

TEST(DtmfSettings, TypedValuesAreTruncatedToTheStepAndClamped) {
    checkStores(kM128, {
                           {"dtmf.digit_time_msec", "47", "50", 0xF7, 50},
                           {"dtmf.digit_time_msec", "205", "200", 0xF7, 200},
                           {"dtmf.digit_time_msec", "", "50", 0xF7, 50},
                           {"dtmf.inter_digit_time_msec", "129", "120", 0xFB, 120},
                           {"dtmf.first_digit_time_msec", "80", "80", 0xF9, 80},
                           {"dtmf.first_digit_delay_msec", "1200", "1000", 0xF1, 1000},
                           {"dtmf.first_digit_delay_msec", "99", "100", 0xF1, 100},
                           {"dtmf.rise_time_with_st_msec", "275", "250", 0xF3, 250},
                           {"dtmf.d_key_assignment_sec", "0", "T416", 0xED, -1, 0},
                           {"dtmf.d_key_assignment_sec", "", "T416", 0xED, -1, 0},
                           {"dtmf.d_key_assignment_sec", "17", "16", 0xED, -1, 16},
                           {"dtmf.auto_reset_timer_sec", "0", "T69", 0xF5, 0xFFFF},
                           {"dtmf.auto_reset_timer_sec", "", "10", 0xF5, 10},
                           {"dtmf.auto_reset_timer_sec", "20", "15", 0xF5, 15},
                       });
}

TEST(DtmfSettings, SpinsWrapAtBothEnds) {
    struct Case {
        const char* key;
        int start; // stored first, through the edit
        int delta;
        size_t offset;
        int word;
    };
    for (const Case c : {Case{"dtmf.digit_time_msec", 200, 1, 0xF7, 50},
                         Case{"dtmf.digit_time_msec", 50, -1, 0xF7, 200},
                         Case{"dtmf.first_digit_delay_msec", 100, -1, 0xF1, 1000},
                         Case{"dtmf.rise_time_with_st_msec", 1000, 1, 0xF3, 100},
                         Case{"dtmf.auto_reset_timer_sec", 15, 1, 0xF5, 0xFFFF},
                         Case{"dtmf.auto_reset_timer_sec", 0, -1, 0xF5, 15}}) {
        Doc doc(kM128);
        doc.set(c.key, std::to_string(c.start));
        doc.step(c.key, c.delta);
        EXPECT_EQ(doc.image().u16(c.offset), c.word) << c.key << " from " << c.start;
    }
    Doc doc(kM128);
    doc.set("dtmf.d_key_assignment_sec", "16");
    doc.step("dtmf.d_key_assignment_sec", 1);
    EXPECT_EQ(doc.image().u8(0xED), 0);
}

TEST(DtmfSettings, StoredValuesOutOfRangeShowEmptyAndStayUntilEdited) {
    Doc doc(kM128);
    doc.image().setU16(0xF7, 300);
    doc.image().setU8(0xED, 40);
    doc.image().setU8(0xEE, 'x');
    doc.image().setU8(0xF0, 9);
    doc.image().setU8(0xC0, 'Q');
    for (const char* key :
         {"dtmf.digit_time_msec", "dtmf.d_key_assignment_sec", "dtmf.intermediate_code",
          "dtmf.call_alert_transpond", "dtmf.dead_beat_disable_tx"})
        EXPECT_EQ(doc.field(key).shownText(doc.ctx), "") << key;
    doc.set("dtmf.inter_digit_time_msec", "100");
    doc.set("dtmf.group_code", "A");
    EXPECT_EQ(doc.image().u16(0xF7), 300);
    EXPECT_EQ(doc.image().u8(0xED), 40);
    EXPECT_EQ(doc.image().u8(0xEE), 'x');
}

TEST(DtmfSettings, CheckBoxesWriteTheirBitAndKeepTheOthers) {
    struct Case {
        const char* key;
        size_t offset;
        uint8_t mask;
        bool setMeansOn;
    };
    for (const Case c :
         {Case{"dtmf.dial_id", 0xFD, 0x40, false}, Case{"dtmf.dtmf_hold_time", 0xFF, 0x02, true},
          Case{"dtmf.keypad_auto_ptt", 0xFE, 0x08, false},
          Case{"dtmf.store_send", 0xFD, 0x20, false}}) {
        for (uint8_t start : {uint8_t{0x00}, uint8_t{0xFF}}) {
            Doc doc(kM128);
            // Store & Send and Keypad Auto-PTT off: each would disable the other.
            doc.image().setU8(0xFD, start | 0x20);
            doc.image().setU8(0xFE, start | 0x08);
            doc.image().setU8(0xFF, start);
            const uint8_t before = doc.image().u8(c.offset);
            for (const char* value : {"on", "off"}) {
                const bool on = std::string(value) == "on";
                EXPECT_EQ(doc.set(c.key, value), value) << c.key;
                const uint8_t expected =
                    (on == c.setMeansOn) ? (before | c.mask) : (before & ~c.mask);
                EXPECT_EQ(doc.image().u8(c.offset), expected) << c.key << " " << value;
            }
        }
    }
    Doc doc(kM128M);
    doc.set("dtmf.dtmf_signalling", "T69");
    EXPECT_EQ(doc.set("dtmf.dtmf_number_display", "on"), "on");
    EXPECT_EQ(doc.image().u8(0xEC), 0x00);
    doc.set("dtmf.dtmf_number_display", "off");
    EXPECT_EQ(doc.image().u8(0xEC), 0xFF);
}

TEST(DtmfSettings, CombosStoreTheirCodes) {
    checkStores(kM128M, {
                            {"dtmf.no_of_dtmf_key", "T391", "T391", 0xFF, -1, 0xF3},
                            {"dtmf.dtmf_signalling", "T401", "T401", 0xFF, -1, 0xF7},
                            {"dtmf.dtmf_signalling", "T69", "T69", 0xFF, -1, 0xFF},
                            {"dtmf.group_code", "T69", "T69", 0xEF, -1, 0xFF},
                            {"dtmf.group_code", "#", "#", 0xEF, -1, '#'},
                            {"dtmf.call_alert_transpond", "T406", "T406", 0xF0, -1, 1},
                            {"dtmf.call_alert_transpond", "T408", "T408", 0xF0, -1, 2},
                            {"dtmf.auto_reset_timer_sec", "7", "7", 0xF5, 7},
                        });
    Doc doc(kM128M);
    doc.image().setU8(0xFF, 0xF3); // 12 keys off: bit 0 set; mode bits 00
    doc.set("dtmf.no_of_dtmf_key", "T392");
    EXPECT_EQ(doc.image().u8(0xFF), 0xF2);
    doc.set("dtmf.dtmf_signalling", "T401");
    EXPECT_EQ(doc.image().u8(0xFF), 0xF6) << "other bits of 0xFF kept";
    EXPECT_EQ(doc.set("dtmf.intermediate_code", "d"), "D");
    EXPECT_EQ(doc.image().u8(0xEE), 'D');
    doc.image().setU8(0xFF, 0x08); // mode 10: no item
    EXPECT_EQ(doc.field("dtmf.dtmf_signalling").shownText(doc.ctx), "");
    // Choosing Transpond again keeps the transpond mode already stored.
    doc.set("dtmf.call_alert_transpond", "T408");
    EXPECT_EQ(doc.set("dtmf.transpond", "T411"), "T411");
    EXPECT_EQ(doc.image().u8(0xF0), 4);
    doc.set("dtmf.call_alert_transpond", "T408");
    EXPECT_EQ(doc.image().u8(0xF0), 4);
}

TEST(DtmfSettings, SignallingItemsFollowTheModel) {
    struct Case {
        int row;
        int band;
        std::vector<std::string> items;
    };
    for (const Case& c :
         {Case{kM8, 0, {"T400"}}, Case{kP16, 0, {"T400"}}, Case{kP32, 0, {"T400", "T401"}},
          Case{kM128, 0, {"T400", "T401"}}, Case{kM8M, 0, {"T400", "T69"}},
          Case{kM128M, 0, {"T400", "T401", "T69"}}, Case{kM128C, 0, {"T400", "T401", "T69"}},
          Case{kM128C, 2, {"T400", "T401"}}}) {
        Doc doc(c.row, c.band);
        EXPECT_EQ(doc.field("dtmf.dtmf_signalling").choices(doc.ctx), c.items)
            << c.row << "/" << c.band;
        EXPECT_EQ(doc.has("dtmf.dtmf_number_display") &&
                      doc.field("dtmf.dtmf_number_display").isShown(doc.ctx),
                  c.items.back() == "T69")
            << c.row;
    }
    // A code sequence stored on a 16-channel radio shows no item and cannot be set.
    Doc doc(kP16);
    doc.image().setU8(0xFF, 0x04);
    EXPECT_EQ(doc.field("dtmf.dtmf_signalling").shownText(doc.ctx), "");
    EXPECT_EQ(doc.set("dtmf.dtmf_signalling", "T401"), "REFUSED");
    EXPECT_FALSE(doc.enabled("dtmf.intermediate_code"));
}

TEST(DtmfSettings, EnableRulesPerModelKind) {
    struct Case {
        int row;
        bool keypad;
        bool storeAndSend;
        int codeRows;
    };
    for (const Case c :
         {Case{kM8, true, false, 9}, Case{kP8, false, false, 1}, Case{kP16, false, false, 1},
          Case{kP32, false, false, 1}, Case{kM128, true, true, 9}}) {
        Doc doc(c.row);
        doc.image().setBit(0xFD, 5, true); // Store & Send off
        doc.image().setBit(0xFE, 3, true); // Keypad Auto-PTT off
        for (const char* key :
             {"dtmf.no_of_dtmf_key", "dtmf.dial_id", "dtmf.dtmf_hold_time", "dtmf.keypad_auto_ptt"})
            EXPECT_EQ(doc.enabled(key), c.keypad) << c.row << " " << key;
        EXPECT_EQ(doc.enabled("dtmf.store_send"), c.storeAndSend) << c.row;
        EXPECT_TRUE(doc.has("dtmf.code." + std::to_string(c.codeRows))) << c.row;
        EXPECT_FALSE(doc.has("dtmf.code." + std::to_string(c.codeRows + 1))) << c.row;
    }
    // Keypad Auto-PTT and Store & Send exclude each other.
    Doc doc(kM128);
    doc.image().setBit(0xFE, 3, true);
    doc.set("dtmf.store_send", "on");
    EXPECT_FALSE(doc.enabled("dtmf.keypad_auto_ptt"));
    doc.set("dtmf.store_send", "off");
    doc.set("dtmf.keypad_auto_ptt", "on");
    EXPECT_FALSE(doc.enabled("dtmf.store_send"));
    EXPECT_EQ(doc.set("dtmf.store_send", "on"), "REFUSED");
}

TEST(DtmfSettings, DecoderFieldsFollowTheSignallingMode) {
    Doc doc(kM128M);
    struct Case {
        const char* mode;
        bool intermediate;
        bool group;
        bool display;
    };
    for (const Case c : {Case{"T400", false, true, false}, Case{"T401", true, true, false},
                         Case{"T69", false, false, true}}) {
        doc.set("dtmf.dtmf_signalling", c.mode);
        EXPECT_EQ(doc.enabled("dtmf.intermediate_code"), c.intermediate) << c.mode;
        EXPECT_EQ(doc.enabled("dtmf.group_code"), c.group) << c.mode;
        EXPECT_EQ(doc.enabled("dtmf.dtmf_number_display"), c.display) << c.mode;
    }
    for (const char* alert : {"T69", "T406"}) {
        doc.set("dtmf.call_alert_transpond", alert);
        EXPECT_FALSE(doc.enabled("dtmf.transpond")) << alert;
    }
    doc.set("dtmf.call_alert_transpond", "T408");
    EXPECT_TRUE(doc.enabled("dtmf.transpond"));
    EXPECT_EQ(doc.field("dtmf.dtmf_signalling").notifies, true);
    EXPECT_EQ(doc.field("dtmf.dial_id").notifies, true);
}

TEST(DtmfSettings, DeadBeatCodesNeedThreeCharacters) {
    Doc doc(kM128);
    EXPECT_EQ(doc.set("dtmf.dead_beat_disable_tx", "12a#*"), "12A#*");
    EXPECT_EQ(bytes(doc.image(), 0xC0, 10),
              (std::vector<uint8_t>{'1', '2', 'A', '#', '*', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(doc.set("dtmf.dead_beat_disable_tx", "12"), "12A#*")
        << "two characters: the old code stays";
    EXPECT_EQ(doc.set("dtmf.dead_beat_disable_tx_rx", "0123456789"), "0123456789");
    EXPECT_EQ(doc.image().u8(0xD3), '9');
    EXPECT_EQ(doc.set("dtmf.dead_beat_disable_tx_rx", "01234567890"), "REFUSED")
        << "longer than the edit";
    EXPECT_EQ(doc.set("dtmf.dead_beat_disable_tx", ""), "");
    EXPECT_EQ(bytes(doc.image(), 0xC0, 10), std::vector<uint8_t>(10, 0xFF));
}

TEST(DtmfSettings, CodeListPacksDigitsIntoNibbles) {
    Doc doc(kM128);
    const size_t row3 = 0x5060;
    doc.image().fill(row3 + 2, 14, 0x5A); // bytes 2..15 belong to others
    EXPECT_EQ(doc.set("dtmf.code.3", "12a#"), "12A#");
    EXPECT_EQ(bytes(doc.image(), row3, 2), (std::vector<uint8_t>{0x04, 0x04}));
    EXPECT_EQ(bytes(doc.image(), row3 + 16, 8),
              (std::vector<uint8_t>{0x21, 0xFA, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(bytes(doc.image(), row3 + 2, 14), std::vector<uint8_t>(14, 0x5A));

    struct Case {
        const char* code;
        uint8_t byte0;
    };
    for (const Case c :
         {Case{"#", 0xFF}, Case{"##1", 0xFF}, Case{"#1#", 0x0A}, Case{"*0123456789ABCD#", 0x0A}}) {
        EXPECT_EQ(doc.set("dtmf.code.9", c.code), c.code);
        EXPECT_EQ(doc.image().u8(0x5120), c.byte0) << c.code;
        EXPECT_EQ(doc.image().u8(0x5121), std::string(c.code).size()) << c.code;
    }
    EXPECT_EQ(bytes(doc.image(), 0x5130, 8),
              (std::vector<uint8_t>{0x0E, 0x21, 0x43, 0x65, 0x87, 0xA9, 0xCB, 0xFD}));
    EXPECT_EQ(doc.set("dtmf.code.9", ""), "");
    EXPECT_EQ(bytes(doc.image(), 0x5120, 2), (std::vector<uint8_t>{0xFF, 0xFF}));
    EXPECT_EQ(bytes(doc.image(), 0x5130, 8), std::vector<uint8_t>(8, 0xFF));
    // Reading stops at the stored count.
    doc.image().setU8(0x5061, 3);
    EXPECT_EQ(doc.field("dtmf.code.3").shownText(doc.ctx), "12A");
}

// ---- 2-tone -------------------------------------------------------------------

TEST(TwoToneSettings, DecoderTonesStoreTheNominalAndTheTwoPercentWords) {
    struct Case {
        const char* key;
        const char* value;
        const char* shown;
        size_t offset;
        uint16_t nominal, up, down;
    };
    for (const Case c : {Case{"twotone.a_tone_hz", "100", "288.5", 0x30, 2885, 2943, 2827},
                         Case{"twotone.a_tone_hz", "", "321.7", 0x30, 3217, 3281, 3153},
                         Case{"twotone.b_tone_hz", "928,19", "928.1", 0x36, 9281, 9467, 9095},
                         Case{"twotone.b_tone_hz", "5000", "3200.0", 0x36, 32000, 32640, 31360},
                         Case{"twotone.c_tone_hz", "", "600.9", 0x3C, 6009, 6129, 5889},
                         Case{"twotone.c_tone_hz", "1000.", "1000.0", 0x3C, 10000, 10200, 9800},
                         // f x 10.2 + 0.5 in double; the read-time recompute gives one less.
                         Case{"twotone.a_tone_hz", "292.5", "292.5", 0x30, 2925, 2984, 2867},
                         Case{"twotone.b_tone_hz", "1002,5", "1002.5", 0x36, 10025, 10226, 9825}}) {
        Doc doc(kM128);
        const auto before = copyOf(doc.image());
        EXPECT_EQ(doc.set(c.key, c.value), c.shown) << c.key << "=" << c.value;
        EXPECT_EQ(doc.image().u16(c.offset), c.nominal) << c.value;
        EXPECT_EQ(doc.image().u16(c.offset + 2), c.up) << c.value;
        EXPECT_EQ(doc.image().u16(c.offset + 4), c.down) << c.value;
        for (size_t off : changed(before, doc.image()))
            EXPECT_TRUE(off >= c.offset && off < c.offset + 6) << std::hex << off;
    }
    Doc doc(kM128);
    EXPECT_EQ(doc.set("twotone.a_tone_hz", "1234567"), "REFUSED")
        << "the edit takes six characters";
    EXPECT_EQ(doc.set("twotone.a_tone_hz", "12a"), "REFUSED");
}

TEST(TwoToneSettings, CombosUseTheirBitsOf0x2F) {
    Doc doc(kM128);
    doc.image().setU8(0x2F, 0x05);
    EXPECT_EQ(doc.set("twotone.decoder_call_format", "C-A"), "C-A");
    EXPECT_EQ(doc.image().u8(0x2F), 0xB5);
    EXPECT_EQ(doc.set("twotone.decoder_call_format", "A-B"), "A-B");
    EXPECT_EQ(doc.image().u8(0x2F), 0xF5);
    doc.image().setU8(0x2F, 0x75); // read back through bits 4-6 only
    EXPECT_EQ(doc.field("twotone.decoder_call_format").shownText(doc.ctx), "A-B");
    doc.image().setU8(0x2F, 0x85);
    EXPECT_EQ(doc.field("twotone.decoder_call_format").shownText(doc.ctx), "");

    doc.image().setU8(0x2F, 0xA0);
    struct Case {
        const char* key;
        const char* item;
        uint8_t byte;
    };
    for (const Case c :
         {Case{"twotone.group_call", "T65", 0xA3}, Case{"twotone.group_call", "T427", 0xA0},
          Case{"twotone.group_call", "T426", 0xA2},
          Case{"twotone.alert_tone_transpond", "T429", 0xA6},
          Case{"twotone.alert_tone_transpond", "T65", 0xAE}}) {
        EXPECT_EQ(doc.set(c.key, c.item), c.item);
        EXPECT_EQ(doc.image().u8(0x2F), c.byte) << c.key << " " << c.item;
    }
    doc.image().setU8(0x2F, 0xA0); // alert bits 00: no item
    EXPECT_EQ(doc.field("twotone.alert_tone_transpond").shownText(doc.ctx), "");
}

TEST(TwoToneSettings, AutoResetTimerOffDefaultsAndWrap) {
    checkStores(kM128, {
                           {"twotone.auto_reset_timer_sec", "0", "T69", 0x42, 0xFFFF},
                           {"twotone.auto_reset_timer_sec", "", "10", 0x42, 10},
                           {"twotone.auto_reset_timer_sec", "400", "300", 0x42, 300},
                           {"twotone.auto_reset_timer_sec", "1", "1", 0x42, 1},
                       });
    Doc doc(kM128);
    doc.set("twotone.auto_reset_timer_sec", "300");
    doc.step("twotone.auto_reset_timer_sec", 1);
    EXPECT_EQ(doc.image().u16(0x42), 0xFFFF);
    doc.step("twotone.auto_reset_timer_sec", -1);
    EXPECT_EQ(doc.image().u16(0x42), 300);
    // Texts that mean off, as the edit shows them after a reload.
    for (const char* off : {"T69", "Off", "of"}) {
        TwoToneSettings(doc.image(), doc.ctx.texts).setAutoResetText("5");
        TwoToneSettings(doc.image(), doc.ctx.texts).setAutoResetText(off);
        EXPECT_EQ(doc.image().u16(0x42), 0xFFFF) << off;
    }
}

TEST(TwoToneSettings, CodeListRecords) {
    Doc doc(kM128);
    const size_t row2 = 0x810;
    doc.image().setU16(row2 + 14, 0x1234); // not this window's
    EXPECT_EQ(doc.set("twotone.code.2.name", "ab c"), "AB C");
    EXPECT_EQ(doc.image().readAscii(row2 + 4, 8), "AB C    ");
    EXPECT_EQ(doc.set("twotone.code.2.name", ""), "");
    EXPECT_EQ(doc.image().readAscii(row2 + 4, 8), "        ");
    EXPECT_FALSE(doc.enabled("twotone.code.2.time")) << "no tones yet";
    EXPECT_EQ(doc.set("twotone.code.2.tone_a", "100,0"), "288.5");
    EXPECT_EQ(doc.set("twotone.code.2.tone_b", "999.99"), "999.9");
    EXPECT_EQ(doc.image().u16(row2), 2885);
    EXPECT_EQ(doc.image().u16(row2 + 2), 9999);
    ASSERT_TRUE(doc.enabled("twotone.code.2.time"));
    EXPECT_EQ(doc.set("twotone.code.2.time", "400"), "375");
    EXPECT_EQ(doc.set("twotone.code.2.time", ""), "0");
    doc.step("twotone.code.2.time", -1);
    EXPECT_EQ(doc.image().u16(row2 + 12), 375);
    doc.step("twotone.code.2.time", 1);
    EXPECT_EQ(doc.image().u16(row2 + 12), 0);
    // Clearing a tone empties it; row 1 puts its default back instead.
    EXPECT_EQ(doc.set("twotone.code.2.tone_a", ""), "");
    EXPECT_EQ(doc.image().u16(row2), 0xFFFF);
    EXPECT_EQ(doc.field("twotone.code.2.time").shownText(doc.ctx), "");
    EXPECT_EQ(doc.set("twotone.code.1.tone_a", "500"), "500.0");
    EXPECT_EQ(doc.set("twotone.code.1.tone_a", ""), "321.7");
    EXPECT_EQ(doc.set("twotone.code.1.tone_b", ""), "928.1");
    EXPECT_EQ(doc.image().u16(0x802), 9281);
    EXPECT_EQ(doc.image().u16(row2 + 14), 0x1234);
}

TEST(TwoToneSettings, CodeListRowsAndNamesPerModel) {
    struct Case {
        int row;
        int rows;
        bool names;
    };
    for (const Case c :
         {Case{kM8, 1, false}, Case{kP16, 1, false}, Case{kP32, 10, true}, Case{kM128, 10, true}}) {
        Doc doc(c.row);
        EXPECT_TRUE(doc.has("twotone.code." + std::to_string(c.rows) + ".tone_b")) << c.row;
        EXPECT_FALSE(doc.has("twotone.code." + std::to_string(c.rows + 1) + ".tone_a")) << c.row;
        EXPECT_EQ(doc.enabled("twotone.code.1.name"), c.names) << c.row;
        // New data name row 1 "CODE 1"; a model without names shows none.
        EXPECT_EQ(doc.field("twotone.code.1.name").shownText(doc.ctx), c.names ? "CODE 1" : "")
            << c.row;
        EXPECT_TRUE(doc.enabled("twotone.code.1.time")) << c.row;
    }
}

TEST(ModelPredicates, NumberDisplayModels) {
    struct Case {
        int row;
        int band;
        bool display;
    };
    for (const Case c :
         {Case{kM8M, 0, true}, Case{kM128M, 0, true}, Case{7, 0, true}, Case{11, 1, true},
          Case{13, 0, true}, Case{20, 0, true}, Case{31, 0, true}, Case{kM128C, 0, true},
          Case{kM128C, 1, true}, Case{kM128C, 2, false}, Case{kM8, 0, false}, Case{kM128, 0, false},
          Case{19, 0, false}, Case{kP16, 0, false}}) {
        Doc doc(c.row, c.band);
        EXPECT_EQ(predicates::isNumberDisplayModel(doc.image()), c.display)
            << c.row << "/" << c.band;
    }
}
