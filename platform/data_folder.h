// The user's data folder (QStandardPaths::AppDataLocation) and what the radio link
// keeps there: the virtual radio's memory and the backups of every image read from
// a radio.
#pragma once

#include "model/data_image.h"

#include <QDateTime>
#include <QString>

namespace vrl::platform {

// Sets the organization and application names the data folder is derived from
// ("NORVALE", "vrl73m"), unless the program has set them already.
void ensureApplicationName();

QString dataFolder();
QString backupFolder();
QString virtualRadioFile();

// "20240131-142501_RM-140A-8CH-K.dat": date, time and the model label with the
// characters that file systems dislike replaced.
QString backupFileName(const QDateTime& when, const QString& modelLabel);

// Saves the image as a data file in the backup folder; the full path, or an empty
// string with `error` set.
QString saveBackup(const CDataImage& image, const QString& modelLabel, QString* error = nullptr);

} // namespace vrl::platform
