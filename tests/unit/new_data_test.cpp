#include "channel_test_support.h"
#include "channels/frequency.h"
#include "model/new_data.h"

#include <gtest/gtest.h>

#include <set>

using namespace vrl;

namespace {
// Offsets New may write; every other byte of a new image must stay 0xFF.
std::set<size_t> writtenOffsets() {
    std::set<size_t> s;
    auto range = [&](size_t first, size_t last) {
        for (size_t o = first; o <= last; ++o) s.insert(o);
    };
    range(0x0010, 0x0017);
    range(0x001E, 0x002D);
    range(0x0030, 0x0043);
    for (size_t o : {0x80, 0x82, 0x87, 0x8A, 0x8D, 0x8E, 0x8F, 0x90, 0xED, 0xEE, 0xFF, 0x1EA})
        s.insert(o);
    range(0x00A7, 0x00AE);
    range(0x00BB, 0x00BF);
    range(0x00F1, 0x00FC);
    range(0x0100, 0x0125);
    range(0x0130, 0x013F);
    range(0x0140, 0x0140 + 60 - 1); // six default test frequencies
    range(0x0800, 0x080D);
    range(0x8000, 0x818C);
    return s;
}

struct Answers : ModelChangeQuestions {
    bool okChange = true, okReduce = true;
    std::vector<int> classesAsked;
    std::vector<std::pair<int, int>> reductionsAsked;
    bool confirmChange(int cls) override {
        classesAsked.push_back(cls);
        return okChange;
    }
    bool confirmTrunkingGroupReduction(int n, int o) override {
        reductionsAsked.push_back({n, o});
        return okReduce;
    }
};

struct RecordingEditor : ChannelPlanEditor {
    std::vector<int> deleted;
    void deleteGroupChannels(int g) override { deleted.push_back(g); }
    void adjustTrunkingGroups(int, int) override {}
};

void startWith(RadioData& data, const ModelChoice& choice) {
    newDataFor(data, identityOfChoice(choice));
    data.model.setCommitted(data.model.currentChoice());
}
} // namespace

TEST(NewData, EveryRowBandAndBoardCarriesOnlyTheDefaults) {
    const auto allowed = writtenOffsets();
    for (int row = 0; row < kModelRowCount; ++row) {
        const ModelRow& r = modelTable()[row];
        for (int band = 0; band < r.bandCount; ++band) {
            for (OptionBoard board : {OptionBoard::None, OptionBoard::Scr, OptionBoard::Trunking}) {
                if (board == OptionBoard::Trunking && !models::trunkingAllowed(r.label)) continue;
                RadioData data;
                newDataFor(data, identityOfChoice({row, band, board, 1}));
                const CDataImage& img = data.image;
                SCOPED_TRACE(std::string(r.label) + " band " + std::to_string(band));
                for (size_t o = 0; o < 0x8000; ++o)
                    if (!allowed.count(o)) {
                        ASSERT_EQ(img.u8(o), 0xFF) << "offset " << o;
                    }
                EXPECT_FALSE(img.isModified());
                EXPECT_EQ(models::findRow(img.identity()), row);
                EXPECT_EQ(img.identity().band(), r.bandCode(band));
                EXPECT_EQ(img.identity().optionBoard(), board);
                EXPECT_EQ(img.u8(0x00AE), 0xF1);
                EXPECT_EQ(img.readAscii(0xBB, 5), "V0422");
                EXPECT_EQ(img.u8(0x8000), board == OptionBoard::Trunking ? 1 : 0);
                EXPECT_EQ(img.u8(0x008A), r.family() == 'M' ? 8 : 0);
                EXPECT_EQ(img.bit(0x0082, 4), r.market == 3 && board != OptionBoard::Trunking);
                EXPECT_EQ(img.bit(0x00AD, 2), models::capacityOfRow(row) != 32);
            }
        }
    }
}

TEST(NewData, KnownDefaultBytes) {
    RadioData data;
    newDataFor(data, defaultIdentity());
    const CDataImage& img = data.image;
    EXPECT_EQ(img.u16(0x0010), 60);
    EXPECT_EQ(img.u16(0x0021), 500);
    EXPECT_EQ(img.u16(0x0023), 2000);
    EXPECT_EQ(img.u16(0x0030), 3217);
    EXPECT_EQ(img.u16(0x0042), 10);
    EXPECT_EQ(img.u16(0x008E), 4000);
    EXPECT_EQ(img.u8(0x002D), 0xF9);
    EXPECT_EQ(img.readAscii(0x0804, 6), "CODE 1");
    EXPECT_EQ(img.u8(0x080A), 0);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(img.u8(0x0100 + i), 0x20 + i);
    // Trunking text: "00E5", a '3' at 11, '1' at 15 and 83, "000F" from 100, 'F' from 168.
    const std::string trunk = img.readAscii(0x8001, 396);
    EXPECT_EQ(trunk.substr(0, 4), "00E5");
    EXPECT_EQ(trunk[11], '3');
    EXPECT_EQ(trunk[15], '1');
    EXPECT_EQ(trunk[83], '1');
    EXPECT_EQ(trunk[79], 'F');
    EXPECT_EQ(trunk.substr(100, 8), "000F000F");
    EXPECT_EQ(trunk.substr(160, 8), "000FFF00");
    EXPECT_EQ(trunk.substr(168), std::string(228, 'F'));
    // First default test frequency of 148-174 MHz: 161.05 receive, 161.10 transmit.
    EXPECT_EQ(formatFrequency(img.bytes().subspan(0x0140, 4)), "161.05000");
    EXPECT_EQ(formatFrequency(img.bytes().subspan(0x0144, 4)), "161.10000");
    EXPECT_EQ(formatFrequency(img.bytes().subspan(0x014A, 4)), "148.05000");
    EXPECT_EQ(img.u8(0x0140 + 10 * 6), 0xFF); // entry 7 blank
}

TEST(NewData, KeyDefaultsFollowRadioTypeCapacityAndMarket) {
    struct Case {
        int row;
        std::array<uint8_t, 11> slots;
        uint8_t key124;
    };
    const Case cases[] = {
        {0, {0x40, 0x4F, 0x4F, 0x4F, 0x4F, 0x40, 0x4F, 0x38, 0x37, 0x51, 0x50}, 0x4F},  // mobile 8
        {4, {0x4F, 0x4F, 0x4F, 0x4F, 0x4F, 0x40, 0x4F, 0x38, 0x37, 0x51, 0x50}, 0x4F},  // mobile 128
        {15, {0x48, 0x52, 0x46, 0x4F, 0x47, 0x40, 0x4F, 0x4F, 0x4F, 0x4F, 0x4F}, 0xA1}, // portable 8
        {19, {0x48, 0x52, 0x46, 0x3A, 0x47, 0x40, 0x4F, 0x4F, 0x4F, 0x4F, 0x4F}, 0xA1}, // portable 128
        {24, {0x48, 0x4F, 0x46, 0x3A, 0x47, 0x40, 0x4F, 0x4F, 0x4F, 0x4F, 0x4F}, 0xA1}, // market C
    };
    for (const Case& c : cases) {
        RadioData data;
        newDataFor(data, models::identityFor(c.row, 0, OptionBoard::None));
        for (size_t i = 0; i < 11; ++i) EXPECT_EQ(data.image.u8(0x110 + i), c.slots[i]) << c.row << "/" << i;
        EXPECT_EQ(data.image.u8(0x124), c.key124);
    }
}

TEST(NewData, RememberedIdentityIsCheckedAndTrunkingDroppedForEuropeanMarkets) {
    ModelIdentity eTrunk = models::identityFor(1, 0, OptionBoard::Trunking); // RM-140A:E
    EXPECT_EQ(eTrunk.option(), 0xDF);
    EXPECT_EQ(checkedIdentity(eTrunk).option(), 0xFF);

    ModelIdentity unknown = defaultIdentity();
    unknown.bytes[1] = '9';
    EXPECT_EQ(checkedIdentity(unknown), defaultIdentity());

    RadioData data;
    data.image.setIdentity(eTrunk);
    newData(data);
    EXPECT_EQ(data.image.identity().option(), 0xFF);
    EXPECT_EQ(models::findRow(data.image.identity()), 1);
}

TEST(NewData, TwoToneDerivedWordsAreRecomputed) {
    CDataImage image;
    image.setU16(0x30, 3217);
    image.setU16(0x36, 9281);
    image.setU16(0x3C, 6009);
    recomputeTwoToneDerivedWords(image);
    EXPECT_EQ(image.u16(0x32), 3281);
    EXPECT_EQ(image.u16(0x34), 3153);
    EXPECT_EQ(image.u16(0x38), 9467);
    EXPECT_EQ(image.u16(0x3A), 9095);
    EXPECT_EQ(image.u16(0x3E), 6129);
    EXPECT_EQ(image.u16(0x40), 5889);
    // After a read the words come from single-precision factors; the window's store
    // of the same tones (292.5 Hz, 1002.5 Hz) gives 2984 and 10226.
    image.setU16(0x30, 2925);
    image.setU16(0x36, 10025);
    recomputeTwoToneDerivedWords(image);
    EXPECT_EQ(image.u16(0x32), 2983);
    EXPECT_EQ(image.u16(0x38), 10225);
}

TEST(NewData, DerivedWordsOfUnsetOrHugeTonesDoNotWrap) {
    CDataImage image; // all 0xFF: the base words are unset
    recomputeTwoToneDerivedWords(image);
    EXPECT_EQ(image.u16(0x32), 0xFFFF);
    EXPECT_EQ(image.u16(0x34), 0xFFFF);
    image.setU16(0x30, 65000);
    recomputeTwoToneDerivedWords(image);
    EXPECT_EQ(image.u16(0x32), 0xFFFF); // 66300 does not fit: held at the top
    EXPECT_EQ(image.u16(0x34), 63700);
}

TEST(ModelChange, ClassesFollowWhatChanged) {
    const ModelChoice k{0, 0, OptionBoard::None, 1};
    EXPECT_EQ(classifyModelChange(k, k), 0);
    EXPECT_EQ(classifyModelChange(k, {0, 1, OptionBoard::None, 1}), 1);     // band
    EXPECT_EQ(classifyModelChange(k, {0, 0, OptionBoard::Trunking, 1}), 1); // trunking on
    EXPECT_EQ(classifyModelChange(k, {4, 0, OptionBoard::None, 1}), 1);     // label, same market
    EXPECT_EQ(classifyModelChange(k, {1, 0, OptionBoard::None, 1}), 3);     // label and market
    EXPECT_EQ(classifyModelChange(k, {0, 0, OptionBoard::Scr, 1}), 4);      // SCR only
}

TEST(ModelChange, ScrOnlyAsksNothingAndKeepsChannels) {
    RadioData data;
    startWith(data, {0, 0, OptionBoard::None, 1});
    data.image.setU8(0x0300, 1); // a channel-index entry
    Answers answers;
    auto result = applyModelChange(data, {0, 0, OptionBoard::Scr, 1}, answers);
    EXPECT_EQ(result.outcome, ModelChangeOutcome::Applied);
    EXPECT_EQ(result.changeClass, 4);
    EXPECT_TRUE(answers.classesAsked.empty());
    EXPECT_EQ(data.image.u8(0x0300), 1);
    EXPECT_EQ(data.image.identity().option(), 0x7F);
    EXPECT_TRUE(data.model.flags().scr);
    EXPECT_TRUE(data.image.isModified());
}

TEST(ModelChange, BandChangeAsksAndEmptiesTheChannelPlan) {
    RadioData data;
    startWith(data, {0, 0, OptionBoard::None, 1});
    data.image.setU8(0x0300, 1);
    data.image.setU8(0x2000, 1);
    Answers answers;
    answers.okChange = false;
    auto refused = applyModelChange(data, {0, 1, OptionBoard::None, 1}, answers);
    EXPECT_EQ(refused.outcome, ModelChangeOutcome::Refused);
    EXPECT_EQ(data.image.u8(0x0300), 1) << "a refused change leaves the data alone";

    answers.okChange = true;
    auto applied = applyModelChange(data, {0, 1, OptionBoard::None, 1}, answers);
    EXPECT_EQ(applied.outcome, ModelChangeOutcome::Applied);
    EXPECT_EQ(answers.classesAsked, (std::vector<int>{1, 1}));
    EXPECT_EQ(data.image.u8(0x0300), 0xFF);
    EXPECT_EQ(data.image.u8(0x2000), 0xFF);
    EXPECT_EQ(data.image.identity().band(), 5);
    EXPECT_EQ(formatFrequency(data.image.bytes().subspan(0x0140, 4)), "149.05000");
    EXPECT_FALSE(applied.resetFileName);
}

TEST(ModelChange, FewerTrunkingGroupsOnEightChannelsAsksAndDeletesTheirChannels) {
    RadioData data;
    startWith(data, {0, 0, OptionBoard::Trunking, 4});
    data.image.setU8(0x0087, 4);
    data.model.setCommitted({0, 0, OptionBoard::Trunking, 4});
    Answers answers;
    RecordingEditor editor;
    answers.okReduce = false;
    auto abandoned = applyModelChange(data, {0, 0, OptionBoard::Trunking, 2}, answers, &editor);
    EXPECT_EQ(abandoned.outcome, ModelChangeOutcome::Abandoned);
    EXPECT_TRUE(editor.deleted.empty());
    EXPECT_EQ(data.image.u8(0x0087), 4);

    answers.okReduce = true;
    auto applied = applyModelChange(data, {0, 0, OptionBoard::Trunking, 2}, answers, &editor);
    EXPECT_EQ(applied.outcome, ModelChangeOutcome::Applied);
    EXPECT_EQ(answers.reductionsAsked.back(), std::make_pair(2, 4));
    EXPECT_EQ(editor.deleted, (std::vector<int>{2, 3})); // groups 3 and 4 counting from 1
    EXPECT_EQ(data.image.u8(0x0087), 2);
}

TEST(ModelChange, PortableToMobileAdjustsTimerKeysAndIdentity) {
    RadioData data;
    startWith(data, {19, 0, OptionBoard::None, 1}); // RP-120A[128CH]:K
    data.image.setU16(0x0010, 600);
    data.image.setU8(0x0110, 0x4D); // Scrambler on a key without an SCR board
    Answers answers;
    auto result = applyModelChange(data, {4, 0, OptionBoard::None, 1}, answers); // RM-160A:K
    EXPECT_EQ(result.outcome, ModelChangeOutcome::Applied);
    EXPECT_TRUE(result.resetFileName);
    EXPECT_EQ(data.image.u16(0x0010), 1200);
    EXPECT_EQ(data.image.u8(0x008B), 0xFF);
    EXPECT_EQ(data.image.u8(0x0110), 0x4F); // mobile 128-channel default for slot 0
    EXPECT_EQ(data.image.identity().family(), 'M');
    EXPECT_EQ(data.image.identity().option(), 0xFF);
    EXPECT_EQ(data.image.u8(0x00AE) & 0x8F, 0x81);
    EXPECT_TRUE(data.model.flags().mobile);
    EXPECT_EQ(data.model.committed(), (ModelChoice{4, 0, OptionBoard::None, 1}));
}

TEST(ModelChange, ThirtyTwoChannelModelsClearOptionBit2) {
    RadioData data;
    startWith(data, {19, 0, OptionBoard::None, 1});
    Answers answers;
    applyModelChange(data, {25, 0, OptionBoard::None, 1}, answers); // RP-130A[32CH]:K
    EXPECT_EQ(data.image.identity().option(), 0xFB);
    EXPECT_EQ(data.model.flags().capacity, 32);
    EXPECT_EQ(data.image.u8(0x002A), '0');
    EXPECT_TRUE(data.image.bit(0x002E, 1));
    EXPECT_TRUE(data.image.bit(0x00FD, 6));
}

// 0xFF at 0x0087 is "no trunking groups": a change to 8 or 16 channels makes it 1,
// not the 8 that a count above 8 is cut to.
TEST(ModelChange, TrunkingGroupCountOnChangeToEightOrSixteenChannels) {
    struct Case {
        ModelChoice from, to;
        uint8_t before, after;
    };
    const Case cases[] = {
        {{4, 0, OptionBoard::None, 1}, {0, 0, OptionBoard::None, 1}, 0xFF, 1},   // 128 -> 8
        {{19, 0, OptionBoard::None, 1}, {23, 0, OptionBoard::None, 1}, 0xFF, 1}, // 128 -> 16
        {{4, 0, OptionBoard::None, 1}, {0, 0, OptionBoard::None, 1}, 12, 8},
        {{19, 0, OptionBoard::None, 1}, {23, 0, OptionBoard::None, 1}, 12, 12},  // only 8 cuts
        {{0, 0, OptionBoard::None, 1}, {0, 1, OptionBoard::None, 1}, 12, 12},    // was 8 already
        {{0, 0, OptionBoard::None, 1}, {0, 1, OptionBoard::None, 1}, 0xFF, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.from.row << "->" << c.to.row << " " << int(c.before));
        RadioData data;
        startWith(data, c.from);
        data.image.setU8(0x0087, c.before);
        Answers answers;
        ASSERT_EQ(applyModelChange(data, c.to, answers).outcome, ModelChangeOutcome::Applied);
        EXPECT_EQ(data.image.u8(0x0087), c.after);
    }
}

// Regression: lowering the trunking-group count of a 128-channel radio left the
// former trunking groups as they were. Now their channels 17 and up go, channels
// 1-16 get back the settings a trunking group hides, and the groups rejoin the
// group scan list; the groups still trunking keep theirs.
TEST(ModelChange, FewerTrunkingGroupsOn128ChannelsResetsTheFormerTrunkingGroups) {
    vrl::testing::ChannelFixture f(vrl::testing::kRowMobile128, 1);
    ChannelStore& store = f.store;
    CDataImage& image = f.image();
    image.fillRange(0x0060, 0x007F, 0xFF);
    store.setText("150", 2, 20, ChannelField::Receive); // group 3 still conventional
    image.setU8(0x0087, 3);
    f.data.model.setCommitted({4, 0, OptionBoard::Trunking, 3});
    for (int g = 0; g < 3; ++g)
        for (int c : {0, 5}) {
            ASSERT_EQ(store.setText("150", g, c, ChannelField::Receive), StoreResult::Ok);
            const size_t rec = 0x2000 + 48 * *store.slotOf(g, c);
            image.setU8(rec + 0x1F, '0');           // DTMF signalling
            image.setU8(rec + 0x20, 0x05);          // PTT ID BOT, power high, wide
            image.setU8(rec + 0x21, 0x05);          // lockout 1, PTT-set bit
            image.setU8(0x6000 + 16 * *store.slotOf(g, c) + 15, 3);
            image.setBit(0x0070 + *store.slotOf(g, c) / 8, *store.slotOf(g, c) % 8, false);
        }
    ASSERT_FALSE(store.getGroupScan(2));

    Answers answers;
    auto result = applyModelChange(f.data, {4, 0, OptionBoard::Trunking, 1}, answers, &store);
    ASSERT_EQ(result.outcome, ModelChangeOutcome::Applied);
    EXPECT_TRUE(answers.reductionsAsked.empty());
    EXPECT_EQ(image.u8(0x0087), 1);
    EXPECT_FALSE(store.exists(2, 20));
    EXPECT_EQ(store.channelsInUse(), 6);
    for (int g = 0; g < 3; ++g)
        for (int c : {0, 5}) {
            SCOPED_TRACE(::testing::Message() << g << "/" << c);
            const int slot = *store.slotOf(g, c);
            const size_t rec = 0x2000 + 48 * slot;
            const bool stillTrunking = g == 0;
            EXPECT_EQ(image.u8(rec + 0x1F), stillTrunking ? '0' : 0xFF);
            EXPECT_EQ(image.u8(rec + 0x20), stillTrunking ? 0x05 : 0xC5);
            EXPECT_EQ(image.u8(rec + 0x21), stillTrunking ? 0x05 : 0x07);
            EXPECT_EQ(image.u8(0x6000 + 16 * slot + 15), stillTrunking ? 3 : 0xFF);
            EXPECT_EQ(image.bit(0x0070 + slot / 8, slot % 8), !stillTrunking);
            EXPECT_EQ(store.getText(ChannelField::Receive, g, c), "150.00000");
        }
    EXPECT_FALSE(store.getGroupScan(0));
    EXPECT_TRUE(store.getGroupScan(1));
    EXPECT_TRUE(store.getGroupScan(2));
}
