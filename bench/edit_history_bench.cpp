// One Edit > Undo (and the Redo back) on a 128-channel image with a full history of
// channel edits: the image bytes restored, as the program does before the windows
// reload. Goal: under 1 ms per step.
#include "channels/channel_store.h"
#include "model/edit_history.h"
#include "model/new_data.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace vrl;

std::string noText(int) {
    return {};
}

void undoRedoStep(benchmark::State& state) {
    RadioData data;
    newDataFor(data,
               identityOfChoice(ModelChoice{5, 0, OptionBoard::None, 1})); // 128-channel mobile
    data.model.refresh();
    ChannelStore store(data, noText);
    EditHistory history;
    history.reset(data.image);
    for (int i = 0; i < 128; ++i) {
        store.setText("150." + std::to_string(100 + i * 5), i / 16, i % 16, ChannelField::Receive);
        history.record(data.image, "Receive");
    }
    for (auto _ : state) {
        history.undo(data.image);
        history.redo(data.image);
        benchmark::DoNotOptimize(data.image.bytes().data());
    }
    state.SetItemsProcessed(2 * state.iterations()); // steps
}
BENCHMARK(undoRedoStep);

void recordStep(benchmark::State& state) {
    RadioData data;
    newDataFor(data, identityOfChoice(ModelChoice{5, 0, OptionBoard::None, 1}));
    EditHistory history;
    history.reset(data.image);
    uint8_t v = 0;
    for (auto _ : state) {
        data.image.setU8(0x0200, ++v);
        history.record(data.image, "Line 1");
    }
}
BENCHMARK(recordStep);

} // namespace

BENCHMARK_MAIN();
