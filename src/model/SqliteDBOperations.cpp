#include "model/SqliteDBOperations.h"

#include <functional>
#include <optional>
#include <utility>

#include <QDir>

#include "model/CacheFile.h"
#include "model/CacheReader.h"
#include "model/CacheSchema.h"
#include "model/CacheWriter.h"
#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "model/ScanCacheIndex.h"
#include "model/SqliteConnection.h"
#include "model/SqliteTransaction.h"
#include "platform/AppFolders.h"
#include "platform/Log.h"
#include "platform/TextFormat.h"

namespace
{

enum class OpenFailure { Quiet, Logged };

// Runs `work` in one transaction on a connection of its own. On failure the transaction is rolled
// back and every statement finalized before the file is looked at (and perhaps replaced).
bool inTransaction(const QString &dbPath, SqliteTransaction::Kind kind, OpenFailure openFailure,
    const std::atomic<bool> *stop, const std::function<bool(SqliteConnection &)> &work)
{
    SqliteConnection connection;
    if (!CacheFile::open(connection, dbPath, stop)) {
        if (openFailure == OpenFailure::Logged)
            systemLogLine(QStringLiteral("Unable to open database"));
        return false;
    }
    bool done = false;
    {
        SqliteTransaction transaction(connection, kind);
        done = transaction.isActive() && work(connection) && transaction.commit();
    }
    if (!done)
        CacheFile::operationFailed(connection, dbPath);
    return done;
}

std::function<bool(const QString &)> isCachedThisScan(const ScanCacheIndex &index)
{
    return [&index](const QString &path) { return index.isCached(path); };
}

} // namespace

QString SqliteDBOperations::getCachePath()
{
    const QString folder = AppFolders::supportFolder();
    AppFolders::ensureFolder(folder);
    return folder;
}

QString SqliteDBOperations::getDbPathInLibrary(const QString &fileName)
{
    return QDir(getCachePath()).filePath(fileName);
}

QString SqliteDBOperations::cacheFileNameForScanType(ScanSource scanType)
{
    switch (scanType) {
    case ScanSource::thisComputer:
        return QStringLiteral("quennary.db");
    case ScanSource::googleDrive:
        return QStringLiteral("Raza.db");
    case ScanSource::dropbox:
        return QStringLiteral("Qnydb.db");
    }
    return QStringLiteral("quennary.db");
}

QString SqliteDBOperations::templatePathForScanType(ScanSource scanType)
{
    return CacheFile::templatePathForFileName(cacheFileNameForScanType(scanType));
}

bool SqliteDBOperations::copyDataBaseIfRequieredAtDestination(
    const QString &folder, const QString &templatePath, const QString &dbName)
{
    const QString destination = QDir(folder).filePath(dbName);
    // A link in the cache's place is set aside when the cache is opened.
    if (CacheFile::isPresent(destination))
        return true;
    if (!AppFolders::ensureFolder(folder))
        return false;
    QString error;
    if (CacheFile::copyTemplate(templatePath, destination, &error))
        return true;
    systemLogLine(
        formatText(QStringLiteral("There is Error in copying database at Path %@ Error %@"), folder, error));
    return false;
}

bool SqliteDBOperations::checkCacheForScan(const QString &dbPath, const std::atomic<bool> *stop)
{
    SqliteConnection connection;
    return CacheFile::open(connection, dbPath, stop) && CacheFile::checkPages(connection, dbPath);
}

bool SqliteDBOperations::createTablesIfNotExists(const QString &dbPath, const std::atomic<bool> *stop)
{
    const QByteArray schema = CacheSchema::text();
    return inTransaction(
        dbPath, SqliteTransaction::Kind::Write, OpenFailure::Logged, stop, [&](SqliteConnection &connection) {
            return !schema.isEmpty() && connection.exec(schema.constData());
        });
}

void SqliteDBOperations::deleteRecordsFromTable(
    const QString &, const QString &dbPath, const std::atomic<bool> *stop)
{
    inTransaction(dbPath, SqliteTransaction::Kind::Write, OpenFailure::Quiet, stop,
        [](SqliteConnection &connection) { return connection.exec("DELETE FROM tempTable"); });
}

void SqliteDBOperations::insertDataInTempTable(
    const QString &, const QString &dbPath, const Records &records, const std::atomic<bool> *stop)
{
    QStringList paths;
    paths.reserve(records.size());
    for (const auto &record : records) {
        if (record)
            paths.append(record->filePath);
    }
    insertPathsInTempTable(dbPath, paths, stop);
}

void SqliteDBOperations::insertPathsInTempTable(
    const QString &dbPath, const QStringList &paths, const std::atomic<bool> *stop)
{
    inTransaction(dbPath, SqliteTransaction::Kind::Write, OpenFailure::Quiet, stop,
        [&](SqliteConnection &connection) { return CacheWriter(connection, 0).writeScanPaths(paths); });
}

QHash<QString, std::shared_ptr<ExifInfo>> SqliteDBOperations::fetchExifInfoFromDbPath(
    const QString &dbPath, bool, ScanCacheIndex &index)
{
    std::optional<CacheFetchResult> result;
    inTransaction(dbPath, SqliteTransaction::Kind::Read, OpenFailure::Quiet, index.stop,
        [&](SqliteConnection &connection) {
            // The file is read, not mapped: every page the fetch touched would stay resident until
            // the connection closes, on top of the fingerprints made of it (a warm scan of 10,000
            // photos held both, 33 MB more at its peak), and the copy through read calls takes no
            // measurable processor time.
            result = CacheReader::fetch(connection, index.reSizeValue, index.turnsCompared);
            return result.has_value();
        });
    if (!result)
        return {};
    index.dictHash.addEntries(std::move(result->hashes));
    index.dictFingerprint.addEntries(std::move(result->fingerprints));
    return std::move(result->exif);
}

void SqliteDBOperations::insertDataInExifInfoTable(
    const QString &, const QString &dbPath, const Records &records, ScanCacheIndex &index)
{
    QStringList replaced;
    const bool done = inTransaction(dbPath, SqliteTransaction::Kind::Write, OpenFailure::Logged, index.stop,
        [&](SqliteConnection &connection) {
            CacheWriter writer(connection, index.reSizeValue);
            return writer.writeExifRows(records, &replaced);
        });
    if (!done)
        return;
    for (const QString &path : replaced)
        index.dictExif.remove(path);
}

void SqliteDBOperations::insertDataInTable(
    const QString &, const QString &dbPath, const Records &records, bool, const ScanCacheIndex &index)
{
    inTransaction(dbPath, SqliteTransaction::Kind::Write, OpenFailure::Logged, index.stop,
        [&](SqliteConnection &connection) {
            CacheWriter writer(connection, index.reSizeValue);
            return writer.writeDigestRows(records, isCachedThisScan(index));
        });
}

bool SqliteDBOperations::batchChangesNothing(const Records &records, const ScanCacheIndex &index)
{
    return CacheWriter::changesNothing(records, isCachedThisScan(index));
}

bool SqliteDBOperations::saveBatch(
    const QString &dbPath, const Records &records, ScanCacheIndex &index, QStringList *replacedPaths)
{
    QStringList replaced;
    const bool done = inTransaction(dbPath, SqliteTransaction::Kind::Write, OpenFailure::Logged, index.stop,
        [&](SqliteConnection &connection) {
            CacheWriter writer(connection, index.reSizeValue);
            return writer.writeExifRows(records, &replaced)
                && writer.writeDigestRows(
                    records, isCachedThisScan(index), CacheWriter::RowIds::FromExifPass);
        });
    if (!done)
        return false;
    for (const QString &path : replaced)
        index.dictExif.remove(path);
    if (replacedPaths)
        *replacedPaths = replaced;
    return true;
}
