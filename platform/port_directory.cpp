#include "platform/port_directory.h"

#include <QDir>
#include <QSerialPortInfo>
#include <QSettings>

namespace vrl::platform {

namespace {
constexpr char kSettingsGroup[] = "PortDevices";
}

PortDirectory::PortDirectory(QStringList systemDevices, QMap<int, QString> ties)
    : system_(std::move(systemDevices)), ties_(std::move(ties)) {
    system_.sort();
    system_.removeDuplicates();
    rebuild();
}

QStringList PortDirectory::listSystemDevices() {
    QStringList devices;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        devices << info.systemLocation();
    return devices;
}

QStringList PortDirectory::listDevicesById(const QString& folder) {
    QStringList devices;
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name))
        devices << dir.filePath(name);
    return devices;
}

PortDirectory PortDirectory::fromSettings(QSettings& settings) {
    QMap<int, QString> ties;
    settings.beginGroup(kSettingsGroup);
    for (int n = 1; n <= kPortCount; ++n) {
        const QString device = settings.value(QString::number(n)).toString();
        if (!device.isEmpty()) ties.insert(n, device);
    }
    settings.endGroup();
    return PortDirectory(listSystemDevices(), ties);
}

void PortDirectory::saveTo(QSettings& settings) const {
    settings.beginGroup(kSettingsGroup);
    settings.remove("");
    for (auto it = ties_.begin(); it != ties_.end(); ++it)
        settings.setValue(QString::number(it.key()), it.value());
    settings.endGroup();
}

void PortDirectory::rebuild() {
    map_.clear();
#ifdef Q_OS_WIN
    for (int n = 1; n <= kPortCount; ++n) map_.insert(n, QStringLiteral("COM%1").arg(n));
    for (auto it = ties_.begin(); it != ties_.end(); ++it) map_.insert(it.key(), it.value());
#else
    QStringList untied;
    for (const QString& d : system_)
        if (!ties_.values().contains(d)) untied << d;
    int next = 0;
    for (int n = 1; n <= kPortCount; ++n) {
        if (ties_.contains(n))
            map_.insert(n, ties_.value(n));
        else if (next < untied.size())
            map_.insert(n, untied.at(next++));
    }
#endif
}

QString PortDirectory::deviceFor(int n) const { return map_.value(n); }

int PortDirectory::numberOf(const QString& device) const {
    for (auto it = map_.begin(); it != map_.end(); ++it)
        if (it.value() == device) return it.key();
    return 0;
}

void PortDirectory::tie(int n, const QString& device) {
    if (n < 1 || n > kPortCount) return;
    // A device stands for one number only.
    for (auto it = ties_.begin(); it != ties_.end();) {
        if (it.value() == device)
            it = ties_.erase(it);
        else
            ++it;
    }
    if (device.isEmpty())
        ties_.remove(n);
    else
        ties_.insert(n, device);
    rebuild();
}

} // namespace vrl::platform
