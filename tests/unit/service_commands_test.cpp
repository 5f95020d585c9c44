// Test-mode and tuning-mode commands byte for byte against a scripted line: the
// step commands, the reply times of keying and of 0x7C, the closing ACK pairs, and
// the ways out that must leave the radio unkeyed with "E".
#include "link/texts.h"
#include "link_fakes.h"
#include "model/new_data.h"
#include "service/tuning_mode.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

using namespace vrl;
using namespace vrl::testing;

namespace {

constexpr uint8_t ACK = 0x06, NAK = 0x15;
constexpr int kMobileRow = 0;    // RM-140A[8CH]:K
constexpr int kPortableRow = 15; // RP-110A[8CH]:K

Bytes bytesOf(std::span<const uint8_t> s) {
    return Bytes(s.begin(), s.end());
}

struct ScriptFixture : ::testing::Test {
    FakeClock clock;
    ScriptedTransport line{clock};
    RadioLink link{clock};
    ScriptedUi ui;
    RadioData data;

    void SetUp() override {
        link.setTransport(&line);
        serviceMemory() = {};
    }
    void newData(int row) { newDataFor(data, models::identityFor(row, 0, OptionBoard::None)); }

    // The opening exchange of a radio that matches the data, up to 0x11 0x00.
    void scriptOpening(uint8_t volume = 5) {
        const IdentityBytes id = data.image.identity().bytes;
        const bool mobile = id[0] == 'M';
        TestFrequencyTable table(data);
        line.expectText("TUNING ", {ACK});
        line.expect({0x02}, bytesOf(id)).expect({ACK}, {ACK});
        line.expect({0x50}, textBytes("v2.30     ")).expect({ACK}, {ACK});
        line.expect({0x05}, Bytes(90, 0x80)).expect({ACK}, {ACK});
        if (mobile) line.expect({0x21, 0x0C}, {volume}).expect({ACK}, {ACK});
        for (int n = 1; n <= 16; ++n) {
            line.expect({0x10, static_cast<uint8_t>(n)}, bytesOf(table.wireBytes(n)))
                .expect({ACK}, {table.receiveBlank(n) ? NAK : ACK});
        }
        line.expect({0x10, 1}, bytesOf(table.wireBytes(1))).expect({ACK}, {ACK});
        line.expect({0x11, 0x00}, {ACK});
        // Bandwidth index 0, whatever the radio kept from an earlier session.
        line.expect({'F'}, {ACK});
    }
};

} // namespace

// --- single commands ------------------------------------------------------------

TEST(StepCommand, OneCommandPerChange) {
    struct Case {
        int delta;
        Bytes bytes;
    };
    const Case cases[] = {
        {0, {}},
        {1, {0x30, 0x0A}},
        {-1, {0x30, 0x0B}},
        {2, {0x30, 0x1A, 2}},
        {120, {0x30, 0x1A, 120}},
        {-120, {0x30, 0x1B, 120}},
        {255, {0x30, 0x1A, 255}},
        {-255, {0x30, 0x1B, 255}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.delta);
        EXPECT_EQ(stepCommand(0x30, c.delta), c.bytes);
    }
}

using ServiceCommands = ScriptFixture;

TEST_F(ServiceCommands, KeyReplyTimeDependsOnSignallingAndFallsBackTo500) {
    const std::pair<int, int> cases[] = {{0, 550},  {1, 550},   {9, 3520},
                                         {10, 550}, {11, 6050}, {12, 6050}};
    ASSERT_TRUE(link.setOpen(true));
    link.setReadTimeout(500);
    ServiceLink c(link);
    for (auto [signalling, timeout] : cases) {
        SCOPED_TRACE(signalling);
        line.readTimeouts.clear();
        line.expect({0x08, 0x0D}, {ACK});
        EXPECT_TRUE(c.setTransmit(true, signalling));
        EXPECT_EQ(line.readTimeouts, (std::vector<int>{timeout}));
        EXPECT_EQ(link.readTimeout(), 500);
    }
}

TEST_F(ServiceCommands, KeyingWithSignalling11WaitsUpTo6050msForTheAck) {
    ASSERT_TRUE(link.setOpen(true));
    ServiceLink c(link);
    line.expect({0x08, 0x0D}); // no answer
    const int64_t before = clock.now;
    EXPECT_FALSE(c.setTransmit(true, 11));
    EXPECT_EQ(clock.now - before, 6050);
}

TEST_F(ServiceCommands, Query7CWaits3000msThenTheLineIsBackAt500) {
    ASSERT_TRUE(link.setOpen(true));
    link.setReadTimeout(500);
    ServiceLink c(link);
    line.expect({0x7C}, {0x12, 0x34}).expect({ACK}, {ACK});
    std::array<uint8_t, 2> reply{};
    EXPECT_TRUE(c.query7C(reply));
    EXPECT_EQ(reply, (std::array<uint8_t, 2>{0x12, 0x34}));
    EXPECT_EQ(line.readTimeouts, (std::vector<int>{3000, 500}));
}

TEST_F(ServiceCommands, RepliesWithDataEndWithTheClosingAckPair) {
    ASSERT_TRUE(link.setOpen(true));
    ServiceLink c(link);
    line.expect({0x05}, Bytes(90, 7)).expect({ACK}, {ACK});
    line.expect({0x07}, {1, 2, 3, 4}).expect({ACK}, {ACK});
    line.expect({0x1E, 0x0A}, {0x99}).expect({ACK}, {0x00}); // a wrong closing byte
    TuningData tuning{};
    std::vector<uint8_t> values;
    uint8_t live = 0;
    EXPECT_TRUE(c.readTuningData(tuning));
    EXPECT_EQ(tuning[89], 7);
    EXPECT_TRUE(c.readValues(4, values));
    EXPECT_EQ(values, (std::vector<uint8_t>{1, 2, 3, 4}));
    EXPECT_FALSE(c.liveReading(live));
    EXPECT_TRUE(line.finished());
}

TEST_F(ServiceCommands, ChannelSelectionTellsAcceptedRefusedAndFailed) {
    ASSERT_TRUE(link.setOpen(true));
    ServiceLink c(link);
    const Bytes freq{0x01, 0x60, 0x05, 0x00, 0x01, 0x60, 0x10, 0x00};
    line.expect({0x10, 3}, freq).expect({ACK}, {ACK});
    line.expect({0x10, 4}, Bytes(8, 0xFF)).expect({ACK}, {NAK});
    line.expect({0x10, 5}, Bytes(7, 0xFF));
    TestChannelBytes got{};
    EXPECT_EQ(c.selectTestChannel(3, got), ChannelReply::Accepted);
    EXPECT_EQ(bytesOf(got), freq);
    EXPECT_EQ(c.selectTestChannel(4, got), ChannelReply::Refused);
    EXPECT_EQ(c.selectTestChannel(5, got), ChannelReply::Failed);
}

// --- sessions on a scripted line ----------------------------------------------------

TEST_F(ServiceCommands, OpeningSendsTheExchangeInOrderAt9600With500ms) {
    newData(kMobileRow);
    scriptOpening();
    TestModeSession session(link, data, ui);
    ASSERT_EQ(session.open(), kTestModeOk);
    EXPECT_TRUE(line.finished());
    EXPECT_EQ(link.settings(), "9600,N,8,2");
    EXPECT_EQ(link.readTimeout(), 500);
    EXPECT_EQ(session.channel(), 1);
    EXPECT_EQ(session.signalling(), 0);
    EXPECT_EQ(serviceMemory().testChannel, 1);
    line.expect({'E'}, {ACK});
    session.end();
    EXPECT_TRUE(line.finished());
    EXPECT_FALSE(link.isOpen());
}

TEST_F(ServiceCommands, ClosingWhileKeyedUnkeysBeforeE) {
    newData(kMobileRow);
    scriptOpening();
    TestModeSession session(link, data, ui);
    ASSERT_EQ(session.open(), kTestModeOk);
    line.expect({0x11, 9}, {ACK}).expect({0x08, 0x0D}, {ACK});
    ASSERT_TRUE(session.selectSignalling(9));
    ASSERT_TRUE(session.setKeyed(true));
    line.readTimeouts.clear();
    line.expect({0x08, 0x0E}, {ACK}).expect({'E'}, {ACK});
    session.end();
    EXPECT_TRUE(line.finished());
    EXPECT_EQ(line.readTimeouts.front(), 3520);
}

TEST_F(ServiceCommands, CancelAtARetryBoxStillUnkeysAndSendsE) {
    newData(kMobileRow);
    scriptOpening();
    TestModeSession session(link, data, ui);
    ASSERT_EQ(session.open(), kTestModeOk);
    line.expect({0x08, 0x0D}, {ACK});
    ASSERT_TRUE(session.setKeyed(true));
    // Changing the signalling gets no answer; the user cancels.
    line.expect({0x11, 3});
    ui.retries = 0;
    EXPECT_FALSE(session.selectSignalling(3));
    EXPECT_TRUE(session.failed());
    EXPECT_EQ(ui.asked, (std::vector<int>{texts::kCommFailed}));
    line.expect({0x08, 0x0E}, {ACK}).expect({'E'}, {ACK});
    session.end();
    EXPECT_TRUE(line.finished());
    EXPECT_FALSE(link.isOpen());
}

TEST_F(ServiceCommands, RetryRepeatsTheSameCommand) {
    newData(kMobileRow);
    scriptOpening();
    TestModeSession session(link, data, ui);
    ASSERT_EQ(session.open(), kTestModeOk);
    line.expect({'G'}).expect({'G'}, {ACK});
    ui.retries = 1;
    EXPECT_TRUE(session.selectBandwidth(1));
    EXPECT_EQ(session.bandwidth(), 1);
    line.expect({'E'}, {ACK});
}

TEST_F(ServiceCommands, PortThatDoesNotOpenShowsText25) {
    newData(kMobileRow);
    line.failOpen = true;
    TestModeSession session(link, data, ui);
    EXPECT_EQ(session.open(), kTestModePortFailed);
    EXPECT_EQ(ui.asked, (std::vector<int>{texts::kPortOpenFailed}));
    EXPECT_TRUE(line.writes.empty());
}

TEST_F(ServiceCommands, AStopRequestUnkeysAndLeavesWithoutAnotherCommand) {
    newData(kMobileRow);
    scriptOpening();
    TestModeSession session(link, data, ui);
    ASSERT_EQ(session.open(), kTestModeOk);
    line.expect({0x08, 0x0D}, {ACK});
    ASSERT_TRUE(session.setKeyed(true));
    ui.stopAfterProgressCalls = 0; // a signal arrived
    EXPECT_FALSE(session.selectSignalling(3));
    line.expect({0x08, 0x0E}, {ACK}).expect({'E'}, {ACK});
    session.end();
    EXPECT_TRUE(line.finished()) << "no 0x11 sent after the stop";
    EXPECT_TRUE(ui.asked.empty());
}

TEST_F(ServiceCommands, AnEndTheRadioDoesNotAcknowledgeIsReported) {
    for (const Bytes& answer : {Bytes{ACK}, Bytes{}}) {
        newData(kMobileRow);
        scriptOpening();
        TestModeSession session(link, data, ui);
        ASSERT_EQ(session.open(), kTestModeOk);
        line.expect({'E'}, answer);
        session.end();
        EXPECT_EQ(session.endConfirmed(), !answer.empty());
    }
    EXPECT_TRUE(line.finished());
}

// --- tuning on a scripted line ------------------------------------------------------

struct TuningScript : ScriptFixture {
    std::unique_ptr<TestModeSession> session;
    void TearDown() override {
        if (session && session->active()) line.expect({'E'}, {ACK});
        session.reset();
        EXPECT_TRUE(line.finished());
    }
    void openTest(int row, uint8_t volume = 5) {
        newData(row);
        scriptOpening(volume);
        session = std::make_unique<TestModeSession>(link, data, ui);
        ASSERT_EQ(session->open(), kTestModeOk);
    }
    // Opening Tuning Mode for an item whose first tab answers `values`.
    void scriptTuningOpen(uint8_t item, Bytes values, bool mobile = true, uint8_t volume = 5) {
        line.expect({0x05}, Bytes(90, 0x80)).expect({ACK}, {ACK});
        if (mobile) line.expect({0x21, 0x0C}, {volume}).expect({ACK}, {ACK});
        line.expect({item, 0x0D}, {ACK});
        line.expect({0x07}, values).expect({ACK}, {ACK});
    }
};

TEST_F(TuningScript, SliderMovesSendOneStepCommandEach) {
    openTest(kMobileRow);
    scriptTuningOpen(0x12, {10, 20, 30, 40, 50, 60});
    TuningSession tuning(*session, 1);
    ASSERT_TRUE(tuning.open());
    EXPECT_EQ(tuning.value(), 10);
    line.expect({0x12, 0x1A, 120}, {ACK}); // 10 -> 130
    line.expect({0x12, 0x0B}, {ACK});      // 130 -> 129
    line.expect({0x12, 0x1B, 129}, {ACK}); // Home
    EXPECT_TRUE(tuning.setValue(130));
    EXPECT_TRUE(tuning.stepValue(-1));
    EXPECT_TRUE(tuning.setValue(0));
    EXPECT_TRUE(tuning.setValue(0));  // Home again at 0: nothing
    EXPECT_TRUE(tuning.setValue(-5)); // below the range: still nothing
    EXPECT_TRUE(line.finished());
    EXPECT_EQ(tuning.value(), 0);
    EXPECT_EQ(session->tuningData()[*tuningDataPlace(0x12)], 0);
}

TEST_F(TuningScript, VolumeFrom5To8SendsThreeUpSteps) {
    openTest(kMobileRow, 5);
    scriptTuningOpen(0x20, {100}, true, 5);
    TuningSession tuning(*session, 0);
    ASSERT_TRUE(tuning.open());
    EXPECT_EQ(tuning.volume(), 5);
    for (int i = 0; i < 3; ++i)
        line.expect({0x21, 0x0A}, {ACK});
    line.expect({0x21, 0x0B}, {ACK});
    EXPECT_TRUE(tuning.setVolume(8));
    EXPECT_TRUE(tuning.setVolume(7));
    EXPECT_TRUE(tuning.setVolume(7));
    EXPECT_TRUE(line.finished());
    EXPECT_EQ(serviceMemory().volume, 7);
}

TEST_F(TuningScript, NarrowBandwidthGivesMobileItem3ASingleTab) {
    openTest(kMobileRow);
    line.expect({'G'}, {ACK});
    ASSERT_TRUE(session->selectBandwidth(1));
    scriptTuningOpen(0x17, {77});
    TuningSession tuning(*session, 3);
    ASSERT_TRUE(tuning.open());
    EXPECT_EQ(tuning.tabs(), 1);
    EXPECT_EQ(tuning.itemByte(), 0x17);
    EXPECT_TRUE(line.finished());
}

TEST_F(TuningScript, PortableSingleTabItemReadsFourValues) {
    openTest(kPortableRow);
    scriptTuningOpen(0x81, {1, 2, 3, 4}, false);
    TuningSession tuning(*session, 13);
    ASSERT_TRUE(tuning.open());
    EXPECT_EQ(tuning.tabs(), 1);
    EXPECT_EQ(tuning.value(), 1);
    EXPECT_TRUE(line.finished());
}

TEST_F(TuningScript, TheBatteryReadingOfAPortableTakesNoValueStep) {
    openTest(kPortableRow);
    scriptTuningOpen(0x1E, {7}, false);
    TuningSession tuning(*session, 0);
    ASSERT_TRUE(tuning.open());
    // 0x1E 0x0A would be the live-reading command: nothing may go out.
    EXPECT_TRUE(tuning.setValue(100));
    EXPECT_TRUE(tuning.stepValue(1));
    EXPECT_TRUE(line.finished());
}

TEST_F(TuningScript, TabChangeUnkeysWithAPauseThenEntersTheNewTab) {
    openTest(kMobileRow);
    scriptTuningOpen(0x12, {10, 20, 30, 40, 50, 60});
    TuningSession tuning(*session, 1);
    ASSERT_TRUE(tuning.open());
    line.expect({0x08, 0x0D}, {ACK});
    ASSERT_TRUE(tuning.setKeyed(true));
    line.expect({0x08, 0x0E}, {ACK});
    line.expect({0x33, 0x0D}, {ACK});
    line.expect({0x07}, {10, 20, 31, 40, 50, 60}).expect({ACK}, {ACK});
    const int64_t before = clock.now;
    ASSERT_TRUE(tuning.selectTab(2));
    EXPECT_GE(clock.now - before, kUnkeyPauseMs);
    EXPECT_EQ(tuning.value(), 31);
    EXPECT_FALSE(tuning.keyed());
    EXPECT_TRUE(line.finished());
}

TEST_F(TuningScript, OkKeepsTheCurrentTabsItemAndCancelReturnsToTheTestChannel) {
    openTest(kMobileRow);
    line.expect({0x11, 4}, {ACK});
    ASSERT_TRUE(session->selectSignalling(4));
    TestFrequencyTable table(data);
    for (bool ok : {true, false}) {
        SCOPED_TRACE(ok);
        scriptTuningOpen(0x14, {1, 2, 3, 4, 5, 6});
        TuningSession tuning(*session, 2);
        ASSERT_TRUE(tuning.open());
        if (ok) {
            line.expect({0x14, 0x0E}, {ACK});
            EXPECT_TRUE(tuning.keep());
        } else {
            line.expect({0x10, 1}, bytesOf(table.wireBytes(1))).expect({ACK}, {ACK});
            line.expect({0x11, 4}, {ACK});
            EXPECT_TRUE(tuning.cancel());
        }
        EXPECT_TRUE(line.finished());
    }
}

TEST_F(TuningScript, TransmitIsRefusedForTheReceiveItems) {
    openTest(kMobileRow);
    for (int index : {9, 10, 11}) {
        SCOPED_TRACE(index);
        const auto& item = tuningItems(true)[static_cast<size_t>(index)];
        scriptTuningOpen(item.bytes[0], Bytes(static_cast<size_t>(valuesCount(true, index, 0)), 9));
        TuningSession tuning(*session, index);
        ASSERT_TRUE(tuning.open());
        EXPECT_FALSE(tuning.transmitAllowed());
        EXPECT_TRUE(tuning.setKeyed(true)); // nothing sent
        EXPECT_FALSE(tuning.keyed());
        EXPECT_TRUE(line.finished());
    }
}

TEST_F(TuningScript, CancelInTuningEndsTestModeWithUnkeyAndE) {
    openTest(kMobileRow);
    scriptTuningOpen(0x12, {10, 20, 30, 40, 50, 60});
    TuningSession tuning(*session, 1);
    ASSERT_TRUE(tuning.open());
    line.expect({0x12, 0x1A, 5}); // no answer; Cancel
    EXPECT_FALSE(tuning.setValue(15));
    EXPECT_TRUE(tuning.failed());
    session->tuningClosed(true);
    line.expect({0x08, 0x0E}, {ACK}).expect({'E'}, {ACK});
    session->end();
    EXPECT_TRUE(line.finished());
}

// --- item tables ---------------------------------------------------------------------

TEST(TuningItems, ListsMatchTheItemTextsOfTestMode) {
    std::vector<int> mobile, portable;
    for (const auto& i : tuningItems(true))
        mobile.push_back(i.text);
    for (const auto& i : tuningItems(false))
        portable.push_back(i.text);
    EXPECT_EQ(mobile,
              (std::vector<int>{499, 501, 502, 507, 508, 509, 510, 511, 512, 513, 514, 515}));
    EXPECT_EQ(portable, (std::vector<int>{500, 501, 502, 503, 504, 505, 506, 507, 509, 510, 511,
                                          512, 513, 514, 515}));
}

TEST(TuningItems, EveryItemByteHasItsOwnPlaceInTheTuningData) {
    std::set<size_t> places;
    size_t bytes = 0;
    for (bool mobile : {true, false})
        for (const auto& item : tuningItems(mobile))
            for (int t = 0; t < item.fullTabs; ++t) {
                const auto place = tuningDataPlace(item.bytes[static_cast<size_t>(t)]);
                ASSERT_TRUE(place);
                EXPECT_LT(*place, static_cast<size_t>(kTuningDataSize));
                places.insert(*place);
                ++bytes;
            }
    // Items shared by both lists share their places.
    EXPECT_EQ(places.size(), 62u);
    EXPECT_FALSE(tuningDataPlace(0x00));
}

TEST(TuningItems, HelpTopicsAndTitles) {
    EXPECT_EQ(tuningHelpTopic(499), 400);
    EXPECT_EQ(tuningHelpTopic(500), 408);
    EXPECT_EQ(tuningHelpTopic(515), 416);
    EXPECT_FALSE(tuningHelpTopic(516));
    const auto& item3 = tuningItems(true)[3];
    EXPECT_EQ(tuningTitle("Dev", "Low", "Wide", item3, 0), "Dev(Low,Wide)");
    EXPECT_EQ(tuningTitle("Dev", "Low", "Narrow", item3, 1), "Dev(Narrow)");
    EXPECT_EQ(tuningTitle("Ref", "Centre", "Wide", tuningItems(true)[0], 0), "Ref");
    EXPECT_EQ(tuningTitle("RSSI", "Low", "Wide", tuningItems(true)[9], 1), "RSSI(Low)");
}
