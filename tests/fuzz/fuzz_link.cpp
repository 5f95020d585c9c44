// The radio link engine against a simulated radio behind a line that the input
// spoils: replies dropped, cut short, corrupted inside a data block, or delivered
// late (after the program stopped waiting); commands lost or corrupted on the way.
// The engine must end every exchange with the port closed, and may report success
// only when the data really crossed: a read gives the image a clean read gives, a
// write leaves the radio holding what a clean write leaves, a query answers what
// the radio holds. Time runs on a pretend clock, so time-outs cost nothing.
#include "link/transfer.h"
#include "spoiled_line.h"

#include <algorithm>
#include <memory>

using namespace vrl;
using fuzz::FuzzUi;
using fuzz::Radio;
using fuzz::SpoiledLine;

namespace {

// Gives New data a directory naming a few used blocks of varied bytes.
void fillUsedBlocks(RadioData& data) {
    const uint16_t dir[6] = {3, 3, 0x10, 0x11, 0x20, 0x20};
    for (int i = 0; i < 6; ++i) data.image.setU16(2 * static_cast<size_t>(i), dir[i]);
    auto img = data.image.bytes();
    for (size_t b : {3, 0x10, 0x11, 0x20})
        for (size_t i = 0; i < 256; ++i) img[b * 256 + i] = static_cast<uint8_t>(b * 7 + i * 3);
}

enum class Operation { Read, Write, Information, CheckSum };

// Runs one exchange; `spoil` null for a clean line.
int run(Operation op, Radio& radio, RadioData& data, fuzz::Input* spoil, RadioInformation& info,
        std::array<uint8_t, 2>& sum) {
    fuzz::Input none(nullptr, 0);
    fuzz::Input& in = spoil ? *spoil : none;
    SpoiledLine line(radio.line, radio.clock, in, {});
    RadioLink link(radio.clock);
    link.setTransport(&line);
    FuzzUi ui(in);
    int result = 0;
    switch (op) {
    case Operation::Read: result = readDataFromRadio(link, data, ui); break;
    case Operation::Write: result = writeDataToRadio(link, data, ui); break;
    case Operation::Information: result = queryRadioInformation(link, ui, info); break;
    case Operation::CheckSum: result = queryCheckSum(link, ui, sum); break;
    }
    fuzz::check(!link.isOpen(), "an exchange ended with the port open");
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    fuzz::Input in(bytes, size);
    const auto op = static_cast<Operation>(in.below(4));
    auto source = std::make_unique<RadioData>();
    fuzz::newDataOfChoice(*source, in);
    sim::SimConfig config;
    const ModelIdentity id = source->image.identity();
    std::copy(id.bytes.begin(), id.bytes.end(), config.identity.begin());
    config.version = sim::firmwareFromText((in.byte() & 7) == 0 ? "v1.00" : "v2.30");
    config.info = sim::infoBlockWithSerial("SN0012345678");
    // A write puts used blocks into a radio that has none; the other exchanges find
    // them in the radio.
    if (op != Operation::Write) fillUsedBlocks(*source);
    const sim::Memory memory = fuzz::memoryOf(*source);
    const auto prepare = [&](RadioData& data) {
        if (op != Operation::Write) return;
        newDataFor(data, id);
        fillUsedBlocks(data);
    };

    // The clean exchange says what a successful one gives.
    RadioInformation cleanInfo, info;
    std::array<uint8_t, 2> cleanSum{}, sum{};
    auto clean = std::make_unique<RadioData>();
    auto cleanRadio = std::make_unique<Radio>(config, memory);
    prepare(*clean);
    // (The oldest firmware has no information block: that query fails even so.)
    const bool cleanOk = run(op, *cleanRadio, *clean, nullptr, cleanInfo, cleanSum) == kTransferOk;

    auto spoiled = std::make_unique<RadioData>();
    prepare(*spoiled);
    auto radio = std::make_unique<Radio>(config, memory);
    const int result = run(op, *radio, *spoiled, &in, info, sum);
    if (result != kTransferOk) return 0;
    fuzz::check(cleanOk, "an exchange succeeded over a spoiled line but fails over a clean one");
    switch (op) {
    case Operation::Read:
        for (size_t i = 0; i < CDataImage::kSize; ++i)
            if (clean->image.bytes()[i] != spoiled->image.bytes()[i]) {
                std::fprintf(stderr, "first difference at %zX\n", i);
                break;
            }
        fuzz::check(std::equal(clean->image.bytes().begin(), clean->image.bytes().end(),
                               spoiled->image.bytes().begin()),
                    "a read reported success with data the radio did not send");
        break;
    case Operation::Write:
        fuzz::check(radio->sim.memory() == cleanRadio->sim.memory(),
                    "a write reported success but the radio holds other data");
        break;
    case Operation::Information:
        fuzz::check(info.identity == cleanInfo.identity && info.block == cleanInfo.block,
                    "the radio information reported is not the radio's");
        break;
    case Operation::CheckSum:
        fuzz::check(sum == cleanSum, "the check sum reported is not the radio's");
        break;
    }
    return 0;
}
