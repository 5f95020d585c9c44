#include "platform/qt_serial_transport.h"

#include "platform/port_holder.h"

#include <QElapsedTimer>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace vrl::platform {

namespace {

// On Windows a read runs at real-time priority, so a busy machine does not make the
// program miss a reply; the class it had before is restored afterwards. Elsewhere
// that priority is not open to normal users, and the read time-outs are generous
// enough without it.
class ReadPriority {
  public:
#ifdef Q_OS_WIN
    ReadPriority() : previous_(GetPriorityClass(GetCurrentProcess())) {
        SetPriorityClass(GetCurrentProcess(), REALTIME_PRIORITY_CLASS);
    }
    ~ReadPriority() {
        SetPriorityClass(GetCurrentProcess(), previous_ ? previous_ : NORMAL_PRIORITY_CLASS);
    }

  private:
    DWORD previous_;
#endif
};

} // namespace

QtSerialTransport::QtSerialTransport(QString device) : device_(std::move(device)) {
    port_.setPortName(device_);
}

bool QtSerialTransport::settleError() {
    const auto error = port_.error();
    if (error == QSerialPort::NoError) return true;
    lastError_ = port_.errorString();
    port_.clearError();
    switch (error) {
    case QSerialPort::TimeoutError:
    case QSerialPort::UnsupportedOperationError: // DTR/RTS on a pseudo-terminal
        return true;
    case QSerialPort::ReadError:
    case QSerialPort::WriteError:
    case QSerialPort::ResourceError:
        // A hang-up leaves the port open but dead.
        if (port_.isOpen()) port_.close();
        port_.clearError();
        return false;
    default: return false;
    }
}

bool QtSerialTransport::open() {
    if (port_.isOpen()) return true;
    permissionDenied_ = false;
    port_.setPortName(device_);
    if (!port_.open(QIODevice::ReadWrite)) {
        lastError_ = port_.errorString();
        permissionDenied_ = port_.error() == QSerialPort::PermissionError;
        port_.clearError();
        if (permissionDenied_) {
            // The same error for a port another program holds: that one names it.
            const PortOpenCause cause = portOpenCause(device_);
            if (cause.busy) {
                permissionDenied_ = false;
                lastError_ = QString::fromStdString(cause.text);
            }
        }
        return false;
    }
    return true;
}

bool QtSerialTransport::close() {
    if (port_.isOpen()) port_.close();
    port_.clearError();
    return true;
}

bool QtSerialTransport::applySettings(const LineSettings& s) {
    if (!port_.isOpen()) return false;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    switch (s.parity) {
    case 'E': parity = QSerialPort::EvenParity; break;
    case 'O': parity = QSerialPort::OddParity; break;
    case 'M': parity = QSerialPort::MarkParity; break;
    case 'S': parity = QSerialPort::SpaceParity; break;
    default: break;
    }
    bool ok = port_.setBaudRate(s.baud) && port_.setParity(parity) &&
              port_.setDataBits(static_cast<QSerialPort::DataBits>(s.dataBits)) &&
              port_.setStopBits(s.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop) &&
              port_.setFlowControl(QSerialPort::NoFlowControl);
    if (!ok) return settleError() && false;
    // The programming cable is powered from DTR; RTS stays low. Pseudo-terminals
    // refuse both, which does no harm.
    port_.setDataTerminalReady(true);
    settleError();
    port_.setRequestToSend(false);
    settleError();
    return port_.isOpen();
}

bool QtSerialTransport::write(std::span<const uint8_t> bytes) {
    if (!port_.isOpen()) return false;
    const auto size = static_cast<qint64>(bytes.size());
    if (port_.write(reinterpret_cast<const char*>(bytes.data()), size) != size) {
        settleError();
        return false;
    }
    // Long enough for the slowest rate the baud search uses.
    const int budgetMs = 1000 + static_cast<int>(bytes.size() * 11 * 1000 / 1200);
    QElapsedTimer timer;
    timer.start();
    while (port_.bytesToWrite() > 0) {
        const int left = budgetMs - static_cast<int>(timer.elapsed());
        if (left <= 0 || !port_.waitForBytesWritten(left)) {
            settleError();
            if (!port_.isOpen() || port_.bytesToWrite() > 0) return false;
        }
    }
    return true;
}

size_t QtSerialTransport::read(std::span<uint8_t> buffer, int timeoutMs) {
    if (!port_.isOpen()) return 0;
    [[maybe_unused]] ReadPriority priority;
    QElapsedTimer timer;
    timer.start();
    size_t got = 0;
    while (got < buffer.size()) {
        const qint64 n = port_.read(reinterpret_cast<char*>(buffer.data() + got),
                                    static_cast<qint64>(buffer.size() - got));
        if (n < 0) {
            settleError();
            break;
        }
        got += static_cast<size_t>(n);
        if (got == buffer.size()) break;
        const int left = timeoutMs - static_cast<int>(timer.elapsed());
        if (left <= 0) break;
        if (!port_.waitForReadyRead(left)) {
            // A time-out stays set on the port until cleared; a hang-up closes it.
            if (!settleError() || !port_.isOpen()) break;
        }
    }
    return got;
}

void QtSerialTransport::discardInput() {
    if (!port_.isOpen()) return;
    port_.readAll();
    port_.clear(QSerialPort::Input);
    settleError();
}

} // namespace vrl::platform
