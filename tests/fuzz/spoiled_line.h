// The fuzzed line shared by the link targets: a simulated radio behind a line that
// the input spoils -- replies dropped, cut short, corrupted inside a data block, or
// delivered late (after the program stopped waiting); commands lost or corrupted on
// the way -- and a person who answers the questions as the input says. Time runs on
// a pretend clock, so time-outs cost nothing.
#pragma once

#include "fuzz_input.h"
#include "link/radio_link.h"
#include "link/transfer_ui.h"
#include "model/radio_data.h"
#include "sim/sim_transport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace vrl::fuzz {

// The line between the program and the radio, spoiled as the input says. Once the
// input runs out the line works.
class SpoiledLine : public Transport {
  public:
    // What the line may do besides dropping, cutting and losing: spoil bytes inside a
    // checksummed data block, and deliver replies late (by less than the quiet time
    // the engine waits for after a time-out).
    struct Faults {
        bool corrupt = true;
        bool late = true;
    };
    SpoiledLine(Transport& inner, PretendClock& clock, Input& in, Faults faults)
        : inner_(inner), clock_(clock), in_(in), faults_(faults),
          trace_(std::getenv("VRL_FUZZ_TRACE") != nullptr) {}

    bool open() override { return inner_.open(); }
    bool close() override {
        held_.clear();
        return inner_.close();
    }
    bool isOpen() const override { return inner_.isOpen(); }
    bool applySettings(const LineSettings& s) override { return inner_.applySettings(s); }
    bool write(std::span<const uint8_t> bytes) override {
        if (++calls > kCallLimit) fail("an exchange does not end (too many writes and reads)");
        const uint8_t action = in_.byte();
        if (trace_)
            std::fprintf(stderr, "%8lld write %zu bytes %02X %02X %02X action %d\n",
                         static_cast<long long>(clock_.now), bytes.size(), bytes[0],
                         bytes.size() > 1 ? bytes[1] : 0, bytes.size() > 2 ? bytes[2] : 0, action);
        if (action >= 240) return true; // lost on the way: the radio hears nothing
        // A data block carries a checksum the radio tests; a fill block ("Z") has none,
        // so only data blocks are spoiled.
        if (faults_.corrupt && action >= 224 &&
            bytes.size() == static_cast<size_t>(kRadioBlockLength) + 4) {
            std::vector<uint8_t> spoiled(bytes.begin(), bytes.end());
            const size_t at = static_cast<size_t>(in_.below(static_cast<int>(spoiled.size() - 3))) + 3;
            spoiled[at] ^= static_cast<uint8_t>(in_.byte() | 1);
            return inner_.write(spoiled);
        }
        return inner_.write(bytes);
    }
    size_t read(std::span<uint8_t> buffer, int timeoutMs) override {
        if (++calls > kCallLimit) fail("an exchange does not end (too many writes and reads)");
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
            if (faults_.corrupt && fresh == static_cast<size_t>(kRadioBlockLength))
                buffer[got + static_cast<size_t>(in_.below(kRadioBlockLength))] ^=
                    static_cast<uint8_t>(in_.byte() | 1);
            return got + fresh;
        }
        // late: the bytes arrive after the program stopped waiting, while it lets the
        // line fall quiet. Only replies to requests are delayed (not bytes read while
        // the line is drained, whose reads are longer), and by less than that quiet
        // time: a reply later than that cannot be told from the answer to the next
        // request, as the protocol has no sequence numbers.
        if (!faults_.late || timeoutMs > kLongestReplyTimeoutMs) return got + fresh;
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
    Input& in_;
    Faults faults_;
    std::deque<Byte> held_;
    bool trace_;
};

// Answers as the input says, but gives up after a few retries so every exchange ends.
class FuzzUi : public TransferUi {
  public:
    explicit FuzzUi(Input& in) : in_(in) {}
    void progress(int, int) override {}
    bool askRetry(int) override { return retries_-- > 0 && (in_.byte() & 3) != 0; }
    bool askOk(int) override { return in_.empty() || (in_.byte() & 7) != 0; }
    void showError(int) override {}
    std::optional<PasswordBytes> askPassword() override {
        if (passwords_-- <= 0) return std::nullopt;
        return passwordFromText("1234");
    }
    bool firmwareWarning(int) override { return true; }
    std::optional<std::string> askAccessCode() override {
        if (accessCodes_-- <= 0) return std::nullopt;
        return std::string(kBoardAccessCode);
    }
    static constexpr std::string_view kBoardAccessCode = "24680";

  private:
    Input& in_;
    int retries_ = 3;
    int passwords_ = 2;
    int accessCodes_ = 3;
};

// The radio memory of an image.
inline sim::Memory memoryOf(const RadioData& data) {
    auto img = data.image.bytes();
    sim::Memory mem{};
    std::copy(img.begin(), img.begin() + static_cast<long>(mem.size()), mem.begin());
    return mem;
}

// A simulated radio on its own pretend clock.
struct Radio {
    Radio(const sim::SimConfig& config, const sim::Memory& memory)
        : sim(config, memory), line(sim, clock) {}
    PretendClock clock;
    sim::RadioSimulator sim;
    sim::SimTransport line;
};

} // namespace vrl::fuzz
