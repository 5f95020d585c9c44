// The trunking board's transfer and the radio's test mode against simulated
// hardware behind a line that the input spoils: replies dropped, cut short or late,
// commands lost on the way. Neither exchange carries a checksum, so bytes are not
// corrupted here (nothing could tell); everything else must end with the port
// closed, and a success must mean the data really crossed: a board read gives the
// image a clean read gives, a board write leaves the board holding what a clean
// write leaves, the tuning data shown is the radio's.
#include "link/board_transfer.h"
#include "link/transfer.h"
#include "service/test_mode.h"
#include "sim/board_sim.h"
#include "spoiled_line.h"

#include <algorithm>
#include <memory>

using namespace vrl;
using fuzz::FuzzUi;
using fuzz::SpoiledLine;

namespace {

enum class Operation { BoardRead, BoardWrite, TestMode };

// A radio with a trunking board behind it.
struct Hardware {
    Hardware(const sim::SimConfig& config, const sim::Memory& memory, const sim::BoardConfig& board)
        : radio(config, memory), board(board) {
        radio.sim.attachBoard(&this->board);
    }
    fuzz::Radio radio;
    sim::TrunkingBoardSim board;
};

// Board data of varied digits, so a shifted or lost record shows.
board::Data variedBoardData() {
    board::Data data = sim::defaultBoardData();
    for (size_t i = 168; i < 392; ++i) data[i] = static_cast<uint8_t>('0' + (i * 7) % 10);
    return data;
}

std::unique_ptr<RadioData> copyOf(const RadioData& source) {
    auto data = std::make_unique<RadioData>();
    const auto from = source.image.bytes();
    std::copy(from.begin(), from.end(), data->image.bytes().begin());
    data->model.refresh();
    return data;
}

struct Outcome {
    bool ok = false;
    TuningData tuning{};
};

// The test-mode steps the input picks after a successful opening; the tuning data
// is read again at the end.
void driveTestMode(TestModeSession& session, fuzz::Input& in, Outcome& out) {
    for (int step = 0, steps = in.below(6); step < steps && session.active(); ++step) {
        switch (in.below(4)) {
        case 0: session.stepChannel(in.below(2) ? 1 : -1); break;
        case 1: session.stepSignalling(1); break;
        case 2: session.setKeyed(!session.keyed()); break;
        case 3: session.selectBandwidth(in.below(2)); break;
        }
    }
    out.ok = session.active() && session.setKeyed(false) && session.refreshTuningData();
    out.tuning = session.tuningData();
}

Outcome run(Operation op, Hardware& hw, RadioData& data, fuzz::Input* spoil) {
    fuzz::Input none(nullptr, 0);
    fuzz::Input& in = spoil ? *spoil : none;
    SpoiledLine line(hw.radio.line, hw.radio.clock, in, {.corrupt = false, .late = true});
    RadioLink link(hw.radio.clock);
    link.setTransport(&line);
    FuzzUi ui(in);
    Outcome out;
    switch (op) {
    case Operation::BoardRead: out.ok = readTrunkingBoard(link, data.image, ui) == kTransferOk; break;
    case Operation::BoardWrite:
        out.ok = writeTrunkingBoard(link, data.image, ui) == kTransferOk;
        break;
    case Operation::TestMode: {
        serviceMemory() = {};
        TestModeSession session(link, data, ui);
        if (session.open() == kTestModeOk) driveTestMode(session, in, out);
        session.end();
        break;
    }
    }
    fuzz::check(!link.isOpen(), "an exchange ended with the port open");
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    fuzz::Input in(bytes, size);
    const auto op = static_cast<Operation>(in.below(3));
    auto source = std::make_unique<RadioData>();
    fuzz::newDataOfChoice(*source, in);
    sim::SimConfig config;
    const ModelIdentity id = source->image.identity();
    std::copy(id.bytes.begin(), id.bytes.end(), config.identity.begin());
    sim::BoardConfig board;
    board.accessCode = std::string(FuzzUi::kBoardAccessCode);
    board.data = op == Operation::BoardWrite ? sim::defaultBoardData() : variedBoardData();
    if (op == Operation::BoardWrite) {
        auto area = source->image.bytes().subspan(layout::kTrunkData, board::kDataSize);
        const board::Data varied = variedBoardData();
        std::copy(varied.begin(), varied.end(), area.begin());
    }
    const sim::Memory memory = fuzz::memoryOf(*source);

    auto clean = copyOf(*source);
    auto cleanHw = std::make_unique<Hardware>(config, memory, board);
    const Outcome cleanOut = run(op, *cleanHw, *clean, nullptr);

    auto spoiled = copyOf(*source);
    auto hw = std::make_unique<Hardware>(config, memory, board);
    const Outcome out = run(op, *hw, *spoiled, &in);
    if (!out.ok) return 0;
    fuzz::check(cleanOut.ok, "an exchange succeeded over a spoiled line but fails over a clean one");
    switch (op) {
    case Operation::BoardRead:
        fuzz::check(std::equal(clean->image.bytes().begin(), clean->image.bytes().end(),
                               spoiled->image.bytes().begin()),
                    "a board read reported success with data the board did not send");
        break;
    case Operation::BoardWrite:
        fuzz::check(hw->board.data() == cleanHw->board.data(),
                    "a board write reported success but the board holds other data");
        break;
    case Operation::TestMode:
        fuzz::check(out.tuning == cleanOut.tuning, "the tuning data shown is not the radio's");
        fuzz::check(!hw->radio.sim.keyed(), "the radio was left transmitting");
        break;
    }
    return 0;
}
