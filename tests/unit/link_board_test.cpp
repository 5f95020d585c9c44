// The trunking board's transfer and alignment exchanges, byte for byte against a
// scripted line on a pretend clock.
#include "link/board_align.h"
#include "link/board_transfer.h"
#include "link/texts.h"
#include "link/transfer.h"
#include "link_fakes.h"
#include "model/new_data.h"

#include <gtest/gtest.h>

using namespace vrl;
using namespace vrl::testing;

namespace {

const Bytes kAckReply{0x06};
const Bytes kLfCr{0x0A, 0x0D};

class BoardUi : public ScriptedUi {
  public:
    std::optional<std::string> askAccessCode() override {
        ++codePrompts;
        if (codes.empty()) return std::nullopt;
        auto code = codes.front();
        codes.pop_front();
        return code;
    }
    void showAccessCodeError() override { ++accessCodeErrors; }
    std::deque<std::string> codes{"12345"};
    int codePrompts = 0;
    int accessCodeErrors = 0;
};

// A scripted line whose write number `failAt` (1-based) is refused; it notes when
// each write went out.
class FailingTransport : public ScriptedTransport {
  public:
    explicit FailingTransport(FakeClock& clock) : ScriptedTransport(clock), clock_(clock) {}
    bool write(std::span<const uint8_t> bytes) override {
        writeTimes.push_back(clock_.now);
        const bool ok = ScriptedTransport::write(bytes);
        return static_cast<int>(writes.size()) == failAt ? false : ok;
    }
    int failAt = 0;
    std::vector<int64_t> writeTimes;

  private:
    FakeClock& clock_;
};

// 396 characters of board data: every record "rrNN" with its number, but for the
// fields a test sets.
board::Data boardData() {
    board::Data d{};
    for (int r = 0; r < board::kRecordCount; ++r) {
        const std::string rec = "00" + std::string(1, char('0' + r / 10)) + char('0' + r % 10);
        std::copy(rec.begin(), rec.end(), d.begin() + 4 * r);
    }
    return d;
}

// What the board sends after "02\r\n": `records` records with their line ends,
// and the extra line end after the last one.
Bytes boardStream(const board::Data& d, int records = board::kRecordCount) {
    Bytes out;
    for (int r = 0; r < records; ++r) {
        out.insert(out.end(), d.begin() + 4 * r, d.begin() + 4 * r + 4);
        out.insert(out.end(), kLfCr.begin(), kLfCr.end());
    }
    if (records == board::kRecordCount) out.insert(out.end(), kLfCr.begin(), kLfCr.end());
    return out;
}

struct Line {
    FakeClock clock;
    FailingTransport wire{clock};
    RadioLink link{clock};
    BoardUi ui;
    RadioData data;
    Line() {
        link.setTransport(&wire);
        newDataFor(data, identityOfChoice(ModelChoice{4, 0, OptionBoard::Trunking, 1}));
    }
    std::string boardText(size_t offset, size_t length) {
        return data.image.readAscii(layout::kTrunkData + offset, length);
    }
    void openAndCode(Bytes codeReply = {'2', 0x0A, 0x0D}) {
        wire.expectText("QM503TB,", kAckReply).expectText("12345\r\n", std::move(codeReply));
    }
};

} // namespace

// ---- read ---------------------------------------------------------------------

TEST(BoardRead, ReadsNinetyNineRecordsAndReleasesTheBoard) {
    Line t;
    const board::Data d = boardData();
    t.openAndCode();
    t.wire.expectText("02\r\n", boardStream(d)).expect({'e'}, kAckReply);
    EXPECT_EQ(readTrunkingBoard(t.link, t.data.image, t.ui), kTransferOk);
    EXPECT_TRUE(t.wire.finished());
    EXPECT_EQ(t.boardText(0, 8), "00000001");
    EXPECT_EQ(t.boardText(4 * 40, 4), "0040");
    EXPECT_EQ(t.ui.progressLog.back(), std::make_pair(99, 99));
    EXPECT_FALSE(t.link.isOpen());
    EXPECT_EQ(t.link.blockLength(), 4);
}

TEST(BoardRead, AccessCodeAnswersOtherThanTwoLfCrAreRejections) {
    struct Case {
        const char* name;
        Bytes reply;
        int message;
    };
    for (const Case& c : {Case{"CR first", {'2', 0x0D, 0x0A}, texts::kPasswordRejected},
                          Case{"wrong digit", {'1', 0x0A, 0x0D}, texts::kPasswordRejected},
                          Case{"cut short", {'2'}, texts::kPasswordRejected}}) {
        Line t;
        const auto before = t.boardText(0, board::kDataSize);
        t.openAndCode(c.reply);
        t.wire.expect({'e'}, kAckReply);
        EXPECT_EQ(readTrunkingBoard(t.link, t.data.image, t.ui), kTransferStopped) << c.name;
        EXPECT_TRUE(t.wire.finished()) << c.name << ": released with 'e'";
        EXPECT_EQ(t.ui.asked, std::vector<int>{c.message}) << c.name;
        EXPECT_EQ(t.boardText(0, board::kDataSize), before) << c.name;
        EXPECT_FALSE(t.link.isOpen());
    }
}

TEST(BoardRead, CleanUpOfTheReceivedData) {
    Line t;
    board::Data d = boardData();
    auto put = [&](size_t at, std::string_view s) { std::copy(s.begin(), s.end(), d.begin() + at); };
    put(40, "12345678");
    put(88, "0000000F");
    put(52, "00FF");
    put(80, "00FF");
    put(56, "01FF");
    put(200, "A");
    put(391, " ");
    put(392, "X"); // beyond the cleaned range
    t.openAndCode();
    t.wire.expectText("02\r\n", boardStream(d)).expect({'e'}, kAckReply);
    ASSERT_EQ(readTrunkingBoard(t.link, t.data.image, t.ui), kTransferOk);
    EXPECT_EQ(t.boardText(88, 8), "12345678");
    EXPECT_EQ(t.boardText(52, 4), "0001");
    EXPECT_EQ(t.boardText(80, 4), "0001");
    EXPECT_EQ(t.boardText(56, 4), "01FF");
    EXPECT_EQ(t.boardText(200, 1), "F");
    EXPECT_EQ(t.boardText(391, 1), "F");
    EXPECT_EQ(t.boardText(392, 1), "X");
}

TEST(BoardRead, RecordThatNeverArrivesRetriesFromRecordZero) {
    Line t;
    const board::Data d = boardData();
    t.openAndCode();
    t.wire.expectText("02\r\n", boardStream(d, 40))
        .expectText("02\r\n", boardStream(d))
        .expect({'e'}, kAckReply);
    t.ui.retries = 1;
    EXPECT_EQ(readTrunkingBoard(t.link, t.data.image, t.ui), kTransferOk);
    EXPECT_TRUE(t.wire.finished());
    EXPECT_EQ(t.ui.asked, std::vector<int>{texts::kCommFailed});
    // Progress went to 40, then began again at 1.
    const auto restart = std::find(t.ui.progressLog.begin() + 2, t.ui.progressLog.end(), std::make_pair(1, 99));
    EXPECT_NE(restart, t.ui.progressLog.end());
}

TEST(BoardRead, BytesStillArrivingAfterAFailedRecordAreDrainedBeforeTheRetry) {
    Line t;
    const board::Data d = boardData();
    Bytes stream = boardStream(d);
    std::swap(stream[4], stream[5]); // record 0 ends CR LF: the pass fails there,
    const Bytes first(stream.begin(), stream.begin() + 6);
    const Bytes rest(stream.begin() + 6, stream.end()); // while the rest still comes
    t.openAndCode();
    t.wire.expectLate(textBytes("02\r\n"), first, rest, board::kQuietMs / 2)
        .expectText("02\r\n", boardStream(d))
        .expect({'e'}, kAckReply);
    t.ui.retries = 1;
    EXPECT_EQ(readTrunkingBoard(t.link, t.data.image, t.ui), kTransferOk);
    EXPECT_EQ(t.boardText(0, 8), "00000001") << "records of the failed pass were taken";
    EXPECT_TRUE(t.wire.finished());
}

TEST(BoardRead, WrongLineEndIsAFailureNotARecord) {
    Line t;
    const board::Data d = boardData();
    Bytes swapped = boardStream(d);
    std::swap(swapped[4], swapped[5]); // record 0 ended CR LF
    t.openAndCode();
    t.wire.expectText("02\r\n", swapped).expect({'e'}, kAckReply);
    const auto before = t.boardText(0, board::kDataSize);
    EXPECT_EQ(readTrunkingBoard(t.link, t.data.image, t.ui), kTransferStopped);
    EXPECT_EQ(t.boardText(0, board::kDataSize), before) << "a failed read leaves the data alone";
    EXPECT_TRUE(t.wire.finished());
}

TEST(BoardRead, CancelAtEveryQuestionReleasesTheBoard) {
    // The open unanswered, then Cancel.
    {
        Line t;
        t.wire.expectText("QM503TB,").expect({'e'}, kAckReply);
        EXPECT_EQ(readTrunkingBoard(t.link, t.data.image, t.ui), kTransferStopped);
        EXPECT_TRUE(t.wire.finished());
        EXPECT_EQ(t.ui.asked, std::vector<int>{texts::kCommFailed});
    }
    // Cancel in the access-code dialog.
    {
        Line t;
        t.ui.codes.clear();
        t.wire.expectText("QM503TB,", kAckReply).expect({'e'}, kAckReply);
        EXPECT_EQ(readTrunkingBoard(t.link, t.data.image, t.ui), kTransferStopped);
        EXPECT_TRUE(t.wire.finished());
        EXPECT_FALSE(t.link.isOpen());
    }
    // Stray bytes before the ACK of the open are skipped.
    {
        Line t;
        t.wire.expectText("QM503TB,", {0x00, 0x55, 0x06}).expectText("12345\r\n", {'2', 0x0A, 0x0D});
        t.wire.expectText("02\r\n", boardStream(boardData())).expect({'e'}, kAckReply);
        EXPECT_EQ(readTrunkingBoard(t.link, t.data.image, t.ui), kTransferOk);
    }
}

TEST(BoardRead, PortThatDoesNotOpenSendsNothing) {
    Line t;
    t.wire.failOpen = true;
    EXPECT_EQ(readTrunkingBoard(t.link, t.data.image, t.ui), kTransferStopped);
    EXPECT_TRUE(t.wire.writes.empty());
    EXPECT_EQ(t.ui.asked, std::vector<int>{texts::kPortOpenFailed});
}

// ---- write --------------------------------------------------------------------

namespace {

// The records as the board receives them, "03\r\n" first, and its answers.
void expectRecords(ScriptedTransport& wire, const std::string& text) {
    wire.expectText("03\r\n");
    for (int r = 0; r < board::kRecordCount; ++r) {
        Bytes reply = kLfCr;
        if (r == board::kRecordCount - 1) reply.insert(reply.end(), kLfCr.begin(), kLfCr.end());
        wire.expectText(text.substr(4 * r, 4) + "\r\n", reply);
    }
}

} // namespace

TEST(BoardWrite, StoresTheTypedCodeWhenNoneIsStoredAndSendsEveryRecord) {
    Line t;
    // New data: no code stored yet ('F' at 79).
    ASSERT_EQ(t.boardText(79, 1), "F");
    std::string expected = t.boardText(0, board::kDataSize);
    expected.replace(68, 12, "000102030405");
    expected.replace(96, 4, "0000");
    t.openAndCode();
    expectRecords(t.wire, expected);
    t.wire.expect({'e'}, kAckReply);
    EXPECT_EQ(writeTrunkingBoard(t.link, t.data.image, t.ui), kTransferOk);
    EXPECT_TRUE(t.wire.finished());
    EXPECT_EQ(t.boardText(0, board::kDataSize), expected);
    EXPECT_EQ(t.ui.progressLog.back(), std::make_pair(99, 99));
}

TEST(BoardWrite, StoredCodeIsKeptAndTheTypedOneNotCopied) {
    Line t;
    t.data.image.writeAscii(layout::kTrunkData + 68, "000907080605");
    std::string expected = t.boardText(0, board::kDataSize);
    expected.replace(96, 4, "0000");
    t.openAndCode();
    expectRecords(t.wire, expected);
    t.wire.expect({'e'}, kAckReply);
    EXPECT_EQ(writeTrunkingBoard(t.link, t.data.image, t.ui), kTransferOk);
    EXPECT_EQ(t.boardText(68, 12), "000907080605");
}

TEST(BoardWrite, NonDigitInTheCodeAreaIsAnAccessCodeErrorAndNothingIsSent) {
    Line t;
    t.data.image.writeAscii(layout::kTrunkData + 68, "0009070X0605");
    t.openAndCode();
    t.wire.expect({'e'}, kAckReply);
    EXPECT_EQ(writeTrunkingBoard(t.link, t.data.image, t.ui), kTransferStoppedQuiet);
    EXPECT_TRUE(t.wire.finished()) << "no record sent, the board released";
    EXPECT_EQ(t.ui.accessCodeErrors, 1);
    EXPECT_EQ(t.boardText(68, 12), "FFFFFFFFFFFF");
    EXPECT_FALSE(t.link.isOpen());
}

TEST(BoardWrite, FailedRecordRetriesFromRecordZeroWithStartWriting) {
    Line t;
    std::string expected = t.boardText(0, board::kDataSize);
    expected.replace(68, 12, "000102030405");
    expected.replace(96, 4, "0000");
    t.openAndCode();
    t.wire.expectText("03\r\n").expectText(expected.substr(0, 4) + "\r\n", kLfCr);
    t.wire.expectText(expected.substr(4, 4) + "\r\n"); // no answer
    expectRecords(t.wire, expected);
    t.wire.expect({'e'}, kAckReply);
    t.ui.retries = 1;
    EXPECT_EQ(writeTrunkingBoard(t.link, t.data.image, t.ui), kTransferOk);
    EXPECT_TRUE(t.wire.finished());
}

TEST(BoardWrite, UnconfirmedReleaseIsReportedAsNotComplete) {
    Line t;
    std::string expected = t.boardText(0, board::kDataSize);
    expected.replace(68, 12, "000102030405");
    expected.replace(96, 4, "0000");
    t.openAndCode();
    expectRecords(t.wire, expected);
    t.wire.expect({'e'});
    EXPECT_EQ(writeTrunkingBoard(t.link, t.data.image, t.ui), kTransferStoppedQuiet);
    EXPECT_FALSE(t.link.isOpen());
}

// ---- alignment ----------------------------------------------------------------

namespace {

void expectAlignStart(ScriptedTransport& wire, Bytes lateFirstEcho = {0x93}, int tails = 1) {
    wire.expect(textBytes(align::kOpen), kAckReply);
    for (int i = 0; i < tails; ++i) wire.expect(textBytes(align::kOpenTail));
    wire.expect({0x11, 0x00}, lateFirstEcho);
    for (uint8_t d : {0x12, 0x13, 0x14, 0x15}) wire.expect({d, 0x00}, {0x93});
    wire.expect({0x1E}, {0x93}).expect({0x00}, {0x93});
    wire.expect({0x11, 0x00}, {0x93}).expect({0x17, 0x00}, {0x93});
    wire.expect({0x1E}, {0x93}).expect({0x00}, {0x95});
}

void expectStopAndRelease(ScriptedTransport& wire) {
    wire.expect({0x00}, {0x97}).expect({0x33}, {0x91}).expect({'e'}, kAckReply);
}

} // namespace

TEST(BoardAlign, StartsTransmittingAndStopsWhereItStarted) {
    Line t;
    expectAlignStart(t.wire);
    t.wire.expect({0x32}, {0x90}).expect({0x19}, {0x92});
    expectStopAndRelease(t.wire);
    BoardAlignment mode(t.link, t.ui);
    ASSERT_TRUE(mode.start());
    EXPECT_TRUE(mode.transmitting());
    EXPECT_EQ(t.ui.asked, std::vector<int>{texts::kAlignConfirm});
    mode.finish();
    EXPECT_FALSE(mode.transmitting());
    EXPECT_TRUE(t.wire.finished());
    EXPECT_FALSE(t.link.isOpen());
    mode.finish(); // a second finish sends nothing
    EXPECT_TRUE(t.wire.finished());
}

TEST(BoardAlign, LateEchoAfterOtherBytesIsAccepted) {
    Line t;
    expectAlignStart(t.wire, {0x00, 0x42, 0x97, 0x93});
    t.wire.expect({0x32}, {0x90}).expect({0x19}, {0x92});
    expectStopAndRelease(t.wire);
    BoardAlignment mode(t.link, t.ui);
    EXPECT_TRUE(mode.start());
}

TEST(BoardAlign, MissingEchoInTheCodeEndsWithTheBoardReleased) {
    Line t;
    t.wire.expect(textBytes(align::kOpen), kAckReply).expect(textBytes(align::kOpenTail));
    t.wire.expect({0x11, 0x00}, {0x93}).expect({0x12, 0x00}, {0x55}); // not the echo
    t.wire.expect({'e'}, kAckReply);
    BoardAlignment mode(t.link, t.ui);
    EXPECT_FALSE(mode.start());
    EXPECT_TRUE(t.wire.finished());
    EXPECT_EQ(t.ui.asked, std::vector<int>{texts::kBoardNoEcho});
    EXPECT_FALSE(t.link.isOpen());
}

TEST(BoardAlign, CancelAtTheConfirmationLeavesTheRadioUnkeyed) {
    Line t;
    t.ui.okAnswer = false;
    expectAlignStart(t.wire);
    t.wire.expect({'e'}, kAckReply);
    BoardAlignment mode(t.link, t.ui);
    EXPECT_FALSE(mode.start());
    EXPECT_TRUE(t.wire.finished()) << "no 0x32 sent";
    EXPECT_FALSE(t.link.isOpen());
}

TEST(BoardAlign, StartAndStopEchoTimeOutsOnlyEndTheWait) {
    Line t;
    expectAlignStart(t.wire);
    t.wire.expect({0x32}).expect({0x19}, {0x92});
    t.wire.expect({0x00}).expect({0x33}).expect({'e'}, kAckReply);
    BoardAlignment mode(t.link, t.ui);
    EXPECT_TRUE(mode.start());
    mode.finish();
    EXPECT_TRUE(t.wire.finished());
    EXPECT_TRUE(t.ui.asked == std::vector<int>{texts::kAlignConfirm});
}

TEST(BoardAlign, EndingWithoutFinishStillStopsAndReleases) {
    Line t;
    expectAlignStart(t.wire);
    t.wire.expect({0x32}, {0x90}).expect({0x19}, {0x92});
    expectStopAndRelease(t.wire);
    {
        BoardAlignment mode(t.link, t.ui);
        ASSERT_TRUE(mode.start());
    }
    EXPECT_TRUE(t.wire.finished());
    EXPECT_FALSE(t.link.isOpen());
}

TEST(BoardAlign, WriteFailureDuringTheStartCancelledStillStopsTransmitting) {
    Line t;
    expectAlignStart(t.wire);
    t.wire.expect({0x32}, {0x90}).expect({0x19}, {0x92});
    expectStopAndRelease(t.wire);
    t.wire.failAt = 15; // the 0x19 of the start
    BoardAlignment mode(t.link, t.ui);
    EXPECT_FALSE(mode.start());
    EXPECT_EQ(t.ui.asked, (std::vector<int>{texts::kAlignConfirm, texts::kCommFailed}));
    EXPECT_TRUE(t.wire.finished()) << "stop transmitting and 'e' went out";
    EXPECT_FALSE(t.link.isOpen());
}

TEST(BoardAlign, CancelAfterAnUnansweredOpenReleasesTheBoard) {
    Line t;
    t.wire.expect(textBytes(align::kOpen)).expect({'e'}, kAckReply);
    BoardAlignment mode(t.link, t.ui);
    EXPECT_FALSE(mode.start());
    EXPECT_EQ(t.ui.asked, std::vector<int>{texts::kCommFailed});
    EXPECT_TRUE(t.wire.finished());
    EXPECT_FALSE(t.link.isOpen());
}

// The end of alignment counts as done only when the board echoed both stop bytes and
// acknowledged the release; every byte still goes out, the release after the same
// pause as every other alignment byte.
TEST(BoardAlign, AnEndTheBoardDoesNotEchoIsReportedAsAFailure) {
    struct Case {
        const char* name;
        Bytes stop1, stop2, release;
        bool confirmed;
    };
    const Case cases[] = {
        {"all echoed", {0x97}, {0x91}, kAckReply, true},
        {"nothing echoed", {}, {}, {}, false},
        {"first stop byte not echoed", {}, {0x91}, kAckReply, false},
        {"release not acknowledged", {0x97}, {0x91}, {}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Line t;
        expectAlignStart(t.wire);
        t.wire.expect({0x32}, {0x90}).expect({0x19}, {0x92});
        t.wire.expect({0x00}, c.stop1).expect({0x33}, c.stop2).expect({'e'}, c.release);
        BoardAlignment mode(t.link, t.ui);
        ASSERT_TRUE(mode.start());
        EXPECT_EQ(mode.finish(), c.confirmed);
        EXPECT_EQ(mode.finish(), c.confirmed) << "the answer is kept, nothing more is sent";
        EXPECT_TRUE(t.wire.finished());
        EXPECT_FALSE(t.link.isOpen());
        const auto& at = t.wire.writeTimes;
        EXPECT_GE(at[at.size() - 1] - at[at.size() - 2], align::kStepPauseMs);
    }
}

TEST(BoardAlign, RetryAfterAFailedOpenTailSendsTheTailAgain) {
    Line t;
    t.ui.retries = 1;
    t.wire.failAt = 2; // the first "A43"
    expectAlignStart(t.wire, {0x93}, 2);
    t.wire.expect({0x32}, {0x90}).expect({0x19}, {0x92});
    expectStopAndRelease(t.wire);
    BoardAlignment mode(t.link, t.ui);
    ASSERT_TRUE(mode.start());
    EXPECT_TRUE(mode.finish());
    EXPECT_TRUE(t.wire.finished());
}

TEST(BoardAlign, AStopRequestEndsTheStartBeforeTheRadioIsKeyed) {
    Line t;
    t.ui.stopAfterProgressCalls = 0; // a signal arrived
    t.wire.expect(textBytes(align::kOpen), kAckReply).expect(textBytes(align::kOpenTail));
    t.wire.expect({'e'}, kAckReply);
    BoardAlignment mode(t.link, t.ui);
    EXPECT_FALSE(mode.start());
    EXPECT_TRUE(t.wire.finished()) << "no code, no arming, no 0x32";
    EXPECT_FALSE(t.link.isOpen());
}
