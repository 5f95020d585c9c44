#include "platform/transports.h"

#include "platform/data_folder.h"
#include "platform/port_directory.h"
#include "platform/qt_serial_transport.h"
#include "platform/virtual_radio.h"

#include <QThread>

namespace vrl::platform {

std::unique_ptr<Transport> makeTransport(const QString& portName) {
    if (portName == kVirtualPortName) return std::make_unique<VirtualRadio>(virtualRadioFile());
    return std::make_unique<QtSerialTransport>(portName);
}

std::string portOpenFailure(const Transport& port) {
    const std::string reason = port.failureReason();
    return port.name() + ": " + (reason.empty() ? std::string("cannot be opened") : reason);
}

void runOnQThreads(const std::vector<std::function<void()>>& jobs) {
    std::vector<std::unique_ptr<QThread>> threads;
    for (const auto& job : jobs) {
        threads.emplace_back(QThread::create(job));
        threads.back()->start();
    }
    for (auto& t : threads) t->wait();
}

} // namespace vrl::platform
