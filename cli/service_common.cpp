#include "service_common.h"

#include "csv.h"

#include "file/data_file.h"
#include "service/tuning_items.h"

#include <chrono>
#include <iostream>
#include <thread>

namespace vrl::cli {

std::set<std::string> serviceValuedOptions(std::set<std::string> own) {
    own.insert({"--channel", "--signalling", "--bandwidth"});
    return linkValuedOptions(std::move(own));
}

std::optional<int> ServiceRun::prepare(const Options& opts) {
    if (opts.positional().size() != 1) return fail(command_, "expected one data file", kExitUsage);
    struct Range {
        const char* name;
        std::optional<int>* target;
        int lo, hi;
    };
    const Range ranges[] = {{"--channel", &channel_, 1, kTestChannelCount},
                            {"--signalling", &signalling_, 1, kTestSignallingCount},
                            {"--bandwidth", &bandwidth_, 0, 1}};
    for (const auto& r : ranges) {
        const auto text = opts.value(r.name);
        if (!text) continue;
        const auto v = parseNumber(*text);
        if (!v || *v < r.lo || *v > r.hi)
            return fail(command_,
                        std::string(r.name) + " must be " + std::to_string(r.lo) + " to " +
                            std::to_string(r.hi),
                        kExitUsage);
        *r.target = static_cast<int>(*v);
    }
    const DataFileStatus status = readDataFile(opts.positional()[0], data_.image);
    if (status.result != kFileOk) return fail(command_, status.detail, kExitRefused);
    data_.model.refresh();
    std::string error;
    texts_ = loadLanguageForCli(0, error); // names only; without them numbers are shown
    return std::nullopt;
}

std::optional<int> ServiceRun::open(const Options& opts) {
    if (auto code = session_.start(command_, opts)) return *code;
    ui_ = std::make_unique<CliUi>(command_, session_, false, std::nullopt);
    test_ = std::make_unique<TestModeSession>(session_.link(), data_, *ui_);
    switch (test_->open()) {
    case kTestModeOk:
        break;
    case kTestModePortFailed:
        return kExitComm;
    case kTestModeNoChannel:
    case kTestModeRefused:
        return kExitRefused;
    default:
        return ui_->failureExit();
    }
    const std::string label(data_.model.label());
    std::cout << "radio " << (label.empty() ? data_.image.identity().hex() : label)
              << " matches the data\n";
    bool ok = true;
    if (channel_) ok = test_->typeChannel(*channel_);
    if (ok && signalling_) ok = test_->typeSignalling(*signalling_);
    if (ok && bandwidth_) {
        if (bandwidthSelectable(test_->market()))
            ok = test_->selectBandwidth(*bandwidth_);
        else
            std::cerr << "vrl73m-cli " << command_
                      << ": the bandwidth of this model is fixed; --bandwidth ignored\n";
    }
    if (!ok) {
        test_->end();
        return ui_->failureExit();
    }
    printChannel();
    printSignalling();
    if (bandwidthSelectable(test_->market())) {
        const auto names = bandwidthTexts(test_->market());
        std::cout << "bandwidth " << test_->bandwidth() << ": "
                  << text(names[static_cast<size_t>(test_->bandwidth())]) << '\n';
    }
    return std::nullopt;
}

int ServiceRun::finish() {
    if (!test_) return kExitOk;
    const bool failed = test_->failed();
    test_->end();
    if (!test_->endConfirmed()) {
        std::cerr << "vrl73m-cli " << command_
                  << ": the radio did not confirm the unkey and the end of its test state; it "
                     "may still be keyed: switch it off\n";
        return failed ? ui_->failureExit() : kExitComm;
    }
    std::cout << "radio left the test state\n";
    return failed ? ui_->failureExit() : kExitOk;
}

std::string ServiceRun::text(int index) const {
    if (texts_) return texts_->text(index);
    return "text " + std::to_string(index);
}

void ServiceRun::printChannel() {
    TestFrequencyTable table(data_);
    const int n = test_->channel();
    std::cout << "test channel " << n << ": receive " << table.receiveText(n) << " MHz, transmit "
              << (table.transmitText(n).empty() ? "-" : table.transmitText(n) + " MHz") << '\n';
}

void ServiceRun::printSignalling() {
    const int n = test_->signalling();
    if (n < 1 || n > kTestSignallingCount) {
        std::cout << "signalling 0: none selected\n";
        return;
    }
    const auto& s = kTestSignallings[static_cast<size_t>(n - 1)];
    std::cout << "signalling " << n << ": transmit " << s.transmit << ", receive " << s.receive
              << '\n';
}

bool ServiceRun::wait(double seconds) {
    const auto until = std::chrono::steady_clock::now() +
                       std::chrono::milliseconds(static_cast<long>(seconds * 1000));
    while (std::chrono::steady_clock::now() < until) {
        if (ui_->stopRequested()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

} // namespace vrl::cli
