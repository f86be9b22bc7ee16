#include "model/CacheFile.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "model/CacheFormat.h"
#include "model/SqliteConnection.h"
#include "model/SqliteStatement.h"
#include "platform/AppFolders.h"
#include "platform/Log.h"
#include "platform/PrivateFiles.h"

namespace
{

// Journals travel with their database: a hot journal left beside a fresh copy would be played
// back into it.
const char *const kCompanions[] = { "", "-journal", "-wal", "-shm" };

QString moveAside(const QString &dbPath)
{
    const QString aside = dbPath + QStringLiteral(".unusable");
    for (const char *suffix : kCompanions) {
        const QString from = dbPath + QLatin1String(suffix);
        const QString to = aside + QLatin1String(suffix);
        // Whatever stands in the way goes, a folder included: the name is the cache's own. Not what
        // a mount inside shows, though.
        AppFolders::removeEntry(to);
        if ((QFileInfo::exists(from) || QFileInfo(from).isSymLink()) && !QDir().rename(from, to))
            QFile::remove(from);
    }
    return aside;
}

} // namespace

bool CacheFile::open(SqliteConnection &connection, const QString &dbPath, const std::atomic<bool> *stop)
{
    const QFileInfo info(dbPath);
    if (!info.exists())
        return false;
    // A cache in a folder of ours that another user may change is neither read nor written there.
    if (!AppFolders::ensureFolder(info.absolutePath()))
        return false;
    // A folder, fifo or device where the cache should be would stop every scan from using one.
    if (!info.isFile()) {
        replace(dbPath, QStringLiteral("not a regular file"));
        return false;
    }
    if (!connection.open(dbPath, SqliteConnection::Mode::ReadWrite)) {
        if (isUnusableResult(connection.lastResult()))
            replace(dbPath, connection.errorMessage());
        return false;
    }
    connection.restrictForeignFile(stop, SqliteConnection::kDefaultStepBudgetMs);
    int version = 0;
    QString problem = checkIdentity(connection, &version);
    if (problem.isEmpty())
        problem = checkSchema(connection);
    if (problem.isEmpty() && version == kOldThumbnailVersion)
        problem = dropOldFingerprints(connection, dbPath);
    if (problem.isEmpty()) {
        // The cache is an optimisation that is rebuilt when lost, so commits are not flushed to the
        // disk (a scan's batches would wait on it hundreds of times). An application crash loses
        // nothing; after a system crash a damaged file is found and replaced, and every cached
        // block is checked against its row on fetch (CacheFormat::checkValue). The journal is kept
        // between commits instead of being made and deleted for each batch.
        connection.exec("PRAGMA synchronous = OFF; PRAGMA journal_mode = PERSIST; "
                        "PRAGMA journal_size_limit = 4194304");
        addMissingColumns(connection);
        return true;
    }
    const bool stopped = connection.interruptedByStop();
    connection.close();
    if (!stopped)
        replace(dbPath, problem);
    return false;
}

QString CacheFile::checkIdentity(SqliteConnection &connection, int *version)
{
    SqliteStatement identity(connection,
        "SELECT application_id, user_version "
        "FROM pragma_application_id, pragma_user_version");
    const int result = identity.isValid() ? identity.step() : connection.lastResult();
    if (result != SQLITE_ROW)
        return connection.errorMessage();
    if (identity.columnInt(0) != kApplicationId)
        return QStringLiteral("not a Quennary cache");
    *version = identity.columnInt(1);
    if (*version != kSchemaVersion && *version != kOldThumbnailVersion)
        return QStringLiteral("cache of another version");
    return QString();
}

// Only our tables and the indexes SQLite makes for their keys. A view or a virtual table may stand
// where a table should be and never end, a trigger runs with every write, an index of someone
// else's is kept up to date with every write; none has a place in a cache.
QString CacheFile::checkSchema(SqliteConnection &connection)
{
    SqliteStatement objects(connection, "SELECT type, name, tbl_name, sql FROM sqlite_schema");
    if (!objects.isValid())
        return connection.errorMessage();
    int result = SQLITE_ROW;
    while ((result = objects.step()) == SQLITE_ROW) {
        const QString type = objects.columnText(0);
        const QString name = objects.columnText(1);
        const bool ownTable = type == QLatin1String("table") && isOwnTable(name)
            && !objects.columnText(3).startsWith(QLatin1String("CREATE VIRTUAL"), Qt::CaseInsensitive);
        const bool keyIndex = type == QLatin1String("index") && objects.isNull(3)
            && name.startsWith(QLatin1String("sqlite_autoindex_")) && isOwnTable(objects.columnText(2));
        if (!ownTable && !keyIndex)
            return QStringLiteral("holds %1 %2, which is not part of a cache").arg(type, name);
    }
    return result == SQLITE_DONE ? QString() : connection.errorMessage();
}

bool CacheFile::isOwnTable(const QString &name)
{
    if (name == QLatin1String("ExfInfo") || name == QLatin1String("tempTable"))
        return true;
    for (int i = 0; i < CacheFormat::kDependentTableCount; ++i) {
        if (name == QLatin1String(CacheFormat::kDependentTables[i]))
            return true;
    }
    return false;
}

QString CacheFile::dropOldFingerprints(SqliteConnection &connection, const QString &dbPath)
{
    QByteArray sql("BEGIN IMMEDIATE;");
    for (int n = 0; n <= 256; ++n) {
        if (const auto table = CacheFormat::fingerprintTable(n))
            sql += "DELETE FROM " + *table + ";";
    }
    sql += "PRAGMA user_version = " + QByteArray::number(kSchemaVersion) + "; COMMIT;";
    if (!connection.exec(sql.constData())) {
        const QString problem = connection.errorMessage();
        connection.exec("ROLLBACK");
        return problem;
    }
    Log::line(QStringLiteral("Cache %1 held fingerprints made by an earlier thumbnail method; "
                             "they are made again in this scan")
                  .arg(dbPath));
    return QString();
}

// A cache made before ExfInfo had its change time gets the column, NULL in every old row: such a
// row never counts as unchanged, so each file is read once more and its row rewritten.
void CacheFile::addMissingColumns(SqliteConnection &connection)
{
    bool missing = false;
    {
        SqliteStatement columns(connection,
            "SELECT count(*), count(*) FILTER (WHERE name = 'changeTime') FROM pragma_table_info('ExfInfo')");
        missing = columns.isValid() && columns.step() == SQLITE_ROW && columns.columnInt(0) > 0
            && columns.columnInt(1) == 0;
    }
    if (missing && !connection.exec("ALTER TABLE ExfInfo ADD COLUMN changeTime REAL"))
        Log::line(QStringLiteral("Cache could not be brought up to date: ") + connection.errorMessage());
}

bool CacheFile::checkPages(SqliteConnection &connection, const QString &dbPath)
{
    QString problem;
    {
        SqliteStatement check(connection, "PRAGMA quick_check(1)");
        const int result = check.isValid() ? check.step() : connection.lastResult();
        if (result != SQLITE_ROW)
            problem = connection.errorMessage();
        else if (check.columnText(0) != QLatin1String("ok"))
            problem = check.columnText(0);
    }
    if (problem.isEmpty())
        return true;
    const bool stopped = connection.interruptedByStop();
    connection.close();
    if (!stopped)
        replace(dbPath, QStringLiteral("damaged: ") + problem);
    return false;
}

void CacheFile::operationFailed(SqliteConnection &connection, const QString &dbPath)
{
    const int result = connection.lastResult();
    const QString message = connection.errorMessage();
    // A statement that ran past its budget would do so in every scan.
    const bool overBudget = connection.interruptedByBudget();
    connection.close();
    if (isUnusableResult(result) || overBudget)
        replace(dbPath, overBudget ? QStringLiteral("a statement ran too long") : message);
}

bool CacheFile::isUnusableResult(int result)
{
    switch (result & 0xff) {
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_IOERR:
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_READONLY:
        return true;
    default:
        return false;
    }
}

bool CacheFile::endsOperation(int result)
{
    switch (result & 0xff) {
    case SQLITE_CONSTRAINT:
    case SQLITE_TOOBIG:
    case SQLITE_MISMATCH:
    case SQLITE_RANGE:
        return false;
    default:
        return true;
    }
}

void CacheFile::replace(const QString &dbPath, const QString &reason)
{
    const QString aside = moveAside(dbPath);
    QString error;
    const QString templatePath = templatePathForFileName(QFileInfo(dbPath).fileName());
    const bool fresh = !QFileInfo::exists(dbPath) && copyTemplate(templatePath, dbPath, &error);
    Log::line(fresh
            ? QStringLiteral("Cache %1 could not be used (%2); moved it to %3 and made a new one; "
                             "this scan goes on without it")
                  .arg(dbPath, reason, aside)
            : QStringLiteral("Cache %1 could not be used (%2) and could not be replaced (%3); "
                             "this scan goes on without it")
                  .arg(dbPath, reason, error.isEmpty() ? QStringLiteral("file is in the way") : error));
}

QString CacheFile::templatePathForFileName(const QString &fileName)
{
    const QString own = AppFolders::resourcePath(QStringLiteral("db/") + fileName);
    if (!fileName.isEmpty() && QFileInfo::exists(own))
        return own;
    return AppFolders::resourcePath(QStringLiteral("db/quennary.db"));
}

std::optional<qint64> CacheFile::remove(const QString &dbPath)
{
    qint64 removed = 0;
    bool left = false;
    for (const char *suffix : kCompanions) {
        QFile file(dbPath + QLatin1String(suffix));
        // A link is removed as itself; its size is not the cache's.
        const QFileInfo info(file.fileName());
        if (!info.exists() && !info.isSymLink())
            continue;
        const qint64 size = info.isSymLink() ? 0 : info.size();
        if (file.remove())
            removed += size;
        else
            left = true;
    }
    if (left)
        return std::nullopt;
    return removed;
}

bool CacheFile::copyTemplate(const QString &templatePath, const QString &dbPath, QString *error)
{
    QFile source(templatePath);
    if (templatePath.isEmpty() || !source.exists()) {
        if (error)
            *error = QStringLiteral("no template at \"%1\"").arg(templatePath);
        return false;
    }
    // A journal left behind by a file that was deleted would be played back into the new copy.
    for (const char *suffix : kCompanions) {
        if (*suffix)
            QFile::remove(dbPath + QLatin1String(suffix));
    }
    // QFile::copy writes a temporary file and renames it, so no half copy is ever left behind.
    if (!source.copy(dbPath)) {
        if (error)
            *error = source.errorString();
        return false;
    }
    // Copies of compiled-in resources come out read-only. The cache holds every scanned path with
    // its capture time and position, so only the user may read it (SQLite gives its journal the
    // same permissions).
    QFile::setPermissions(dbPath, PrivateFiles::kFilePermissions);
    return true;
}
