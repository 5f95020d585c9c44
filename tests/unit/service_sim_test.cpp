// Test Mode and Tuning Mode against the simulated radio on a pretend clock: the
// opening checks and refusals, the search for an accepted test channel, channel
// and signalling selection, keying times, and what the radio keeps.
#include "link/texts.h"
#include "link_fakes.h"
#include "model/new_data.h"
#include "service/tuning_mode.h"
#include "sim/sim_transport.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vrl;
using namespace vrl::testing;

namespace {

constexpr int kMobileRow = 0;
constexpr int kPortableRow = 15;

struct SimBench : ::testing::Test {
    FakeClock clock;
    RadioData data;
    ScriptedUi ui;
    RadioLink link{clock};
    std::unique_ptr<sim::RadioSimulator> radio;
    std::unique_ptr<sim::SimTransport> line;
    std::vector<std::string> seen; // what the radio reported

    void SetUp() override { serviceMemory() = {}; }

    // A radio written with the data (then `change` may alter the radio's memory).
    void start(int row, std::function<void(sim::Memory&)> change = {},
               std::string version = "v2.30", int keyDelayMs = 0, sim::SimFaults faults = {}) {
        newDataFor(data, models::identityFor(row, 0, OptionBoard::None));
        sim::SimConfig config;
        std::copy_n(data.image.bytes().begin() + 0xA7, 8, config.identity.begin());
        config.version = sim::firmwareFromText(version);
        config.keyDelayMs = keyDelayMs;
        config.faults = faults;
        sim::Memory memory{};
        std::copy_n(data.image.bytes().begin(), memory.size(), memory.begin());
        if (change) change(memory);
        radio = std::make_unique<sim::RadioSimulator>(config, memory);
        radio->setReporter([this](const std::string& s) { seen.push_back(s); });
        line = std::make_unique<sim::SimTransport>(*radio, clock);
        link.setTransport(line.get());
    }
    static void setEntry(sim::Memory& m, int n, uint8_t byte, uint8_t value) {
        m[0x0140 + 10 * (n - 1) + byte] = value;
    }
    bool radioLeftTestState() const { return !radio->inTestState() && !radio->keyed(); }
};

} // namespace

// --- the opening --------------------------------------------------------------------

using TestModeOpening = SimBench;

TEST_F(TestModeOpening, ARadioWrittenWithTheDataOpensOnChannel1) {
    start(kMobileRow);
    TestModeSession session(link, data, ui);
    ASSERT_EQ(session.open(), kTestModeOk);
    EXPECT_TRUE(radio->inTestState());
    EXPECT_EQ(radio->testChannel(), 1);
    EXPECT_TRUE(session.mobile());
    EXPECT_EQ(session.mobileByte(), 16);
    EXPECT_EQ(session.tuningData(), radio->tuningData());
    EXPECT_TRUE(ui.asked.empty());
    session.end();
    EXPECT_TRUE(radioLeftTestState());
    EXPECT_FALSE(link.isOpen());
}

TEST_F(TestModeOpening, RefusalsLeaveTheTestStateWithTheirMessage) {
    struct Case {
        const char* name;
        int row;
        std::function<void(sim::Memory&)> change;
        std::string version;
        bool password;
        int text;
    };
    const Case cases[] = {
        {"channel 5 transmit differs", kMobileRow, [](sim::Memory& m) { setEntry(m, 5, 5, 0x33); },
         "v2.30", false, servicetext::kTestChannelsDiffer},
        {"channel 3 blank in the radio", kPortableRow,
         [](sim::Memory& m) { std::fill_n(m.begin() + 0x0140 + 20, 10, 0xFF); }, "v2.30", false,
         servicetext::kTestChannelsDiffer},
        {"oldest firmware with a password in the data",
         kMobileRow,
         {},
         "v1.00 ",
         true,
         servicetext::kRadioNotMatching},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui.asked.clear();
        start(c.row, c.change, c.version);
        if (c.password) data.image.setBit(0xAE, 6, false);
        TestModeSession session(link, data, ui);
        EXPECT_EQ(session.open(), kTestModeRefused);
        EXPECT_EQ(ui.asked, (std::vector<int>{c.text}));
        EXPECT_TRUE(radioLeftTestState());
        EXPECT_FALSE(link.isOpen());
    }
}

TEST_F(TestModeOpening, ARadioOfAnotherVariantIsRefusedWithText30) {
    start(kMobileRow);
    newDataFor(data, models::identityFor(kMobileRow, 1, OptionBoard::None)); // other band
    TestModeSession session(link, data, ui);
    EXPECT_EQ(session.open(), kTestModeRefused);
    EXPECT_EQ(ui.asked, (std::vector<int>{servicetext::kRadioNotMatching}));
    EXPECT_TRUE(radioLeftTestState());
}

TEST_F(TestModeOpening, AnUnknownIdentityAsksAgainAfterReenteringTheTestState) {
    start(kMobileRow);
    // Rebuild the radio with an identity the table does not hold.
    sim::SimConfig config;
    config.identity = {'P', '9', '9', '0', '0', 0x15, 0xFF, 0xF1};
    sim::Memory memory{};
    std::copy_n(data.image.bytes().begin(), memory.size(), memory.begin());
    radio = std::make_unique<sim::RadioSimulator>(config, memory);
    line = std::make_unique<sim::SimTransport>(*radio, clock);
    link.setTransport(line.get());
    ui.retries = 1;
    TestModeSession session(link, data, ui);
    EXPECT_EQ(session.open(), kTestModeRefused);
    EXPECT_EQ(ui.asked, (std::vector<int>{texts::kIdentityRejected, texts::kIdentityRejected}));
    EXPECT_TRUE(radioLeftTestState());
}

TEST_F(TestModeOpening, TheRememberedChannelIsSearchedOnFromWhenRefused) {
    struct Case {
        int remembered;
        std::vector<int> blank; // entries blank in data and radio
        int expected;
    };
    const Case cases[] = {
        {3, {}, 3},  {7, {}, 1}, // 7-16 are blank in New data: wraps to 1
        {16, {}, 1}, {2, {2, 3}, 4}, {5, {1, 2, 3, 4, 5, 6}, 0}, // nothing left: no channel
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.remembered);
        start(kMobileRow, [&](sim::Memory& m) {
            for (int n : c.blank)
                std::fill_n(m.begin() + 0x0140 + 10 * (n - 1), 10, 0xFF);
        });
        for (int n : c.blank)
            data.image.fill(0x0140 + 10 * (n - 1), 10, 0xFF);
        serviceMemory().testChannel = c.remembered;
        TestModeSession session(link, data, ui);
        if (c.expected == 0) {
            ui.asked.clear();
            EXPECT_EQ(session.open(), kTestModeNoChannel);
            EXPECT_EQ(ui.asked, (std::vector<int>{servicetext::kTestChannelsDiffer}));
            EXPECT_TRUE(radioLeftTestState());
            continue;
        }
        ASSERT_EQ(session.open(), kTestModeOk);
        EXPECT_EQ(session.channel(), c.expected);
        EXPECT_EQ(radio->testChannel(), c.expected);
        EXPECT_EQ(serviceMemory().testChannel, c.expected);
    }
}

// --- driving the radio ------------------------------------------------------------------

using TestModeDriving = SimBench;

TEST_F(TestModeDriving, TypedAndSteppedChannelsSkipBlankEntries) {
    start(kMobileRow); // entries 1-6 hold frequencies
    TestModeSession session(link, data, ui);
    ASSERT_EQ(session.open(), kTestModeOk);
    struct Step {
        bool typed;
        int number;
        int expected;
    };
    const Step steps[] = {
        {true, 0, 1},   {true, 20, 1},  {true, 5, 5},   {true, 9, 1},
        {false, +1, 2}, {false, -1, 1}, {false, -1, 6}, {false, +1, 1},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(::testing::Message() << (s.typed ? "typed " : "step ") << s.number);
        ASSERT_TRUE(s.typed ? session.typeChannel(s.number) : session.stepChannel(s.number));
        EXPECT_EQ(session.channel(), s.expected);
        EXPECT_EQ(radio->testChannel(), s.expected);
    }
}

TEST_F(TestModeDriving, SignallingsClampAndWrap) {
    start(kMobileRow);
    TestModeSession session(link, data, ui);
    ASSERT_EQ(session.open(), kTestModeOk);
    EXPECT_EQ(radio->signalling(), 0);
    const std::pair<int, int> typed[] = {{0, 1}, {13, 12}, {7, 7}};
    for (auto [n, expected] : typed) {
        ASSERT_TRUE(session.typeSignalling(n));
        EXPECT_EQ(radio->signalling(), expected);
    }
    ASSERT_TRUE(session.typeSignalling(12));
    ASSERT_TRUE(session.stepSignalling(+1));
    EXPECT_EQ(radio->signalling(), 1);
    ASSERT_TRUE(session.stepSignalling(-1));
    EXPECT_EQ(radio->signalling(), 12);
}

TEST_F(TestModeDriving, SlowKeyingIsWaitedForOnlyWithLongSignallings) {
    for (int signalling : {11, 1}) {
        SCOPED_TRACE(signalling);
        ui.asked.clear();
        start(kMobileRow, {}, "v2.30", 5000);
        TestModeSession session(link, data, ui);
        ASSERT_EQ(session.open(), kTestModeOk);
        ASSERT_TRUE(session.selectSignalling(signalling));
        const bool keyed = session.setKeyed(true);
        EXPECT_EQ(keyed, signalling == 11);
        EXPECT_EQ(ui.asked.empty(), signalling == 11);
        session.end();
        EXPECT_TRUE(radioLeftTestState());
    }
}

TEST_F(TestModeDriving, CancelAtARetryBoxLeavesTheRadioUnkeyedAndOutOfTheTestState) {
    // Count the commands up to keying, then run again with the next one unheard.
    start(kMobileRow);
    int commands = 0;
    {
        TestModeSession session(link, data, ui);
        ASSERT_EQ(session.open(), kTestModeOk);
        ASSERT_TRUE(session.setKeyed(true));
        commands = radio->commandCount();
    }
    sim::SimFaults faults;
    faults.dropCommand = commands + 1;
    start(kMobileRow, {}, "v2.30", 0, faults);
    TestModeSession session(link, data, ui);
    ASSERT_EQ(session.open(), kTestModeOk);
    ASSERT_TRUE(session.setKeyed(true));
    EXPECT_FALSE(session.selectSignalling(3));
    EXPECT_TRUE(session.failed());
    EXPECT_EQ(ui.asked, (std::vector<int>{texts::kCommFailed}));
    EXPECT_TRUE(radio->keyed());
    session.end();
    EXPECT_TRUE(radioLeftTestState());
    EXPECT_FALSE(link.isOpen());
}

// --- tuning against the radio --------------------------------------------------------------

using TuningOnRadio = SimBench;

TEST_F(TuningOnRadio, OkKeepsTheSteppedValueCancelDropsIt) {
    start(kMobileRow);
    TestModeSession session(link, data, ui);
    ASSERT_EQ(session.open(), kTestModeOk);
    const uint8_t item = 0x30; // item 1, tab 1
    const uint8_t before = radio->keptValue(item);
    for (bool keep : {false, true}) {
        SCOPED_TRACE(keep);
        TuningSession tuning(session, 1);
        ASSERT_TRUE(tuning.open());
        ASSERT_TRUE(tuning.selectTab(1));
        EXPECT_EQ(tuning.value(), before);
        ASSERT_TRUE(tuning.setValue(before + 40));
        EXPECT_EQ(radio->itemValue(item), before + 40);
        ASSERT_TRUE(keep ? tuning.keep() : tuning.cancel());
        session.tuningClosed(false);
        EXPECT_EQ(radio->keptValue(item), keep ? before + 40 : before);
        EXPECT_EQ(radio->testChannel(), 1);
    }
    EXPECT_EQ(session.tuningData()[*tuningDataPlace(item)], before + 40);
}

TEST_F(TuningOnRadio, EveryItemOfBothListsOpensWithItsTabValues) {
    for (int row : {kMobileRow, kPortableRow}) {
        start(row);
        TestModeSession session(link, data, ui);
        ASSERT_EQ(session.open(), kTestModeOk);
        for (int bandwidth : {0, 1}) {
            ASSERT_TRUE(session.selectBandwidth(bandwidth));
            const auto items = tuningItems(session.mobile());
            for (int i = 0; i < static_cast<int>(items.size()); ++i) {
                SCOPED_TRACE(::testing::Message()
                             << "row " << row << " item " << i << " bw " << bandwidth);
                TuningSession tuning(session, i);
                ASSERT_TRUE(tuning.open());
                ASSERT_EQ(static_cast<int>(tuning.values().size()),
                          valuesCount(session.mobile(), i, bandwidth));
                for (int t = 0; t < tuning.tabs(); ++t)
                    EXPECT_EQ(tuning.values()[static_cast<size_t>(t)],
                              radio->itemValue(
                                  items[static_cast<size_t>(i)].bytes[static_cast<size_t>(t)]));
                ASSERT_TRUE(tuning.cancel());
            }
        }
        EXPECT_TRUE(ui.asked.empty());
    }
}

TEST_F(TuningOnRadio, VolumeAndLiveReading) {
    start(kMobileRow);
    {
        TestModeSession session(link, data, ui);
        ASSERT_EQ(session.open(), kTestModeOk);
        TuningSession tuning(session, 0);
        ASSERT_TRUE(tuning.open());
        EXPECT_EQ(tuning.volume(), 16);
        ASSERT_TRUE(tuning.setVolume(19));
        EXPECT_EQ(radio->volume(), 19);
        const int before = radio->commandCount();
        ASSERT_TRUE(tuning.setVolume(40)); // clamped to 31
        EXPECT_EQ(radio->volume(), 31);
        // The session clamps by itself: exactly the twelve steps up to 31 are sent.
        EXPECT_EQ(tuning.volume(), 31);
        EXPECT_EQ(radio->commandCount() - before, 12);
    }
    start(kPortableRow);
    TestModeSession session(link, data, ui);
    ASSERT_EQ(session.open(), kTestModeOk);
    radio->setItemValue(0x1E, 0x9A);
    TuningSession tuning(session, 0);
    ASSERT_TRUE(tuning.open());
    EXPECT_TRUE(tuning.liveReadingItem());
    ASSERT_TRUE(tuning.setKeyed(true));
    uint8_t reading = 0;
    ASSERT_TRUE(tuning.liveReading(reading));
    EXPECT_EQ(reading, 0x9A);
    ASSERT_TRUE(tuning.cancel());
    EXPECT_FALSE(radio->keyed());
}
