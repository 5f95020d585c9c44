// Fleet programming, the run: one worker thread per port, each with its own line
// and RadioLink, driving the one transfer engine. Per radio: programming mode and
// identity with the information block (the serial number), the model checked
// against the template, a unit picked, the unit's image written, programming mode
// ended. The workers share only the FleetBook (unit picking and the results).
#pragma once

#include "history/history.h"

#include "fleet/fleet_plan.h"
#include "link/transport.h"

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace vrl {
class RadioLink;
class TransferUi;
struct RadioData;
struct RadioInformation;
} // namespace vrl

namespace vrl::fleet {

enum class Outcome {
    Programmed,    // written (and verified, where the write verifies)
    Failed,        // the radio answered but was not programmed
    Incomplete,    // stopped while being written: the radio holds part of the data
    NotProgrammed, // a unit no radio came for
    NoRadio,       // a port on which no radio answered
};
const char* outcomeName(Outcome outcome); // "programmed", "failed", ...

// One radio (or one unit no radio came for): what the report and the radio
// history keep.
struct UnitResult {
    std::string serial;
    std::string unit;
    std::string port;
    Outcome outcome = Outcome::Failed;
    std::string message;
    std::chrono::system_clock::time_point started{};
    double seconds = 0;
    std::vector<uint8_t> image; // the image written (empty when nothing was to be written)
    std::string imageSha256;    // of `image`, lower-case hex; empty with it

    bool failed() const { return outcome == Outcome::Failed || outcome == Outcome::Incomplete; }
};

struct Options {
    bool continuous = false; // after a radio, wait for the next one until stopped
    bool verify = true;      // verify what was written (--no-verify turns it off)
    bool yes = false;        // answer the write's questions (passwords, firmware) yes
    int retries = 2;         // Retry answers to a failed exchange, per radio
    int pollMs = 700;        // continuous mode: pause between looks for a new radio
};

// Unit picking and the results, shared by the port workers.
class FleetBook {
  public:
    explicit FleetBook(const Plan& plan);

    // The unit for the radio with `serial`, reserved for it: by serial when the plan
    // has serials, else the next unused unit in table order. nullopt with `why`.
    std::optional<size_t> take(const std::string& serial, std::string& why);
    // Records a finished radio; a unit whose write did not succeed is free again.
    void record(std::optional<size_t> unit, UnitResult result);
    // Every unit has been programmed.
    bool allProgrammed() const;
    // The results in the order radios finished.
    std::vector<UnitResult> results() const;
    // The results, then every unit not programmed as Outcome::NotProgrammed.
    std::vector<UnitResult> report() const;

    // Called (on the worker's thread, outside the lock) for each recorded result.
    std::function<void(const UnitResult&)> onResult;

  private:
    const Plan& plan_;
    mutable std::mutex mutex_;
    std::vector<int> state_; // per unit: 0 free, 1 in progress, 2 programmed
    std::vector<UnitResult> results_;
};

// What a worker tells its front end, on the worker's thread.
class PortObserver {
  public:
    virtual ~PortObserver() = default;
    virtual void progress(const std::string& port, int count, int total) = 0;
    virtual void status(const std::string& port, const std::string& text) = 0;
};

// Makes the line of a port; called on the worker's own thread.
using LineFactory = std::function<std::unique_ptr<Transport>(const std::string& port)>;

// The one place the fleet's write is set up and started.
int writeUnit(RadioLink& link, RadioData& data, TransferUi& ui, const Options& options);

// The serial number in an information block: bytes 16-27, 0xFF as a blank, trimmed.
std::string serialOf(const std::array<uint8_t, 32>& block);

// Serves one port until its radio is done (continuous: until `stop`).
void runPort(const std::string& port, Transport& line, const Plan& plan, FleetBook& book,
             const Options& options, const std::function<bool()>& stop, PortObserver* observer);

// Runs every job on a thread of its own and returns when all have ended. The
// default uses std::thread; a front end whose lines need its own kind of thread
// (QSerialPort wants a QThread) passes its own.
using RunInParallel = std::function<void(const std::vector<std::function<void()>>& jobs)>;
void runOnStdThreads(const std::vector<std::function<void()>>& jobs);

// Runs every port on its own thread and returns when all have ended. The result is
// book.report().
std::vector<UnitResult> runFleet(const Plan& plan, const std::vector<std::string>& ports,
                                 const LineFactory& makeLine, const Options& options,
                                 const std::function<bool()>& stop, PortObserver* observer,
                                 FleetBook& book, const RunInParallel& runAll = runOnStdThreads);

// Exit status of a run: 0 when every radio that answered was programmed, 3 when
// any failed or is incomplete.
int exitStatusOf(const std::vector<UnitResult>& results);

// The report as CSV: Unit, Serial, Port, Result, Message, Started, Seconds, SHA256.
std::string reportCsv(const std::vector<UnitResult>& results);
// "2026-12-08T23:10:05Z"
std::string isoTime(std::chrono::system_clock::time_point t);

// The history event of a radio that answered (nullopt for a unit no radio came for or a
// port without a radio): the unit's name, the result, and the image written.
std::optional<history::Event> historyEventOf(const UnitResult& result, const RadioData& templ,
                                             const std::string& templateFile);

} // namespace vrl::fleet
