#include "model/CacheReader.h"

#include <climits>

#include <sqlite3.h>

#include "model/CacheFormat.h"
#include "model/ExifInfo.h"
#include "model/SqliteConnection.h"
#include "model/SqliteStatement.h"

namespace
{

// Column positions of a fetched row.
enum Column {
    kId = 0,
    kPath = 1,
    kCaptureTime = 2,
    kFileSize = 3,
    kLatitude = 4,
    kLongitude = 5,
    kPixelWidth = 6,
    kPixelHeight = 7,
    kDpiWidth = 8,
    kDpiHeight = 9,
    kOrientation = 10,
    kModTime = 11,
    kFingerprintCheck = 13,
    kFingerprint = 14,
    kMd5Check = 15,
    kMd5 = 16,
    kChangeTime = 17,
};

QByteArray fetchSql(int n)
{
    const std::optional<QByteArray> table = CacheFormat::fingerprintTable(n);
    const QByteArray fingerprint = table ? "h.checkValue, h.hash" : "NULL, NULL";
    QByteArray sql = "SELECT e.id, e.filePath, e.captureTime, e.fileSize, e.latitude, e.longitude, "
                     "e.pixelWidth, e.pixelHeight, e.dpiWidth, e.dpiHeight, e.orientation, e.modTime, NULL, "
        + fingerprint
        + ", m.checkValue, m.md5, e.changeTime "
          "FROM tempTable t JOIN ExfInfo e ON e.filePath = t.filePath "
          "LEFT JOIN md5Table m ON m.exifId = e.id ";
    if (table)
        sql += "LEFT JOIN " + *table + " h ON h.exifId = e.id";
    return sql;
}

// The stored check value still describes this block beside this row's path, size and time.
bool matchesRow(const SqliteStatement &row, int checkColumn, QByteArrayView block)
{
    return !row.isNull(checkColumn)
        && row.columnInt64(checkColumn)
        == CacheFormat::checkValue(
            row.columnUtf8(kPath), quint64(row.columnInt64(kFileSize)), row.columnDouble(kModTime), block);
}

FingerprintVariants variantsOf(QByteArrayView block, int n, bool turnsCompared)
{
    FingerprintVariants variants;
    variants.appendStoredForm(block, n, turnsCompared ? INT_MAX : 1);
    return variants;
}

} // namespace

std::optional<CacheFetchResult> CacheReader::fetch(SqliteConnection &connection, int n, bool turnsCompared)
{
    SqliteStatement query(connection, fetchSql(n).constData());
    SqliteStatement count(connection, "SELECT count(*) FROM tempTable");
    if (!query.isValid() || !count.isValid() || count.step() != SQLITE_ROW)
        return std::nullopt;
    // Sized once: a scan of 100,000 paths would otherwise rehash every key many times over.
    CacheFetchResult result;
    result.exif.reserve(count.columnInt64(0));
    result.hashes.reserve(count.columnInt64(0));
    result.fingerprints.reserve(count.columnInt64(0));
    int step = SQLITE_ROW;
    while ((step = query.step()) == SQLITE_ROW) {
        const QString path = query.columnText(kPath);
        std::shared_ptr<ExifInfo> exif = exifFromRow(query);
        // Read in place: the block goes straight into its variants.
        const QByteArrayView fingerprint = query.columnBlobView(kFingerprint);
        const QByteArray md5 = query.columnBlob(kMd5);
        const bool md5IsValid = CacheFormat::isValidMd5(md5) && matchesRow(query, kMd5Check, md5);
        if (md5IsValid)
            exif->contentMd5 = QString::fromLatin1(md5);
        if (CacheFormat::isValidFingerprint(fingerprint, n)
            && matchesRow(query, kFingerprintCheck, fingerprint))
            result.fingerprints.emplace(path, variantsOf(fingerprint, n, turnsCompared));
        else if (md5IsValid)
            result.hashes.insert(path, md5);
        result.exif.emplace(path, std::move(exif));
    }
    if (step != SQLITE_DONE)
        return std::nullopt;
    return result;
}

std::shared_ptr<ExifInfo> CacheReader::exifFromRow(const SqliteStatement &row)
{
    auto exif = std::make_shared<ExifInfo>();
    exif->exifInfoId = row.columnInt64(kId);
    const qint64 size = row.columnInt64(kFileSize);
    exif->fileSize = size > 0 ? quint64(size) : 0;
    exif->gpsLatitude = row.columnDouble(kLatitude);
    exif->gpsLongitude = row.columnDouble(kLongitude);
    exif->pixelWidth = qint64(row.columnDouble(kPixelWidth));
    exif->pixelHeight = qint64(row.columnDouble(kPixelHeight));
    exif->dpiWidth = row.columnDouble(kDpiWidth);
    exif->dpiHeight = row.columnDouble(kDpiHeight);
    exif->orientation = row.columnInt64(kOrientation);
    exif->moDateTime = row.columnDouble(kModTime);
    exif->changeTime = row.isNull(kChangeTime) ? -1.0 : row.columnDouble(kChangeTime);
    const double captureTime = row.columnDouble(kCaptureTime);
    if (captureTime != 0.0)
        exif->captureDate = CacheFormat::dateFromSecondsSince1970(captureTime);
    return exif;
}
