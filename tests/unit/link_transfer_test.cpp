// Read Data from Radio, Write Data to Radio and the two queries, run against the
// simulated radio on a pretend clock, with the commands on the wire recorded.
#include "link/identity_check.h"
#include "link/texts.h"
#include "link/transfer.h"
#include "link_fakes.h"
#include "model/new_data.h"
#include "sim/sim_transport.h"
#include "util/bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace vrl;
using namespace vrl::testing;

namespace {

IdentityBytes identityOf(const char* code, uint8_t variant, uint8_t option = 0xFF,
                         uint8_t flags = 0xF1) {
    IdentityBytes id{};
    for (int i = 0; i < 5; ++i) id[i] = static_cast<uint8_t>(code[i]);
    id[5] = variant;
    id[6] = option;
    id[7] = flags;
    return id;
}

// A radio's memory: New data for the identity with a directory naming used blocks
// that hold varied bytes, plus some non-uniform fixed blocks.
sim::Memory radioMemory(const IdentityBytes& identity, bool withDirectory = true) {
    RadioData data;
    ModelIdentity id;
    id.bytes = identity;
    newDataFor(data, id);
    auto img = data.image.bytes();
    if (withDirectory) {
        const uint16_t dir[6] = {3, 3, 0x10, 0x10, 0x20, 0x22};
        for (int i = 0; i < 6; ++i) data.image.setU16(2 * i, dir[i]);
        for (size_t b : {3, 0x10, 0x20, 0x21, 0x22})
            for (size_t i = 0; i < 256; ++i) img[b * 256 + i] = static_cast<uint8_t>(b + i * 3);
    }
    for (size_t i = 0; i < 256; ++i) img[0x51 * 256 + i] = static_cast<uint8_t>(i);
    for (size_t i = 0; i < 256; ++i) img[0x5A * 256 + i] = static_cast<uint8_t>(255 - i);
    sim::Memory mem{};
    std::copy(img.begin(), img.begin() + mem.size(), mem.begin());
    return mem;
}

struct Bench {
    explicit Bench(const IdentityBytes& identity, sim::SimFaults faults = {},
                   std::string version = "v2.30", bool withDirectory = true) {
        sim::SimConfig config;
        config.identity = identity;
        config.version = sim::firmwareFromText(version);
        config.info = sim::infoBlockWithSerial("SN0012345678");
        config.faults = faults;
        radio = std::make_unique<sim::RadioSimulator>(config, radioMemory(identity, withDirectory));
        line = std::make_unique<sim::SimTransport>(*radio, clock);
        recorder = std::make_unique<RecordingTransport>(*line);
        link.setTransport(recorder.get());
    }
    FakeClock clock;
    std::unique_ptr<sim::RadioSimulator> radio;
    std::unique_ptr<sim::SimTransport> line;
    std::unique_ptr<RecordingTransport> recorder;
    RadioLink link{clock};
    ScriptedUi ui;
    RadioData data;
};

const IdentityBytes kRow0 = identityOf("M1400", 0x04);

} // namespace

// --- which blocks move -----------------------------------------------------

struct PlanCase {
    std::array<uint16_t, 6> dir;
    int readTotal;
    int writeTotal;
};

TEST(BlockPlans, TotalsFollowTheDirectory) {
    const std::vector<PlanCase> cases{
        {{0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}, 56, 49},
        {{3, 3, 0x10, 0x10, 0x20, 0x22}, 61, 54},
        {{3, 6, 0x10, 0x17, 0x20, 0x37}, 56 + 4 + 8 + 24, 49 + 4 + 8 + 24},
        // Ranges reaching past the radio memory move only the blocks it has.
        {{0x7E, 0x90, 0x100, 0x1FF, 0x30, 0x30}, 57, 50},
        // A reversed range names no block.
        {{5, 4, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}, 56, 49},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readPlan(c.dir).total, c.readTotal) << c.dir[0] << "," << c.dir[1];
        EXPECT_EQ(writePlan(c.dir).total, c.writeTotal) << c.dir[0] << "," << c.dir[1];
    }
}

TEST(BlockPlans, ReadIgnoresRangesOfABlankDirectoryButWriteTestsThem) {
    const std::array<uint16_t, 6> dir{0xFFFF, 0xFFFF, 0x10, 0x11, 0xFFFF, 0xFFFF};
    EXPECT_FALSE(readPlan(dir).moves(0x10));
    EXPECT_TRUE(writePlan(dir).moves(0x10));
}

TEST(BlockPlans, FixedBlocks) {
    const std::array<uint16_t, 6> blank{0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF};
    const BlockPlan r = readPlan(blank), w = writePlan(blank);
    for (int n : {0, 1, 2, 7, 15, 0x50, 0x53, 0x58, 0x59, 0x5F, 0x60, 0x7F}) EXPECT_TRUE(r.moves(n)) << n;
    for (int n : {3, 6, 16, 0x4F, 0x54, 0x57, 0x80, 0xFF}) EXPECT_FALSE(r.moves(n)) << n;
    for (int n : {0x59, 0x5F}) EXPECT_FALSE(w.moves(n)) << n;
    for (int n : {0, 0x58, 0x60}) EXPECT_TRUE(w.moves(n)) << n;
}

// --- read -------------------------------------------------------------------

TEST(ReadFromRadio, ReadsThePlannedBlocksInOrderWithTForTheTBlocks) {
    Bench b(kRow0);
    ASSERT_EQ(readDataFromRadio(b.link, b.data, b.ui), kTransferOk);
    const auto cmds = b.recorder->blockCommandsOnce();
    std::vector<std::pair<char, int>> expected;
    const BlockPlan plan = readPlan({3, 3, 0x10, 0x10, 0x20, 0x22});
    for (int n = 0; n < 256; ++n)
        if (plan.moves(n)) expected.emplace_back(isTBlock(n) ? 'T' : 'R', n);
    EXPECT_EQ(cmds, expected);
    EXPECT_EQ(b.radio->protocolErrors(), 0);
}

TEST(ReadFromRadio, ImageHoldsTheRadioBlocksAndFreeBlocksAre0xFF) {
    Bench b(kRow0);
    b.data.image.fill(0, layout::kRadioMemorySize, 0x5A); // whatever was in hand before
    ASSERT_EQ(readDataFromRadio(b.link, b.data, b.ui), kTransferOk);
    const auto& mem = b.radio->memory();
    const auto img = b.data.image.bytes();
    const BlockPlan plan = readPlan(b.data.image.directory());
    for (size_t n = 0; n < layout::kBlockCount; ++n) {
        for (size_t i = 0; i < 256; ++i) {
            const size_t a = n * 256 + i;
            if (a >= 0x30 && a < 0x48) continue; // derived 2-tone words are recomputed
            const uint8_t want = plan.moves(static_cast<int>(n)) ? mem[a] : 0xFF;
            ASSERT_EQ(img[a], want) << "offset " << a;
        }
    }
}

TEST(ReadFromRadio, ProgressStartsAtZeroOfZeroAndEndsAtTotalOfTotal) {
    Bench b(kRow0);
    ASSERT_EQ(readDataFromRadio(b.link, b.data, b.ui), kTransferOk);
    const auto& log = b.ui.progressLog;
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log.front(), std::make_pair(0, 0));
    EXPECT_EQ(log[1], std::make_pair(0, 61));
    EXPECT_EQ(log[2], std::make_pair(2, 61)); // block 0 and block 1 done
    EXPECT_EQ(log.back(), std::make_pair(61, 61));
    EXPECT_EQ(log.size(), 1u + 1u + 255u + 1u);
}

TEST(ReadFromRadio, BlankDirectoryReads56Blocks) {
    Bench b(kRow0, {}, "v2.30", false);
    ASSERT_EQ(readDataFromRadio(b.link, b.data, b.ui), kTransferOk);
    EXPECT_EQ(b.recorder->blockCommandsOnce().size(), 56u);
    EXPECT_EQ(b.ui.progressLog.back(), std::make_pair(56, 56));
    EXPECT_TRUE(bytes::allEqual(b.data.image.bytes(), 0x1000, 0x4000, 0xFF));
}

TEST(ReadFromRadio, EndsProgrammingModeClosesThePortAndAdoptsTheIdentity) {
    const IdentityBytes id = identityOf("P4200", 0x16, 0xDF);
    Bench b(id);
    ASSERT_EQ(readDataFromRadio(b.link, b.data, b.ui), kTransferOk);
    EXPECT_EQ(b.recorder->writes.back(), Bytes{'E'});
    EXPECT_FALSE(b.link.isOpen());
    EXPECT_EQ(b.data.image.identity().bytes, b.radio->identity());
    EXPECT_EQ(b.data.model.flags().capacity, 128);
    EXPECT_TRUE(b.data.model.flags().trunking);
}

TEST(ReadFromRadio, RecomputesTheDerivedTwoToneWords) {
    Bench b(kRow0);
    ASSERT_EQ(readDataFromRadio(b.link, b.data, b.ui), kTransferOk);
    const uint16_t w = b.data.image.u16(0x30);
    EXPECT_EQ(b.data.image.u16(0x32), static_cast<uint16_t>(w * 0.1 * 1.02f * 10 + 0.5));
    EXPECT_EQ(b.data.image.u16(0x34), static_cast<uint16_t>(w * 0.1 * 0.98f * 10 + 0.5));
}

TEST(ReadFromRadio, PortThatWillNotOpenShowsText25) {
    Bench b(kRow0);
    FakeClock clock;
    ScriptedTransport dead(clock);
    dead.failOpen = true;
    b.link.setTransport(&dead);
    EXPECT_EQ(readDataFromRadio(b.link, b.data, b.ui), kTransferStopped);
    EXPECT_EQ(b.ui.asked, std::vector<int>{texts::kPortOpenFailed});
}

TEST(ReadFromRadio, UnknownModelDrawsText27AndCancelEndsProgrammingMode) {
    Bench b(identityOf("M7700", 0x04));
    EXPECT_EQ(readDataFromRadio(b.link, b.data, b.ui), kTransferStopped);
    EXPECT_EQ(b.ui.asked, std::vector<int>{texts::kIdentityRejected});
    EXPECT_EQ(b.recorder->writes.back(), Bytes{'E'});
    EXPECT_FALSE(b.link.isOpen());
    EXPECT_TRUE(b.recorder->blockCommands().empty());
}

TEST(ReadFromRadio, SpecialIdentityIsAcceptedWithoutLookup) {
    Bench b(identityOf("P9900", 0x04));
    EXPECT_EQ(readDataFromRadio(b.link, b.data, b.ui), kTransferOk);
}

TEST(ReadFromRadio, ThreeRejectedPasswordsEndTheReadWithoutABlock) {
    Bench b(kRow0);
    b.radio->setDataPassword("4711");
    b.ui.passwords = {"1", "2", "3", "4711"};
    EXPECT_EQ(readDataFromRadio(b.link, b.data, b.ui), kTransferStopped);
    EXPECT_EQ(b.ui.asked, (std::vector<int>{31, 31, 31}));
    EXPECT_EQ(b.ui.passwordPrompts, 3);
    EXPECT_TRUE(b.recorder->blockCommands().empty());
    EXPECT_EQ(b.recorder->writes.back(), Bytes{'E'});
}

TEST(ReadFromRadio, PasswordAcceptedAfterOneRejection) {
    Bench b(kRow0);
    b.radio->setDataPassword("4711");
    b.ui.passwords = {"9999", "4711"};
    EXPECT_EQ(readDataFromRadio(b.link, b.data, b.ui), kTransferOk);
    EXPECT_TRUE(b.recorder->sent({0x04, '4', '7', '1', '1', 0xFF, 0xFF}));
    EXPECT_EQ(b.ui.asked, std::vector<int>{31});
}

TEST(ReadFromRadio, OldestFirmwareSkipsThePassword) {
    Bench b(kRow0, {}, "v1.00 ");
    b.radio->setDataPassword("4711");
    EXPECT_EQ(readDataFromRadio(b.link, b.data, b.ui), kTransferStopped); // radio stays locked
    EXPECT_EQ(b.ui.passwordPrompts, 0);
}

TEST(ReadFromRadio, BadChecksumIsRepairedWithNakAndNoQuestion) {
    sim::SimFaults f;
    f.badChecksumBlock = 0x21;
    Bench b(kRow0, f);
    ASSERT_EQ(readDataFromRadio(b.link, b.data, b.ui), kTransferOk);
    EXPECT_TRUE(b.ui.asked.empty());
    EXPECT_TRUE(b.recorder->sent({kNak}));
}

TEST(ReadFromRadio, DroppedCommandIsRetriedSilently) {
    sim::SimFaults f;
    f.dropCommand = 12;
    Bench b(kRow0, f);
    ASSERT_EQ(readDataFromRadio(b.link, b.data, b.ui), kTransferOk);
    EXPECT_TRUE(b.ui.asked.empty());
}

TEST(ReadFromRadio, FailedBlockRetryRestartsAtBlockZero) {
    sim::SimFaults f;
    f.silentBlock = 0x10;
    Bench b(kRow0, f);
    b.ui.retries = 1;
    ASSERT_EQ(readDataFromRadio(b.link, b.data, b.ui), kTransferOk);
    EXPECT_EQ(b.ui.asked, std::vector<int>{texts::kCommFailed});
    const auto cmds = b.recorder->blockCommands();
    const auto zeros = std::count(cmds.begin(), cmds.end(), std::make_pair('R', 0));
    EXPECT_EQ(zeros, 2);
    // Progress went back to the start after the retry.
    int restarts = 0;
    for (const auto& p : b.ui.progressLog) restarts += p == std::make_pair(0, 61);
    EXPECT_EQ(restarts, 2);
}

TEST(ReadFromRadio, CancelAfterAFailedBlockEndsProgrammingModeAndCloses) {
    sim::SimFaults f;
    f.silentBlock = 0x10;
    Bench b(kRow0, f);
    EXPECT_EQ(readDataFromRadio(b.link, b.data, b.ui), kTransferStopped);
    EXPECT_EQ(b.recorder->writes.back(), Bytes{'E'});
    EXPECT_FALSE(b.link.isOpen());
    EXPECT_FALSE(b.radio->inProgramMode());
}

TEST(ReadFromRadio, StopRequestEndsLikeCancel) {
    Bench b(kRow0);
    b.ui.stopAfterProgressCalls = 10;
    EXPECT_EQ(readDataFromRadio(b.link, b.data, b.ui), kTransferStopped);
    EXPECT_FALSE(b.radio->inProgramMode());
    EXPECT_TRUE(b.ui.asked.empty());
}

TEST(ReadFromRadio, FindsTheRadioAtAnotherBaudRate) {
    Bench b(kRow0);
    sim::SimConfig config;
    config.identity = kRow0;
    config.answerBaud = 2400;
    sim::RadioSimulator radio(config, radioMemory(kRow0));
    sim::SimTransport line(radio, b.clock);
    b.link.setTransport(&line);
    ASSERT_EQ(readDataFromRadio(b.link, b.data, b.ui), kTransferOk);
    EXPECT_EQ(b.link.settings(), "2400,N,8,2");
    EXPECT_EQ(b.link.readTimeout(), 2200);
}

// --- write ------------------------------------------------------------------

namespace {
void loadImage(RadioData& data, const sim::Memory& mem) {
    auto img = data.image.bytes();
    std::copy(mem.begin(), mem.end(), img.begin());
    data.model.refresh();
}
} // namespace

TEST(WriteToRadio, WritesThePlannedBlocksInOrderWithZForEqualBlocks) {
    Bench b(kRow0);
    sim::Memory mem = radioMemory(kRow0);
    mem[0x2105] ^= 0xFF; // a change the radio must receive
    loadImage(b.data, mem);
    ASSERT_EQ(writeDataToRadio(b.link, b.data, b.ui), kTransferOk);
    const auto cmds = b.recorder->writeCommands();
    const BlockPlan plan = writePlan(b.data.image.directory());
    ASSERT_EQ(cmds.size(), static_cast<size_t>(plan.total));
    size_t i = 0;
    for (int n = 0; n < 256; ++n) {
        if (!plan.moves(n)) continue;
        const auto block = b.data.image.bytes().subspan(static_cast<size_t>(n) * 256, 256);
        const bool equal = bytes::allEqual(block, 0, 256, block[0]);
        const char want = equal ? 'Z' : isTBlock(n) ? 'Y' : 'W';
        EXPECT_EQ(cmds[i], std::make_pair(want, n));
        ++i;
    }
    EXPECT_EQ(b.radio->memory()[0x2105], mem[0x2105]);
    EXPECT_EQ(b.radio->protocolErrors(), 0);
    EXPECT_FALSE(b.link.isOpen());
}

TEST(WriteToRadio, BlankDirectoryWrites49BlocksAndNever0x59To0x5F) {
    Bench b(kRow0, {}, "v2.30", false);
    loadImage(b.data, radioMemory(kRow0, false));
    ASSERT_EQ(writeDataToRadio(b.link, b.data, b.ui), kTransferOk);
    const auto cmds = b.recorder->writeCommands();
    EXPECT_EQ(cmds.size(), 49u);
    EXPECT_EQ(b.ui.progressLog.front(), std::make_pair(0, 49));
    const auto& log = b.ui.progressLog;
    EXPECT_NE(std::find(log.begin(), log.end(), std::make_pair(49, 49)), log.end());
    for (const auto& c : cmds) EXPECT_FALSE(c.second >= 0x59 && c.second <= 0x5F) << c.second;
}

TEST(WriteToRadio, DataPasswordAsksText47BeforeTheRadioIsContacted) {
    Bench b(kRow0);
    loadImage(b.data, radioMemory(kRow0));
    b.data.image.setBit(layout::kIdentityFlags, 6, false);
    b.ui.okAnswer = false;
    EXPECT_EQ(writeDataToRadio(b.link, b.data, b.ui), kTransferStopped);
    EXPECT_EQ(b.ui.asked, std::vector<int>{texts::kDataHasPassword});
    EXPECT_EQ(b.recorder->opens, 0);
}

TEST(WriteToRadio, RadioOfAnotherModelAsksText28AndCancelSendsNothing) {
    Bench b(identityOf("M1500", 0x14));
    loadImage(b.data, radioMemory(kRow0));
    b.ui.okAnswer = false;
    EXPECT_EQ(writeDataToRadio(b.link, b.data, b.ui), kTransferStopped);
    EXPECT_EQ(b.ui.asked, std::vector<int>{texts::kRadioDataDiffer});
    EXPECT_TRUE(b.recorder->blockCommands().empty());
    EXPECT_FALSE(b.radio->inProgramMode());
}

TEST(WriteToRadio, FirmwareWarningDeclinedStopsBeforeAnyBlock) {
    const IdentityBytes id = identityOf("P1500", 0x14); // RP-150A[16CH]:M
    Bench b(id, {}, "v2.10");
    loadImage(b.data, radioMemory(id));
    b.ui.continueAfterWarning = false;
    EXPECT_EQ(writeDataToRadio(b.link, b.data, b.ui), kTransferStopped);
    EXPECT_EQ(b.ui.warnings, std::vector<int>{186});
    EXPECT_TRUE(b.recorder->blockCommands().empty());
}

TEST(WriteToRadio, OldestFirmwareWithPasswordsAsks33AndClearsThem) {
    Bench b(kRow0, {}, "v1.00 ");
    loadImage(b.data, radioMemory(kRow0));
    b.data.image.writeAscii(layout::kRadioPassword, "123456");
    ASSERT_EQ(writeDataToRadio(b.link, b.data, b.ui), kTransferOk);
    EXPECT_EQ(b.ui.asked, std::vector<int>{texts::kOldFirmwarePasswords});
    EXPECT_TRUE(bytes::allEqual(b.data.image.bytes(), layout::kRadioPassword, 12, 0xFF));
    EXPECT_TRUE(bytes::allEqual(b.radio->memory(), layout::kRadioPassword, 12, 0xFF));
    EXPECT_TRUE(b.data.image.bit(layout::kIdentityFlags, 6));
}

TEST(WriteToRadio, OldestFirmwareRefusedClearingStopsWith2AndKeepsTheData) {
    Bench b(kRow0, {}, "v1.00 ");
    loadImage(b.data, radioMemory(kRow0));
    b.data.image.writeAscii(layout::kRadioPassword, "123456");
    b.ui.okAnswer = false;
    EXPECT_EQ(writeDataToRadio(b.link, b.data, b.ui), kTransferStoppedQuiet);
    EXPECT_EQ(b.data.image.readAscii(layout::kRadioPassword, 6), "123456");
    EXPECT_TRUE(b.recorder->blockCommands().empty());
}

TEST(WriteToRadio, NakFromTheRadioIsRetriedSilently) {
    sim::SimFaults f;
    f.nakBlock = 0x20;
    Bench b(kRow0, f);
    loadImage(b.data, radioMemory(kRow0));
    ASSERT_EQ(writeDataToRadio(b.link, b.data, b.ui), kTransferOk);
    EXPECT_TRUE(b.ui.asked.empty());
    const auto cmds = b.recorder->blockCommands();
    EXPECT_EQ(std::count(cmds.begin(), cmds.end(), std::make_pair('W', 0x20)), 2);
}

TEST(WriteToRadio, HangUpMidTransferFailsAndCancelLeavesThePortClosed) {
    sim::SimFaults f;
    f.hangupBlock = 0x20;
    Bench b(kRow0, f);
    loadImage(b.data, radioMemory(kRow0));
    b.ui.retries = 1;
    EXPECT_EQ(writeDataToRadio(b.link, b.data, b.ui), kTransferStopped);
    EXPECT_EQ(b.ui.asked, (std::vector<int>{26, 26}));
    EXPECT_FALSE(b.link.isOpen());
}

// --- radio versus data, firmware ---------------------------------------------

TEST(RadioVersusData, MismatchRules) {
    RadioData data;
    ModelIdentity id;
    id.bytes = kRow0;
    newDataFor(data, id);
    struct Case {
        IdentityBytes radio;
        bool differs;
        const char* why;
    };
    IdentityBytes optionBit0Clear = kRow0;
    optionBit0Clear[6] = 0xFE; // the radio's bit 0 of byte 6 is ignored
    IdentityBytes flagsDiffer = kRow0;
    flagsDiffer[7] = 0x00; // byte 7 is not compared
    const std::vector<Case> cases{
        {kRow0, false, "same identity"},
        {optionBit0Clear, false, "bit 0 of byte 6"},
        {flagsDiffer, false, "byte 7"},
        {identityOf("M1400", 0x14), true, "M1400 with 0x14"},
        {identityOf("M1500", 0x14), true, "another model"},
        {identityOf("M1400", 0x05), true, "another band"},
        {identityOf("Q1400", 0x04), true, "not a model code"},
        {identityOf("P9900", 0x04), true, "special code"},
        {identityOf("M9800", 0x04), true, "special code"},
    };
    for (const auto& c : cases) EXPECT_EQ(radioDiffersFromData(c.radio, data.image), c.differs) << c.why;
}

TEST(FirmwareWarnings, ByRowAndVersion) {
    struct Case {
        int row;
        const char* version;
        int warning;
    };
    const std::vector<Case> cases{
        {23, "v2.10", 186}, {34, "v1.90", 186}, {23, "v2.20", 0},  {34, "v3.00", 0},
        {5, "v2.20", 189},  {16, "v2.29", 189}, {27, "v2.30", 0}, {0, "v1.00 ", 0},
        {13, "v1.50", 189},
    };
    for (const auto& c : cases)
        EXPECT_EQ(firmwareWarningFor(c.row, sim::firmwareFromText(c.version)), c.warning)
            << "row " << c.row << " " << c.version;
}

TEST(IdentityAcceptance, ModesAndTable) {
    EXPECT_TRUE(acceptIdentity(kRow0, IdentityMode::Read));
    EXPECT_EQ(acceptIdentity(kRow0, IdentityMode::Read)->label, "RM-140A[8CH]:K");
    EXPECT_EQ(acceptIdentity(kRow0, IdentityMode::Read)->band, "148-174MHz");
    EXPECT_FALSE(acceptIdentity(identityOf("M1400", 0x07), IdentityMode::Read)); // band not carried
    EXPECT_TRUE(acceptIdentity(identityOf("P9900", 0x04), IdentityMode::Write));
    EXPECT_FALSE(acceptIdentity(identityOf("P9900", 0x04), IdentityMode::TestMode));
}

// --- queries ---------------------------------------------------------------

TEST(RadioInformationQuery, ShowsLabelBandAndSerial) {
    Bench b(identityOf("P4200", 0x16));
    RadioInformation info;
    ASSERT_EQ(queryRadioInformation(b.link, b.ui, info), kTransferOk);
    EXPECT_EQ(info.info.label, "RP-420A[128CH]:M");
    EXPECT_EQ(info.info.band, "450-470MHz");
    EXPECT_EQ(infoBlockText(info.block), std::string(16, ' ') + "SN0012345678" + "    ");
    EXPECT_FALSE(b.link.isOpen());
    EXPECT_EQ(b.recorder->writes.back(), Bytes{'E'});
}

TEST(RadioInformationQuery, OldestFirmwareDrawsText34AndNoResult) {
    Bench b(kRow0, {}, "v1.00 ");
    RadioInformation info;
    EXPECT_EQ(queryRadioInformation(b.link, b.ui, info), kTransferStopped);
    EXPECT_EQ(b.ui.asked, std::vector<int>{texts::kInfoNotSupported});
    EXPECT_FALSE(b.radio->inProgramMode());
}

TEST(RadioInformationText, EndsAtZeroAndBlanks0xFF) {
    InfoBlock block;
    block.fill(0xFF);
    block[2] = 'A';
    block[3] = 0x80;
    block[4] = 0;
    block[5] = 'Z';
    EXPECT_EQ(infoBlockText(block), "  A?");
}

TEST(CheckSumQuery, ReturnsTheSumOfTheRadioMemory) {
    Bench b(kRow0);
    std::array<uint8_t, 2> sum{};
    ASSERT_EQ(queryCheckSum(b.link, b.ui, sum), kTransferOk);
    const uint16_t want = b.radio->checkSum();
    EXPECT_EQ(sum[0], want >> 8);
    EXPECT_EQ(sum[1], want & 0xFF);
    EXPECT_FALSE(b.link.isOpen());
}

TEST(CheckSumQuery, FormatsFirstByteFirst) {
    EXPECT_EQ(formatCheckSum({0x1A, 0xF3}), "1AF3");
    EXPECT_EQ(formatCheckSum({0x00, 0x0F}), "000F");
}

TEST(CheckSumQuery, CancelAtTheFirstFailureLeavesThePortClosed) {
    Bench b(kRow0);
    sim::SimConfig config;
    config.answerBaud = 19200; // the query runs at the port's current 9600
    sim::RadioSimulator radio(config, radioMemory(kRow0));
    sim::SimTransport line(radio, b.clock);
    b.link.setTransport(&line);
    std::array<uint8_t, 2> sum{};
    EXPECT_EQ(queryCheckSum(b.link, b.ui, sum), kTransferStopped);
    EXPECT_EQ(b.ui.asked, std::vector<int>{texts::kCommFailed});
    EXPECT_FALSE(b.link.isOpen());
}

// --- integrity of complete transfers -------------------------------------------

namespace {
// An image of a 128-channel radio whose channel storage is in use up to `channels`
// channels in one group, with a directory that says otherwise.
sim::Memory memoryWithChannels(const IdentityBytes& identity, int channels,
                               const std::array<uint16_t, 6>& staleDirectory) {
    sim::Memory mem = radioMemory(identity, false);
    mem[layout::kGroupsInUse] = 1;
    mem[layout::kChannelsInUse] = static_cast<uint8_t>(channels);
    for (int c = 0; c < channels; ++c) {
        const size_t index = layout::kChannelIndex + 4 * static_cast<size_t>(c);
        mem[index] = 0;                           // group slot
        mem[index + 1] = static_cast<uint8_t>(c); // channel slot
        for (size_t i = 0; i < layout::kChannelRecordSize; ++i)
            mem[layout::kChannelRecords + c * layout::kChannelRecordSize + i] =
                static_cast<uint8_t>(c + i);
    }
    for (size_t i = 0; i < layout::kGroupRecordSize; ++i)
        mem[layout::kGroupRecords + i] = 0x30;
    for (size_t i = 0; i < 6; ++i) {
        mem[2 * i] = static_cast<uint8_t>(staleDirectory[i] & 0xFF);
        mem[2 * i + 1] = static_cast<uint8_t>(staleDirectory[i] >> 8);
    }
    return mem;
}
} // namespace

TEST(WriteToRadio, StaleDirectoryNoLongerLeavesChannelsBehind) {
    const IdentityBytes id = identityOf("M1600", 0x04); // RM-160A[128CH]:K
    const std::vector<std::array<uint16_t, 6>> stale{
        {0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF},
        {3, 3, 0x10, 0x10, 0x20, 0x2B}, // covers the first 64 channels only
    };
    for (const auto& dir : stale) {
        SCOPED_TRACE(dir[5]);
        Bench b(id, {}, "v2.30", false);
        loadImage(b.data, memoryWithChannels(id, 128, dir));
        ASSERT_EQ(writeDataToRadio(b.link, b.data, b.ui), kTransferOk);
        const auto& radio = b.radio->memory();
        const auto image = b.data.image.bytes();
        for (size_t at : {layout::kChannelIndex, layout::kGroupRecords, layout::kChannelRecords,
                          layout::kChannelRecords + 127 * layout::kChannelRecordSize})
            EXPECT_EQ(radio[at], image[at]) << at;
        EXPECT_TRUE(std::equal(image.begin() + layout::kChannelRecords,
                               image.begin() + layout::kChannelRecords + 128 * 48,
                               radio.begin() + layout::kChannelRecords));
    }
}

TEST(WriteToRadio, DirectoryCoveringMoreThanTheChannelsIsKept) {
    Bench b(kRow0);
    loadImage(b.data, radioMemory(kRow0));
    const auto before = b.data.image.directory();
    ASSERT_EQ(writeDataToRadio(b.link, b.data, b.ui), kTransferOk);
    EXPECT_EQ(b.data.image.directory(), before);
}

TEST(EndNotConfirmed, CompleteReadIsKeptWithAWarning) {
    Bench probe(kRow0);
    ASSERT_EQ(readDataFromRadio(probe.link, probe.data, probe.ui), kTransferOk);
    sim::SimFaults f;
    f.dropCommand = probe.radio->commandCount(); // the closing "E"
    Bench b(kRow0, f);
    ASSERT_EQ(readDataFromRadio(b.link, b.data, b.ui), kTransferOk);
    EXPECT_EQ(b.ui.asked, std::vector<int>{texts::kEndNotConfirmed});
    EXPECT_TRUE(std::equal(b.data.image.bytes().begin(), b.data.image.bytes().end(),
                           probe.data.image.bytes().begin()));
    EXPECT_EQ(b.data.image.identity().bytes, kRow0);
    EXPECT_FALSE(b.link.isOpen());
}

TEST(EndNotConfirmed, WriteReportsItAndFails) {
    Bench probe(kRow0);
    loadImage(probe.data, radioMemory(kRow0));
    ASSERT_EQ(writeDataToRadio(probe.link, probe.data, probe.ui), kTransferOk);
    sim::SimFaults f;
    f.dropCommand = probe.radio->commandCount();
    Bench b(kRow0, f);
    loadImage(b.data, radioMemory(kRow0));
    EXPECT_EQ(writeDataToRadio(b.link, b.data, b.ui), kTransferStoppedQuiet);
    EXPECT_EQ(b.ui.asked, std::vector<int>{texts::kEndNotConfirmed});
}

// --- late replies at any command and block ---------------------------------------
// Whatever comes late, a transfer that reports success moved exactly the radio's data.

struct LateCase {
    const char* name;
    sim::SimFaults faults;
};

std::vector<LateCase> lateCases() {
    auto make = [](const char* name, auto set) {
        sim::SimFaults f;
        set(f);
        return LateCase{name, f};
    };
    std::vector<LateCase> cases;
    for (int ms : {600, 1200, 2000}) {
        cases.push_back(make("block 0 reply", [ms](sim::SimFaults& f) {
            f.lateBlock = 0;
            f.lateDelayMs = ms;
        }));
        cases.push_back(make("block 0 ACK", [ms](sim::SimFaults& f) {
            f.lateAckBlock = 0;
            f.lateDelayMs = ms;
        }));
        cases.push_back(make("block 0x21 ACK", [ms](sim::SimFaults& f) {
            f.lateAckBlock = 0x21;
            f.lateDelayMs = ms;
        }));
        cases.push_back(make("T block reply", [ms](sim::SimFaults& f) {
            f.lateBlock = 0x51;
            f.lateDelayMs = ms;
        }));
        cases.push_back(make("commands 4, 7, 9", [ms](sim::SimFaults& f) {
            f.lateCommands = {4, 7, 9};
            f.lateDelayMs = ms;
        }));
    }
    return cases;
}

TEST(LateReplies, ReadThatSucceedsHoldsExactlyTheRadioData) {
    Bench clean(kRow0);
    ASSERT_EQ(readDataFromRadio(clean.link, clean.data, clean.ui), kTransferOk);
    for (const LateCase& c : lateCases()) {
        SCOPED_TRACE(std::string(c.name) + ", " + std::to_string(c.faults.lateDelayMs) + " ms");
        Bench b(kRow0, c.faults);
        b.ui.retries = 5;
        const int result = readDataFromRadio(b.link, b.data, b.ui);
        ASSERT_EQ(result, kTransferOk);
        EXPECT_TRUE(std::equal(b.data.image.bytes().begin(), b.data.image.bytes().end(),
                               clean.data.image.bytes().begin()));
    }
}

TEST(LateReplies, WriteThatSucceedsLeavesExactlyTheDataInTheRadio) {
    for (const LateCase& c : lateCases()) {
        SCOPED_TRACE(std::string(c.name) + ", " + std::to_string(c.faults.lateDelayMs) + " ms");
        Bench b(kRow0, c.faults);
        b.ui.retries = 5;
        sim::Memory mem = radioMemory(kRow0);
        for (size_t i = 0x2000; i < 0x2300; ++i)
            mem[i] = static_cast<uint8_t>(i * 7); // new data
        loadImage(b.data, mem);
        const int result = writeDataToRadio(b.link, b.data, b.ui);
        ASSERT_EQ(result, kTransferOk);
        const BlockPlan plan = writePlan(b.data.image.directory());
        for (int n = 0; n < 0x80; ++n) {
            if (!plan.moves(n)) continue;
            EXPECT_TRUE(std::equal(b.radio->memory().begin() + n * 256,
                                   b.radio->memory().begin() + n * 256 + 256,
                                   b.data.image.bytes().begin() + n * 256))
                << "block " << n;
        }
    }
}

// --- single bytes changed on the line ------------------------------------------

namespace {
bool blocksEqual(const sim::Memory& radio, const CDataImage& image, const BlockPlan& plan) {
    for (int n = 0; n < 0x80; ++n)
        if (plan.moves(n) && !std::equal(radio.begin() + n * 256, radio.begin() + n * 256 + 256,
                                         image.bytes().begin() + n * 256))
            return false;
    return true;
}

// The first block of the read plan whose 256 bytes are one value (a "Z" reply).
int firstUniformBlock(const sim::Memory& mem) {
    const BlockPlan plan = readPlan({3, 3, 0x10, 0x10, 0x20, 0x22});
    for (int n = 1; n < 0x80; ++n)
        if (plan.moves(n) && std::all_of(mem.begin() + n * 256, mem.begin() + n * 256 + 256,
                                         [&](uint8_t v) { return v == mem[n * 256u]; }))
            return n;
    return -1;
}
} // namespace

TEST(LineHits, ReadNeverTakesAMisframedOrUnconfirmedBlock) {
    const int uniform = firstUniformBlock(radioMemory(kRow0));
    ASSERT_GT(uniform, 0);
    Bench clean(kRow0);
    ASSERT_EQ(readDataFromRadio(clean.link, clean.data, clean.ui), kTransferOk);
    struct Case {
        const char* name;
        int sim::SimFaults::*field;
        int block;
    };
    const Case cases[] = {
        {"W reply arriving as Z", &sim::SimFaults::hitReplyMarkerBlock, 0x10},
        // Block 3's second byte is 0x06: the unwaited first answer takes it for the
        // closing ACK, and only the answers that confirm a fill reply put it right.
        {"W reply arriving as Z, an ACK next", &sim::SimFaults::hitReplyMarkerBlock, 3},
        {"W reply of block 0 arriving as Z", &sim::SimFaults::hitReplyMarkerBlock, 0},
        {"Z reply arriving as W", &sim::SimFaults::hitReplyMarkerBlock, uniform},
        {"fill byte of a Z reply", &sim::SimFaults::hitFillBlock, uniform},
        // The reply brings block 0x21, read as well: the repeat is read again.
        {"block number of a request", &sim::SimFaults::hitRequestNumberBlock, 0x20},
        // Block 1's bytes for block 0 would give the read another directory.
        {"block number of the request for block 0", &sim::SimFaults::hitRequestNumberBlock, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::SimFaults faults;
        faults.*c.field = c.block;
        Bench b(kRow0, faults);
        ASSERT_EQ(readDataFromRadio(b.link, b.data, b.ui), kTransferOk);
        EXPECT_TRUE(b.ui.asked.empty()) << "recovered within the block's own attempts";
        EXPECT_TRUE(std::equal(b.data.image.bytes().begin(), b.data.image.bytes().end(),
                               clean.data.image.bytes().begin()));
    }
}

TEST(LineHits, WriteReadsBackRewritesOnceAndFailsOnASecondDifference) {
    sim::Memory mem = radioMemory(kRow0);
    mem[0x1005] ^= 0xFF;                         // block 0x10 changes
    std::fill_n(mem.begin() + 0x6000, 256, 0x42); // block 0x60 goes as "Z" 0x42
    for (int i = 0; i < 256; ++i) mem[0x5800 + i] = static_cast<uint8_t>(i * 7); // 0x58 changes
    const sim::Memory before = radioMemory(kRow0);
    struct Case {
        const char* name;
        int sim::SimFaults::*field;
        int block;
        int times;
        bool verify;
        int result;
        std::vector<int> rewritten;
        std::vector<int> mismatches;
        bool radioHoldsData;
    };
    const Case cases[] = {
        // Block 0x58 lands in 0x59, which the write leaves alone: both are put right.
        {"block number into a kept block", &sim::SimFaults::hitBlockNumberBlock, 0x58, 1, true, kTransferOk, {0x58, 0x59}, {}, true},
        // Block 0x10 lands in 0x11, free storage no one reads: 0x10 is written again.
        {"block number into free storage", &sim::SimFaults::hitBlockNumberBlock, 0x10, 1, true, kTransferOk, {0x10}, {}, true},
        {"fill byte", &sim::SimFaults::hitFillBlock, 0x60, 1, true, kTransferOk, {0x60}, {}, true},
        // The copy taken of kept block 0x5B brings 0x5A once: confirmed, never written back.
        {"request of a kept block", &sim::SimFaults::hitRequestNumberBlock, 0x5B, 1, true, kTransferOk, {}, {}, true},
        {"block number, twice", &sim::SimFaults::hitBlockNumberBlock, 0x10, 2, true, kTransferStopped, {0x10}, {0x10}, false},
        {"unverified", &sim::SimFaults::hitBlockNumberBlock, 0x10, 1, false, kTransferOk, {}, {}, false},
        {"no fault", &sim::SimFaults::hitFillBlock, -1, 1, true, kTransferOk, {}, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::SimFaults faults;
        faults.*c.field = c.block;
        faults.hitBlockNumberTimes = c.times;
        Bench b(kRow0, faults);
        loadImage(b.data, mem);
        WriteOptions options;
        options.verify = c.verify;
        WriteReport report;
        EXPECT_EQ(writeDataToRadio(b.link, b.data, b.ui, options, &report), c.result);
        EXPECT_EQ(report.rewritten, c.rewritten);
        EXPECT_EQ(report.mismatches, c.mismatches);
        EXPECT_EQ(report.verified, c.verify && c.result == kTransferOk);
        EXPECT_EQ(blocksEqual(b.radio->memory(), b.data.image, writePlan(b.data.image.directory())),
                  c.radioHoldsData);
        EXPECT_TRUE(std::equal(before.begin() + 0x5900, before.begin() + 0x6000,
                               b.radio->memory().begin() + 0x5900))
            << "blocks the radio keeps for itself";
        EXPECT_FALSE(b.radio->inProgramMode());
    }
}

TEST(LineHits, FreeStorageIsWhatNoDirectoryRangeNames) {
    const BlockPlan used = freeStorage({3, 4, 0x10, 0x10, 0x20, 0x37});
    EXPECT_EQ(used.total, 2 + 15 + 24);
    EXPECT_TRUE(used.moves(5) && used.moves(0x11) && used.moves(0x4F));
    EXPECT_FALSE(used.moves(4) || used.moves(0x10) || used.moves(0x37) || used.moves(0x50));
    EXPECT_EQ(freeStorage({0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF}).total, 4 + 64);
}
