// The cache database of a scan source: EXIF rows, fingerprints and MD5 digests of scanned files, so
// that a later scan of an unchanged file skips the image work. One SQLite file per source in the
// support folder, each made only as a copy of its compiled-in template.
//
// Every operation opens its own connection, works inside one transaction with prepared statements
// and bound values, and closes the connection again; nothing is kept between calls. Failures never
// reach the caller: a cache that cannot be used means the scan goes on without it (see CacheFile).
// The table-name arguments are kept for the callers' sake; each operation knows its own tables.
#pragma once

#include <atomic>
#include <memory>

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "app/GlobalObjects.h"

class ExifInfo;
class ImageFileInfo;
struct ScanCacheIndex;

class SqliteDBOperations
{
public:
    using Records = QList<std::shared_ptr<ImageFileInfo>>;

    // The support folder, created when missing.
    static QString getCachePath();
    // Full path of a cache file in the support folder.
    static QString getDbPathInLibrary(const QString &fileName);
    // Cache file and template of a scan source: Google Drive "Raza.db", Dropbox "Qnydb.db", this
    // computer "quennary.db".
    static QString cacheFileNameForScanType(ScanSource scanType);
    static QString templatePathForScanType(ScanSource scanType);

    // Copies the template to folder/dbName unless a file is there. False when there is no file
    // afterwards (the copy failed; logged).
    static bool copyDataBaseIfRequieredAtDestination(
        const QString &folder, const QString &templatePath, const QString &dbName);
    // Adds the tables a cache lacks. False when the cache cannot be opened or changed.
    // Every operation's statements end as soon as `stop` (or the index's stop) is set.
    static bool createTablesIfNotExists(const QString &dbPath, const std::atomic<bool> *stop = nullptr);
    // Once at the start of a scan: a cache the program cannot use (not a file, damaged pages) is
    // replaced by a fresh one; false when it was.
    static bool checkCacheForScan(const QString &dbPath, const std::atomic<bool> *stop = nullptr);

    // Empties the path table of the current scan.
    static void deleteRecordsFromTable(
        const QString &tableName, const QString &dbPath, const std::atomic<bool> *stop = nullptr);
    // One path-table row per record.
    static void insertDataInTempTable(const QString &tableName, const QString &dbPath, const Records &records,
        const std::atomic<bool> *stop = nullptr);
    static void insertPathsInTempTable(
        const QString &dbPath, const QStringList &paths, const std::atomic<bool> *stop = nullptr);

    // The cached EXIF record of every path in the path table (with its row id in `exifInfoId`);
    // the valid cached fingerprints of the index's side go into its dictFingerprint and the MD5
    // digests (videos, photos without such a fingerprint) into its dictHash. Empty when nothing can
    // be read.
    static QHash<QString, std::shared_ptr<ExifInfo>> fetchExifInfoFromDbPath(
        const QString &dbPath, bool fetchfromMd5Table, ScanCacheIndex &index);

    // EXIF rows of a batch: one per path; a changed file's old rows (EXIF, fingerprints of every
    // side, MD5) are replaced, and its path leaves the index's dictExif.
    static void insertDataInExifInfoTable(
        const QString &tableName, const QString &dbPath, const Records &records, ScanCacheIndex &index);
    // Fingerprint rows (photos) and MD5 rows (videos) of a batch, at the index's side, for the
    // records whose result did not come unchanged from the cache; sets each record's `exifIDFrmDB`.
    static void insertDataInTable(const QString &tableName, const QString &dbPath, const Records &records,
        bool insertMD5, const ScanCacheIndex &index);
    // Both of the above in one transaction, so a batch is written whole or not at all; the paths
    // whose old rows were replaced go into `replacedPaths` too.
    static bool saveBatch(const QString &dbPath, const Records &records, ScanCacheIndex &index,
        QStringList *replacedPaths = nullptr);
    // A batch whose records all came unchanged from the cache: writing it would change nothing.
    static bool batchChangesNothing(const Records &records, const ScanCacheIndex &index);
};
