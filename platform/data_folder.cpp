#include "platform/data_folder.h"

#include "file/data_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace vrl::platform {

void ensureApplicationName() {
    // The same names as the desktop program, so every tool finds the same folder.
    if (QCoreApplication::organizationName().isEmpty())
        QCoreApplication::setOrganizationName("NORVALE");
    const QString name = QCoreApplication::applicationName();
    // Without a name Qt falls back to the executable's name, which differs between
    // the desktop program, the command-line tool and the simulator.
    if (name.isEmpty() || name.startsWith("vrl73m-") || name == "vrl_unit_tests")
        QCoreApplication::setApplicationName("vrl73m");
}

QString dataFolder() {
    ensureApplicationName();
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString backupFolder() { return dataFolder() + "/backups"; }

QString virtualRadioFile() { return dataFolder() + "/virtual-radio.dat"; }

QString backupFileName(const QDateTime& when, const QString& modelLabel) {
    QString label;
    for (QChar c : modelLabel) {
        if (c.isLetterOrNumber() || c == '-' || c == '_')
            label += c;
        else if (!label.endsWith('-'))
            label += '-';
    }
    while (label.endsWith('-')) label.chop(1);
    if (label.isEmpty()) label = "radio";
    return when.toString("yyyyMMdd-HHmmss") + "_" + label + ".dat";
}

QString saveBackup(const CDataImage& image, const QString& modelLabel, QString* error) {
    const QString folder = backupFolder();
    if (!QDir().mkpath(folder)) {
        if (error) *error = "cannot create " + folder;
        return {};
    }
    const QString name = backupFileName(QDateTime::currentDateTime(), modelLabel);
    QString path = folder + "/" + name;
    // Two reads within the same second keep both images.
    for (int i = 2; QFile::exists(path); ++i)
        path = folder + "/" + QString(name).replace(".dat", QString("-%1.dat").arg(i));
    const DataFileStatus status = writeDataFile(path.toStdString(), image);
    if (status.result != kFileOk) {
        if (error) *error = QString::fromStdString(status.detail);
        return {};
    }
    return path;
}

} // namespace vrl::platform
