// The simulated trunking board, driven by the program's own board exchanges over
// the in-process line on a pretend clock.
#include "link/board_align.h"
#include "link/board_transfer.h"
#include "link/texts.h"
#include "link/transfer.h"
#include "link_fakes.h"
#include "model/new_data.h"
#include "sim/board_sim.h"
#include "sim/sim_setup.h"
#include "sim/sim_transport.h"

#include <gtest/gtest.h>

using namespace vrl;
using namespace vrl::testing;

namespace {

class BoardUi : public ScriptedUi {
  public:
    std::optional<std::string> askAccessCode() override {
        if (codes.empty()) return std::nullopt;
        auto c = codes.front();
        codes.pop_front();
        return c;
    }
    std::deque<std::string> codes{"24680", "24680", "24680"};
};

struct Bench {
    explicit Bench(sim::BoardFaults faults = {}) {
        sim::SimRadio setup = sim::newSimRadio(
            identityOfChoice(ModelChoice{4, 0, OptionBoard::Trunking, 1}));
        EXPECT_TRUE(setup.boardFitted);
        setup.board.accessCode = "24680";
        setup.board.faults = faults;
        for (int r = 0; r < board::kRecordCount; ++r)
            setup.board.data[static_cast<size_t>(4 * r + 3)] = static_cast<uint8_t>('0' + r % 10);
        radio = std::make_unique<sim::RadioSimulator>(setup.config, setup.memory);
        boardSim = std::make_unique<sim::TrunkingBoardSim>(setup.board);
        radio->attachBoard(boardSim.get());
        line = std::make_unique<sim::SimTransport>(*radio, clock);
        line->setOnBoardWritten([this](const board::Data&) { ++boardWrites; });
        link.setTransport(line.get());
        newDataFor(data, identityOfChoice(ModelChoice{4, 0, OptionBoard::Trunking, 1}));
    }
    FakeClock clock;
    std::unique_ptr<sim::RadioSimulator> radio;
    std::unique_ptr<sim::TrunkingBoardSim> boardSim;
    std::unique_ptr<sim::SimTransport> line;
    RadioLink link{clock};
    BoardUi ui;
    RadioData data;
    int boardWrites = 0;
};

} // namespace

TEST(SimBoard, ReadGivesTheBoardsDataAndWriteStoresIt) {
    Bench b;
    ASSERT_EQ(readTrunkingBoard(b.link, b.data.image, b.ui), kTransferOk);
    EXPECT_EQ(b.data.image.readAscii(layout::kTrunkData, 8), "00E00001"); // defaults, numbered
    EXPECT_FALSE(b.boardSim->open());

    b.data.image.writeAscii(layout::kTrunkData + 100, "1234");
    ASSERT_EQ(writeTrunkingBoard(b.link, b.data.image, b.ui), kTransferOk);
    EXPECT_EQ(b.boardWrites, 1);
    EXPECT_EQ(std::string(b.boardSim->data().begin() + 100, b.boardSim->data().begin() + 104), "1234");
    EXPECT_EQ(b.boardSim->releases(), 2);
}

TEST(SimBoard, FaultsEndInTheRightMessages) {
    struct Case {
        const char* name;
        sim::BoardFaults faults;
        int retries;
        int result;
        std::vector<int> asked;
    };
    sim::BoardFaults reject;
    reject.rejectCode = true;
    sim::BoardFaults crlf;
    crlf.crlfAnswer = true;
    sim::BoardFaults lostOnce;
    lostOnce.lostRecord = 57;
    sim::BoardFaults lostAlways;
    lostAlways.lostRecord = 0;
    lostAlways.lostTimes = 100;
    for (const Case& c :
         {Case{"wrong code", reject, 0, kTransferStopped, {texts::kPasswordRejected}},
          Case{"CR LF answer", crlf, 0, kTransferStopped, {texts::kPasswordRejected}},
          Case{"record lost once", lostOnce, 1, kTransferOk, {texts::kCommFailed}},
          Case{"record always lost", lostAlways, 2, kTransferStopped,
               {texts::kCommFailed, texts::kCommFailed, texts::kCommFailed}}}) {
        Bench b(c.faults);
        b.ui.retries = c.retries;
        EXPECT_EQ(readTrunkingBoard(b.link, b.data.image, b.ui), c.result) << c.name;
        EXPECT_EQ(b.ui.asked, c.asked) << c.name;
        EXPECT_FALSE(b.boardSim->open()) << c.name << ": the board is released";
        EXPECT_FALSE(b.link.isOpen()) << c.name;
    }
}

TEST(SimBoard, AlignmentKeysAndUnkeysTheRadio) {
    for (int late : {0, 1, 3, 11}) {
        sim::BoardFaults f;
        f.lateEcho = late;
        Bench b(f);
        {
            BoardAlignment mode(b.link, b.ui);
            ASSERT_TRUE(mode.start()) << "late echo " << late;
            EXPECT_TRUE(b.boardSim->keyed());
        }
        EXPECT_FALSE(b.boardSim->keyed());
        EXPECT_FALSE(b.boardSim->open());
        EXPECT_EQ(b.boardSim->timesKeyed(), 1);
    }
}

TEST(SimBoard, AlignmentWithAWrongCodeNeverKeys) {
    Bench b;
    b.ui.codes = {"11111"};
    BoardAlignment mode(b.link, b.ui);
    EXPECT_FALSE(mode.start());
    EXPECT_EQ(b.ui.asked, std::vector<int>{texts::kBoardNoEcho});
    EXPECT_EQ(b.boardSim->timesKeyed(), 0);
    EXPECT_FALSE(b.boardSim->open());
}

