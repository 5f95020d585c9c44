// vrl73m-radiosim: one simulated radio on a pseudo-terminal, for trying the
// program, scripting tests and measuring transfer times without hardware.
#include "pty_line.h"
#include "sim_options.h"

#include "link/clock.h"
#include "sim/radio_sim.h"

#include <chrono>
#include <csignal>
#include <thread>
#include <cstdio>
#include <iostream>
#include <unistd.h>

using namespace vrl;

namespace {

volatile std::sig_atomic_t gStop = 0;
extern "C" void onStop(int) { gStop = 1; }

// Paces bytes at the line rate: 11 bits per byte (start, 8 data, 2 stop bits).
// Microsecond bookkeeping: rounding every step to milliseconds would add more
// than the line time of a short reply.
class LineTimer {
  public:
    explicit LineTimer(int baud) : usPerByte_(11'000'000.0 / baud) {}
    // Waits until `n` bytes that began arriving now would have been received.
    void waitReceived(size_t n) { waitUntil(advance(rxFreeUs_, n)); }
    // Sends bytes in small slices, each when the line would have carried it.
    template <typename Send>
    bool paceSend(std::span<const uint8_t> bytes, Send send) {
        constexpr size_t kSlice = 8;
        for (size_t i = 0; i < bytes.size(); i += kSlice) {
            const auto slice = bytes.subspan(i, std::min(kSlice, bytes.size() - i));
            if (!send(slice)) return false;
            waitUntil(advance(txFreeUs_, slice.size()));
        }
        return true;
    }

  private:
    static double nowUs() {
        using namespace std::chrono;
        return static_cast<double>(
            duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count());
    }
    double advance(double& freeUs, size_t n) {
        freeUs = std::max(freeUs, nowUs()) + usPerByte_ * static_cast<double>(n);
        return freeUs;
    }
    static void waitUntil(double us) {
        const double left = us - nowUs();
        if (left > 0) std::this_thread::sleep_for(std::chrono::microseconds(static_cast<long>(left)));
    }
    double usPerByte_;
    double rxFreeUs_ = 0;
    double txFreeUs_ = 0;
};

int saveMemory(const radiosim::SimOptions& o, const sim::RadioSimulator& radio) {
    if (o.saveFile.empty()) return 0;
    const auto* board = radio.board() ? &radio.board()->data() : nullptr;
    const auto status = sim::saveSimMemory(o.saveFile, radio.memory(), board);
    if (status.result != kFileOk) {
        std::cerr << "vrl73m-radiosim: " << status.detail << '\n';
        return 1;
    }
    std::cerr << "vrl73m-radiosim: memory saved to " << o.saveFile << '\n';
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    for (const auto& a : args)
        if (a == "--version") {
            std::cout << "vrl73m-radiosim " VRL_VERSION "\n";
            return 0;
        } else if (a == "--help" || a == "-h") {
            std::cout << radiosim::kUsage;
            return 0;
        }
    std::string error;
    auto options = radiosim::parseSimOptions(args, error);
    if (!options) {
        std::cerr << "vrl73m-radiosim: " << error << '\n' << radiosim::kUsage;
        return 1;
    }
    sim::RadioSimulator radio(options->radio.config, options->radio.memory);
    if (!options->password.empty()) radio.setDataPassword(options->password);
    sim::TrunkingBoardSim board(options->radio.board);
    if (options->radio.boardFitted) radio.attachBoard(&board);
    // Test and tuning mode: what the technician would see on the radio.
    radio.setReporter([](const std::string& line) { std::cerr << "radio: " << line << '\n'; });

    radiosim::PtyLine line;
    if (!line.create()) {
        std::cerr << "vrl73m-radiosim: " << line.error() << '\n';
        return 3;
    }
    if (!options->linkPath.empty()) {
        unlink(options->linkPath.c_str());
        if (symlink(line.devicePath().c_str(), options->linkPath.c_str()) != 0)
            std::perror("vrl73m-radiosim: symlink");
    }
    std::signal(SIGINT, onStop);
    std::signal(SIGTERM, onStop);
    std::cout << line.devicePath() << std::endl;

    Clock& clock = SystemClock::instance();
    LineTimer timer(options->radio.config.answerBaud);
    bool hungUp = false;
    while (!gStop && !hungUp) {
        auto bytes = line.receive(100);
        if (bytes.empty()) continue;
        const int baud = line.lineBaud();
        if (options->throttle) timer.waitReceived(bytes.size());
        auto reply = radio.receive(bytes, baud, clock.nowMs());
        if (options->verbose)
            std::cerr << "in " << bytes.size() << " bytes at " << baud << " baud, reply "
                      << reply.bytes.size() << " bytes\n";
        // What the board did is always worth a line: keyed means the radio transmits.
        for (const auto& event : board.takeEvents()) std::cerr << "vrl73m-radiosim: board " << event << '\n';
        if (reply.hangup) {
            std::cerr << "vrl73m-radiosim: hanging up (fault)\n";
            hungUp = true;
            break;
        }
        if (reply.delayMs > 0) clock.sleepMs(reply.delayMs);
        if (reply.bytes.empty()) continue;
        auto send = [&](std::span<const uint8_t> s) { return line.send(s); };
        if (options->throttle)
            timer.paceSend(reply.bytes, send);
        else
            line.send(reply.bytes);
    }
    line.hangUp();
    if (!options->linkPath.empty()) unlink(options->linkPath.c_str());
    std::cerr << "vrl73m-radiosim: " << radio.commandCount() << " commands, " << radio.blocksRead()
              << " blocks read, " << radio.blocksWritten() << " blocks written\n";
    if (options->radio.boardFitted)
        std::cerr << "vrl73m-radiosim: board released " << board.releases() << " times, keyed "
                  << board.timesKeyed() << " times, " << (board.keyed() ? "still keyed" : "unkeyed")
                  << '\n';
    return saveMemory(*options, radio);
}
