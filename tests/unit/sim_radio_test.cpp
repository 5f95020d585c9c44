// The simulated radio's replies, byte for byte.
#include "sim/radio_sim.h"
#include "sim/sim_setup.h"
#include "link_fakes.h"
#include "model/new_data.h"

#include <gtest/gtest.h>

using namespace vrl;
using namespace vrl::testing;

namespace {

constexpr uint8_t ACK = 0x06, NAK = 0x15;

struct SimFixture : ::testing::Test {
    sim::SimConfig config;
    sim::Memory memory{};
    int64_t now = 0;
    void SetUp() override {
        memory.fill(0xFF);
        for (size_t i = 0; i < 256; ++i) memory[0x0700 + i] = static_cast<uint8_t>(i);
        const IdentityBytes id{'M', '1', '4', '0', '0', 0x04, 0xFF, 0xF1};
        config.identity = id;
        std::copy(id.begin(), id.end(), memory.begin() + layout::kIdentity);
    }
    Bytes send(sim::RadioSimulator& r, const Bytes& in, int baud = 9600) {
        now += 10;
        return r.receive(in, baud, now).bytes;
    }
};

} // namespace

TEST_F(SimFixture, AnswersProgramAt9600WithAckAndElsewhereWithSynFirst) {
    sim::RadioSimulator at9600(config, memory);
    EXPECT_EQ(send(at9600, textBytes("PROGRAM")), Bytes{ACK});
    config.answerBaud = 4800;
    sim::RadioSimulator at4800(config, memory);
    EXPECT_EQ(send(at4800, textBytes("PROGRAM"), 9600), Bytes{}); // noise at the wrong rate
    EXPECT_EQ(send(at4800, textBytes("PROGRAM"), 4800), (Bytes{0x16, ACK}));
}

TEST_F(SimFixture, CommandSplitAcrossWritesIsAssembled) {
    sim::RadioSimulator r(config, memory);
    EXPECT_EQ(send(r, textBytes("PROG")), Bytes{});
    EXPECT_EQ(send(r, textBytes("RAM")), Bytes{ACK});
}

TEST_F(SimFixture, HalfCommandIsForgottenAfterAPause) {
    sim::RadioSimulator r(config, memory);
    EXPECT_EQ(send(r, textBytes("PROG")), Bytes{});
    now += sim::RadioSimulator::kCommandGapMs + 1;
    EXPECT_EQ(send(r, textBytes("PROGRAM")), Bytes{ACK});
}

TEST_F(SimFixture, IdentityTakesByte7FromMemory) {
    memory[layout::kIdentityFlags] = 0xB1;
    sim::RadioSimulator r(config, memory);
    send(r, textBytes("PROGRAM"));
    EXPECT_EQ(send(r, {0x02}), (Bytes{'M', '1', '4', '0', '0', 0x04, 0xFF, 0xB1}));
    EXPECT_EQ(send(r, {ACK}), Bytes{ACK});
}

TEST_F(SimFixture, BlockReplies) {
    sim::RadioSimulator r(config, memory);
    send(r, textBytes("PROGRAM"));
    const Bytes data = send(r, {'R', 0x00, 0x07});
    ASSERT_EQ(data.size(), 258u);
    EXPECT_EQ(data[0], 'W');
    EXPECT_EQ(data[1 + 200], 200);
    EXPECT_EQ(data[257], additiveChecksum(std::span(data).subspan(1, 256)));
    EXPECT_EQ(send(r, {ACK}), Bytes{ACK});
    EXPECT_EQ(send(r, {'R', 0x00, 0x08}), (Bytes{'Z', 0xFF})); // all equal
    send(r, {ACK});
    EXPECT_EQ(send(r, {'R', 0x00, 0x51}), Bytes{}); // blocks 0x50-0x53 need "T"
    EXPECT_EQ(send(r, {'T', 0x00, 0x51}), (Bytes{'Z', 0xFF}));
}

TEST_F(SimFixture, WritesStoreBlocksAndBadChecksumsAreRefused) {
    sim::RadioSimulator r(config, memory);
    send(r, textBytes("PROGRAM"));
    Bytes cmd{'W', 0x00, 0x20};
    for (int i = 0; i < 256; ++i) cmd.push_back(static_cast<uint8_t>(i * 3));
    const uint8_t sum = additiveChecksum(std::span(cmd).subspan(3, 256));
    cmd.push_back(static_cast<uint8_t>(sum + 1));
    EXPECT_EQ(send(r, cmd), Bytes{NAK});
    EXPECT_FALSE(r.memoryWritten());
    cmd.back() = sum;
    EXPECT_EQ(send(r, cmd), Bytes{ACK});
    EXPECT_EQ(r.memory()[0x2000 + 5], 15);
    EXPECT_EQ(send(r, {'Z', 0x00, 0x21, 0x42}), Bytes{ACK});
    EXPECT_EQ(r.memory()[0x21FF], 0x42);
    EXPECT_TRUE(r.memoryWritten());
    EXPECT_EQ(send(r, {'E'}), Bytes{ACK});
    EXPECT_FALSE(r.inProgramMode());
}

TEST_F(SimFixture, CheckSumIsTheLow16BitsOfTheMemorySum) {
    sim::RadioSimulator r(config, memory);
    unsigned total = 0;
    for (uint8_t b : memory) total += b;
    EXPECT_EQ(send(r, textBytes("NORVALE")), Bytes{ACK});
    EXPECT_EQ(send(r, {0x7C}), (Bytes{static_cast<uint8_t>((total >> 8) & 0xFF),
                                      static_cast<uint8_t>(total & 0xFF)}));
    EXPECT_EQ(send(r, {ACK}), Bytes{ACK});
}

TEST_F(SimFixture, LockedMemoryUntilThePasswordIsGiven) {
    sim::RadioSimulator r(config, memory);
    r.setDataPassword("12");
    send(r, textBytes("PROGRAM"));
    EXPECT_EQ(send(r, {'R', 0x00, 0x00}), Bytes{});
    EXPECT_EQ(send(r, {0x04, '1', '3', 0xFF, 0xFF, 0xFF, 0xFF}), Bytes{NAK});
    EXPECT_EQ(send(r, {0x04, '1', '2', 0xFF, 0xFF, 0xFF, 0xFF}), Bytes{ACK});
    EXPECT_EQ(send(r, {'R', 0x00, 0x00}).size(), 258u);
}

// 0x50 is both "P" and the firmware command: a lone 0x50 asks for the version, a
// whole "PROGRAM" re-enters programming mode (a program that lost track of the radio).
TEST_F(SimFixture, FirmwareCommandAndProgramAgainAreToldApart) {
    config.version = sim::firmwareFromText("v2.40");
    sim::RadioSimulator r(config, memory);
    send(r, textBytes("PROGRAM"));
    EXPECT_EQ(send(r, {0x50}), textBytes("v2.40     "));
    EXPECT_EQ(send(r, {ACK}), Bytes{ACK});
    EXPECT_EQ(send(r, textBytes("PROGRAM")), Bytes{ACK});
    EXPECT_EQ(r.protocolErrors(), 0);
}

TEST_F(SimFixture, FaultsFireOnce) {
    config.faults.badChecksumBlock = 7;
    config.faults.nakBlock = 0x21;
    config.faults.dropCommand = 2;
    sim::RadioSimulator r(config, memory);
    send(r, textBytes("PROGRAM"));                 // command 1
    EXPECT_EQ(send(r, {0x02}), Bytes{});           // command 2 dropped
    Bytes first = send(r, {'R', 0x00, 0x07});
    EXPECT_NE(first.back(), additiveChecksum(std::span(first).subspan(1, 256)));
    EXPECT_EQ(send(r, {NAK}), Bytes{ACK});
    Bytes second = send(r, {'R', 0x00, 0x07});
    EXPECT_EQ(second.back(), additiveChecksum(std::span(second).subspan(1, 256)));
    send(r, {ACK});
    EXPECT_EQ(send(r, {'Z', 0x00, 0x21, 0x00}), Bytes{NAK});
    EXPECT_EQ(send(r, {'Z', 0x00, 0x21, 0x00}), Bytes{ACK});
}

TEST(SimSetup, NewRadioCarriesTheChosenIdentity) {
    ModelIdentity id = models::identityFor(30, 0, OptionBoard::None);
    const sim::SimRadio radio = sim::newSimRadio(id);
    for (size_t i = 0; i < 7; ++i) EXPECT_EQ(radio.config.identity[i], id.bytes[i]);
    EXPECT_EQ(radio.memory[layout::kIdentity], 'P');
}

TEST(SimSetup, InfoBlockSerialSitsInBytes16To27) {
    const InfoBlock info = sim::infoBlockWithSerial("AB");
    EXPECT_EQ(info[15], 0xFF);
    EXPECT_EQ(info[16], 'A');
    EXPECT_EQ(info[17], 'B');
    EXPECT_EQ(info[18], 0xFF);
}
