// The radio link engine against a simulated radio behind a line that the input
// spoils: replies dropped, cut short, corrupted inside a data block, or delivered
// late (after the program stopped waiting); commands lost or corrupted on the way.
// The engine must end every exchange with the port closed, and may report success
// only when the data really crossed: a read gives the image a clean read gives, a
// write leaves the radio holding what a clean write leaves, a query answers what
// the radio holds. Time runs on a pretend clock, so time-outs cost nothing.
#include "fuzz_input.h"
#include "link/transfer.h"
#include "sim/sim_transport.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <memory>

using namespace vrl;

namespace {

// The line between the program and the radio, spoiled as the input says. Once the
// input runs out the line works.
class SpoiledLine : public Transport {
  public:
    SpoiledLine(Transport& inner, PretendClock& clock, fuzz::Input& in)
        : inner_(inner), clock_(clock), in_(in), trace_(std::getenv("VRL_FUZZ_TRACE") != nullptr) {}

    bool open() override { return inner_.open(); }
    bool close() override {
        held_.clear();
        return inner_.close();
    }
    bool isOpen() const override { return inner_.isOpen(); }
    bool applySettings(const LineSettings& s) override { return inner_.applySettings(s); }
    bool write(std::span<const uint8_t> bytes) override {
        if (++calls > kCallLimit) fuzz::fail("an exchange does not end (too many writes and reads)");
        const uint8_t action = in_.byte();
        if (trace_)
            std::fprintf(stderr, "%8lld write %zu bytes %02X %02X %02X action %d\n",
                         static_cast<long long>(clock_.now), bytes.size(), bytes[0],
                         bytes.size() > 1 ? bytes[1] : 0, bytes.size() > 2 ? bytes[2] : 0, action);
        if (action >= 240) return true; // lost on the way: the radio hears nothing
        // A data block carries a checksum the radio tests; a fill block ("Z") has none,
        // so only data blocks are spoiled.
        if (action >= 224 && bytes.size() == static_cast<size_t>(kRadioBlockLength) + 4) {
            std::vector<uint8_t> spoiled(bytes.begin(), bytes.end());
            const size_t at = static_cast<size_t>(in_.below(static_cast<int>(spoiled.size() - 3))) + 3;
            spoiled[at] ^= static_cast<uint8_t>(in_.byte() | 1);
            return inner_.write(spoiled);
        }
        return inner_.write(bytes);
    }
    size_t read(std::span<uint8_t> buffer, int timeoutMs) override {
        if (++calls > kCallLimit) fuzz::fail("an exchange does not end (too many writes and reads)");
        const int64_t deadline = clock_.now + timeoutMs;
        const uint8_t action = in_.byte();
        // Late bytes and the radio's fresh bytes arrive in the order of their time.
        size_t got = 0;
        size_t fresh = 0;
        while (got + fresh < buffer.size()) {
            while (got + fresh < buffer.size() && !held_.empty() && held_.front().at <= clock_.now) {
                if (fresh > 0) break; // the fresh bytes came first; the late ones wait
                buffer[got++] = held_.front().byte;
                held_.pop_front();
            }
            if (got + fresh == buffer.size() || clock_.now >= deadline) break;
            const int64_t until = held_.empty() ? deadline : std::min(deadline, held_.front().at);
            const size_t asked = buffer.size() - got - fresh;
            const size_t n = inner_.read(buffer.subspan(got + fresh, asked),
                                         static_cast<int>(std::max<int64_t>(0, until - clock_.now)));
            fresh += n;
            if (n < asked) clock_.now = std::max(clock_.now, until);
            if (fresh > 0 && n < asked) break; // the reply ended before more could come
            if (held_.empty() && n < asked) break;
        }
        if (got + fresh < buffer.size()) clock_.now = std::max(clock_.now, deadline);
        if (trace_)
            std::fprintf(stderr, "%8lld read %zu of %zu (%zu late) first %02X action %d\n",
                         static_cast<long long>(clock_.now), fresh, buffer.size(), got,
                         got + fresh > 0 ? buffer[0] : 0, action);
        if (action < 160 || fresh == 0) return got + fresh;
        if (action < 180) { // dropped
            clock_.now = std::max(clock_.now, deadline);
            return got;
        }
        if (action < 200) { // cut short
            clock_.now = std::max(clock_.now, deadline);
            return got + fresh / 2;
        }
        if (action < 225) { // one byte of a data block spoiled: the checksum must see it
            if (fresh == static_cast<size_t>(kRadioBlockLength))
                buffer[got + static_cast<size_t>(in_.below(kRadioBlockLength))] ^=
                    static_cast<uint8_t>(in_.byte() | 1);
            return got + fresh;
        }
        // late: the bytes arrive after the program stopped waiting, while it lets the
        // line fall quiet. Only replies to requests are delayed (not bytes read while
        // the line is drained, whose reads are longer), and by less than that quiet
        // time: a reply later than that cannot be told from the answer to the next
        // request, as the protocol has no sequence numbers.
        if (timeoutMs > kLongestReplyTimeoutMs) return got + fresh;
        const int64_t at =
            deadline + 1 + static_cast<int64_t>(in_.below(kResyncQuietFactor - 1)) * timeoutMs;
        for (size_t i = 0; i < fresh; ++i) held_.push_back({buffer[got + i], at});
        clock_.now = std::max(clock_.now, deadline);
        return got;
    }
    void discardInput() override {
        while (!held_.empty() && held_.front().at <= clock_.now) held_.pop_front();
        inner_.discardInput();
    }
    std::string name() const override { return "spoiled"; }

    static constexpr int kCallLimit = 200000;
    // The longest time-out of a request's reply at the baud rates that give the read
    // time-out the quiet time is counted in (the check sum's own 6000 ms excepted).
    static constexpr int kLongestReplyTimeoutMs = 1100;
    int calls = 0;

  private:
    struct Byte {
        uint8_t byte;
        int64_t at;
    };
    Transport& inner_;
    PretendClock& clock_;
    fuzz::Input& in_;
    std::deque<Byte> held_;
    bool trace_;
};

// Answers as the input says, but gives up after a few retries so every exchange ends.
class FuzzUi : public TransferUi {
  public:
    explicit FuzzUi(fuzz::Input& in) : in_(in) {}
    void progress(int, int) override {}
    bool askRetry(int) override { return retries_-- > 0 && (in_.byte() & 3) != 0; }
    bool askOk(int) override { return in_.empty() || (in_.byte() & 7) != 0; }
    void showError(int) override {}
    std::optional<PasswordBytes> askPassword() override {
        if (passwords_-- <= 0) return std::nullopt;
        return passwordFromText("1234");
    }
    bool firmwareWarning(int) override { return true; }

  private:
    fuzz::Input& in_;
    int retries_ = 3;
    int passwords_ = 2;
};

// Gives New data a directory naming a few used blocks of varied bytes.
void fillUsedBlocks(RadioData& data) {
    const uint16_t dir[6] = {3, 3, 0x10, 0x11, 0x20, 0x20};
    for (int i = 0; i < 6; ++i) data.image.setU16(2 * static_cast<size_t>(i), dir[i]);
    auto img = data.image.bytes();
    for (size_t b : {3, 0x10, 0x11, 0x20})
        for (size_t i = 0; i < 256; ++i) img[b * 256 + i] = static_cast<uint8_t>(b * 7 + i * 3);
}

sim::Memory memoryOf(const RadioData& data) {
    auto img = data.image.bytes();
    sim::Memory mem{};
    std::copy(img.begin(), img.begin() + static_cast<long>(mem.size()), mem.begin());
    return mem;
}

struct Radio {
    Radio(const sim::SimConfig& config, const sim::Memory& memory)
        : sim(config, memory), line(sim, clock) {}
    PretendClock clock;
    sim::RadioSimulator sim;
    sim::SimTransport line;
};

enum class Operation { Read, Write, Information, CheckSum };

// Runs one exchange; `spoil` null for a clean line.
int run(Operation op, Radio& radio, RadioData& data, fuzz::Input* spoil, RadioInformation& info,
        std::array<uint8_t, 2>& sum) {
    fuzz::Input none(nullptr, 0);
    fuzz::Input& in = spoil ? *spoil : none;
    SpoiledLine line(radio.line, radio.clock, in);
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
    const sim::Memory memory = memoryOf(*source);
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
