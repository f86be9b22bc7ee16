// The cache database on temporary files: batches written and fetched back for every fingerprint
// side, changed files replacing their rows, awkward paths, invalid stored blocks.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>

#include "CacheTestSupport.h"
#include "model/CacheFormat.h"
#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "model/ScanCacheIndex.h"
#include "model/SqliteDBOperations.h"

using namespace CacheTestSupport;
using Records = QList<std::shared_ptr<ImageFileInfo>>;

namespace
{

const QString kMd5 = QStringLiteral("0123456789abcdef0123456789abcdef");

class CacheDatabaseTest : public CacheFixture
{
protected:
    // The two writes of a batch as the hashing stage makes them.
    void writeBatch(const Records &records, bool oneTransaction)
    {
        SqliteDBOperations::createTablesIfNotExists(m_db);
        if (oneTransaction) {
            ASSERT_TRUE(SqliteDBOperations::saveBatch(m_db, records, scanIndex()));
            return;
        }
        SqliteDBOperations::insertDataInExifInfoTable(QStringLiteral("ExfInfo"), m_db, records, scanIndex());
        SqliteDBOperations::insertDataInTable(QStringLiteral("hashTable"), m_db, records, false, scanIndex());
    }

    qint64 rowsOfPath(const QString &table, const QString &path)
    {
        QString quoted = path;
        quoted.replace(QLatin1Char('\''), QStringLiteral("''"));
        return countRows(m_db,
            QStringLiteral("SELECT count(*) FROM %1 t JOIN ExfInfo e ON e.id = t.exifId "
                           "WHERE e.filePath = '%2'")
                .arg(table, quoted));
    }
};

struct RoundTrip {
    int side;
    bool oneTransaction;
};

class CacheRoundTripTest : public CacheDatabaseTest, public ::testing::WithParamInterface<RoundTrip>
{
};

TEST_P(CacheRoundTripTest, BatchComesBackWithEveryValue)
{
    const int n = GetParam().side;
    scanIndex().reSizeValue = n;
    const Records records = { photo(QStringLiteral("/p/a.jpg"), 1000, 1700000000.125, n, 1),
        photo(QStringLiteral("/p/b.jpg"), 2000, 1700000001.5, n, 2),
        video(QStringLiteral("/p/c.mov"), 3000, 1700000002.0, kMd5) };
    writeBatch(records, GetParam().oneTransaction);
    loadForScan(m_db, records);

    const auto exif = scanIndex().dictExif.value(QStringLiteral("/p/a.jpg"));
    ASSERT_TRUE(exif.has_value());
    const ExifInfo &a = **exif;
    EXPECT_TRUE(a.exifInfoId.has_value());
    EXPECT_EQ(a.fileSize, 1000u);
    EXPECT_EQ(a.moDateTime, CacheFormat::secondsSince1970(records[0]->modDate)); // exact: reuse needs it
    ASSERT_TRUE(a.captureDate.has_value());
    EXPECT_EQ(*a.captureDate, *records[0]->exifInfo->captureDate);
    EXPECT_DOUBLE_EQ(a.gpsLatitude, -34.5);
    EXPECT_DOUBLE_EQ(a.gpsLongitude, 151.25);
    EXPECT_EQ(a.pixelWidth, 4001);
    EXPECT_EQ(a.pixelHeight, 3000);
    EXPECT_DOUBLE_EQ(a.dpiWidth, 72.5); // real numbers keep their fraction
    EXPECT_EQ(a.orientation, 6);
    EXPECT_TRUE(a.fileName.isEmpty());

    EXPECT_EQ(cachedBlock(QStringLiteral("/p/a.jpg")), fingerprintBlock(n, 1));
    EXPECT_EQ(cachedBlock(QStringLiteral("/p/b.jpg")), fingerprintBlock(n, 2));
    EXPECT_EQ(cachedBlock(QStringLiteral("/p/c.mov")), kMd5.toUtf8());
    EXPECT_EQ(qint64(records[0]->exifIDFrmDB), *a.exifInfoId);
}

std::vector<RoundTrip> roundTrips()
{
    std::vector<RoundTrip> cases;
    for (int n = 48; n <= 96; n += 8) {
        cases.push_back({ n, false });
        cases.push_back({ n, true });
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(
    EverySide, CacheRoundTripTest, ::testing::ValuesIn(roundTrips()), [](const auto &info) {
        return "N" + std::to_string(info.param.side)
            + (info.param.oneTransaction ? "_saveBatch" : "_twoCalls");
    });

TEST_F(CacheDatabaseTest, ChangedFileReplacesEveryRowOfItsPath)
{
    // Fingerprints of two sides and a digest exist for the old content.
    const QString path = QStringLiteral("/p/changed.jpg");
    scanIndex().reSizeValue = 72;
    writeBatch({ photo(path, 1000, 100.0, 72, 1) }, false);
    scanIndex().reSizeValue = 64;
    const Records before = { photo(path, 1000, 100.0, 64, 1) };
    loadForScan(m_db, before);
    writeBatch(before, false);
    ASSERT_EQ(rowsOfPath(QStringLiteral("hashTable72"), path), 1);
    ASSERT_EQ(rowsOfPath(QStringLiteral("hashTable64"), path), 1);

    // The file changes; the hashing stage flags it and computes a new fingerprint.
    auto changed = photo(path, 1200, 200.0, 64, 9);
    loadForScan(m_db, { changed });
    ASSERT_TRUE(scanIndex().isCached(path));
    changed->isHashUpdateReq = true;
    writeBatch({ changed }, false);

    EXPECT_EQ(countRows(m_db, QStringLiteral("SELECT count(*) FROM ExfInfo")), 1);
    EXPECT_EQ(rowsOfPath(QStringLiteral("hashTable72"), path), 0); // stale side gone
    loadForScan(m_db, { changed });
    EXPECT_EQ((*scanIndex().dictExif.value(path))->fileSize, 1200u);
    EXPECT_EQ(cachedBlock(path), fingerprintBlock(64, 9));
}

TEST_F(CacheDatabaseTest, ChangedFileNotFlaggedStillLosesItsOldRows)
{
    // Cached only at another side, so the hashing stage neither reuses nor flags it.
    const QString path = QStringLiteral("/p/other-side.jpg");
    scanIndex().reSizeValue = 72;
    writeBatch({ photo(path, 1000, 100.0, 72, 1) }, true);
    scanIndex().reSizeValue = 64;
    auto changed = photo(path, 1500, 300.0, 64, 4);
    loadForScan(m_db, { changed });
    ASSERT_FALSE(scanIndex().isCached(path));
    writeBatch({ changed }, true);

    EXPECT_EQ(rowsOfPath(QStringLiteral("hashTable72"), path), 0);
    EXPECT_EQ(rowsOfPath(QStringLiteral("hashTable64"), path), 1);
    EXPECT_EQ(countRows(m_db, QStringLiteral("SELECT fileSize FROM ExfInfo")), 1500);
}

TEST_F(CacheDatabaseTest, ChangedVideoLosesItsStaleDigest)
{
    const QString path = QStringLiteral("/p/clip.mov");
    writeBatch({ video(path, 10, 1.0, kMd5) }, false);
    auto changed = video(path, 11, 2.0, QStringLiteral("ffffffffffffffffffffffffffffffff"));
    loadForScan(m_db, { changed });
    changed->isHashUpdateReq = true;
    writeBatch({ changed }, false);
    loadForScan(m_db, { changed });
    EXPECT_EQ(cachedBlock(path), QByteArray(32, 'f'));
    EXPECT_EQ(countRows(m_db, QStringLiteral("SELECT count(*) FROM md5Table")), 1);
}

TEST_F(CacheDatabaseTest, UnchangedSecondScanWritesNothing)
{
    const Records first = { photo(QStringLiteral("/p/same.jpg"), 5, 9.0, 64, 3) };
    writeBatch(first, true);
    const qint64 id = countRows(m_db, QStringLiteral("SELECT id FROM ExfInfo"));

    const Records second = { photo(QStringLiteral("/p/same.jpg"), 5, 9.0, 64, 3) };
    loadForScan(m_db, second);
    writeBatch(second, false);
    EXPECT_EQ(countRows(m_db, QStringLiteral("SELECT count(*) FROM ExfInfo")), 1);
    EXPECT_EQ(countRows(m_db, QStringLiteral("SELECT id FROM ExfInfo")), id);
    EXPECT_EQ(second[0]->exifIDFrmDB, id);
}

// A warm batch skips its transaction; that is only sound while the write would indeed change nothing.
TEST_F(CacheDatabaseTest, OnlyABatchTakenWholeFromTheCacheChangesNothing)
{
    const Records first = { photo(QStringLiteral("/p/a.jpg"), 5, 9.0, 64, 3),
        video(QStringLiteral("/p/v.mov"), 7, 9.0, kMd5) };
    EXPECT_FALSE(SqliteDBOperations::batchChangesNothing(first, scanIndex())); // nothing cached yet
    writeBatch(first, true);

    const Records second = { photo(QStringLiteral("/p/a.jpg"), 5, 9.0, 64, 3),
        video(QStringLiteral("/p/v.mov"), 7, 9.0, kMd5), std::make_shared<ImageFileInfo>() };
    loadForScan(m_db, second);
    EXPECT_TRUE(SqliteDBOperations::batchChangesNothing(second, scanIndex()));

    second[0]->isHashUpdateReq = true; // changed since: its rows are rewritten
    EXPECT_FALSE(SqliteDBOperations::batchChangesNothing(second, scanIndex()));
    second[0]->isHashUpdateReq = false;
    second[0]->fileMd5 = kMd5; // an exact scan summed it and the cache does not hold the sum yet
    EXPECT_FALSE(SqliteDBOperations::batchChangesNothing(second, scanIndex()));
    second[0]->fileMd5.clear();
    const Records withNewFile = { second[0], photo(QStringLiteral("/p/new.jpg"), 5, 9.0, 64, 4) };
    EXPECT_FALSE(SqliteDBOperations::batchChangesNothing(withNewFile, scanIndex()));
}

class CachePathTest : public CacheDatabaseTest, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(CachePathTest, AwkwardPathsRoundTrip)
{
    const QString path = QString::fromUtf8(GetParam());
    const Records records
        = { photo(path, 77, 1.0, 64, 5), photo(path + QStringLiteral("x"), 78, 1.0, 64, 6) };
    writeBatch(records, false);
    loadForScan(m_db, records);
    EXPECT_EQ(cachedBlock(path), fingerprintBlock(64, 5));
    EXPECT_EQ(cachedBlock(path + QStringLiteral("x")), fingerprintBlock(64, 6));
    EXPECT_EQ(scanIndex().dictExif.size(), 2);
}

INSTANTIATE_TEST_SUITE_P(Paths, CachePathTest,
    ::testing::Values("/p/it's \"quoted\".jpg", "/p/100% sure_%d %@.jpg", "/p/new\nline.jpg",
        "/p/Ünïcödé 写真 📷.jpg", "/p/'); DROP TABLE ExfInfo; --.jpg"));

struct StoredDamage {
    const char *name;
    const char *sql;
};

void PrintTo(const StoredDamage &damage, std::ostream *out)
{
    *out << damage.name;
}

class CacheStoredDamageTest : public CacheDatabaseTest, public ::testing::WithParamInterface<StoredDamage>
{
};

// Whatever is wrong with a stored block, the path keeps its EXIF row but counts as not cached.
TEST_P(CacheStoredDamageTest, DamagedBlocksCountAsNotCached)
{
    const Records records = { photo(QStringLiteral("/p/1.jpg"), 1, 1.0, 64, 1),
        photo(QStringLiteral("/p/2.jpg"), 1, 1.0, 64, 2), video(QStringLiteral("/p/3.mov"), 2, 1.0, kMd5) };
    writeBatch(records, true);
    ASSERT_TRUE(execSql(m_db, QString::fromUtf8(GetParam().sql)));
    loadForScan(m_db, records);
    EXPECT_EQ(scanIndex().dictExif.size(), 3);
    EXPECT_FALSE(scanIndex().isCached(QStringLiteral("/p/1.jpg")));
    EXPECT_FALSE(scanIndex().isCached(QStringLiteral("/p/3.mov")));
}

INSTANTIATE_TEST_SUITE_P(Kinds, CacheStoredDamageTest,
    ::testing::Values(StoredDamage { "ShortBlock",
                          "UPDATE hashTable64 SET hash = substr(hash, 1, 4095);"
                          "UPDATE md5Table SET md5 = substr(md5, 1, 31)" },
        StoredDamage { "NotHex",
            "UPDATE hashTable64 SET hash = zeroblob(4096), checkValue = 0 WHERE exifId = 1;"
            "UPDATE md5Table SET md5 = CAST('0123456789abcdef0123456789abcdeg' AS BLOB)" },
        StoredDamage { "TornBlock",
            "UPDATE hashTable64 SET hash = zeroblob(1) || substr(hash, 2) WHERE exifId = 1;"
            "UPDATE md5Table SET md5 = CAST('f123456789abcdef0123456789abcdef' AS BLOB)" },
        // Rows that belong to other content: a file grown since, and a block of another path.
        StoredDamage { "OtherContent",
            "UPDATE ExfInfo SET fileSize = fileSize + 1 WHERE filePath = '/p/1.jpg';"
            "UPDATE ExfInfo SET modTime = 2.0 WHERE filePath = '/p/3.mov'" },
        StoredDamage { "OtherPath",
            "UPDATE hashTable64 SET exifId = -exifId;"
            "UPDATE hashTable64 SET exifId = 1 WHERE exifId = -2;"
            "UPDATE hashTable64 SET exifId = 2 WHERE exifId = -1;"
            "UPDATE md5Table SET exifId = 1 WHERE exifId = 3" }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(CacheDatabaseTest, NoDigestRowWithoutExifRow)
{
    const Records records = { photo(QStringLiteral("/p/orphan.jpg"), 1, 1.0, 64, 1),
        video(QStringLiteral("/p/orphan.mov"), 1, 1.0, kMd5) };
    SqliteDBOperations::insertDataInTable(QStringLiteral("hashTable"), m_db, records, false, scanIndex());
    EXPECT_EQ(countRows(m_db, QStringLiteral("SELECT count(*) FROM hashTable64")), 0);
    EXPECT_EQ(countRows(m_db, QStringLiteral("SELECT count(*) FROM md5Table")), 0);
    EXPECT_EQ(records[0]->exifIDFrmDB, -1);
}

// An exact scan matches photos by their sums alone: the sum is kept without a fingerprint.
TEST_F(CacheDatabaseTest, ChecksummedPhotoGetsZeroExifRowAndItsDigest)
{
    auto record = video(QStringLiteral("/p/exact.jpg"), 42, 3.0, kMd5);
    record->isVideo = false; // a photo checksummed in an exact scan: MD5, no EXIF, no variants
    writeBatch({ record }, true);
    loadForScan(m_db, { record });
    const auto exif = scanIndex().dictExif.value(record->filePath);
    ASSERT_TRUE(exif.has_value());
    EXPECT_FALSE((*exif)->captureDate.has_value());
    EXPECT_EQ((*exif)->pixelWidth, 0);
    EXPECT_EQ((*exif)->fileSize, 42u);
    EXPECT_EQ((*exif)->contentMd5, record->fileMd5);
    EXPECT_TRUE(scanIndex().isCached(record->filePath));
}

TEST_F(CacheDatabaseTest, FailedBatchLeavesNothingBehind)
{
    ASSERT_TRUE(execSql(m_db, QStringLiteral("DROP TABLE hashTable64")));
    EXPECT_FALSE(SqliteDBOperations::saveBatch(
        m_db, { photo(QStringLiteral("/p/x.jpg"), 1, 1.0, 64, 1) }, scanIndex()));
    EXPECT_EQ(countRows(m_db, QStringLiteral("SELECT count(*) FROM ExfInfo")), 0);
}

TEST_F(CacheDatabaseTest, FetchReadsOnlyThePathsOfThisScan)
{
    writeBatch({ photo(QStringLiteral("/p/1.jpg"), 1, 1.0, 64, 1),
                   photo(QStringLiteral("/p/2.jpg"), 1, 1.0, 64, 2) },
        true);
    loadForScan(m_db, { photo(QStringLiteral("/p/2.jpg"), 1, 1.0, 64, 2) });
    EXPECT_FALSE(scanIndex().dictExif.contains(QStringLiteral("/p/1.jpg")));
    EXPECT_TRUE(scanIndex().dictExif.contains(QStringLiteral("/p/2.jpg")));
}

// The rows are handed from the reading thread to the one that fills the tables in chunks: every row
// of a fetch of many chunks and a partial last one comes back with its own values.
TEST_F(CacheDatabaseTest, EveryRowOfALargeFetchComesBackWithItsValues)
{
    Records records;
    for (int i = 0; i < 1000; ++i)
        records.append(i % 7 == 0 ? video(QStringLiteral("/v/%1.mov").arg(i), 10 + i, 1.0, kMd5)
                                  : photo(QStringLiteral("/p/%1.jpg").arg(i), 10 + i, 1.0, 64, i));
    writeBatch(records, true);
    loadForScan(m_db, records);
    ASSERT_EQ(scanIndex().dictExif.size(), 1000);
    for (const auto &record : records) {
        EXPECT_EQ((*scanIndex().dictExif.value(record->filePath))->fileSize, record->fileSize);
        EXPECT_EQ(cachedBlock(record->filePath),
            record->isVideo ? kMd5.toUtf8() : fingerprintBlock(64, int(record->fileSize - 10)));
    }
}

TEST_F(CacheDatabaseTest, TemplateCopyOnlyWhenMissing)
{
    const QString folder = m_folder.path();
    EXPECT_TRUE(SqliteDBOperations::copyDataBaseIfRequieredAtDestination(
        folder, QStringLiteral(":/db/none.db"), QStringLiteral("quennary.db")));
    EXPECT_FALSE(SqliteDBOperations::copyDataBaseIfRequieredAtDestination(
        folder, QStringLiteral(":/db/none.db"), QStringLiteral("other.db")));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/other.db")));

    // A cache deleted without its journal: the leftover must not meet the fresh copy.
    QFile::remove(m_db);
    QFile leftover(m_db + QStringLiteral("-journal"));
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.write(QByteArray(512, 'j'));
    leftover.close();
    EXPECT_TRUE(SqliteDBOperations::copyDataBaseIfRequieredAtDestination(
        folder, SqliteDBOperations::templatePathForScanType(ScanSource::thisComputer), QStringLiteral("quennary.db")));
    EXPECT_FALSE(QFileInfo::exists(m_db + QStringLiteral("-journal")));
    for (ScanSource type : { ScanSource::thisComputer, ScanSource::googleDrive, ScanSource::dropbox }) {
        const QString name = SqliteDBOperations::cacheFileNameForScanType(type);
        EXPECT_TRUE(SqliteDBOperations::copyDataBaseIfRequieredAtDestination(
            folder, SqliteDBOperations::templatePathForScanType(type), name));
        EXPECT_TRUE(SqliteDBOperations::createTablesIfNotExists(folder + QLatin1Char('/') + name)) << int(type);
    }
}

} // namespace
