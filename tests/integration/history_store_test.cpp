// The history database through QtSql. Runs against the PostgreSQL server named by
// VRL73M_HISTORY (scripts/pg-test-server.sh starts one) or, without it, against
// SQLite files in a temporary folder. Events carry a serial prefix of their own
// run, so a shared server's other events do not disturb the counts.
#include "platform/data_folder.h"
#include "platform/history_store.h"

#include "file/data_file.h"
#include "model/data_image.h"
#include "model/new_data.h"
#include "util/sha256.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <thread>

using namespace vrl;

namespace {

bool onPostgres() { return history::isPostgresUri(qEnvironmentVariable("VRL73M_HISTORY").toStdString()); }

struct Fixture {
    QTemporaryDir dir;
    QString location;
    std::string prefix = QString("T%1-").arg(QDateTime::currentMSecsSinceEpoch()).toStdString();
    Fixture() {
        location = onPostgres() ? qEnvironmentVariable("VRL73M_HISTORY") : dir.filePath("h.sqlite");
    }
    std::unique_ptr<history::HistoryStore> open() {
        std::string error;
        auto store = platform::openHistoryStore(location, error);
        EXPECT_TRUE(store) << error;
        return store;
    }
};

history::Event makeEvent(std::string serial, std::string_view op, std::string_view result, uint8_t fill) {
    history::Event e;
    e.operation = op;
    e.result = result;
    e.serial = std::move(serial);
    e.model = "RM-140A[8CH]:K";
    e.port = "/dev/ttyUSB0";
    if (fill) e.image.assign(CDataImage::kSize, fill);
    return e;
}

TEST(HistoryStore, RecordsListsFiltersAndRestores) {
    Fixture f;
    auto store = f.open();
    ASSERT_TRUE(store);
    const std::string a = f.prefix + "A", b = f.prefix + "B";
    // serial, operation, result, image fill
    const std::vector<std::tuple<std::string, std::string_view, std::string_view, uint8_t>> rows{
        {a, history::kRead, history::kOk, 0x11},     {a, history::kWrite, history::kOk, 0x22},
        {a, history::kWrite, history::kFailed, 0x33}, {b, history::kRead, history::kOk, 0x44},
        {b, history::kCheckSum, history::kOk, 0},
    };
    std::vector<int64_t> ids;
    for (const auto& [serial, op, result, fill] : rows) {
        history::Event e = makeEvent(serial, op, result, fill);
        e.time = "2031-05-0" + std::to_string(ids.size() + 1) + "T10:00:00Z";
        std::string error;
        ASSERT_TRUE(store->record(e, error)) << error;
        ASSERT_GT(e.id, 0);
        ids.push_back(e.id);
    }
    std::string error;
    const struct {
        history::Filter filter;
        std::vector<size_t> rows; // expected, newest first
    } cases[] = {
        {{a, "", ""}, {2, 1, 0}},
        {{a, "write", ""}, {2, 1}},
        {{a, "", "2031-05-02"}, {2, 1}},
        {{b, "", "2031-05-04T10:00:00"}, {4, 3}},
        {{b, "read", "2031-06"}, {}},
    };
    for (const auto& c : cases) {
        const auto events = store->list(c.filter, error);
        ASSERT_TRUE(events) << error;
        std::vector<int64_t> want, got;
        for (size_t r : c.rows) want.push_back(ids[r]);
        for (const auto& e : *events) got.push_back(e.id);
        EXPECT_EQ(got, want) << c.filter.serial << " " << c.filter.operation << " " << c.filter.since;
    }

    const auto second = store->event(ids[1], error);
    ASSERT_TRUE(second) << error;
    EXPECT_EQ(second->image, std::vector<uint8_t>(CDataImage::kSize, 0x22));
    EXPECT_EQ(second->sha256, sha256Hex(second->image));
    EXPECT_EQ(second->port, "/dev/ttyUSB0");
    EXPECT_FALSE(store->event(ids.back() + 100000, error));

    // The latest image a radio holds: its last successful read or write.
    const auto latest = store->latestImages(error);
    ASSERT_TRUE(latest) << error;
    std::map<std::string, int64_t> latestOf;
    for (const auto& e : *latest) latestOf[e.serial] = e.id;
    EXPECT_EQ(latestOf[a], ids[1]);
    EXPECT_EQ(latestOf[b], ids[3]);

    const auto radios = store->radios(error);
    ASSERT_TRUE(radios) << error;
    std::map<std::string, int64_t> counts;
    for (const auto& r : *radios) counts[r.serial] = r.events;
    EXPECT_EQ(counts[a], 3);
    EXPECT_EQ(counts[b], 2);
}

TEST(HistoryStore, TwoWritersAtOnceLoseNoEvent) {
    Fixture f;
    f.open(); // created and migrated before the race
    constexpr int kEach = 40;
    auto writer = [&](const std::string& serial, int& recorded) {
        std::string error;
        auto store = platform::openHistoryStore(f.location, error);
        if (!store) return;
        for (int i = 0; i < kEach; ++i) {
            history::Event e = makeEvent(serial, history::kRead, history::kOk, static_cast<uint8_t>(i + 1));
            if (store->record(e, error)) ++recorded;
        }
    };
    int one = 0, two = 0;
    std::thread t1(writer, f.prefix + "W1", std::ref(one));
    std::thread t2(writer, f.prefix + "W2", std::ref(two));
    t1.join();
    t2.join();
    EXPECT_EQ(one, kEach);
    EXPECT_EQ(two, kEach);
    auto store = f.open();
    std::string error;
    for (const char* w : {"W1", "W2"}) {
        const auto events = store->list({f.prefix + w, "", ""}, error);
        ASSERT_TRUE(events) << error;
        EXPECT_EQ(events->size(), size_t{kEach}) << w;
    }
}

TEST(HistoryStore, SqliteFileIsPrivateAndRefusesANewerSchema) {
    if (onPostgres()) GTEST_SKIP() << "SQLite only";
    Fixture f;
    f.open();
    EXPECT_EQ(QFile::permissions(f.location) & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup |
                                                 QFile::WriteOther),
              QFile::Permissions());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "raw");
        db.setDatabaseName(f.location);
        ASSERT_TRUE(db.open());
        QSqlQuery(db).exec("INSERT INTO schema_version (version) VALUES (99)");
        db.close();
    }
    QSqlDatabase::removeDatabase("raw");
    std::string error;
    EXPECT_FALSE(platform::openHistoryStore(f.location, error));
    EXPECT_NE(error.find("newer"), std::string::npos) << error;
}

TEST(HistoryStore, DefaultFileImportsTheBackupsOnce) {
    if (onPostgres()) GTEST_SKIP() << "SQLite only";
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    ASSERT_TRUE(QDir().mkpath(platform::backupFolder()));
    auto data = std::make_unique<RadioData>();
    data->image.setIdentity(defaultIdentity());
    newData(*data);
    const CDataImage& image = data->image;
    const QString backup = platform::backupFolder() + "/20240131-142501_RM-140A-8CH-K.dat";
    ASSERT_EQ(writeDataFile(backup.toStdString(), image).result, kFileOk);
    for (int round = 0; round < 2; ++round) {
        std::string error;
        auto store = platform::openHistoryStore(platform::defaultHistoryFile(), error);
        ASSERT_TRUE(store) << error;
        const auto events = store->list({}, error);
        ASSERT_TRUE(events) << error;
        ASSERT_EQ(events->size(), 1u) << "round " << round;
        EXPECT_EQ((*events)[0].operation, "read");
        EXPECT_EQ((*events)[0].serial, "");
        const auto full = store->event((*events)[0].id, error);
        ASSERT_TRUE(full);
        EXPECT_TRUE(std::equal(full->image.begin(), full->image.end(), image.bytes().begin()));
    }
    qunsetenv("XDG_DATA_HOME");
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
