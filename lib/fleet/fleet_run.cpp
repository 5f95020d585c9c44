#include "fleet/fleet_run.h"

#include "channels/channel_csv.h"
#include "link/texts.h"
#include "link/transfer.h"
#include "model/radio_data.h"
#include "util/sha256.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <thread>

namespace vrl::fleet {

namespace {

enum UnitState { kFree = 0, kInProgress = 1, kProgrammed = 2 };

std::string messageText(int text) {
    const std::string_view english = texts::englishText(text);
    return english.empty() ? "message " + std::to_string(text) : std::string(english);
}

// Answers the exchange's questions for one radio on one port, without a person.
class PortUi : public TransferUi {
  public:
    PortUi(const std::string& port, const Transport& line, const Options& options,
           const std::function<bool()>& stop, PortObserver* observer, bool quiet)
        : port_(port), line_(line), options_(options), stop_(stop), observer_(observer),
          retriesLeft_(quiet ? 0 : options.retries) {}

    void progress(int count, int total) override {
        if (count > 0) blocksMoved = true;
        if (observer_) observer_->progress(port_, count, total);
    }
    void setBusy(bool busy) override { blocksMoved = blocksMoved || busy; }
    bool stopRequested() override { return stop_ && stop_(); }
    bool askRetry(int text) override {
        note(text);
        if (text == texts::kIdentityRejected) radioAnswered = true;
        if (stopRequested() || retriesLeft_ <= 0) return false;
        --retriesLeft_;
        return true;
    }
    bool askOk(int text) override {
        if (options_.yes) return true;
        message = messageText(text) + " (answered no; the fleet command answers yes with --yes)";
        return false;
    }
    void showError(int text) override {
        note(text);
        if (text == texts::kPortOpenFailed) {
            portFailed = true;
            const std::string why = line_.failureReason();
            if (!why.empty()) message += " (" + why + ")";
        }
        if (text == texts::kInfoNotSupported) radioAnswered = true;
    }
    void showWarning(int text) override { warning = messageText(text); }
    void showVerifyFailed(const std::vector<int>& blocks) override { message = verifyFailedText(blocks); }
    std::optional<PasswordBytes> askPassword() override { return std::nullopt; }
    bool firmwareWarning(int dialog) override { return askOk(dialog); }

    std::string message;
    std::string warning;
    bool radioAnswered = false;
    bool portFailed = false;
    bool blocksMoved = false;

  private:
    void note(int text) { message = messageText(text); }

    std::string port_;
    const Transport& line_;
    const Options& options_;
    const std::function<bool()>& stop_;
    PortObserver* observer_;
    int retriesLeft_;
};

// Waits `ms`, looking at the stop request every 50 ms; false when stopped.
bool pause(int ms, const std::function<bool()>& stop) {
    for (int waited = 0; waited < ms; waited += 50) {
        if (stop && stop()) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return !(stop && stop());
}

std::string fixed1(double v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f", v);
    return buf;
}

} // namespace

const char* outcomeName(Outcome outcome) {
    switch (outcome) {
    case Outcome::Programmed: return "programmed";
    case Outcome::Failed: return "failed";
    case Outcome::Incomplete: return "incomplete";
    case Outcome::NotProgrammed: return "not programmed";
    case Outcome::NoRadio: return "no radio";
    }
    return "";
}

FleetBook::FleetBook(const Plan& plan) : plan_(plan), state_(plan.units.size(), kFree) {}

std::optional<size_t> FleetBook::take(const std::string& serial, std::string& why) {
    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < plan_.units.size(); ++i) {
        if (plan_.bySerial) {
            if (plan_.units[i].serial != serial) continue;
            if (state_[i] == kInProgress) {
                why = "unit " + plan_.units[i].name + " is being programmed on another port";
                return std::nullopt;
            }
            state_[i] = kInProgress;
            return i;
        }
        if (state_[i] == kFree) {
            state_[i] = kInProgress;
            return i;
        }
    }
    why = plan_.bySerial ? "no unit for serial " + serial : "every unit has been taken";
    return std::nullopt;
}

void FleetBook::record(std::optional<size_t> unit, UnitResult result) {
    {
        std::lock_guard lock(mutex_);
        if (unit) state_[*unit] = result.outcome == Outcome::Programmed ? kProgrammed : kFree;
        results_.push_back(result);
    }
    if (onResult) onResult(result);
}

bool FleetBook::allProgrammed() const {
    std::lock_guard lock(mutex_);
    return std::all_of(state_.begin(), state_.end(), [](int s) { return s == kProgrammed; });
}

std::vector<UnitResult> FleetBook::results() const {
    std::lock_guard lock(mutex_);
    return results_;
}

std::vector<UnitResult> FleetBook::report() const {
    std::lock_guard lock(mutex_);
    std::vector<UnitResult> out = results_;
    for (size_t i = 0; i < plan_.units.size(); ++i) {
        if (state_[i] == kProgrammed) continue;
        UnitResult r;
        r.unit = plan_.units[i].name;
        r.serial = plan_.units[i].serial;
        r.outcome = Outcome::NotProgrammed;
        r.message = "no radio was programmed with this unit";
        out.push_back(std::move(r));
    }
    return out;
}

int writeUnit(RadioLink& link, RadioData& data, TransferUi& ui, const Options& options) {
    WriteOptions write;
    write.verify = options.verify; // on unless --no-verify
    return writeDataToRadio(link, data, ui, write);
}

std::string serialOf(const std::array<uint8_t, 32>& block) {
    InfoBlock part;
    part.fill(0xFF);
    std::copy(block.begin() + 16, block.begin() + 28, part.begin());
    std::string text = infoBlockText(part);
    const size_t b = text.find_first_not_of(' ');
    if (b == std::string::npos) return {};
    return text.substr(b, text.find_last_not_of(' ') - b + 1);
}

void runPort(const std::string& port, Transport& line, const Plan& plan, FleetBook& book,
             const Options& options, const std::function<bool()>& stop, PortObserver* observer) {
    auto stopped = [&stop] { return stop && stop(); };
    std::string shown;
    auto status = [&](const std::string& text) {
        if (observer && text != shown) observer->status(port, text);
        shown = text;
    };
    RadioLink link;
    link.setTransport(&line);
    auto templ = std::make_unique<RadioData>();
    std::copy(plan.templateImage.begin(), plan.templateImage.end(), templ->image.bytes().begin());
    templ->model.refresh();
    const std::string templateLabel(templ->model.label());

    std::optional<std::string> lastSerial;
    while (!stopped()) {
        if (options.continuous && !plan.units.empty() && book.allProgrammed()) {
            status("every unit is programmed");
            break;
        }
        const auto wallStart = std::chrono::system_clock::now();
        const auto start = std::chrono::steady_clock::now();
        auto seconds = [&start] {
            return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        };
        status(lastSerial ? "waiting for the next radio" : "looking for a radio");
        PortUi query(port, line, options, stop, observer, options.continuous);
        auto info = std::make_unique<RadioInformation>();
        const int asked = queryRadioInformation(link, query, *info);
        if (asked != kTransferOk) {
            if (stopped()) break;
            const bool answered = query.radioAnswered || query.portFailed;
            if (!options.continuous || (answered && !lastSerial)) {
                UnitResult r;
                r.port = port;
                r.outcome = answered ? Outcome::Failed : Outcome::NoRadio;
                r.message = answered ? query.message : "no radio answered (" + query.message + ")";
                r.started = wallStart;
                r.seconds = seconds();
                book.record(std::nullopt, r);
                if (!options.continuous || query.portFailed) break;
                lastSerial = std::string(); // the radio on the cable has been reported
            }
            if (!pause(options.pollMs, stop)) break;
            continue;
        }
        const std::string serial = serialOf(info->block);
        if (options.continuous && lastSerial && *lastSerial == serial) {
            if (!pause(options.pollMs, stop)) break;
            continue;
        }
        lastSerial = serial;

        UnitResult r;
        r.serial = serial;
        r.port = port;
        r.started = wallStart;
        std::optional<size_t> unit;
        std::string why;
        if (radioDiffersFromData(info->identity, templ->image)) {
            r.outcome = Outcome::Failed;
            r.message = "the radio is " + (info->info.label.empty() ? std::string("another model") : info->info.label) +
                        ", the template is for " + templateLabel + "; nothing written";
        } else if (!(unit = book.take(serial, why))) {
            r.outcome = Outcome::Failed;
            r.message = why;
        } else {
            const Unit& u = plan.units[*unit];
            r.unit = u.name;
            status("writing unit " + u.name + " to radio " + serial);
            auto data = std::make_unique<RadioData>();
            std::copy(u.image.begin(), u.image.end(), data->image.bytes().begin());
            data->model.refresh();
            PortUi write(port, line, options, stop, observer, false);
            const int written = writeUnit(link, *data, write, options);
            r.image.assign(data->image.bytes().begin(), data->image.bytes().end());
            r.imageSha256 = sha256Hex(r.image);
            if (written == kTransferOk) {
                r.outcome = Outcome::Programmed;
                r.message = write.warning;
            } else if (stopped() && write.blocksMoved) {
                r.outcome = Outcome::Incomplete;
                r.message = "stopped while writing; programming mode ended";
            } else {
                r.outcome = Outcome::Failed;
                r.message = write.message.empty() ? "the write did not finish" : write.message;
            }
        }
        r.seconds = seconds();
        book.record(unit, r);
        if (!options.continuous) break;
    }
    status("done");
}

void runOnStdThreads(const std::vector<std::function<void()>>& jobs) {
    std::vector<std::thread> workers;
    for (const auto& job : jobs) workers.emplace_back(job);
    for (std::thread& t : workers) t.join();
}

std::vector<UnitResult> runFleet(const Plan& plan, const std::vector<std::string>& ports,
                                 const LineFactory& makeLine, const Options& options,
                                 const std::function<bool()>& stop, PortObserver* observer,
                                 FleetBook& book, const RunInParallel& runAll) {
    std::vector<std::function<void()>> jobs;
    for (const std::string& port : ports) {
        jobs.emplace_back([&, port] {
            std::unique_ptr<Transport> line = makeLine(port);
            if (!line) {
                UnitResult r;
                r.port = port;
                r.outcome = Outcome::Failed;
                r.message = "the port cannot be used";
                r.started = std::chrono::system_clock::now();
                book.record(std::nullopt, r);
                return;
            }
            runPort(port, *line, plan, book, options, stop, observer);
        });
    }
    runAll(jobs);
    return book.report();
}

int exitStatusOf(const std::vector<UnitResult>& results) {
    return std::any_of(results.begin(), results.end(), [](const UnitResult& r) { return r.failed(); }) ? 3 : 0;
}

std::string isoTime(std::chrono::system_clock::time_point t) {
    if (t == std::chrono::system_clock::time_point{}) return {};
    const auto secs = std::chrono::floor<std::chrono::seconds>(t);
    const auto day = std::chrono::floor<std::chrono::days>(secs);
    const std::chrono::year_month_day ymd{day};
    const std::chrono::hh_mm_ss hms{secs - day};
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02uT%02ld:%02ld:%02ldZ", int(ymd.year()), unsigned(ymd.month()),
                  unsigned(ymd.day()), long(hms.hours().count()), long(hms.minutes().count()),
                  long(hms.seconds().count()));
    return buf;
}

std::string reportCsv(const std::vector<UnitResult>& results) {
    std::string out = csvLine({"Unit", "Serial", "Port", "Result", "Message", "Started", "Seconds", "SHA256"});
    for (const UnitResult& r : results)
        out += csvLine({r.unit, r.serial, r.port, outcomeName(r.outcome), r.message, isoTime(r.started),
                        r.outcome == Outcome::NotProgrammed ? std::string() : fixed1(r.seconds), r.imageSha256});
    return out;
}

std::optional<history::Event> historyEventOf(const UnitResult& r, const RadioData& templ,
                                             const std::string& templateFile) {
    if (r.outcome == Outcome::NotProgrammed || r.outcome == Outcome::NoRadio) return std::nullopt;
    history::Event e;
    e.operation = history::kFleet;
    e.result = r.outcome == Outcome::Programmed ? history::kOk : history::kFailed;
    e.message = r.unit.empty() ? r.message : "unit " + r.unit + (r.message.empty() ? "" : ": " + r.message);
    e.time = history::utcTime(r.started);
    e.serial = r.serial;
    if (!r.image.empty()) { // the radio is of the template's model
        e.model = std::string(templ.model.label());
        e.identity = templ.image.identity().hex();
    }
    e.port = r.port;
    e.file = templateFile;
    e.image = r.image;
    e.sha256 = r.imageSha256;
    return e;
}

} // namespace vrl::fleet
