#include "platform/port_holder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#ifndef Q_OS_WIN
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace vrl::platform {

namespace {

// The program name of a running process, empty when it does not run.
QString processName(qint64 pid) {
    if (pid <= 0 || !QFileInfo::exists(QStringLiteral("/proc/%1").arg(pid))) return {};
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    QString name;
    if (comm.open(QIODevice::ReadOnly)) name = QString::fromLocal8Bit(comm.readLine(256)).trimmed();
    return name.isEmpty() ? QStringLiteral("a program") : name;
}

QString holder(const QString& name, qint64 pid) {
    return QStringLiteral("%1, process %2").arg(name).arg(pid);
}

} // namespace

PortOpenCause portOpenCause(const QString& device, const QStringList& lockFolders) {
    PortOpenCause out;
#ifdef Q_OS_WIN
    Q_UNUSED(device);
    Q_UNUSED(lockFolders);
#else
    // The lock file the serial-port library takes: LCK.. and the device name after
    // /dev/ with '/' as '_', in the first lock folder that has it.
    QString base = device;
    if (base.startsWith(QStringLiteral("/dev/"))) base = base.mid(5);
    base.replace('/', '_');
    const QStringList folders =
        lockFolders.isEmpty()
            ? QStringList{"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp", "/tmp",
                          "/var/tmp", "/var/lock/lockdev", "/run/lock"}
            : lockFolders;
    for (const QString& folder : folders) {
        QFile lock(folder + "/LCK.." + base);
        if (!lock.open(QIODevice::ReadOnly)) continue;
        const qint64 pid = QString::fromLatin1(lock.readLine(64)).trimmed().toLongLong();
        const QString name = processName(pid);
        if (name.isEmpty()) continue; // a lock left by a program that has ended
        out.busy = true;
        out.text = QStringLiteral("busy: another program has it open (%1; lock file %2)")
                       .arg(holder(name, pid), lock.fileName())
                       .toStdString();
        return out;
    }
    // A program that holds the device without a lock file: its open descriptors.
    const QString target = QFileInfo(device).canonicalFilePath();
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : pids) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number || pid == ::getpid() || target.isEmpty()) continue;
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
        for (const QFileInfo& fd : fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            if (fd.symLinkTarget() != target) continue;
            out.busy = true;
            out.text = QStringLiteral("busy: another program has it open (%1)")
                           .arg(holder(processName(pid), pid))
                           .toStdString();
            return out;
        }
    }
    // An exclusive open by a program of another user shows only as EBUSY.
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0) {
        ::close(fd);
    } else if (errno == EBUSY) {
        out.busy = true;
        out.text = "busy: another program has it open";
    }
#endif
    return out;
}

} // namespace vrl::platform
