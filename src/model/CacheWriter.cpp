#include "model/CacheWriter.h"

#include <memory>
#include <optional>
#include <vector>

#include <sqlite3.h>

#include "model/CacheFile.h"
#include "model/CacheFormat.h"
#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "model/SqliteConnection.h"
#include "model/SqliteStatement.h"
#include "platform/Log.h"

namespace
{

const char *const kTempOperation = "+[SqliteDBOperations insertDataInTempTable:atDbPath:withValues:]";
const char *const kExifOperation = "+[SqliteDBOperations insertDataInExifInfoTable:atDbPath:withValues:]";
const char *const kDigestOperation = "+[SqliteDBOperations insertDataInTable:atDbPath:withValues:insertMD5:]";

const char *const kFindRow = "SELECT id, fileSize, modTime FROM ExfInfo WHERE filePath = ?1";
const char *const kInsertRow
    = "INSERT INTO ExfInfo (filePath, captureTime, fileSize, latitude, longitude, pixelWidth, "
      "pixelHeight, dpiWidth, dpiHeight, orientation, modTime, changeTime) "
      "VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12)";

struct StoredRow {
    qint64 id = 0;
    quint64 fileSize = 0;
    double modTime = 0;
};

// The row of a path; nothing when there is none; `result` tells a failed lookup from a missing row.
std::optional<StoredRow> findRow(SqliteStatement &find, const QString &path, int &result)
{
    find.bindText(1, path);
    result = find.step();
    std::optional<StoredRow> row;
    if (result == SQLITE_ROW) {
        row = StoredRow { find.columnInt64(0), quint64(find.columnInt64(1)), find.columnDouble(2) };
        result = SQLITE_DONE;
    }
    find.reset();
    return row;
}

// Removes an EXIF row and every row keyed by it, with statements prepared once per batch.
class RowRemover
{
public:
    explicit RowRemover(SqliteConnection &connection)
    {
        for (int i = 0; i < CacheFormat::kDependentTableCount; ++i) {
            const QByteArray sql
                = QByteArray("DELETE FROM ") + CacheFormat::kDependentTables[i] + " WHERE exifId = ?1";
            m_statements.push_back(std::make_unique<SqliteStatement>(connection, sql.constData()));
        }
        m_statements.push_back(
            std::make_unique<SqliteStatement>(connection, "DELETE FROM ExfInfo WHERE id = ?1"));
    }

    bool isValid() const
    {
        for (const auto &statement : m_statements) {
            if (!statement->isValid())
                return false;
        }
        return true;
    }

    bool remove(qint64 exifId)
    {
        for (const auto &statement : m_statements) {
            statement->bindInt64(1, exifId);
            const int result = statement->step();
            statement->reset();
            if (result != SQLITE_DONE)
                return false;
        }
        return true;
    }

private:
    std::vector<std::unique_ptr<SqliteStatement>> m_statements;
};

// A record without EXIF data is stored with zeros in every EXIF value.
void bindExifValues(SqliteStatement &insert, const ImageFileInfo &record)
{
    const ExifInfo empty;
    const ExifInfo &exif = record.exifInfo ? *record.exifInfo : empty;
    insert.bindText(1, record.filePath);
    insert.bindDouble(2, exif.captureDate ? CacheFormat::secondsSince1970(*exif.captureDate) : 0.0);
    insert.bindInt64(3, qint64(record.fileSize));
    insert.bindDouble(4, exif.gpsLatitude);
    insert.bindDouble(5, exif.gpsLongitude);
    insert.bindDouble(6, double(exif.pixelWidth));
    insert.bindDouble(7, double(exif.pixelHeight));
    insert.bindDouble(8, exif.dpiWidth);
    insert.bindDouble(9, exif.dpiHeight);
    insert.bindInt64(10, exif.orientation);
    insert.bindDouble(11, CacheFormat::secondsSince1970(record.modDate));
    if (record.changeDate.isValid())
        insert.bindDouble(12, CacheFormat::secondsSince1970(record.changeDate));
    else
        insert.bindNull(12);
}

bool isUnchanged(const StoredRow &row, const ImageFileInfo &record)
{
    return !record.isHashUpdateReq && row.fileSize == record.fileSize
        && row.modTime == CacheFormat::secondsSince1970(record.modDate);
}

// The MD5 of a photo a scan summed, when the cache does not hold it yet; an exact scan matches
// photos by it alone.
QByteArray photoMd5ToStore(const ImageFileInfo &record)
{
    if (record.isVideo || (record.exifInfo && record.exifInfo->contentMd5 == record.fileMd5))
        return QByteArray();
    const QByteArray md5 = record.fileMd5.toUtf8();
    return CacheFormat::isValidMd5(md5) ? md5 : QByteArray();
}

// The block a record stores, or an empty one when it has nothing valid for this side.
QByteArray digestOf(const ImageFileInfo &record, int side)
{
    if (!record.isVideo) {
        if (record.arrHashOfRotateFlipImages.fullCount() != 8)
            return QByteArray();
        const QByteArray block = record.arrHashOfRotateFlipImages.storedForm();
        return CacheFormat::isValidFingerprint(block, side) ? block : QByteArray();
    }
    const QByteArray md5 = record.fileMd5.toUtf8();
    return CacheFormat::isValidMd5(md5) ? md5 : QByteArray();
}

} // namespace

CacheWriter::CacheWriter(SqliteConnection &connection, int n)
    : m_connection(connection)
    , m_side(n)
{
}

bool CacheWriter::qualifies(const ImageFileInfo &record)
{
    return (record.exifInfo && !record.arrHashOfRotateFlipImages.isEmpty()) || !record.fileMd5.isEmpty();
}

bool CacheWriter::changesNothing(const Records &records, const CachedTest &isCached)
{
    for (const auto &record : records) {
        if (!record || !qualifies(*record))
            continue;
        if (record->isHashUpdateReq || !isCached(record->filePath) || !photoMd5ToStore(*record).isEmpty())
            return false;
    }
    return true;
}

bool CacheWriter::writeScanPaths(const QStringList &paths)
{
    SqliteStatement insert(m_connection, "INSERT OR IGNORE INTO tempTable (filePath) VALUES (?1)");
    if (!insert.isValid())
        return false;
    for (const QString &path : paths) {
        insert.bindText(1, path);
        const int result = insert.step();
        insert.reset();
        if (result != SQLITE_DONE && !rowFailed(result, kTempOperation, path))
            return false;
    }
    return true;
}

bool CacheWriter::writeExifRows(const Records &records, QStringList *replacedPaths)
{
    SqliteStatement find(m_connection, kFindRow);
    SqliteStatement insert(m_connection, kInsertRow);
    RowRemover remover(m_connection);
    if (!find.isValid() || !insert.isValid() || !remover.isValid())
        return false;
    for (const auto &record : records) {
        if (!record)
            continue;
        if (!qualifies(*record)) {
            record->exifIDFrmDB = -1;
            continue;
        }
        int result = SQLITE_DONE;
        const std::optional<StoredRow> row = findRow(find, record->filePath, result);
        if (result != SQLITE_DONE)
            return false;
        if (row && isUnchanged(*row, *record)) {
            record->exifIDFrmDB = std::int32_t(row->id);
            continue;
        }
        if (row) {
            if (!remover.remove(row->id))
                return false;
            if (replacedPaths)
                replacedPaths->append(record->filePath);
        }
        bindExifValues(insert, *record);
        result = insert.step();
        insert.reset();
        if (result != SQLITE_DONE) {
            record->exifIDFrmDB = -1;
            if (!rowFailed(result, kExifOperation, record->filePath))
                return false;
            continue;
        }
        record->exifIDFrmDB = std::int32_t(sqlite3_last_insert_rowid(m_connection.handle()));
    }
    return true;
}

bool CacheWriter::writeDigestRows(const Records &records, const CachedTest &isCached, RowIds ids)
{
    // A side without a table (no scan set it) still lets the videos' digests through.
    std::unique_ptr<SqliteStatement> fingerprintInsert;
    if (const std::optional<QByteArray> table = CacheFormat::fingerprintTable(m_side)) {
        const QByteArray sql
            = "INSERT OR REPLACE INTO " + *table + " (exifId, hash, checkValue) VALUES (?1, ?2, ?3)";
        fingerprintInsert = std::make_unique<SqliteStatement>(m_connection, sql.constData());
        if (!fingerprintInsert->isValid())
            return false;
    }
    SqliteStatement find(m_connection, kFindRow);
    SqliteStatement md5Insert(
        m_connection, "INSERT OR REPLACE INTO md5Table (exifId, md5, checkValue) VALUES (?1, ?2, ?3)");
    if (!find.isValid() || !md5Insert.isValid())
        return false;
    for (const auto &record : records) {
        if (!record)
            continue;
        const bool cached = isCached && isCached(record->filePath) && !record->isHashUpdateReq;
        const bool fingerprintWanted = !cached && (record->isVideo || fingerprintInsert);
        const QByteArray digest = fingerprintWanted ? digestOf(*record, m_side) : QByteArray();
        // A photo's MD5 goes beside its fingerprint, also when only the MD5 is new.
        const QByteArray photoMd5 = photoMd5ToStore(*record);
        if (digest.isEmpty() && photoMd5.isEmpty())
            continue;
        int result = SQLITE_DONE;
        const qint64 exifId = rowIdOf(find, *record, ids, result);
        if (result != SQLITE_DONE)
            return false;
        if (exifId <= 0)
            continue;
        if (!digest.isEmpty()
            && !writeDigest(record->isVideo ? md5Insert : *fingerprintInsert, exifId, *record, digest))
            return false;
        if (!photoMd5.isEmpty() && !writeDigest(md5Insert, exifId, *record, photoMd5))
            return false;
    }
    return true;
}

bool CacheWriter::writeDigest(
    SqliteStatement &insert, qint64 exifId, const ImageFileInfo &record, const QByteArray &digest)
{
    insert.bindInt64(1, exifId);
    insert.bindBlob(2, digest);
    // Computed from the record, not from the stored row: a block written beside a row that still
    // describes older content never passes the fetch's check.
    insert.bindInt64(3,
        CacheFormat::checkValue(record.filePath.toUtf8(), record.fileSize,
            CacheFormat::secondsSince1970(record.modDate), digest));
    const int result = insert.step();
    insert.reset();
    return result == SQLITE_DONE || rowFailed(result, kDigestOperation, record.filePath);
}

// The EXIF row id a record's block is stored under; -1 when the path has no row.
qint64 CacheWriter::rowIdOf(SqliteStatement &find, ImageFileInfo &record, RowIds ids, int &result)
{
    result = SQLITE_DONE;
    if (ids == RowIds::FromExifPass)
        return record.exifIDFrmDB;
    const std::optional<StoredRow> row = findRow(find, record.filePath, result);
    record.exifIDFrmDB = row ? std::int32_t(row->id) : -1;
    return record.exifIDFrmDB;
}

// One row that could not be written is reported and passed over; a failure of the file itself
// ends the batch.
bool CacheWriter::rowFailed(int result, const char *operation, const QString &path)
{
    systemLogLine(
        QStringLiteral("%1: sqlite3_prepare error: %2 (%3) for filePath %4")
            .arg(QLatin1String(operation), m_connection.errorMessage(), QString::number(result), path));
    return !CacheFile::endsOperation(result);
}
