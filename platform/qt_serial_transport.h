// The transport on a real serial device (or a pseudo-terminal), through QSerialPort.
#pragma once

#include "link/transport.h"

#include <QSerialPort>
#include <QString>

namespace vrl::platform {

class QtSerialTransport : public Transport {
  public:
    explicit QtSerialTransport(QString device);

    bool open() override;
    bool close() override;
    bool isOpen() const override { return port_.isOpen(); }
    bool applySettings(const LineSettings& settings) override;
    bool write(std::span<const uint8_t> bytes) override;
    size_t read(std::span<uint8_t> buffer, int timeoutMs) override;
    void discardInput() override;
    std::string name() const override { return device_.toStdString(); }

    // The last error QSerialPort reported, for messages.
    QString lastError() const { return lastError_; }
    std::string failureReason() const override { return lastError_.toStdString(); }
    bool permissionDenied() const override { return permissionDenied_; }

  private:
    // Clears the port's error; a fatal one (the other end hung up, the device went
    // away) closes the port. Returns true when the error was harmless.
    bool settleError();

    QString device_;
    QSerialPort port_;
    QString lastError_;
    bool permissionDenied_ = false;
};

} // namespace vrl::platform
