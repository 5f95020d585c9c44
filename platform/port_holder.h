// Why a serial device that QSerialPort reports as a "permission error" cannot be
// opened: QSerialPort gives that one error for a device the user may not open and
// for a device another program holds (its lock file, or an exclusive open). The two
// need different fixes, so the cause is looked up.
#pragma once

#include <QString>
#include <QStringList>

#include <string>

namespace vrl::platform {

struct PortOpenCause {
    bool busy = false; // another program holds the port
    std::string text;  // "busy: ..." naming the holder when known; empty when not busy
};

// Looks at the lock files the serial-port library uses, the processes holding the
// device open and the device itself. `lockFolders` empty: the system's lock folders.
PortOpenCause portOpenCause(const QString& device, const QStringList& lockFolders = {});

} // namespace vrl::platform
