#include "channels/channel_store.h"
#include "features/field_table.h"
#include "model/model_table.h"
#include "model/new_data.h"

#include <gtest/gtest.h>

#include <set>

using namespace vrl;

namespace {

// New data of a model row, with language texts "T<index>".
struct Doc {
    RadioData data;
    FieldContext ctx{data, [](int i) { return "T" + std::to_string(i); }};
    explicit Doc(int row = 0, OptionBoard board = OptionBoard::None) {
        newDataFor(data, identityOfChoice(ModelChoice{row, 0, board, 1}));
        data.model.refresh();
    }
};

// A field over one byte at 0x0300: an edit taking digits and a-c (upper-cased),
// at most 3 characters, stored as given.
Field testEdit() {
    Field f;
    f.key = "test.edit";
    f.kind = FieldKind::Edit;
    f.maxLength = 3;
    f.allowed = "0123456789abcABC";
    f.upperCase = true;
    f.text = [](const FieldContext& c) {
        std::string t = c.image().readAscii(0x300, 3);
        return t.substr(0, t.find(' '));
    };
    f.setText = [](FieldContext& c, const std::string& t) {
        c.image().fill(0x300, 3, ' ');
        c.image().writeAscii(0x300, t);
    };
    return f;
}

Field testCombo() {
    Field f;
    f.key = "test.combo";
    f.kind = FieldKind::Combo;
    f.value = [](const FieldContext& c) { return c.image().u8(0x310) < 3 ? int(c.image().u8(0x310)) : -1; };
    f.setValue = [](FieldContext& c, int i) { c.image().setU8(0x310, uint8_t(i)); };
    f.choices = [](const FieldContext&) { return std::vector<std::string>{"Off", "Low", "High"}; };
    return f;
}

Field testCheck(bool enabled, bool shown) {
    Field f;
    f.key = "test.check";
    f.kind = FieldKind::Check;
    f.value = [](const FieldContext& c) { return int(c.image().bit(0x320, 2)); };
    f.setValue = [](FieldContext& c, int on) { c.image().setBit(0x320, 2, on != 0); };
    f.enabled = [enabled](const FieldContext&) { return enabled; };
    f.shown = [shown](const FieldContext&) { return shown; };
    return f;
}

} // namespace

TEST(FieldTable, KeyNamesFollowTheLabelRule) {
    const std::pair<const char*, const char*> cases[] = {
        {"Time Out Timer(TOT)[sec]", "time_out_timer_tot_sec"},
        {"Store & Send", "store_send"},
        {"Look Back Time A [sec]", "look_back_time_a_sec"},
        {"ST Reverse Burst Phase [deg]", "st_reverse_burst_phase_deg"},
        {"  -- No. of DTMF Key --", "no_of_dtmf_key"},
        {"", ""},
    };
    for (const auto& [label, name] : cases) EXPECT_EQ(fieldKeyName(label), name) << label;
    EXPECT_EQ(fieldKey("dtmf", "Store & Send"), "dtmf.store_send");
}

TEST(FieldTable, AssignTypesAsTheEditWould) {
    Doc doc;
    const Field edit = testEdit();
    struct Case {
        const char* value;
        bool ok;
        const char* text;
    };
    for (const Case c : {Case{"1a", true, "1A"}, Case{"abc", true, "ABC"}, Case{"1d", false, ""},
                         Case{"1234", false, ""}, Case{"", true, ""}}) {
        const FieldAssignResult r = assignField(edit, doc.ctx, c.value);
        EXPECT_EQ(r.ok, c.ok) << c.value << ": " << r.error;
        if (c.ok) {
            EXPECT_EQ(r.text, c.text) << c.value;
        }
    }
}

TEST(FieldTable, RefusedAssignmentLeavesTheImageAlone) {
    Doc doc;
    const CDataImage::Bytes before = [&] {
        CDataImage::Bytes b{};
        std::copy(doc.data.image.bytes().begin(), doc.data.image.bytes().end(), b.begin());
        return b;
    }();
    EXPECT_FALSE(assignField(testEdit(), doc.ctx, "12x").ok);
    EXPECT_FALSE(assignField(testCombo(), doc.ctx, "Medium").ok);
    EXPECT_FALSE(assignField(testCombo(), doc.ctx, "#3").ok);
    EXPECT_FALSE(assignField(testCheck(true, true), doc.ctx, "maybe").ok);
    EXPECT_FALSE(assignField(testCheck(false, true), doc.ctx, "on").ok);
    EXPECT_FALSE(assignField(testCheck(true, false), doc.ctx, "on").ok);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), doc.data.image.bytes().begin()));
}

TEST(FieldTable, CombosTakeItemTextsOrNumbersAndChecksTakeSwitchWords) {
    Doc doc;
    const Field combo = testCombo();
    EXPECT_EQ(assignField(combo, doc.ctx, "high").text, "High");
    EXPECT_EQ(doc.data.image.u8(0x310), 2);
    EXPECT_EQ(assignField(combo, doc.ctx, "#1").text, "Low");
    doc.data.image.setU8(0x310, 7);
    EXPECT_EQ(combo.shownText(doc.ctx), ""); // out of range: nothing selected

    const Field check = testCheck(true, true);
    for (const char* on : {"on", "1", "YES", "true"}) {
        doc.data.image.setU8(0x320, 0x00);
        EXPECT_EQ(assignField(check, doc.ctx, on).text, "on") << on;
        EXPECT_EQ(doc.data.image.u8(0x320), 0x04) << on;
    }
    for (const char* off : {"off", "0", "no", "False"}) {
        doc.data.image.setU8(0x320, 0xFF);
        EXPECT_EQ(assignField(check, doc.ctx, off).text, "off") << off;
        EXPECT_EQ(doc.data.image.u8(0x320), 0xFB) << off;
    }
}

TEST(FieldTable, WordBitsKeepTheOtherBits) {
    CDataImage image;
    image.setU8(0x2D, 0xA5);
    image.setU8(0x2E, 0x5A);
    setWordBit(image, 0x2D, 9, false); // bit 1 of 0x2E
    EXPECT_EQ(image.u8(0x2D), 0xA5);
    EXPECT_EQ(image.u8(0x2E), 0x58);
    setWordBit(image, 0x2D, 0, false);
    EXPECT_EQ(image.u8(0x2D), 0xA4);
    EXPECT_TRUE(wordBit(image, 0x2D, 14));
}

TEST(FieldTable, SpinIndicesWrapAtBothEnds) {
    EXPECT_EQ(wrapIndex(41, 0, 40), 0);
    EXPECT_EQ(wrapIndex(-1, 0, 40), 40);
    EXPECT_EQ(wrapIndex(4, 5, 20), 20);
    EXPECT_EQ(wrapIndex(12, 5, 20), 12);
    EXPECT_EQ(leadingNumber(" 120s"), 120);
    EXPECT_FALSE(leadingNumber("x1").has_value());
}

TEST(FieldTable, KeysAreUniqueOnEveryModel) {
    for (int row = 0; row < kModelRowCount; ++row) {
        Doc doc(row, models::trunkingAllowed(modelTable()[row].label) ? OptionBoard::Trunking
                                                                              : OptionBoard::None);
        std::set<std::string> keys;
        for (const Field& f : allFields(doc.ctx)) {
            EXPECT_TRUE(keys.insert(f.key).second) << "row " << row << " repeats " << f.key;
            EXPECT_NE(f.key.find('.'), std::string::npos) << f.key;
        }
    }
}

TEST(FieldTable, LandedWindowsAreInTheTable) {
    Doc doc(5); // a row of feature class 2 has the extended function window
    auto line = findField(doc.ctx, "message.line_2");
    ASSERT_TRUE(line);
    EXPECT_EQ(assignField(*line, doc.ctx, "HELLO").text, "HELLO");
    EXPECT_EQ(doc.data.image.readAscii(0x220, 5), "HELLO");
    auto phase = findField(doc.ctx, "extended.st_reverse_burst_phase_deg");
    ASSERT_TRUE(phase);
    EXPECT_EQ(assignField(*phase, doc.ctx, "-120").text, "-120");
    EXPECT_EQ(doc.data.image.u8(0x2D3), 0x00);
    EXPECT_FALSE(findField(Doc(0).ctx, "extended.st_reverse_burst_phase_deg"));
    EXPECT_EQ(nearestKey("message.line1", {"message.line_1", "scan.priority"}), "message.line_1");
}

TEST(FieldTable, GroupKeysFollowTheGroupsInUse) {
    Doc doc(5); // 128 channels, group names of 8 - 4 = 4 characters
    doc.data.image.setU8(0x8D, 4);
    ChannelStore store(doc.data, doc.ctx.texts);
    ASSERT_EQ(store.setText("150.00000", 2, 0, ChannelField::Receive), StoreResult::Ok);
    EXPECT_FALSE(findField(doc.ctx, "group.1.name")); // no channels: not listed, refused
    auto name = findField(doc.ctx, "group.3.name");
    ASSERT_TRUE(name);
    EXPECT_EQ(assignField(*name, doc.ctx, "abc").text, "ABC");
    EXPECT_FALSE(assignField(*name, doc.ctx, "ABCDE").ok); // longer than the name length
    auto scan = findField(doc.ctx, "group.3.scan_add");
    ASSERT_TRUE(scan);
    EXPECT_FALSE(assignField(*scan, doc.ctx, "off").ok); // the radio's group scan is off
    doc.data.image.setU8(0x2A, '1');
    EXPECT_EQ(assignField(*scan, doc.ctx, "off").text, "off");
    EXPECT_FALSE(store.getGroupScan(2));
    EXPECT_FALSE(findField(Doc(0).ctx, "group.1.name")); // 8 channels: no groups
}

TEST(FieldTable, TestFrequenciesTakeTypedTextsAndFallBackToTheDefaults) {
    Doc doc(0);
    auto rx = findField(doc.ctx, "test_frequency.3.receive");
    ASSERT_TRUE(rx);
    EXPECT_EQ(assignField(*rx, doc.ctx, "151,5").text, "151.50000");
    EXPECT_FALSE(assignField(*rx, doc.ctx, "151.5x").ok);
    // Blanking every entry loads the band's default table again.
    for (const Field& f : allFields(doc.ctx))
        if (f.key.rfind("test_frequency.", 0) == 0 && f.key.find(".receive") != std::string::npos)
            assignField(f, doc.ctx, "");
    EXPECT_NE(findField(doc.ctx, "test_frequency.1.receive")->shownText(doc.ctx), "");
}
