// Which device each port number 1-20 stands for.
//
// On Windows port n is COMn. On Linux and macOS each number stands for one serial
// device of the system: a number the user has tied to a device (by choosing it in
// the Communication Port dialog or typing a device path there) keeps that device;
// the remaining numbers take the system's other serial devices in name order.
// The name "virtual" stands for the built-in virtual radio.
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

class QSettings;

namespace vrl::platform {

inline constexpr char kVirtualPortName[] = "virtual";

class PortDirectory {
  public:
    static constexpr int kPortCount = 20;

    // `systemDevices` as listed by the system (sorted here); the tied numbers come
    // from `ties`.
    PortDirectory(QStringList systemDevices, QMap<int, QString> ties = {});

    // The serial devices of this computer (QSerialPortInfo), by system location.
    static QStringList listSystemDevices();
    // The stable names of USB serial adapters (the links in `folder`, by default
    // /dev/serial/by-id), as full paths in name order; empty where there are none.
    static QStringList listDevicesById(const QString& folder = QStringLiteral("/dev/serial/by-id"));
    // A directory of the system's devices with the ties remembered in the settings.
    static PortDirectory fromSettings(QSettings& settings);
    void saveTo(QSettings& settings) const;

    // The device of port n, empty when n stands for none.
    QString deviceFor(int n) const;
    // The number standing for a device, 0 when none does.
    int numberOf(const QString& device) const;
    // Ties a device (a path the user typed, or "virtual") to number n.
    void tie(int n, const QString& device);
    const QMap<int, QString>& ties() const { return ties_; }

  private:
    void rebuild();

    QStringList system_;
    QMap<int, QString> ties_;
    QMap<int, QString> map_;
};

} // namespace vrl::platform
