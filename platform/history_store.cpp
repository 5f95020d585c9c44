#include "platform/history_store.h"

#include "file/data_file.h"
#include "model/model_info.h"
#include "model/radio_data.h"
#include "platform/data_folder.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QVariant>

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <map>
#include <memory>

#ifndef VRL_PLATFORM_VERSION
#define VRL_PLATFORM_VERSION "unknown"
#endif

namespace vrl::platform {

namespace {

using history::Event;

// QtSql loads its drivers through the application object; the command-line tool
// has none until it needs one.
void ensureCoreApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "vrl73m-cli";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

QString overrideLocation;

QString q(const std::string& s) { return QString::fromStdString(s); }
std::string s(const QVariant& v) { return v.toString().toStdString(); }

// One schema step per version; each dialect's statements for it.
struct Migration {
    std::vector<const char*> sqlite;
    std::vector<const char*> postgres;
};

const std::vector<Migration>& migrations() {
    static const std::vector<Migration> steps{
        // 1: events, their images (shared by fingerprint) and a key-value table.
        {{"CREATE TABLE images (sha256 TEXT PRIMARY KEY, data BLOB NOT NULL)",
          "CREATE TABLE events (id INTEGER PRIMARY KEY AUTOINCREMENT, time TEXT NOT NULL, "
          "operation TEXT NOT NULL, result TEXT NOT NULL, message TEXT NOT NULL, serial TEXT NOT NULL, "
          "model TEXT NOT NULL, identity TEXT NOT NULL, port TEXT NOT NULL, file TEXT NOT NULL, "
          "sha256 TEXT NOT NULL, program_version TEXT NOT NULL, user_name TEXT NOT NULL, "
          "host TEXT NOT NULL)",
          "CREATE INDEX events_serial ON events (serial, id)",
          "CREATE INDEX events_time ON events (time)",
          "CREATE TABLE meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)"},
         {"CREATE TABLE images (sha256 TEXT PRIMARY KEY, data BYTEA NOT NULL)",
          "CREATE TABLE events (id BIGSERIAL PRIMARY KEY, time TEXT NOT NULL, "
          "operation TEXT NOT NULL, result TEXT NOT NULL, message TEXT NOT NULL, serial TEXT NOT NULL, "
          "model TEXT NOT NULL, identity TEXT NOT NULL, port TEXT NOT NULL, file TEXT NOT NULL, "
          "sha256 TEXT NOT NULL, program_version TEXT NOT NULL, user_name TEXT NOT NULL, "
          "host TEXT NOT NULL)",
          "CREATE INDEX events_serial ON events (serial, id)",
          "CREATE INDEX events_time ON events (time)",
          "CREATE TABLE meta (key TEXT PRIMARY KEY, value TEXT NOT NULL)"}},
    };
    return steps;
}

constexpr const char* kEventColumns =
    "e.id, e.time, e.operation, e.result, e.message, e.serial, e.model, e.identity, e.port, "
    "e.file, e.sha256, e.program_version, e.user_name, e.host";

Event eventFrom(const QSqlQuery& query) {
    Event e;
    e.id = query.value(0).toLongLong();
    e.time = s(query.value(1));
    e.operation = s(query.value(2));
    e.result = s(query.value(3));
    e.message = s(query.value(4));
    e.serial = s(query.value(5));
    e.model = s(query.value(6));
    e.identity = s(query.value(7));
    e.port = s(query.value(8));
    e.file = s(query.value(9));
    e.sha256 = s(query.value(10));
    e.programVersion = s(query.value(11));
    e.user = s(query.value(12));
    e.host = s(query.value(13));
    return e;
}

void imageFrom(const QSqlQuery& query, int column, Event& e) {
    const QByteArray data = query.value(column).toByteArray();
    e.image.assign(data.begin(), data.end());
}

class SqlHistoryStore final : public history::HistoryStore {
  public:
    SqlHistoryStore(QString location, bool postgres)
        : location_(std::move(location)), postgres_(postgres) {
        static QAtomicInt serial;
        connection_ = QString("vrl-history-%1").arg(serial.fetchAndAddRelaxed(1));
    }
    ~SqlHistoryStore() override {
        {
            QSqlDatabase db = QSqlDatabase::database(connection_, false);
            if (db.isOpen()) db.close();
        }
        QSqlDatabase::removeDatabase(connection_);
    }

    bool open(std::string& error);
    bool importBackups(std::string& error);

    bool record(Event& event, std::string& error) override;
    std::optional<std::vector<Event>> list(const history::Filter& filter, std::string& error) override;
    std::optional<Event> event(int64_t id, std::string& error) override;
    std::optional<std::vector<history::RadioSummary>> radios(std::string& error) override;
    std::optional<std::vector<Event>> latestImages(std::string& error) override;
    std::string displayName() const override { return history::redactLocation(location_.toStdString()); }

  private:
    QSqlDatabase db() const { return QSqlDatabase::database(connection_, false); }
    bool exec(QSqlQuery& query, std::string& error) const;
    bool run(const char* sql, std::string& error) const;
    // SQLite takes its write lock at the start, so two writers queue at the busy
    // time-out instead of failing half-way.
    bool begin(std::string& error) const { return run(postgres_ ? "BEGIN" : "BEGIN IMMEDIATE", error); }
    void rollback() const {
        std::string ignored;
        run("ROLLBACK", ignored);
    }
    bool migrate(std::string& error);
    bool createPostgresDatabase(const QSqlDatabase& target);
    bool insert(Event& event, std::string& error);

    QString location_;
    bool postgres_;
    QString connection_;
};

bool SqlHistoryStore::exec(QSqlQuery& query, std::string& error) const {
    if (query.exec()) return true;
    error = query.lastError().text().toStdString();
    return false;
}

bool SqlHistoryStore::run(const char* sql, std::string& error) const {
    QSqlQuery query(db());
    if (query.exec(QString::fromLatin1(sql))) return true;
    error = query.lastError().text().toStdString();
    return false;
}

bool SqlHistoryStore::open(std::string& error) {
    ensureCoreApplication();
    if (!QSqlDatabase::isDriverAvailable(postgres_ ? "QPSQL" : "QSQLITE")) {
        error = postgres_ ? "the Qt PostgreSQL driver (QPSQL) is not installed"
                          : "the Qt SQLite driver (QSQLITE) is not installed";
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(postgres_ ? "QPSQL" : "QSQLITE", connection_);
    if (postgres_) {
        const auto target = history::parsePostgresUri(location_.toStdString(), error);
        if (!target) return false;
        db.setHostName(q(target->host));
        if (target->port) db.setPort(target->port);
        db.setUserName(q(target->user));
        db.setPassword(q(target->password));
        db.setDatabaseName(q(target->database));
        // No notices on stderr for tables that already exist.
        QStringList options{"connect_timeout=5", "options='-c client_min_messages=warning'"};
        for (const auto& [key, value] : target->options)
            options << q(key) + "=" + q(value);
        db.setConnectOptions(options.join(';'));
    } else {
        const QFileInfo file(location_);
        if (!QDir().mkpath(file.absolutePath())) {
            error = "cannot create the folder " + file.absolutePath().toStdString();
            return false;
        }
        // Images hold passwords: the file is the user's alone from the start
        // (SQLite gives its -wal and -shm files the same mode).
        if (!file.exists()) {
            const int fd = ::open(QFile::encodeName(location_).constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
            if (fd >= 0) ::close(fd);
        }
        db.setDatabaseName(location_);
        db.setConnectOptions("QSQLITE_BUSY_TIMEOUT=10000");
    }
    if (!db.open() && postgres_ && db.lastError().text().contains("does not exist") &&
        createPostgresDatabase(db)) {
        db.open();
    }
    if (!db.isOpen()) {
        // libpq's message may quote the connection; it never holds the password
        // (given apart), but the location is shown redacted in any case.
        error = db.lastError().text().toStdString();
        return false;
    }
    if (!postgres_) {
        QSqlQuery pragma(db);
        pragma.exec("PRAGMA journal_mode=WAL");
        pragma.exec("PRAGMA synchronous=NORMAL");
    }
    return migrate(error);
}

// A server without the history's database: it is made, as the first program to
// use a new schema makes the tables (the user needs the right to create databases).
bool SqlHistoryStore::createPostgresDatabase(const QSqlDatabase& target) {
    const QString name = target.databaseName();
    if (name.isEmpty()) return false;
    const QString admin = connection_ + "-create";
    bool made = false;
    {
        QSqlDatabase db = QSqlDatabase::cloneDatabase(target, admin);
        db.setDatabaseName("postgres");
        if (db.open()) {
            QString quoted = name;
            quoted.replace('"', "\"\"");
            made = QSqlQuery(db).exec("CREATE DATABASE \"" + quoted + "\"");
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(admin);
    return made;
}

bool SqlHistoryStore::migrate(std::string& error) {
    const auto& steps = migrations();
    {
        // The usual case, a database of this program's version, costs one query.
        QSqlQuery current(db());
        if (current.exec("SELECT MAX(version) FROM schema_version") && current.next() &&
            current.value(0).toInt() == static_cast<int>(steps.size()))
            return true;
    }
    // Two programs starting on a new database at once: one creates the table, the
    // other's attempt fails and the version is read after the lock.
    std::string ignored;
    run("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)", ignored);
    if (!begin(error)) return false;
    if (postgres_ && !run("LOCK TABLE schema_version IN EXCLUSIVE MODE", error)) {
        rollback();
        return false;
    }
    QSqlQuery query(db());
    query.prepare("SELECT MAX(version) FROM schema_version");
    if (!exec(query, error) || !query.next()) {
        rollback();
        if (error.empty()) error = "cannot read the schema version";
        return false;
    }
    const int version = query.value(0).isNull() ? 0 : query.value(0).toInt();
    query.finish();
    if (version > static_cast<int>(steps.size())) {
        rollback();
        error = "the history was made by a newer program (schema version " + std::to_string(version) + ")";
        return false;
    }
    for (int v = version; v < static_cast<int>(steps.size()); ++v) {
        for (const char* sql : postgres_ ? steps[v].postgres : steps[v].sqlite) {
            if (!run(sql, error)) {
                rollback();
                return false;
            }
        }
        QSqlQuery mark(db());
        mark.prepare("INSERT INTO schema_version (version) VALUES (?)");
        mark.addBindValue(v + 1);
        if (!exec(mark, error)) {
            rollback();
            return false;
        }
    }
    return run("COMMIT", error);
}

bool SqlHistoryStore::insert(Event& event, std::string& error) {
    history::completeEvent(event);
    if (!event.image.empty()) {
        QSqlQuery image(db());
        image.prepare("INSERT INTO images (sha256, data) VALUES (?, ?) ON CONFLICT DO NOTHING");
        image.addBindValue(q(event.sha256));
        image.addBindValue(QByteArray(reinterpret_cast<const char*>(event.image.data()),
                                      static_cast<qsizetype>(event.image.size())));
        if (!exec(image, error)) return false;
    }
    QSqlQuery query(db());
    query.prepare("INSERT INTO events (time, operation, result, message, serial, model, identity, port, "
                  "file, sha256, program_version, user_name, host) "
                  "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) RETURNING id");
    for (const std::string* v : {&event.time, &event.operation, &event.result, &event.message, &event.serial,
                                 &event.model, &event.identity, &event.port, &event.file, &event.sha256,
                                 &event.programVersion, &event.user, &event.host})
        query.addBindValue(q(*v));
    if (!exec(query, error)) return false;
    if (!query.next()) {
        error = "the database gave no event id";
        return false;
    }
    event.id = query.value(0).toLongLong();
    return true;
}

bool SqlHistoryStore::record(Event& event, std::string& error) {
    if (!begin(error)) return false;
    if (!insert(event, error) || !run("COMMIT", error)) {
        rollback();
        event.id = 0;
        return false;
    }
    return true;
}

std::optional<std::vector<Event>> SqlHistoryStore::list(const history::Filter& filter, std::string& error) {
    QString sql = QString("SELECT %1 FROM events e WHERE 1 = 1").arg(kEventColumns);
    QVariantList values;
    if (!filter.serial.empty()) {
        sql += " AND e.serial = ?";
        values << q(filter.serial);
    }
    if (!filter.operation.empty()) {
        sql += " AND e.operation = ?";
        values << q(filter.operation);
    }
    if (!filter.since.empty()) {
        sql += " AND e.time >= ?";
        values << q(filter.since).replace(' ', 'T');
    }
    sql += " ORDER BY e.time DESC, e.id DESC";
    QSqlQuery query(db());
    query.setForwardOnly(true);
    query.prepare(sql);
    for (const QVariant& v : values)
        query.addBindValue(v);
    if (!exec(query, error)) return std::nullopt;
    std::vector<Event> out;
    while (query.next())
        out.push_back(eventFrom(query));
    return out;
}

std::optional<Event> SqlHistoryStore::event(int64_t id, std::string& error) {
    QSqlQuery query(db());
    query.prepare(QString("SELECT %1, i.data FROM events e LEFT JOIN images i ON i.sha256 = e.sha256 "
                          "WHERE e.id = ?")
                      .arg(kEventColumns));
    query.addBindValue(QVariant::fromValue<qlonglong>(id));
    error.clear();
    if (!exec(query, error) || !query.next()) return std::nullopt;
    Event e = eventFrom(query);
    imageFrom(query, 14, e);
    return e;
}

std::optional<std::vector<history::RadioSummary>> SqlHistoryStore::radios(std::string& error) {
    QSqlQuery query(db());
    query.setForwardOnly(true);
    query.prepare("SELECT e.serial, e.model, e.time, e.operation, c.n FROM events e JOIN "
                  "(SELECT serial, MAX(id) AS last, COUNT(*) AS n FROM events WHERE serial <> '' "
                  "GROUP BY serial) c ON e.id = c.last ORDER BY e.time DESC, e.id DESC");
    if (!exec(query, error)) return std::nullopt;
    std::vector<history::RadioSummary> out;
    while (query.next())
        out.push_back({s(query.value(0)), s(query.value(1)), s(query.value(2)), s(query.value(3)),
                       query.value(4).toLongLong()});
    return out;
}

std::optional<std::vector<Event>> SqlHistoryStore::latestImages(std::string& error) {
    QSqlQuery query(db());
    query.setForwardOnly(true);
    // What the radio holds: its last successful read or write (or fleet unit).
    query.prepare(QString("SELECT %1, i.data FROM events e JOIN "
                          "(SELECT serial, MAX(id) AS last FROM events WHERE serial <> '' AND sha256 <> '' "
                          "AND result = 'ok' AND operation IN ('read', 'write', 'fleet') GROUP BY serial) c "
                          "ON e.id = c.last JOIN images i ON i.sha256 = e.sha256 ORDER BY e.serial")
                      .arg(kEventColumns));
    if (!exec(query, error)) return std::nullopt;
    std::vector<Event> out;
    while (query.next()) {
        out.push_back(eventFrom(query));
        imageFrom(query, 14, out.back());
    }
    return out;
}

QString userName() {
    for (const char* name : {"USER", "LOGNAME", "USERNAME"})
        if (const QString v = qEnvironmentVariable(name); !v.isEmpty()) return v;
    return {};
}

void fillOrigin(Event& e) {
    if (e.programVersion.empty()) e.programVersion = VRL_PLATFORM_VERSION;
    if (e.user.empty()) e.user = userName().toStdString();
    if (e.host.empty()) e.host = QSysInfo::machineHostName().toStdString();
}

// Backup files are named "20240131-142501_LABEL.dat" in local time.
QString backupTime(const QFileInfo& file) {
    QDateTime when = QDateTime::fromString(file.fileName().left(15), "yyyyMMdd-HHmmss");
    if (!when.isValid()) when = file.lastModified();
    return when.toUTC().toString("yyyy-MM-ddTHH:mm:ssZ");
}

bool SqlHistoryStore::importBackups(std::string& error) {
    if (!begin(error)) return false;
    QSqlQuery claim(db());
    claim.prepare("INSERT INTO meta (key, value) VALUES ('backups_imported', ?) ON CONFLICT DO NOTHING");
    claim.addBindValue(QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    if (!exec(claim, error)) {
        rollback();
        return false;
    }
    const bool first = claim.numRowsAffected() == 1;
    claim.finish();
    if (!first) return run("COMMIT", error); // done before
    const QDir folder(backupFolder());
    for (const QFileInfo& file : folder.entryInfoList({"*.dat"}, QDir::Files, QDir::Name)) {
        auto data = std::make_unique<RadioData>();
        if (readDataFile(file.absoluteFilePath().toStdString(), data->image).result != kFileOk) continue;
        data->model.refresh();
        Event e;
        e.time = backupTime(file).toStdString();
        e.operation = history::kRead;
        e.result = history::kOk;
        e.message = "imported from the backup folder";
        e.model = std::string(data->model.label());
        e.identity = data->image.identity().hex();
        e.file = file.absoluteFilePath().toStdString();
        e.image.assign(data->image.bytes().begin(), data->image.bytes().end());
        fillOrigin(e);
        if (!insert(e, error)) {
            rollback();
            return false;
        }
    }
    return run("COMMIT", error);
}

} // namespace

QString defaultHistoryFile() { return dataFolder() + "/history.sqlite"; }

void setHistoryLocation(const QString& location) { overrideLocation = location; }

QString historyLocation() {
    if (!overrideLocation.isEmpty()) return overrideLocation;
    if (const QString env = qEnvironmentVariable("VRL73M_HISTORY"); !env.isEmpty()) return env;
    return defaultHistoryFile();
}

std::unique_ptr<history::HistoryStore> openHistoryStore(const QString& location, std::string& error) {
    const bool postgres = history::isPostgresUri(location.toStdString());
    auto store = std::make_unique<SqlHistoryStore>(location, postgres);
    if (!store->open(error)) return nullptr;
    if (!postgres && QFileInfo(location).absoluteFilePath() == QFileInfo(defaultHistoryFile()).absoluteFilePath()) {
        std::string importError;
        store->importBackups(importError); // a backup folder that cannot be read is no reason to stop
    }
    return store;
}

namespace {
std::map<QString, std::unique_ptr<history::HistoryStore>>* openedStores = nullptr;
} // namespace

void closeProgramHistory() {
    if (openedStores) openedStores->clear();
}

history::HistoryStore* programHistory(std::string& error) {
    ensureCoreApplication();
    if (!openedStores) openedStores = new std::map<QString, std::unique_ptr<history::HistoryStore>>;
    const QString location = historyLocation();
    auto& store = (*openedStores)[location];
    if (!store) {
        store = openHistoryStore(location, error);
        // Registered after QtSql set up its connection list, so it runs before that
        // list is torn down at exit.
        static const bool closesAtExit = [] { return std::atexit(closeProgramHistory) == 0; }();
        (void)closesAtExit;
    }
    return store.get();
}

bool recordHistoryEvent(history::Event& event, std::string& error) {
    fillOrigin(event);
    history::HistoryStore* store = programHistory(error);
    if (!store) return false;
    return store->record(event, error);
}

} // namespace vrl::platform
