// What test-mode and tune share: the data file the radio is checked against, the
// opening of Test Mode on the line named by --port, the channel, signalling and
// bandwidth options, and the end that always unkeys and sends "E".
#pragma once

#include "link_common.h"

#include "lang/language_table.h"
#include "model/radio_data.h"
#include "service/test_mode.h"

#include <memory>
#include <optional>
#include <string>

namespace vrl::cli {

std::set<std::string> serviceValuedOptions(std::set<std::string> own);
inline constexpr std::string_view kServiceOptionsHelp =
    "  --channel N        test channel 1-16 (a channel without a receive frequency\n"
    "                     in the data moves on to the next one that has one)\n"
    "  --signalling N     test signalling 1-12\n"
    "  --bandwidth 0|1    bandwidth index (fixed on models of market code 5)\n";

class ServiceRun {
  public:
    explicit ServiceRun(std::string_view command) : command_(command) {}

    // Parses the shared options and loads FILE; nullopt to go on, else the exit status.
    std::optional<int> prepare(const Options& opts);
    // Opens Test Mode and applies --channel, --signalling and --bandwidth; nullopt
    // when the radio is ready, else the exit status (the session has ended).
    std::optional<int> open(const Options& opts);
    // Leaves the test state; the exit status of the whole run.
    int finish();

    TestModeSession& test() { return *test_; }
    CliUi& ui() { return *ui_; }
    RadioData& data() { return data_; }
    // A language text in English, or "text N" without the language file.
    std::string text(int index) const;
    void printChannel();
    void printSignalling();
    // Waits `seconds`, or less when Ctrl+C arrives; false when interrupted.
    bool wait(double seconds);

  private:
    std::string command_;
    RadioData data_;
    LinkSession session_;
    std::unique_ptr<CliUi> ui_;
    std::unique_ptr<TestModeSession> test_;
    std::optional<LanguageTable> texts_;
    std::optional<int> channel_, signalling_, bandwidth_;
};

} // namespace vrl::cli
