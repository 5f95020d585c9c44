// The radio history in a database through QtSql: an SQLite file (the default,
// history.sqlite in the data folder beside the backups) or a PostgreSQL server named
// by a libpq connection URI. Both run the same schema, migrations and queries.
#pragma once

#include "history/history.h"

#include <QString>

#include <memory>

namespace vrl::platform {

// history.sqlite in the data folder.
QString defaultHistoryFile();

// Which history the program records into: the location set here (--history, the
// desktop setting), else VRL73M_HISTORY, else the default file.
void setHistoryLocation(const QString& location);
QString historyLocation();

// Opens (creating and migrating) the history at `location`: a postgresql:// URI or
// an SQLite file path. nullptr with `error` set when it cannot be used. The default
// file, on its first use, imports the backups already in the backup folder.
std::unique_ptr<history::HistoryStore> openHistoryStore(const QString& location, std::string& error);

// Records an event in the program's history (historyLocation(), opened once per
// process): fills in the time, fingerprint, program version, user and host. False
// with `error` set when it was not recorded; the caller warns and carries on.
bool recordHistoryEvent(history::Event& event, std::string& error);

// The program's history, opened once per process; nullptr with `error` set.
history::HistoryStore* programHistory(std::string& error);
// Closes what programHistory() opened (also done at exit).
void closeProgramHistory();

} // namespace vrl::platform
