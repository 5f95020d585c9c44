// Radio history: builds a synthetic history of 10,000 events over 1,000 radios in
// an SQLite file (or the PostgreSQL URI given) and times what a bench notices:
// recording one event (the cost a transfer pays, opening the store included), and,
// when the command-line tool is given, `history --json` over all events and
// `history --where` over all radios.
// usage: vrl_history_bench [--cli PATH] [--db LOCATION]
#include "platform/history_store.h"

#include "channels/channel_store.h"
#include "channels/channel_table.h"
#include "model/new_data.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

using namespace vrl;
using Clock = std::chrono::steady_clock;

namespace {

// CPU time (user + system) of the finished child processes, in ms: on a busy
// machine the wall time mostly measures the wait for a core.
double childCpuMs() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto ms = [](const timeval& t) { return static_cast<double>(t.tv_sec) * 1000 + static_cast<double>(t.tv_usec) / 1000; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A valid image whose channel 1.3 receives on `receive`.
std::vector<uint8_t> imageWith(const std::string& receive) {
    auto data = std::make_unique<RadioData>();
    data->image.setIdentity(defaultIdentity());
    newData(*data);
    const TextSource texts = [](int) { return std::string(); };
    ChannelStore store(*data, texts);
    importChannelRows(store, {"Group", "Channel", "Receive"}, {{2, {"1", "3", receive}}});
    return {data->image.bytes().begin(), data->image.bytes().end()};
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::string cli, location;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::string(argv[i]) == "--cli") cli = argv[i + 1];
        if (std::string(argv[i]) == "--db") location = argv[i + 1];
    }
    QTemporaryDir dir;
    if (location.empty()) location = dir.filePath("bench.sqlite").toStdString();

    constexpr int kRadios = 1000, kPerRadio = 10;
    const std::vector<uint8_t> oldImage = imageWith("151.82"), newImage = imageWith("152.0375");
    std::string error;
    auto store = platform::openHistoryStore(QString::fromStdString(location), error);
    if (!store) {
        std::cerr << "cannot open " << location << ": " << error << '\n';
        return 1;
    }
    std::vector<double> times;
    const auto fillStart = Clock::now();
    for (int r = 0; r < kRadios; ++r) {
        // One in four radios still carries the old frequency; every radio its own image.
        std::vector<uint8_t> image = r % 4 == 0 ? oldImage : newImage;
        image[image.size() - 1] = static_cast<uint8_t>(r);
        image[image.size() - 2] = static_cast<uint8_t>(r >> 8);
        for (int k = 0; k < kPerRadio; ++k) {
            history::Event e;
            e.operation = k % 2 ? history::kWrite : history::kRead;
            e.result = history::kOk;
            e.serial = "SN" + std::to_string(100000 + r);
            e.model = "RM-140A[8CH]:K";
            e.port = "/dev/ttyUSB0";
            e.file = "/home/bench/radio" + std::to_string(r) + ".dat";
            e.image = image;
            const auto start = Clock::now();
            if (!store->record(e, error)) {
                std::cerr << "record: " << error << '\n';
                return 1;
            }
            times.push_back(msSince(start));
        }
    }
    const double fillMs = msSince(fillStart);
    store.reset();
    std::sort(times.begin(), times.end());
    std::printf("recorded %zu events in %.0f ms: mean %.2f ms, median %.2f ms, 99th %.2f ms, max %.2f ms\n",
                times.size(), fillMs, fillMs / static_cast<double>(times.size()), times[times.size() / 2],
                times[times.size() * 99 / 100], times.back());

    // What one transfer pays in a fresh process: opening the store and one event.
    const auto once = Clock::now();
    store = platform::openHistoryStore(QString::fromStdString(location), error);
    history::Event e;
    e.operation = history::kRead;
    e.result = history::kOk;
    e.serial = "SN-ONCE";
    e.image = oldImage;
    if (!store || !store->record(e, error)) return 1;
    std::printf("open + record one event: %.2f ms (goal < 20 ms)\n", msSince(once));
    store.reset();

    if (!cli.empty()) {
        const std::string db = "'" + location + "'";
        const struct {
            const char* what;
            std::string command;
            double goalMs;
        } runs[] = {
            {"history --json (10,001 events)", cli + " history --history " + db + " --json > /dev/null", 500},
            {"history --where (1,001 radios)",
             cli + " history --history " + db + " --where channel.1.3.Receive=151.82000 --json > where.json", 2000},
        };
        for (const auto& run : runs) {
            const double cpu = childCpuMs();
            const auto start = Clock::now();
            const int rc = std::system(run.command.c_str());
            std::printf("%s: %.0f ms wall, %.0f ms CPU (goal < %.0f ms)%s\n", run.what, msSince(start),
                        childCpuMs() - cpu, run.goalMs, rc ? " FAILED" : "");
        }
    }
    return 0;
}
