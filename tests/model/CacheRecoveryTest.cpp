// A cache file that cannot be used (garbage, truncated, empty, foreign, of another version, or
// locked by another connection): the operation gives up without a crash or half a batch, the
// file is moved aside, a fresh copy of the template takes its place, and one log line says so.
// Also: two sources scanned at once keep to their own files.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <thread>

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include "CacheTestSupport.h"
#include "model/CacheFile.h"
#include "model/CacheWriter.h"
#include "model/ImageFileInfo.h"
#include "model/ScanCacheIndex.h"
#include "model/SqliteConnection.h"
#include "model/SqliteDBOperations.h"
#include "model/SqliteTransaction.h"
#include "platform/AppFolders.h"
#include "support/TestFiles.h"

using namespace CacheTestSupport;
using Records = QList<std::shared_ptr<ImageFileInfo>>;

namespace
{

// clang-format off
enum class Damage {
    Garbage, Truncated, Empty, Foreign, OtherVersion, Locked, Folder, DamagedPage, Link, DanglingLink, Planted
};
// clang-format on

// ExfInfo as ours, with `pathColumn` for its path and `extra` at its end.
QByteArray exifTable(const char *pathColumn, const char *extra)
{
    return QByteArray("DROP TABLE ExfInfo; CREATE TABLE ExfInfo (id INTEGER PRIMARY KEY, ") + pathColumn
        + ", captureTime REAL NOT NULL DEFAULT 0, fileSize INTEGER NOT NULL DEFAULT 0, "
          "latitude REAL NOT NULL DEFAULT 0, longitude REAL NOT NULL DEFAULT 0, "
          "pixelWidth REAL NOT NULL DEFAULT 0, pixelHeight REAL NOT NULL DEFAULT 0, "
          "dpiWidth REAL NOT NULL DEFAULT 0, dpiHeight REAL NOT NULL DEFAULT 0, "
          "orientation INTEGER NOT NULL DEFAULT 0, modTime REAL NOT NULL DEFAULT 0, changeTime REAL"
        + extra + ")";
}

// Objects someone else added to a cache that is otherwise sound, one kind of damage each from Planted on.
const QByteArray kPlantedObjects[] = {
    "DROP TABLE tempTable; CREATE VIEW tempTable AS WITH RECURSIVE r(filePath) AS "
    "(SELECT '/new/0.jpg' UNION ALL SELECT filePath FROM r) SELECT filePath FROM r",
    "CREATE TRIGGER spoil AFTER INSERT ON ExfInfo BEGIN DELETE FROM hashTable64; END",
    "CREATE VIRTUAL TABLE notes USING fts4(text)",
    exifTable("filePath TEXT NOT NULL UNIQUE", ", junk BLOB GENERATED ALWAYS AS (zeroblob(1000000)) STORED"),
    exifTable("filePath TEXT NOT NULL", ""),
    "DROP TABLE tempTable; CREATE TABLE tempTable (filePath TEXT PRIMARY KEY)",
};

Records somePhotos(const QString &prefix, int count)
{
    Records records;
    for (int i = 0; i < count; ++i)
        records.append(photo(prefix + QString::number(i) + QStringLiteral(".jpg"), 100 + i, 5.0, 64, i));
    return records;
}

std::string damageName(Damage kind)
{
    static const char *const kNames[] = { "Garbage", "Truncated", "Empty", "Foreign", "OtherVersion",
        "Locked", "Folder", "DamagedPage", "Link", "DanglingLink", "EndlessView", "Trigger", "VirtualTable",
        "StoredGeneratedColumn", "NoPathIndex", "PathTableWithRowIds" };
    return kNames[int(kind)];
}

class CacheRecoveryTest : public CacheFixture, public ::testing::WithParamInterface<int>
{
protected:
    void SetUp() override
    {
        CacheFixture::SetUp();
        SqliteConnection::setBusyTimeoutMs(20);
    }
    void TearDown() override
    {
        SqliteConnection::setBusyTimeoutMs(2000);
        CacheFixture::TearDown();
    }

    void damage(Damage kind)
    {
        switch (kind) {
        case Damage::Garbage:
            ASSERT_TRUE(TestFiles::write(m_db,
                QByteArray("this is not a database, only text that sits where one should be\n")
                    .repeated(200)));
            break;
        case Damage::Truncated: {
            ASSERT_TRUE(
                SqliteDBOperations::saveBatch(m_db, somePhotos(QStringLiteral("/old/"), 300), scanIndex()));
            QFile file(m_db);
            ASSERT_TRUE(file.resize(file.size() / 2));
            break;
        }
        case Damage::Empty:
            ASSERT_TRUE(TestFiles::write(m_db, QByteArray()));
            break;
        case Damage::Foreign:
            QFile::remove(m_db);
            {
                sqlite3 *db = nullptr;
                sqlite3_open(m_db.toUtf8().constData(), &db);
                sqlite3_exec(db, "CREATE TABLE notes (text TEXT); INSERT INTO notes VALUES ('mine')", nullptr,
                    nullptr, nullptr);
                sqlite3_close(db);
            }
            break;
        case Damage::OtherVersion:
            ASSERT_TRUE(execSql(m_db, QStringLiteral("PRAGMA user_version = 99")));
            break;
        case Damage::Locked:
            m_locker.open(m_db, SqliteConnection::Mode::ReadWrite);
            ASSERT_TRUE(m_locker.exec("BEGIN EXCLUSIVE TRANSACTION; CREATE TABLE lockedWork (x)"));
            break;
        case Damage::Folder:
            ASSERT_TRUE(QFile::remove(m_db));
            ASSERT_TRUE(QDir().mkpath(m_db + QStringLiteral("/inside")));
            break;
        case Damage::DamagedPage: {
            // A page in the middle of the file, which no fetch of the new paths reads.
            ASSERT_TRUE(
                SqliteDBOperations::saveBatch(m_db, somePhotos(QStringLiteral("/old/"), 300), scanIndex()));
            QFile file(m_db);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            ASSERT_GT(file.size(), 16 * 16384);
            ASSERT_TRUE(file.seek(10 * 16384));
            file.write(QByteArray(16384, '\x5a'));
            break;
        }
        case Damage::Link:
        case Damage::DanglingLink: {
            // A sound cache of ours elsewhere, which must stay as it is.
            const QString elsewhere = m_folder.filePath(QStringLiteral("elsewhere.db"));
            ASSERT_TRUE(QFile::rename(m_db, elsewhere));
            ASSERT_TRUE(QFile::link(elsewhere + (kind == Damage::Link ? "" : ".gone"), m_db));
            m_linkTarget = elsewhere;
            break;
        }
        default:
            ASSERT_TRUE(execSql(m_db, QString::fromUtf8(kPlantedObjects[int(kind) - int(Damage::Planted)])));
            break;
        }
    }

    SqliteConnection m_locker;
    QString m_linkTarget;
};

TEST_P(CacheRecoveryTest, UnusableFileIsSetAsideAndScanGoesOn)
{
    const Damage kind = Damage(GetParam());
    damage(kind);
    // Asking sets nothing aside; a lock is no state of the file, pages are checked by the scan.
    if (kind != Damage::Locked && kind != Damage::Truncated && kind != Damage::DamagedPage) {
        EXPECT_FALSE(CacheFile::isUsable(m_db));
    }
    EXPECT_FALSE(CacheFile::isPresent(m_db + QStringLiteral(".unusable")));
    const Records batch = somePhotos(QStringLiteral("/new/"), 20);

    // The scan's road: hand-over, fetch, batch write. None of it may fail loudly or crash.
    loadForScan(m_db, batch);
    SqliteDBOperations::saveBatch(m_db, batch, scanIndex());
    m_locker.close();

    EXPECT_TRUE(CacheFile::isPresent(m_db + QStringLiteral(".unusable")));
    EXPECT_EQ(logLinesContaining(m_db + QStringLiteral(" could not be used")), 1);

    // The fresh file works for the next batch and the next scan.
    ASSERT_TRUE(SqliteDBOperations::saveBatch(m_db, batch, scanIndex()));
    loadForScan(m_db, batch);
    EXPECT_EQ(cachedCount(), 20);
    EXPECT_EQ(
        countRows(m_db, QStringLiteral("SELECT count(*) FROM ExfInfo WHERE filePath LIKE '/old/%'")), 0);
    EXPECT_TRUE(CacheFile::isUsable(m_db));
    if (!m_linkTarget.isEmpty()) {
        EXPECT_EQ(countRows(m_linkTarget, QStringLiteral("SELECT count(*) FROM ExfInfo")), 0);
        EXPECT_FALSE(QFileInfo::exists(m_linkTarget + QStringLiteral(".gone")));
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, CacheRecoveryTest,
    ::testing::Range(0, int(Damage::Planted) + int(std::size(kPlantedObjects))),
    [](const auto &info) { return damageName(Damage(info.param)); });

// Something unsound where SQLite looks for a journal beside a sound cache (made by a shell line
// given its path as $J): the scan ends, the journal goes aside with the cache, the log names it,
// and what a link leads to is left as it was.
using CompanionCase = std::tuple<const char *, const char *>;
class CacheCompanionTest : public CacheFixture, public ::testing::WithParamInterface<CompanionCase>
{
};

TEST_P(CacheCompanionTest, IsSetAsideWithTheCacheAndTheScanEnds)
{
    const auto [suffix, make] = GetParam();
    const QString journal = m_db + QLatin1String(suffix);
    ASSERT_TRUE(SqliteDBOperations::saveBatch(m_db, somePhotos(QStringLiteral("/old/"), 3), scanIndex()));
    const int made
        = QProcess::execute("sh", { "-c", QStringLiteral("J='%1'; rm -f \"$J\"; %2").arg(journal, make) });
    if (made == 77)
        GTEST_SKIP() << "another user's file can only be made by root";
    ASSERT_EQ(made, 0);
    const Records batch = somePhotos(QStringLiteral("/new/"), 5);
    auto scan = std::async(std::launch::async, [&] {
        loadForScan(m_db, batch);
        return SqliteDBOperations::saveBatch(m_db, batch, scanIndex());
    });
    if (scan.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
        // The scan's thread is stuck in the kernel for good: nothing else could end this test.
        std::fprintf(stderr, "FAILED: the scan waits on %s for good\n", suffix);
        std::_Exit(1);
    }
    EXPECT_TRUE(scan.get());
    EXPECT_TRUE(CacheFile::isPresent(m_db + QStringLiteral(".unusable") + suffix));
    EXPECT_EQ(logLinesContaining(m_db + " could not be used (" + QFileInfo(journal).fileName()), 1);
    EXPECT_TRUE(CacheFile::isUsable(m_db));
    EXPECT_TRUE(!QFile::exists(journal + ".target") || TestFiles::read(journal + ".target") == "hot");
}

INSTANTIATE_TEST_SUITE_P(Companions, CacheCompanionTest,
    ::testing::Combine(::testing::Values("-journal", "-wal", "-shm"),
        ::testing::Values("mkfifo \"$J\"", "printf hot >\"$J.target\" && ln -s \"$J.target\" \"$J\"",
            "printf hot >\"$J\" && { chown $(($(id -u) + 4242)) \"$J\" || exit 77; }")),
    [](const auto &info) {
        return std::string(std::get<0>(info.param) + 1) + (std::array { "Fifo", "Link", "OtherUsers" })[info.index % 3];
    });

using CacheBatchTest = CacheFixture;

// A damaged cache whose name leaves no room for ".unusable" is deleted, and the log says so.
TEST_F(CacheBatchTest, ACacheThatCannotBeMovedAsideIsLoggedAsDeleted)
{
    const QString db = freshCache(m_folder.path(), QString(245, QLatin1Char('c')) + QStringLiteral(".db"));
    ASSERT_TRUE(TestFiles::write(db, QByteArray("not a database\n").repeated(100)));
    SqliteDBOperations::saveBatch(db, somePhotos(QStringLiteral("/new/"), 2), scanIndex());
    EXPECT_EQ(logLinesContaining(db + QStringLiteral(" could not be used")), 1);
    EXPECT_EQ(logLinesContaining(QStringLiteral("could not move it aside and deleted it")), 1);
    EXPECT_EQ(logLinesContaining(QStringLiteral("moved it to")), 0);
}

// The scan's stop ends a cache statement that would never end by itself, and the file is kept.
TEST_F(CacheBatchTest, StopEndsAnEndlessStatementAndKeepsTheFile)
{
    std::atomic<bool> stop { false };
    SqliteConnection connection;
    ASSERT_TRUE(CacheFile::open(connection, m_db, &stop));
    stop = true;
    EXPECT_FALSE(connection.exec(
        "WITH RECURSIVE r(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM r) SELECT count(*) FROM r"));
    EXPECT_TRUE(connection.interruptedByStop());
    CacheFile::operationFailed(connection, m_db);
    EXPECT_FALSE(QFileInfo::exists(m_db + QStringLiteral(".unusable")));
}

// A cache in the program's folder that others may write in is neither read nor written.
TEST_F(CacheBatchTest, ACacheInAFolderOthersMayWriteIsLeftAlone)
{
    const QString folder = AppFolders::supportFolder();
    ASSERT_TRUE(AppFolders::ensureFolder(folder));
    const QString db = freshCache(folder, QStringLiteral("shared.db"));
    QFile::setPermissions(folder, QFileDevice::Permissions(0x7777));
    const bool saved = SqliteDBOperations::saveBatch(db, somePhotos(QStringLiteral("/shared/"), 3), scanIndex());
    QFile::setPermissions(folder, QFileDevice::Permissions(0x7700));
    EXPECT_FALSE(saved);
    EXPECT_EQ(countRows(db, QStringLiteral("SELECT count(*) FROM ExfInfo")), 0);
    QFile::remove(db);
}

TEST_F(CacheBatchTest, UncommittedBatchLeavesNothing)
{
    const QString &db = m_db;
    // A batch whose file becomes unusable half-way: the transaction must leave nothing behind.
    SqliteConnection connection;
    ASSERT_TRUE(CacheFile::open(connection, db));
    {
        SqliteTransaction transaction(connection, SqliteTransaction::Kind::Write);
        CacheWriter writer(connection, 64);
        ASSERT_TRUE(writer.writeExifRows(somePhotos(QStringLiteral("/half/"), 10), nullptr));
        // No commit: the batch is given up.
    }
    connection.close();
    EXPECT_EQ(countRows(db, QStringLiteral("SELECT count(*) FROM ExfInfo")), 0);
}

TEST_F(CacheBatchTest, ConcurrentScansOfTwoSourcesKeepToTheirFiles)
{
    const QString computer = m_db;
    const QString drive = freshCache(m_folder.path(), SqliteDBOperations::cacheFileNameForScanType(ScanSource::googleDrive));
    const auto scan = [](const QString &db, const QString &prefix) {
        ScanCacheIndex index;
        index.reSizeValue = 64;
        for (int batch = 0; batch < 10; ++batch) {
            SqliteDBOperations::createTablesIfNotExists(db);
            SqliteDBOperations::saveBatch(
                db, somePhotos(prefix + QString::number(batch) + QLatin1Char('-'), 50), index);
        }
    };
    std::thread first(scan, computer, QStringLiteral("/computer/"));
    std::thread second(scan, drive, QStringLiteral("Dropbox/drive/"));
    first.join();
    second.join();

    EXPECT_EQ(
        countRows(computer, QStringLiteral("SELECT count(*) FROM ExfInfo WHERE filePath LIKE '/computer/%'")),
        500);
    EXPECT_EQ(countRows(computer, QStringLiteral("SELECT count(*) FROM ExfInfo")), 500);
    EXPECT_EQ(countRows(drive,
                  QStringLiteral("SELECT count(*) FROM ExfInfo WHERE filePath LIKE 'Dropbox/drive/%'")),
        500);
    EXPECT_EQ(countRows(drive, QStringLiteral("SELECT count(*) FROM hashTable64")), 500);
    EXPECT_FALSE(QFileInfo::exists(computer + QStringLiteral(".unusable")));
}

} // namespace

namespace
{

// A cache written before thumbnails were low-pass filtered keeps its rows, loses its fingerprints
// once (they would not compare with new ones), and says so in one log line.
TEST_F(CacheBatchTest, FingerprintsOfTheOldThumbnailMethodAreDroppedOnce)
{
    const Records batch = somePhotos(QStringLiteral("/old/"), 5);
    ASSERT_TRUE(SqliteDBOperations::saveBatch(m_db, batch, scanIndex()));
    ASSERT_TRUE(execSql(m_db, QStringLiteral("PRAGMA user_version = 1")));
    const QString message = QStringLiteral("earlier thumbnail method");

    for (int pass = 0; pass < 2; ++pass) {
        loadForScan(m_db, batch);
        EXPECT_EQ(cachedCount(), 0) << pass;
        EXPECT_EQ(scanIndex().dictExif.size(), 5) << pass;
    }
    EXPECT_EQ(countRows(m_db, QStringLiteral("SELECT count(*) FROM hashTable64")), 0);
    EXPECT_EQ(countRows(m_db, QStringLiteral("SELECT count(*) FROM ExfInfo")), 5);
    EXPECT_EQ(countRows(m_db, QStringLiteral("PRAGMA user_version")), CacheFile::kSchemaVersion);
    EXPECT_EQ(logLinesContaining(message), 1);
    EXPECT_FALSE(QFileInfo::exists(m_db + QStringLiteral(".unusable")));

    // Fingerprints made now are kept.
    ASSERT_TRUE(SqliteDBOperations::saveBatch(m_db, batch, scanIndex()));
    loadForScan(m_db, batch);
    EXPECT_EQ(cachedCount(), 5);
}

} // namespace
