// What the radio subcommands share: the --port/--trace/--retries options, the
// line to the radio, and a TransferUi that answers every question from the
// command line and shows progress on stderr.
#pragma once

#include "commands.h"
#include "options.h"
#include "signals.h"

#include "file/safe_save.h"
#include "link/radio_link.h"
#include "link/transfer_ui.h"
#include "link/transport.h"

#include <memory>
#include <optional>
#include <string>

namespace vrl::cli {

// Options every radio subcommand takes, added to its own.
std::set<std::string> linkValuedOptions(std::set<std::string> own);
inline constexpr std::string_view kLinkOptionsHelp =
    "  --port DEVICE   serial device (/dev/ttyUSB0, a pseudo-terminal, COM3) or \"virtual\"\n"
    "  --retries N     answer Retry to a failed exchange up to N times (default 2)\n"
    "  --trace FILE    write every byte sent and received, with times, to FILE\n";

class LinkSession;

class CliUi : public TransferUi {
  public:
    CliUi(std::string_view command, const LinkSession& session, bool yes,
          std::optional<std::string> password);

    void setProgressVerb(std::string verb) { verb_ = std::move(verb); }
    // Why questions are answered yes ("--yes", or the command itself).
    void setYesReason(std::string reason) { yesReason_ = std::move(reason); }
    void progress(int count, int total) override;
    void setBusy(bool busy) override { blocksStarted_ = blocksStarted_ || busy; }
    // The block loop has begun: a failure from now on may leave the radio's memory
    // partly written.
    bool blocksStarted() const { return blocksStarted_; }
    // After a failed write: says that the memory may be partly written and how to
    // mend it, when the blocks had begun to move.
    void tellPartialWrite(std::string_view what);
    // The verify phase shows its own progress line ("verifying n / total").
    void setPhase(TransferPhase phase) override;
    void showVerifyFailed(const std::vector<int>& blocks) override;
    bool stopRequested() override;
    bool askRetry(int text) override;
    bool askOk(int text) override;
    void showError(int text) override;
    void showWarning(int text) override;
    std::optional<PasswordBytes> askPassword() override;
    bool firmwareWarning(int dialog) override;
    std::optional<std::string> askAccessCode() override;
    void showAccessCodeError() override;

    // The trunking board's access code (--access-code), given each time it is asked.
    void setAccessCode(std::string code) { accessCode_ = std::move(code); }

    // Finishes the progress line.
    void endProgress();
    // The exit status for a transfer that did not succeed.
    int failureExit() const;

  private:
    void say(const std::string& text);

    std::string command_;
    const LinkSession& session_;
    std::string verb_ = "blocks";
    std::string transferVerb_;
    std::string yesReason_ = "--yes";
    int retriesLeft_;
    bool yes_;
    std::optional<std::string> password_;
    bool passwordRejected_ = false;
    std::optional<std::string> accessCode_;
    bool refused_ = false;
    bool terminal_ = false;
    bool progressShown_ = false;
    int lastCount_ = -1;
    bool stopAnnounced_ = false;
    bool blocksStarted_ = false;
    bool blocksDone_ = false;
};

// The application object QSerialPort's notifiers need; made once.
void ensureApplication();

// The line to the radio named by --port, with tracing when asked for.
class LinkSession {
  public:
    LinkSession() = default;
    // Closes the port and puts the trace file in place (a failure is reported by
    // main() through noteOutputFailure()).
    ~LinkSession();
    LinkSession(const LinkSession&) = delete;
    LinkSession& operator=(const LinkSession&) = delete;
    // nullopt when it is ready, else the exit status (the message already printed).
    std::optional<int> start(std::string_view command, const Options& opts);
    RadioLink& link() { return link_; }
    int retries() const { return retries_; }
    // The line to the radio (with its trace wrapper), nullptr before start().
    const Transport* line() const { return trace_ ? trace_.get() : device_.get(); }

  private:
    std::unique_ptr<Transport> device_;
    SafeOutputFile traceFile_;
    std::unique_ptr<SafeOutputStream> traceStream_;
    std::unique_ptr<Transport> trace_;
    RadioLink link_;
    int retries_ = 2;
};

} // namespace vrl::cli
