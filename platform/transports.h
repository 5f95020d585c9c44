// The transport for a port name: "virtual" for the built-in virtual radio, else a
// serial device path (or, on Windows, a COM name).
#pragma once

#include "link/transport.h"

#include <QString>

#include <memory>

namespace vrl::platform {

std::unique_ptr<Transport> makeTransport(const QString& portName);

// The reason a port could not be opened, naming the device and, when known, the
// system's reason: "/dev/ttyUSB3: No such file or directory".
std::string portOpenFailure(const Transport& port);

} // namespace vrl::platform
