// How a command of vrl73m-cli ends on a signal. SIGINT, SIGTERM, SIGHUP and SIGQUIT
// only raise a flag; the transfer UI and every waiting loop look at it, so the
// command ends through its own clean-up (unkey, leave the test state, stop and
// release the trunking board, close the port, finish the trace file), and the
// program then exits with kExitSignal whatever the command returned.
#pragma once

#include <string>

namespace vrl::cli {

// Installs the handlers; called once at start.
void watchSignals();
// A signal has arrived since watchSignals().
bool interruptRequested();
// The signal that arrived first, 0 when none.
int interruptSignal();

// An output (a trace file) that failed after the command's own work: main() reports
// it and the command does not exit 0.
void noteOutputFailure(std::string message);
const std::string& outputFailure();

} // namespace vrl::cli
