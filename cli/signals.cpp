#include "signals.h"

#include <csignal>

#ifndef _WIN32
#include <signal.h>
#endif

namespace vrl::cli {

namespace {

volatile std::sig_atomic_t gSignal = 0;
std::string gOutputFailure;

extern "C" void onSignal(int signal) {
    if (gSignal == 0) gSignal = signal;
}

} // namespace

void watchSignals() {
#ifdef _WIN32
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
#else
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a wait in a system call returns early and the loop around it
    // looks at the flag.
    action.sa_flags = 0;
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaction(s, &action, nullptr);
    // A closed terminal or pipe must not kill the program before it unkeys.
    std::signal(SIGPIPE, SIG_IGN);
#endif
}

bool interruptRequested() {
    return gSignal != 0;
}

int interruptSignal() {
    return gSignal;
}

void noteOutputFailure(std::string message) {
    if (gOutputFailure.empty()) gOutputFailure = std::move(message);
}

const std::string& outputFailure() {
    return gOutputFailure;
}

} // namespace vrl::cli
