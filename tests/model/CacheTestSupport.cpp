#include "CacheTestSupport.h"

#include <vector>

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <QTimeZone>

#include "model/CacheFormat.h"
#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "model/ScanCacheIndex.h"
#include "model/SqliteConnection.h"
#include "model/SqliteDBOperations.h"
#include "model/SqliteStatement.h"
#include "platform/AppFolders.h"

namespace CacheTestSupport
{

QByteArray fingerprintBlock(int n, int seed)
{
    QByteArray block(CacheFormat::fingerprintBytes(n), '\0');
    for (qsizetype i = 0; i < block.size(); ++i)
        block[i] = char((i * 31 + seed * 17 + (i >> 5)) & 0xff);
    return block;
}

std::shared_ptr<ImageFileInfo> photo(const QString &path, quint64 size, double modSeconds, int n, int seed)
{
    auto record = std::make_shared<ImageFileInfo>();
    record->filePath = path;
    record->fileSize = size;
    record->modDate = CacheFormat::dateFromSecondsSince1970(modSeconds);
    record->resizeValue = n;
    auto exif = std::make_shared<ExifInfo>();
    exif->captureDate = QDateTime(QDate(2021, 7, 4), QTime(18, 30, 5), QTimeZone::utc());
    exif->gpsLatitude = -33.5 - seed;
    exif->gpsLongitude = 151.25;
    exif->pixelWidth = 4000 + seed;
    exif->pixelHeight = 3000;
    exif->dpiWidth = 72.5;
    exif->dpiHeight = 300;
    exif->orientation = 6;
    record->exifInfo = exif;
    const QByteArray block = fingerprintBlock(n, seed);
    const auto *bytes = reinterpret_cast<const uint8_t *>(block.constData());
    const size_t piece = size_t(block.size() / 8);
    for (size_t i = 0; i < 8; ++i)
        record->arrHashOfRotateFlipImages.append(std::span<const uint8_t>(bytes + i * piece, piece));
    return record;
}

std::shared_ptr<ImageFileInfo> video(const QString &path, quint64 size, double modSeconds, const QString &md5)
{
    auto record = std::make_shared<ImageFileInfo>();
    record->filePath = path;
    record->fileSize = size;
    record->modDate = CacheFormat::dateFromSecondsSince1970(modSeconds);
    record->isVideo = true;
    record->fileMd5 = md5;
    return record;
}

QString freshCache(const QString &folder, const QString &fileName)
{
    SqliteDBOperations::copyDataBaseIfRequieredAtDestination(
        folder, SqliteDBOperations::templatePathForScanType(ScanSource::thisComputer), fileName);
    return folder + QLatin1Char('/') + fileName;
}

ScanCacheIndex &scanIndex()
{
    static ScanCacheIndex index;
    return index;
}

std::optional<QByteArray> cachedBlock(const QString &path)
{
    if (const std::optional<FingerprintVariants> variants = scanIndex().dictFingerprint.value(path))
        return variants->storedForm();
    return scanIndex().dictHash.value(path);
}

qsizetype cachedCount()
{
    return scanIndex().dictFingerprint.size() + scanIndex().dictHash.size();
}

void loadForScan(const QString &dbPath, const QList<std::shared_ptr<ImageFileInfo>> &records)
{
    SqliteDBOperations::checkCacheForScan(dbPath);
    SqliteDBOperations::createTablesIfNotExists(dbPath);
    SqliteDBOperations::deleteRecordsFromTable(QStringLiteral("tempTable"), dbPath);
    SqliteDBOperations::insertDataInTempTable(QStringLiteral("tempTable"), dbPath, records);
    ScanCacheIndex &index = scanIndex();
    index.clear();
    index.dictExif.addEntries(SqliteDBOperations::fetchExifInfoFromDbPath(dbPath, false, index));
}

qint64 countRows(const QString &dbPath, const QString &sqlCount)
{
    SqliteConnection connection;
    if (!connection.open(dbPath, SqliteConnection::Mode::ReadOnly))
        return -1;
    const QByteArray sql = sqlCount.toUtf8();
    SqliteStatement count(connection, sql.constData());
    return count.isValid() && count.step() == SQLITE_ROW ? count.columnInt64(0) : -1;
}

bool execSql(const QString &dbPath, const QString &sql)
{
    SqliteConnection connection;
    return connection.open(dbPath, SqliteConnection::Mode::ReadWrite)
        && connection.exec(sql.toUtf8().constData());
}

int logLinesContaining(const QString &text)
{
    QFile log(AppFolders::logFilePath());
    if (!log.open(QIODevice::ReadOnly))
        return 0;
    int count = 0;
    for (const QByteArray &line : log.readAll().split('\n')) {
        if (QString::fromUtf8(line).contains(text))
            ++count;
    }
    return count;
}

void CacheFixture::SetUp()
{
    scanIndex().clear();
    scanIndex().reSizeValue = 64;
    ASSERT_TRUE(m_folder.isValid());
    m_db = freshCache(m_folder.path());
}

void CacheFixture::TearDown()
{
    scanIndex().clear();
}

} // namespace CacheTestSupport
