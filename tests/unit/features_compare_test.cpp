#include "channels/channel_store.h"
#include "channels/keys.h"
#include "features/compare.h"
#include "features/field_table.h"
#include "model/image_layout.h"
#include "model/new_data.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vrl;

namespace {

std::string text(int i) {
    return "T" + std::to_string(i);
}

constexpr int kRow128Class2 = 5; // RM-160A[128CH]:M: groups, keys and the extended window
constexpr int kRowPortable8 = 15;

// New data of a model row with channel 1-1 at 150 MHz.
struct Doc {
    RadioData data;
    explicit Doc(int row = kRow128Class2) {
        newDataFor(data, identityOfChoice(ModelChoice{row, 0, OptionBoard::None, 1}));
        data.model.refresh();
        addChannel(0, 0, "150.000");
    }
    void addChannel(int g, int c, const std::string& rx) {
        ChannelStore store(data, text);
        store.setText(rx, g, c, ChannelField::Receive);
    }
    void set(const std::string& key, const std::string& value) {
        FieldContext ctx{data, text};
        auto f = findField(ctx, key);
        ASSERT_TRUE(f) << key;
        ASSERT_TRUE(assignField(*f, ctx, value).ok) << key << "=" << value;
    }
};

struct Case {
    const char* name;
    std::function<void(Doc&)> change; // applied to side b
    std::vector<std::string> keys;    // keys of the expected differences, in order
};

std::vector<std::string> keysOf(const Comparison& c) {
    std::vector<std::string> out;
    for (const Difference& d : c.differences)
        out.push_back(d.isMemory() ? d.label : d.key);
    return out;
}

// The compare key of the first programmable key of the test model.
std::string keyOfFirstKey() {
    Doc d;
    return fieldKey("key", KeyAssignment(d.data, text).current().caption(0));
}

} // namespace

TEST(Compare, OneChangePerAreaGivesExactlyItsEntries) {
    const std::vector<Case> cases{
        {"nothing", [](Doc&) {}, {}},
        {"message line", [](Doc& d) { d.set("message.line_1", "HELLO"); }, {"message.line_1"}},
        {"combo",
         [](Doc& d) { d.set("extended.st_reverse_burst_phase_deg", "-120"); },
         {"extended.st_reverse_burst_phase_deg"}},
        {"group scan",
         [](Doc& d) {
             d.data.image.setBit(layout::kGroupScanBits, 0,
                                 !d.data.image.bit(layout::kGroupScanBits, 0));
         },
         {"group.1.scan_add"}},
        {"channel added",
         [](Doc& d) { d.addChannel(1, 4, "151.000"); },
         {"group.2.name", "group.2.scan_add", "channel.2.5"}},
        {"two columns",
         [](Doc& d) {
             ChannelStore s(d.data, text);
             s.setText("155.000", 0, 0, ChannelField::Receive);
             s.setText("ABC", 0, 0, ChannelField::Name);
         },
         {"channel.1.1.Receive", "channel.1.1.Name"}},
        {"key",
         [](Doc& d) {
             KeyAssignment keys(d.data, text);
             const auto choices = keys.choices(0);
             keys.current().setKeyText(0, choices.back());
         },
         {keyOfFirstKey()}},
        {"uncovered bytes",
         [](Doc& d) {
             d.data.image.setU8(0x7F10, 0x12);
             d.data.image.setU8(0x7F11, 0x34);
             d.data.image.setU8(0x7F13, 0x56);
         },
         {"0x7F10-0x7F11", "0x7F13"}},
        // Bytes a write sends that no window shows still make the images differ.
        {"channel count alone", [](Doc& d) { d.data.image.setU8(layout::kChannelsInUse, 7); }, {"0x000F"}},
        {"unused channel slot",
         [](Doc& d) { d.data.image.setU8(layout::kChannelRecords + 127 * 48 + 5, 0x12); },
         {"0x37D5"}},
        {"unused group slot",
         [](Doc& d) { d.data.image.setU8(layout::kGroupRecords + 127 * 16 + 3, 0x12); },
         {"0x17F3"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Doc a, b;
        c.change(b);
        const Comparison result = compareDocuments(a.data, b.data, text);
        EXPECT_TRUE(result.sameModel);
        EXPECT_TRUE(result.notes.empty());
        EXPECT_EQ(keysOf(result), c.keys);
        EXPECT_EQ(result.equal(), c.keys.empty());
    }
}

TEST(Compare, EntriesCarryLabelsAndBothShownTexts) {
    Doc a, b;
    b.set("message.line_1", "HELLO");
    b.addChannel(0, 2, "152.500");
    ChannelStore(b.data, text).setText("XY", 0, 0, ChannelField::Name);
    const Comparison r = compareDocuments(a.data, b.data, text);
    ASSERT_EQ(r.differences.size(), 3u);
    EXPECT_EQ(r.differences[0].area, "message");
    EXPECT_EQ(r.differences[0].a, "");
    EXPECT_EQ(r.differences[0].b, "HELLO");
    const Difference& name = r.differences[1];
    EXPECT_EQ(name.key, "channel.1.1.Name");
    EXPECT_EQ(name.label, "T206 1 T207 1: Name");
    EXPECT_EQ(name.b, "XY");
    const Difference& added = r.differences[2];
    EXPECT_EQ(added.key, "channel.1.3");
    EXPECT_EQ(added.a, "");
    EXPECT_EQ(added.b.rfind("152.5", 0), 0u) << added.b;
}

TEST(Compare, MemoryRangesGiveOffsetLengthAndHexRuns) {
    Doc a, b;
    a.data.image.fill(0x7F20, 3, 0xFF);
    b.data.image.setU8(0x7F20, 0x0A);
    b.data.image.setU8(0x7F21, 0x31);
    b.data.image.setU8(0x7F22, 0x00);
    const Comparison r = compareDocuments(a.data, b.data, text);
    ASSERT_EQ(r.differences.size(), 1u);
    const Difference& d = r.differences[0];
    EXPECT_EQ(d.area, "memory");
    EXPECT_EQ(d.offset, 0x7F20u);
    EXPECT_EQ(d.length, 3u);
    EXPECT_EQ(d.a, "FF FF FF");
    EXPECT_EQ(d.b, "0A 31 00");
}

TEST(Compare, BytesOfADifferingSettingAreNotRepeatedAsMemory) {
    // One setting byte and one uncovered byte next to each other: the setting's
    // entry, then the uncovered byte alone.
    Doc a, b;
    b.set("extended.st_reverse_burst_phase_deg", "-120");
    Doc probe;
    probe.set("extended.st_reverse_burst_phase_deg", "-120");
    size_t settingByte = 0;
    for (size_t i = 0; i < CDataImage::kSize; ++i)
        if (probe.data.image.u8(i) != a.data.image.u8(i)) settingByte = i;
    ASSERT_NE(settingByte, 0u);
    b.data.image.setU8(settingByte + 1,
                       static_cast<uint8_t>(a.data.image.u8(settingByte + 1) ^ 0x5A));
    const Comparison r = compareDocuments(a.data, b.data, text);
    ASSERT_EQ(r.differences.size(), 2u);
    EXPECT_EQ(r.differences[0].key, "extended.st_reverse_burst_phase_deg");
    EXPECT_EQ(r.differences[1].offset, settingByte + 1);
    EXPECT_EQ(r.differences[1].length, 1u);
}

TEST(Compare, DifferentModelsAreComparedByFieldsOnlyWithANote) {
    Doc a;
    Doc b(kRowPortable8);
    const Comparison r = compareDocuments(a.data, b.data, text);
    EXPECT_FALSE(r.sameModel);
    ASSERT_EQ(r.notes.size(), 1u);
    EXPECT_NE(r.notes[0].find("different models"), std::string::npos);
    for (const Difference& d : r.differences)
        EXPECT_NE(d.area, "memory") << d.label;
    // The extended window exists on one side only: its field is listed with one text.
    bool extended = false;
    for (const Difference& d : r.differences)
        if (d.key == "extended.st_reverse_burst_phase_deg") extended = d.b.empty() && !d.a.empty();
    EXPECT_TRUE(extended);
}

TEST(Compare, LeavesBothImagesUnchanged) {
    Doc a, b;
    b.set("message.line_2", "X");
    b.data.image.setU8(0x7F10, 1);
    const auto beforeA =
        std::vector<uint8_t>(a.data.image.bytes().begin(), a.data.image.bytes().end());
    const auto beforeB =
        std::vector<uint8_t>(b.data.image.bytes().begin(), b.data.image.bytes().end());
    compareDocuments(a.data, b.data, text);
    EXPECT_TRUE(std::equal(beforeA.begin(), beforeA.end(), a.data.image.bytes().begin()));
    EXPECT_TRUE(std::equal(beforeB.begin(), beforeB.end(), b.data.image.bytes().begin()));
}

TEST(Compare, RadioSideLeavesOutWhatAReadDoesNotBring) {
    Doc file, radio;
    // What a read leaves: the board area of the default data, 0xFF in blocks not sent.
    radio.data.image.fill(layout::kTrunkData, layout::kTrunkDataSize, '0');
    file.data.image.fill(layout::kTrunkData, layout::kTrunkDataSize, '7');
    file.data.image.setU8(0x5400 + 3, 0x12); // block 0x54 is never read
    radio.data.image.setU8(0x5400 + 3, 0xFF);
    radio.data.image.setU8(0x7F10, 0x55);    // a real difference stays
    const std::vector<std::string> notes = takeUnreadFromFile(radio.data, file.data);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_NE(notes[1].find("0x54"), std::string::npos) << notes[1];
    const Comparison result = compareDocuments(file.data, radio.data, text);
    EXPECT_EQ(keysOf(result), std::vector<std::string>{"0x7F10"});
}
