// The channel grid on a 128-channel model with all 128 channels in group 1: a group
// switch (grid rebuilt and filled) and a full refresh. Goal: under 16 ms each.
// Run with QT_QPA_PLATFORM=offscreen.
#include "app/app_context.h"
#include "channels/channel_grid.h"
#include "channels/channel_info_view.h"
#include "channels/channel_services.h"
#include "model/new_data.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace vrl;
using namespace vrl::gui;

class SilentMessages : public MessageService {
  public:
    QMessageBox::StandardButton ask(const Request&) override { return QMessageBox::Ok; }
};

struct Setup {
    RadioData data;
    LanguageTable lang;
    SilentMessages messages;
    std::unique_ptr<AppContext> ctx;
    std::unique_ptr<CChannelInfoView> view;

    Setup() {
        std::string file = "label,English\n";
        for (int row = 0; row <= LanguageTable::kFirstLanguageNameRow; ++row)
            file += "R" + std::to_string(row) + "," + (row == 1 ? "13" : "T" + std::to_string(row)) + "\n";
        lang.loadBytes(file);
        ctx = std::make_unique<AppContext>(data, lang, messages);
        newDataFor(data, models::identityFor(4, 0, OptionBoard::None));
        ChannelStore& store = ChannelServices::of(*ctx).store();
        for (int c = 0; c < 128; ++c)
            store.setText(std::to_string(150 + c % 20) + ".0125", 0, c, ChannelField::Receive);
        view = std::make_unique<CChannelInfoView>(*ctx, nullptr);
        view->resize(900, 600);
        view->show();
    }
};

Setup& setup() {
    static Setup s;
    return s;
}

void BM_GroupSwitch(benchmark::State& state) {
    Setup& s = setup();
    for (auto _ : state) {
        s.view->showGroup(1, 0); // an empty group
        s.view->showGroup(0, 0); // back to the full one
        QApplication::processEvents();
    }
    state.SetLabel("two switches per iteration");
}
BENCHMARK(BM_GroupSwitch)->Unit(benchmark::kMillisecond);

void BM_FullRefresh(benchmark::State& state) {
    Setup& s = setup();
    s.view->showGroup(0, 0);
    for (auto _ : state) {
        s.view->refresh();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_FullRefresh)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
