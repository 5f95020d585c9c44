// The programming-protocol commands byte for byte against a scripted line.
#include "link/radio_link.h"
#include "link/transfer.h"
#include "link_fakes.h"

#include <gtest/gtest.h>

#include <numeric>

using namespace vrl;
using namespace vrl::testing;

namespace {

constexpr uint8_t ACK = 0x06, NAK = 0x15, SYN = 0x16;

struct LinkFixture : ::testing::Test {
    FakeClock clock;
    ScriptedTransport line{clock};
    RadioLink link{clock};
    void SetUp() override {
        link.setTransport(&line);
        ASSERT_TRUE(link.setOpen(true));
    }
};

Bytes blockBytes(uint8_t seed) {
    Bytes data(256);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(seed + i * 7);
    return data;
}

uint8_t sum8(const Bytes& data) {
    return static_cast<uint8_t>(std::accumulate(data.begin(), data.end(), 0u) & 0xFF);
}

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

} // namespace

// --- baud search -----------------------------------------------------------

using BaudSearch = LinkFixture;

TEST_F(BaudSearch, AckAt9600SucceedsAtOnceWith550msTimeout) {
    line.expectText("PROGRAM", {ACK});
    EXPECT_EQ(link.enterProgramMode(), kLinkOk);
    EXPECT_EQ(link.settings(), "9600,N,8,2");
    EXPECT_EQ(link.readTimeout(), 550);
    EXPECT_EQ(line.readTimeouts, (std::vector<int>{500}));
    EXPECT_TRUE(line.finished());
}

TEST_F(BaudSearch, AnyByteThenAckAt9600IsAcceptedAtFirstAttempt) {
    line.expectText("PROGRAM", {SYN, ACK});
    EXPECT_EQ(link.enterProgramMode(), kLinkOk);
    EXPECT_EQ(line.settings.back(), "9600,N,8,2");
    EXPECT_EQ(line.readTimeouts, (std::vector<int>{500, 500}));
}

TEST_F(BaudSearch, At19200AFirstByteOtherThanSynMovesOnTo4800) {
    line.expectText("PROGRAM")               // 9600: silence
        .expectText("PROGRAM", {ACK})        // 19200: ACK without 0x16 is not enough
        .expectText("PROGRAM", {SYN, ACK});  // 4800
    EXPECT_EQ(link.enterProgramMode(), kLinkOk);
    EXPECT_EQ(line.settings, (std::vector<std::string>{"9600,N,8,2", "9600,N,8,2", "19200,N,8,2",
                                                       "4800,N,8,2"}));
    EXPECT_EQ(link.readTimeout(), 1100);
    // After the failed steps the line is let fall quiet at the rate found.
    EXPECT_EQ(line.readTimeouts, (std::vector<int>{500, 100, 100, 500, 3 * 1100}));
}

TEST_F(BaudSearch, EveryRateLeavesItsOwnTimeout) {
    for (size_t answering = 0; answering < kBaudSearch.size(); ++answering) {
        SCOPED_TRACE(kBaudSearch[answering].rate);
        FakeClock c;
        ScriptedTransport t(c);
        RadioLink l(c);
        l.setTransport(&t);
        ASSERT_TRUE(l.setOpen(true));
        for (size_t i = 0; i < answering; ++i) t.expectText("PROGRAM");
        t.expectText("PROGRAM", answering == 0 ? Bytes{ACK} : Bytes{SYN, ACK});
        EXPECT_EQ(l.enterProgramMode(), kLinkOk);
        EXPECT_EQ(l.readTimeout(), kBaudSearch[answering].timeoutMs);
        EXPECT_EQ(l.settings(), std::string(kBaudSearch[answering].rate) + ",N,8,2");
    }
}

TEST_F(BaudSearch, NoAnswerTriesFiveRatesInOrderAndRestoresTheOldTimeout) {
    link.setReadTimeout(1234);
    for (int i = 0; i < 5; ++i) line.expectText("PROGRAM");
    EXPECT_EQ(link.enterProgramMode(), kLinkFailed);
    EXPECT_EQ(link.readTimeout(), 1234);
    EXPECT_EQ(line.readTimeouts, (std::vector<int>{500, 100, 100, 100, 100, 3 * 1234}));
    const std::vector<std::string> tried(line.settings.begin() + 1, line.settings.end());
    EXPECT_EQ(tried, (std::vector<std::string>{"9600,N,8,2", "19200,N,8,2", "4800,N,8,2",
                                               "2400,N,8,2", "1200,N,8,2"}));
}

TEST_F(BaudSearch, KeepsTheSettingsTailAndTheNextSearchStartsAt9600) {
    link.setSettings("4800, E, 7, 1");
    line.expectText("PROGRAM").expectText("PROGRAM", {SYN, ACK});
    EXPECT_EQ(link.enterProgramMode(), kLinkOk);
    EXPECT_EQ(link.settings(), "19200,E,7,1");
    line.expectText("PROGRAM", {ACK});
    EXPECT_EQ(link.enterProgramMode(), kLinkOk);
    EXPECT_EQ(link.settings(), "9600,E,7,1");
}

TEST_F(BaudSearch, FailedWriteGivesUpAndRestoresTimeout) {
    link.setReadTimeout(777);
    line.failWrites = true;
    line.expectText("PROGRAM");
    EXPECT_EQ(link.enterProgramMode(), kLinkFailed);
    EXPECT_EQ(link.readTimeout(), 777);
    EXPECT_EQ(line.writes.size(), 1u);
}

// --- identity, firmware, password, end ------------------------------------

using Commands = LinkFixture;

TEST_F(Commands, IdentifyWaits50msThenReadsEightBytesAndTheAckPair) {
    const Bytes id{'M', '1', '4', '0', '0', 0x04, 0xFF, 0xF1};
    line.expect({0x02}, id).expect({ACK}, {ACK});
    const int64_t before = clock.now;
    IdentityBytes got{};
    EXPECT_EQ(link.readIdentity(got), kLinkOk);
    EXPECT_GE(clock.now - before, 50);
    EXPECT_EQ(Bytes(got.begin(), got.end()), id);
}

TEST_F(Commands, IdentifyWithoutClosingAckFailsAndKeepsTheBuffer) {
    line.expect({0x02}, {'M', '1', '4', '0', '0', 0x04, 0xFF, 0xF1}).expect({ACK}, {NAK});
    IdentityBytes got{};
    got.fill(0xAA);
    EXPECT_EQ(link.readIdentity(got), kLinkFailed);
    EXPECT_EQ(got[0], 0xAA);
}

TEST_F(Commands, FirmwareVersionIsTenBytes) {
    line.expect({0x50}, textBytes("v2.30     ")).expect({ACK}, {ACK});
    FirmwareVersion v{};
    EXPECT_EQ(link.readFirmwareVersion(v), kLinkOk);
    EXPECT_EQ(std::string(v.begin(), v.end()), "v2.30     ");
}

TEST_F(Commands, DataPasswordAcceptedRejectedOrLost) {
    const PasswordBytes pw = passwordFromText("1234");
    const Bytes wire{0x04, '1', '2', '3', '4', 0xFF, 0xFF};
    line.expect(wire, {ACK}).expect(wire, {NAK}).expect(wire);
    EXPECT_EQ(link.sendDataPassword(pw), kLinkOk);
    EXPECT_EQ(link.sendDataPassword(pw), kLinkRejected);
    EXPECT_EQ(link.sendDataPassword(pw), kLinkFailed);
}

TEST_F(Commands, EndProgramModeNeedsAck) {
    line.expect({'E'}, {ACK}).expect({'E'}, {NAK}).expect({'E'});
    EXPECT_EQ(link.endProgramMode(), kLinkOk);
    EXPECT_EQ(link.endProgramMode(), kLinkFailed);
    EXPECT_EQ(link.endProgramMode(), kLinkFailed);
}

TEST_F(Commands, RadioInformationChecksBytesOneToThirtyTwo) {
    Bytes info(32, 0xFF);
    const std::string serial = "SN0012345678";
    std::copy(serial.begin(), serial.end(), info.begin() + 16);
    line.expect({0x50}, textBytes("v2.10     ")).expect({ACK}, {ACK});
    line.expectText("NRK", cat({{'I'}, info, {sum8(info)}})).expect({ACK}, {ACK});
    InfoBlock got{};
    ASSERT_EQ(link.readRadioInformation(got), kLinkOk);
    EXPECT_EQ(Bytes(got.begin(), got.end()), info);
}

TEST_F(Commands, RadioInformationWithBadChecksumIsALinkFailure) {
    Bytes info(32, 0x41);
    line.expect({0x50}, textBytes("v2.10     ")).expect({ACK}, {ACK});
    line.expectText("NRK", cat({{'I'}, info, {static_cast<uint8_t>(sum8(info) + 1)}}));
    InfoBlock got{};
    EXPECT_EQ(link.readRadioInformation(got), kLinkFailed);
}

TEST_F(Commands, OldestFirmwareHasNoInformationBlock) {
    line.expect({0x50}, textBytes("v1.00 0001")).expect({ACK}, {ACK});
    InfoBlock got{};
    EXPECT_EQ(link.readRadioInformation(got), kLinkNotSupported);
    EXPECT_TRUE(line.finished());
}

TEST_F(Commands, CheckSumAllowsSixSecondsForItsReplyOnly) {
    link.setReadTimeout(550);
    line.expectText("NORVALE", {ACK}).expect({0x7C}, {0x1A, 0xF3}).expect({ACK}, {ACK});
    std::array<uint8_t, 2> sum{};
    ASSERT_EQ(link.readCheckSum(sum), kLinkOk);
    EXPECT_EQ(sum, (std::array<uint8_t, 2>{0x1A, 0xF3}));
    EXPECT_EQ(line.readTimeouts, (std::vector<int>{550, 6000, 550}));
    EXPECT_EQ(link.readTimeout(), 550);
}

// --- block read ----------------------------------------------------------

using BlockRead = LinkFixture;

TEST_F(BlockRead, ReadsDataWithChecksumAndAcknowledges) {
    const Bytes data = blockBytes(3);
    line.expect({'R', 0x00, 0x12}, cat({{'W'}, data, {sum8(data)}})).expect({ACK}, {ACK});
    Bytes buf(256);
    ASSERT_EQ(link.readBlock(buf, 0x12, false), kBlockOk);
    EXPECT_EQ(buf, data);
}

TEST_F(BlockRead, UsesTWhenAsked) {
    const Bytes data = blockBytes(9);
    line.expect({'T', 0x00, 0x51}, cat({{'W'}, data, {sum8(data)}})).expect({ACK}, {ACK});
    Bytes buf(256);
    EXPECT_EQ(link.readBlock(buf, 0x51, true), kBlockOk);
}

TEST_F(BlockRead, AnyOtherHeadByteFillsTheBlockWithoutChecksum) {
    line.expect({'R', 0x00, 0x20}, {'Z', 0xFF}).expect({ACK}, {ACK});
    Bytes buf(256, 0x00);
    ASSERT_EQ(link.readBlock(buf, 0x20, false), kBlockOk);
    EXPECT_EQ(buf, Bytes(256, 0xFF));
}

TEST_F(BlockRead, BadChecksumSendsNakThenRetries) {
    const Bytes data = blockBytes(1);
    line.expect({'R', 0x00, 0x07}, cat({{'W'}, data, {uint8_t(sum8(data) ^ 0x55)}}));
    line.expect({NAK}, {ACK});
    line.expect({'R', 0x00, 0x07}, cat({{'W'}, data, {sum8(data)}})).expect({ACK}, {ACK});
    Bytes buf(256);
    ASSERT_EQ(link.readBlock(buf, 7, false), kBlockOk);
    EXPECT_EQ(buf, data);
    EXPECT_TRUE(line.finished());
}

TEST_F(BlockRead, NakNotAcknowledgedFailsAtOnce) {
    const Bytes data = blockBytes(1);
    line.expect({'R', 0x00, 0x07}, cat({{'W'}, data, {uint8_t(sum8(data) + 1)}}));
    line.expect({NAK}, {'?'});
    Bytes buf(256, 0x11);
    EXPECT_EQ(link.readBlock(buf, 7, false), kBlockNakNotAcknowledged);
    EXPECT_EQ(buf, Bytes(256, 0x11));
}

TEST_F(BlockRead, OtherByteAfterOurAckFails) {
    const Bytes data = blockBytes(2);
    line.expect({'R', 0x00, 0x01}, cat({{'W'}, data, {sum8(data)}})).expect({ACK}, {NAK});
    Bytes buf(256);
    EXPECT_EQ(link.readBlock(buf, 1, false), kBlockAckNotAcknowledged);
}

TEST_F(BlockRead, ThreeSilentAttemptsThenFailure) {
    for (int i = 0; i < 3; ++i) line.expect({'R', 0x00, 0x02});
    Bytes buf(256);
    EXPECT_EQ(link.readBlock(buf, 2, false), kBlockRetriesExhausted);
    EXPECT_EQ(line.writes.size(), 3u);
}

TEST_F(BlockRead, ShortDataIsNotUsed) {
    const Bytes data = blockBytes(5);
    const Bytes shortReply = cat({{'W'}, Bytes(data.begin(), data.begin() + 200)});
    for (int i = 0; i < 3; ++i) line.expect({'R', 0x00, 0x03}, shortReply);
    Bytes buf(256, 0x22);
    EXPECT_EQ(link.readBlock(buf, 3, false), kBlockRetriesExhausted);
    EXPECT_EQ(buf, Bytes(256, 0x22));
}

// --- block write ---------------------------------------------------------

using BlockWrite = LinkFixture;

TEST_F(BlockWrite, EqualBytesGoAsZWithOneByte) {
    line.expect({'Z', 0x00, 0x60, 0xFF}, {ACK});
    EXPECT_EQ(link.writeBlock(Bytes(256, 0xFF), 0x60, false), kLinkOk);
}

TEST_F(BlockWrite, LastByteDifferentGoesAsWWithChecksum) {
    Bytes data(256, 0x41);
    data[255] = 0x42;
    line.expect(cat({{'W', 0x00, 0x08}, data, {sum8(data)}}), {ACK});
    EXPECT_EQ(link.writeBlock(data, 8, false), kLinkOk);
}

TEST_F(BlockWrite, YForTheTBlocks) {
    const Bytes data = blockBytes(4);
    line.expect(cat({{'Y', 0x00, 0x52}, data, {sum8(data)}}), {ACK});
    EXPECT_EQ(link.writeBlock(data, 0x52, true), kLinkOk);
}

TEST_F(BlockWrite, NakThenAckSucceedsOnTheSecondAttempt) {
    const Bytes data = blockBytes(4);
    const Bytes wire = cat({{'W', 0x00, 0x09}, data, {sum8(data)}});
    line.expect(wire, {NAK}).expect(wire, {ACK});
    EXPECT_EQ(link.writeBlock(data, 9, false), kLinkOk);
}

TEST_F(BlockWrite, ThreeNaksFail) {
    const Bytes data = blockBytes(4);
    const Bytes wire = cat({{'W', 0x00, 0x09}, data, {sum8(data)}});
    line.expect(wire, {NAK}).expect(wire, {NAK}).expect(wire, {NAK});
    EXPECT_EQ(link.writeBlock(data, 9, false), kLinkFailed);
    EXPECT_TRUE(line.finished());
}

TEST_F(BlockWrite, SilenceFailsAtOnce) {
    line.expect({'Z', 0x00, 0x09, 0x00});
    EXPECT_EQ(link.writeBlock(Bytes(256, 0), 9, false), kLinkFailed);
    EXPECT_EQ(line.writes.size(), 1u);
}

// --- the port itself ----------------------------------------------------

TEST(SerialPortBehaviour, SettingsAreStoredWithoutBlanksAndAppliedOnOpen) {
    FakeClock clock;
    ScriptedTransport line(clock);
    SerialPort port(clock);
    port.setTransport(&line);
    EXPECT_TRUE(port.setSettings(" 4800 , N , 8 , 2 "));
    EXPECT_EQ(port.settings(), "4800,N,8,2");
    EXPECT_TRUE(line.settings.empty());
    ASSERT_TRUE(port.setOpen(true));
    EXPECT_EQ(line.settings, (std::vector<std::string>{"4800,N,8,2"}));
}

TEST(SerialPortBehaviour, ShortReadFailsAndLeavesTheBufferAlone) {
    FakeClock clock;
    ScriptedTransport line(clock);
    SerialPort port(clock);
    port.setTransport(&line);
    ASSERT_TRUE(port.setOpen(true));
    line.inject({1, 2, 3, 4, 5, 6, 7});
    Bytes buf(8, 0xEE);
    EXPECT_FALSE(port.readBytes(buf));
    EXPECT_EQ(buf, Bytes(8, 0xEE));
}

TEST(SerialPortBehaviour, AWriteDiscardsBytesThatArrivedUnasked) {
    FakeClock clock;
    ScriptedTransport line(clock);
    SerialPort port(clock);
    port.setTransport(&line);
    ASSERT_TRUE(port.setOpen(true));
    line.inject({0x55, 0x66});
    line.expect({'E'}, {ACK});
    ASSERT_TRUE(port.writeByte('E'));
    EXPECT_EQ(line.discarded, 2u);
    uint8_t b = 0;
    ASSERT_TRUE(port.readBytes({&b, 1}));
    EXPECT_EQ(b, ACK);
}

TEST(SerialPortBehaviour, OpeningAnOpenPortDoesNotReopen) {
    FakeClock clock;
    ScriptedTransport line(clock);
    SerialPort port(clock);
    port.setTransport(&line);
    ASSERT_TRUE(port.setOpen(true));
    ASSERT_TRUE(port.setOpen(true));
    EXPECT_EQ(line.opens, 1);
}

TEST(SerialPortBehaviour, PortNumberChangeReopensOnTheNewDevice) {
    FakeClock clock;
    ScriptedTransport one(clock), ten(clock);
    SerialPort port(clock);
    port.setTransportSource([&](int n) -> Transport* { return n == 10 ? &ten : n == 1 ? &one : nullptr; });
    ASSERT_TRUE(port.setOpen(true));
    EXPECT_TRUE(port.setPortNumber(10));
    EXPECT_EQ(port.portNumber(), 10);
    EXPECT_EQ(one.closes, 1);
    EXPECT_EQ(ten.opens, 1);
    EXPECT_TRUE(port.isOpen());
    EXPECT_TRUE(port.setPortNumber(0)); // 0 leaves the number alone
    EXPECT_EQ(port.portNumber(), 10);
    EXPECT_FALSE(port.setPortNumber(7)); // names no device: the reopen fails
    EXPECT_FALSE(port.isOpen());
}

TEST(SerialPortBehaviour, ClosedPortNumberChangeOnlyStores) {
    SerialPort port;
    EXPECT_TRUE(port.setPortNumber(5));
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(port.portNumber(), 5);
}

TEST(LineSettingsText, ParsesAndRefusesMalformedTexts) {
    auto s = parseLineSettings("19200,n,8,1");
    ASSERT_TRUE(s);
    EXPECT_EQ(s->baud, 19200);
    EXPECT_EQ(s->parity, 'N');
    EXPECT_EQ(s->stopBits, 1);
    for (const char* bad : {"", "9600", "9600,N,8", "9600,X,8,2", "9600,N,9,2", "9600,N,8,3",
                            "fast,N,8,2", "9600,N,8,2,1"})
        EXPECT_FALSE(parseLineSettings(bad)) << bad;
}

// --- resynchronisation after late replies ----------------------------------
// A radio that answers after the read time-out must never have its late bytes read
// as the reply to the next request. Read time-out 550 ms as after the baud search.

struct Resync : LinkFixture {
    void SetUp() override {
        LinkFixture::SetUp();
        link.setReadTimeout(550);
    }
};

TEST_F(Resync, LateAckToABlockReadIsNotTakenForTheRetryReplyHead) {
    const Bytes data = blockBytes(0x30);
    const Bytes reply = cat({{'W'}, data, {sum8(data)}});
    line.expect({'R', 0x00, 0x00}, reply).expectLate({ACK}, {}, {ACK}, 700);
    line.expect({'R', 0x00, 0x00}, reply).expect({ACK}, {ACK});
    Bytes buf(256);
    ASSERT_EQ(link.readBlock(buf, 0, false), kBlockOk);
    EXPECT_EQ(buf, data);
    EXPECT_TRUE(line.finished());
}

TEST_F(Resync, StrayAcknowledgementIsNeverABlockReplyHead) {
    for (uint8_t stray : {ACK, NAK}) {
        SCOPED_TRACE(int(stray));
        FakeClock c;
        ScriptedTransport t(c);
        RadioLink l(c);
        l.setTransport(&t);
        ASSERT_TRUE(l.setOpen(true));
        // The stray byte and a fill byte: taken literally, the block would become all 'Z'.
        t.expect({'R', 0x00, 0x20}, {stray, 'Z', 0x00});
        t.expect({'R', 0x00, 0x20}, {'Z', 0x00}).expect({ACK}, {ACK});
        Bytes buf(256, 0x11);
        ASSERT_EQ(l.readBlock(buf, 0x20, false), kBlockOk);
        EXPECT_EQ(buf, Bytes(256, 0x00));
        EXPECT_TRUE(t.finished());
    }
}

TEST_F(Resync, MisframedRepliesAreNeverAcknowledged) {
    const Bytes data = blockBytes(0x21);
    const Bytes good = cat({{'W'}, data, {sum8(data)}});
    const Bytes rest(good.begin() + 2, good.end());
    struct Case {
        const char* name;
        Bytes first;
        Bytes late;
        int lateMs;
    };
    const Case cases[] = {
        {"W reply arriving as Z, all at once", cat({{'Z', good[1]}, rest}), {}, 0},
        {"W reply arriving as Z, the rest within the inter-byte time", {'Z', good[1]}, rest, 5},
        {"head neither W nor Z", {'Q', 0x00}, {}, 0},
        {"fill reply with more bytes after it", {'Z', 0x00}, {0x31, 0x32}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeClock clock;
        ScriptedTransport t(clock);
        RadioLink l(clock);
        l.setTransport(&t);
        ASSERT_TRUE(l.setOpen(true));
        l.setReadTimeout(550);
        t.expectLate({'R', 0x00, 0x20}, c.first, c.late, c.lateMs);
        t.expect({'R', 0x00, 0x20}, good).expect({ACK}, {ACK}); // no ACK in between
        Bytes buf(256);
        ASSERT_EQ(l.readBlock(buf, 0x20, false), kBlockOk);
        EXPECT_EQ(buf, data);
        EXPECT_TRUE(t.finished());
    }
}

TEST_F(Resync, LateBlockReplyIsDroppedBeforeTheRetry) {
    const Bytes data = blockBytes(0x41);
    const Bytes reply = cat({{'W'}, data, {sum8(data)}});
    const Bytes other = cat({{'W'}, blockBytes(0x99), {sum8(blockBytes(0x99))}});
    line.expectLate({'R', 0x00, 0x05}, {}, other, 900); // garbage, much too late
    line.expect({'R', 0x00, 0x05}, reply).expect({ACK}, {ACK});
    Bytes buf(256);
    ASSERT_EQ(link.readBlock(buf, 5, false), kBlockOk);
    EXPECT_EQ(buf, data);
}

TEST_F(Resync, LateCheckSumAckIsNotTakenForTheFirstByteOfTheSum) {
    // The radio's answer to "NORVALE" arrives just after the time-out; the retry's own
    // answer then comes a little later than the stale one.
    line.expectLate(textBytes("NORVALE"), {}, {ACK}, 560);
    line.expectLate(textBytes("NORVALE"), {}, {ACK}, 50);
    line.expect({0x7C}, {0x46, 0xDC}).expect({ACK}, {ACK});
    std::array<uint8_t, 2> sum{};
    EXPECT_EQ(link.readCheckSum(sum), kLinkFailed);
    ASSERT_EQ(link.readCheckSum(sum), kLinkOk);
    EXPECT_EQ(formatCheckSum(sum), "46DC");
}

TEST_F(Resync, LateAckFromAFailedBaudSearchIsNotTakenForTheNextBlockAck) {
    // The radio's ACK to the first "PROGRAM" comes after every rate timed out (the
    // search gives up at 1900 ms, the retry finds the radio at 2000 ms); the
    // next search then finds the radio, and a block the radio never heard must not be
    // acknowledged by that stale ACK.
    line.expectLate(textBytes("PROGRAM"), {}, {ACK}, 2100);
    for (int i = 0; i < 4; ++i) line.expectText("PROGRAM");
    line.expectText("PROGRAM", {ACK});
    line.expect({'Z', 0x00, 0x09, 0x00}); // lost on the way: no answer
    EXPECT_EQ(link.enterProgramMode(), kLinkFailed);
    ASSERT_EQ(link.enterProgramMode(), kLinkOk);
    EXPECT_EQ(link.writeBlock(Bytes(256, 0x00), 9, false), kLinkFailed);
}

TEST_F(Resync, LateWriteAckIsNotTakenForTheNextBlock) {
    line.expectLate({'Z', 0x00, 0x09, 0x00}, {}, {ACK}, 700);
    // The radio refuses the next block the first time.
    line.expectLate({'Z', 0x00, 0x0A, 0x11}, {}, {NAK}, 50).expect({'Z', 0x00, 0x0A, 0x11}, {ACK});
    EXPECT_EQ(link.writeBlock(Bytes(256, 0x00), 9, false), kLinkFailed);
    EXPECT_EQ(link.writeBlock(Bytes(256, 0x11), 10, false), kLinkOk);
    EXPECT_TRUE(line.finished());
}

TEST_F(Resync, LateIdentityAckDoesNotShiftTheFirmwareText) {
    const Bytes id{'M', '1', '4', '0', '0', 0x04, 0xFF, 0xF1};
    line.expect({0x02}, id).expectLate({ACK}, {}, {ACK}, 700);
    line.expectLate({0x50}, {}, textBytes("v2.30     "), 20).expect({ACK}, {ACK});
    IdentityBytes got{};
    EXPECT_EQ(link.readIdentity(got), kLinkFailed);
    FirmwareVersion v{};
    ASSERT_EQ(link.readFirmwareVersion(v), kLinkOk);
    EXPECT_EQ(std::string(v.begin(), v.end()), "v2.30     ");
}

TEST_F(Resync, LeftoverByteIsNoPasswordRefusal) {
    const Bytes wire{0x04, '1', '2', '3', '4', 0xFF, 0xFF};
    line.expect(wire, {'v', 0x06}).expect(wire, {ACK});
    EXPECT_EQ(link.sendDataPassword(passwordFromText("1234")), kLinkFailed);
    EXPECT_EQ(link.sendDataPassword(passwordFromText("1234")), kLinkOk);
}
