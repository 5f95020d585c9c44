#include "link_common.h"

#include "signals.h"

#include "link/texts.h"
#include "link/trace_transport.h"
#include "platform/data_folder.h"
#include "platform/transports.h"

#include <QCoreApplication>

#include <csignal>
#include <iostream>
#include <unistd.h>

namespace vrl::cli {

namespace {

std::string messageText(int text) {
    const std::string_view english = texts::englishText(text);
    return english.empty() ? "message " + std::to_string(text) : std::string(english);
}

} // namespace

void ensureApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "vrl73m-cli";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    platform::ensureApplicationName();
}

std::set<std::string> linkValuedOptions(std::set<std::string> own) {
    own.insert({"--port", "--retries", "--trace"});
    return own;
}

CliUi::CliUi(std::string_view command, const LinkSession& session, bool yes,
             std::optional<std::string> password)
    : command_(command), session_(session), retriesLeft_(session.retries()), yes_(yes),
      password_(std::move(password)), terminal_(isatty(STDERR_FILENO) != 0) {}

void CliUi::say(const std::string& text) {
    endProgress();
    std::cerr << "vrl73m-cli " << command_ << ": " << text << '\n';
}

void CliUi::progress(int count, int total) {
    if (blocksStarted_ && total > 0 && count == total) blocksDone_ = true;
    if (count == lastCount_ || total <= 0) return;
    lastCount_ = count;
    progressShown_ = true;
    if (terminal_) {
        constexpr int kWidth = 40;
        const int filled = count * kWidth / total;
        std::cerr << "\r[" << std::string(filled, '#') << std::string(kWidth - filled, ' ') << "] "
                  << verb_ << ' ' << count << " / " << total << std::flush;
    } else if (count == 0 || count == total || count * 10 / total != (count - 1) * 10 / total) {
        // Without a terminal: a line at the start, every tenth and the end.
        std::cerr << verb_ << ' ' << count << " / " << total << '\n';
    }
}

void CliUi::tellPartialWrite(std::string_view what) {
    if (!blocksStarted_ || blocksDone_) return;
    say("the write stopped part-way: the " + std::string(what) +
        " may now hold a partly written memory; writing the data again (or writing a "
        "backup) mends it");
}

void CliUi::setPhase(TransferPhase phase) {
    if (transferVerb_.empty()) transferVerb_ = verb_;
    const std::string verb = phase == TransferPhase::Verify ? "verifying" : transferVerb_;
    if (verb == verb_) return;
    endProgress();
    verb_ = verb;
}

void CliUi::showVerifyFailed(const std::vector<int>& blocks) { say(verifyFailedText(blocks)); }

void CliUi::endProgress() {
    if (progressShown_ && terminal_) std::cerr << '\n';
    progressShown_ = false;
    lastCount_ = -1;
}

bool CliUi::stopRequested() {
    if (interruptRequested() && !stopAnnounced_) {
        say("interrupted by signal " + std::to_string(interruptSignal()) +
            "; ending the exchange with the radio");
        stopAnnounced_ = true;
        refused_ = true;
    }
    return interruptRequested();
}

bool CliUi::askRetry(int text) {
    if (stopRequested()) return false;
    if (retriesLeft_ > 0) {
        --retriesLeft_;
        say(messageText(text) + " Retrying.");
        return true;
    }
    say(messageText(text));
    if (text == texts::kIdentityRejected) refused_ = true;
    return false;
}

bool CliUi::askOk(int text) {
    if (yes_) {
        say(messageText(text) + " Yes (" + yesReason_ + ").");
        return true;
    }
    say(messageText(text) + " No (give --yes to go on).");
    refused_ = true;
    return false;
}

void CliUi::showError(int text) {
    if (text == texts::kPortOpenFailed && session_.line()) {
        say(messageText(text) + " " + platform::portOpenFailure(*session_.line()));
        if (session_.line()->permissionDenied()) say(messageText(texts::kPortPermissionHint));
        return;
    }
    say(messageText(text));
    if (text == texts::kPasswordRejected) passwordRejected_ = true;
    if (text == texts::kPasswordRejected || text == texts::kInfoNotSupported ||
        text == texts::kTestChannelsDiffer || text == texts::kRadioNotMatching)
        refused_ = true;
}

void CliUi::showWarning(int text) {
    std::string reason = session_.line() ? session_.line()->failureReason() : std::string();
    say("warning: " + messageText(text) + (reason.empty() ? "" : " (" + reason + ")"));
}

std::optional<PasswordBytes> CliUi::askPassword() {
    // One password per run: asking again after a rejection would only repeat it.
    // After a line failure the radio has not judged it, so it goes again.
    if (!password_ || passwordRejected_) {
        if (!password_) say("the radio has a data password; give it with --password");
        refused_ = true;
        return std::nullopt;
    }
    return passwordFromText(*password_);
}

bool CliUi::firmwareWarning(int dialog) { return askOk(dialog); }

std::optional<std::string> CliUi::askAccessCode() {
    if (!accessCode_) {
        say("the trunking board needs its access code; give it with --access-code");
        refused_ = true;
    }
    return accessCode_;
}

void CliUi::showAccessCodeError() {
    say(std::string(texts::kAccessCodeError) +
        ": the data hold no valid access code (the code area now reads FFFFFFFFFFFF)");
    refused_ = true;
}

int CliUi::failureExit() const { return refused_ ? kExitRefused : kExitComm; }

std::optional<int> LinkSession::start(std::string_view command, const Options& opts) {
    const auto port = opts.value("--port");
    if (!port || port->empty()) return fail(command, "--port DEVICE is required", kExitUsage);
    if (auto r = opts.value("--retries")) {
        auto n = parseNumber(*r);
        if (!n || *n < 0 || *n > 1000) return fail(command, "--retries must be 0 to 1000", kExitUsage);
        retries_ = static_cast<int>(*n);
    }
    ensureApplication();
    device_ = platform::makeTransport(QString::fromStdString(*port));
    Transport* line = device_.get();
    if (auto trace = opts.value("--trace")) {
        // Checked and created before the radio is contacted, like any file saved.
        const SaveOutcome opened = traceFile_.open(*trace);
        if (!opened.ok) return fail(command, "--trace: " + opened.detail, kExitRefused);
        traceStream_ = std::make_unique<SafeOutputStream>(traceFile_);
        trace_ = std::make_unique<TraceTransport>(*device_, *traceStream_);
        line = trace_.get();
    }
    link_.setTransport(line);
    return std::nullopt;
}

LinkSession::~LinkSession() {
    link_.setOpen(false);
    if (!traceStream_) return;
    traceStream_->flush();
    const SaveOutcome saved = traceFile_.commit();
    if (!saved.ok) noteOutputFailure("the trace was not saved: " + saved.detail);
}

} // namespace vrl::cli
