// The transport for a port name: "virtual" for the built-in virtual radio, else a
// serial device path (or, on Windows, a COM name).
#pragma once

#include "link/transport.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace vrl::platform {

std::unique_ptr<Transport> makeTransport(const QString& portName);

// The reason a port could not be opened, naming the device and, when known, the
// system's reason: "/dev/ttyUSB3: No such file or directory".
std::string portOpenFailure(const Transport& port);

// Runs the jobs at once, each on a thread of its own, and returns when all are done.
// Qt threads: a serial port's notifiers work only on threads Qt started.
void runOnQThreads(const std::vector<std::function<void()>>& jobs);

} // namespace vrl::platform
