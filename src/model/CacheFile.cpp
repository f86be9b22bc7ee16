#include "model/CacheFile.h"

#include <sqlite3.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "model/CacheFormat.h"
#include "model/CacheSchema.h"
#include "model/SqliteConnection.h"
#include "model/SqliteStatement.h"
#include "platform/AppFolders.h"
#include "platform/Log.h"
#include "platform/PrivateFiles.h"
#include "platform/SilentOwnFolders.h"

namespace
{

// Journals travel with their database: a hot journal left beside a fresh copy would be played
// back into it.
const char *const kCompanions[] = { "", "-journal", "-wal", "-shm" };

// Moves the file and its companions to "<file>.unusable"; what cannot be moved is deleted. What
// became of the file itself, as the log tells it.
QString moveAside(const QString &dbPath)
{
    const QString aside = dbPath + QStringLiteral(".unusable");
    QString done;
    for (const char *suffix : kCompanions) {
        const QString from = dbPath + QLatin1String(suffix);
        const QString to = aside + QLatin1String(suffix);
        // Whatever stands in the way goes, a folder included: the name is the cache's own. Not what
        // a mount inside shows, though.
        AppFolders::removeEntry(to);
        if (!CacheFile::isPresent(from))
            continue;
        const QString result = QDir().rename(from, to) ? QStringLiteral("moved it to ") + to
            : QFile::remove(from) ? QStringLiteral("could not move it aside and deleted it")
                                  : QStringLiteral("could neither move it aside nor delete it");
        if (done.isEmpty())
            done = result;
    }
    return done;
}

} // namespace

bool CacheFile::open(SqliteConnection &connection, const QString &dbPath, const std::atomic<bool> *stop)
{
    const QFileInfo info(dbPath);
    if (!isPresent(dbPath))
        return false;
    // A cache in a folder of ours that another user may change is neither read nor written there.
    if (!AppFolders::ensureFolder(info.absolutePath()))
        return false;
    // Whatever stands where the cache should be and cannot be one would stop every scan from
    // using a cache: it goes aside and a fresh cache takes its place.
    if (const QString problem = problemWithFiles(dbPath); !problem.isEmpty()) {
        replace(dbPath, problem);
        return false;
    }
    if (!connection.open(dbPath, SqliteConnection::Mode::ReadWrite)) {
        if (isUnusableResult(connection.lastResult()))
            replace(dbPath, connection.errorMessage());
        return false;
    }
    connection.restrictForeignFile(stop, SqliteConnection::kDefaultStepBudgetMs);
    int version = 0;
    QString problem = problemWithContent(connection, &version);
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
        CacheSchema::addLaterColumns(connection);
        return true;
    }
    const bool stopped = connection.interruptedByStop();
    connection.close();
    if (!stopped)
        replace(dbPath, problem);
    return false;
}

bool CacheFile::isUsable(const QString &dbPath)
{
    const QFileInfo info(dbPath);
    if (!AppFolders::ensureFolder(info.absolutePath()))
        return false;
    // A missing cache is made from the template by the next scan that saves.
    if (!isPresent(dbPath))
        return QFileInfo::exists(templatePathForFileName(info.fileName()));
    if (!problemWithFiles(dbPath).isEmpty() || !info.isWritable())
        return false;
    SqliteConnection connection;
    if (!connection.open(dbPath, SqliteConnection::Mode::ReadWrite))
        return false;
    connection.restrictForeignFile(nullptr, SqliteConnection::kDefaultStepBudgetMs);
    int version = 0;
    return problemWithContent(connection, &version).isEmpty();
}

bool CacheFile::isPresent(const QString &dbPath)
{
    // A cache on a mount that does not answer is not there for this scan.
    if (SilentOwnFolders::holds(dbPath))
        return false;
    const QFileInfo info(dbPath);
    return info.exists() || info.isSymLink();
}

QString CacheFile::problemWithFiles(const QString &dbPath)
{
    // SQLite opens a journal it finds beside the file to play it back, and writes through it: a fifo
    // there would block that open for good, a link or another user's file would be read into the
    // cache or written wherever it leads. Every companion present must be as sound as the file.
    for (const char *suffix : kCompanions) {
        const QFileInfo info(dbPath + QLatin1String(suffix));
        if (*suffix && !isPresent(info.filePath()))
            continue;
        if (const QString problem = problemWithFile(info); !problem.isEmpty())
            return *suffix ? QStringLiteral("%1: %2").arg(info.fileName(), problem) : problem;
    }
    return QString();
}

QString CacheFile::problemWithFile(const QFileInfo &info)
{
    // Opened through a link, the cache would be wherever the link leads, another user's file included.
    if (info.isSymLink())
        return QStringLiteral("a link");
    // A folder, fifo or device.
    if (!info.isFile())
        return QStringLiteral("not a regular file");
    if (info.ownerId() != ::geteuid())
        return QStringLiteral("a file of another user");
    return QString();
}

QString CacheFile::problemWithContent(SqliteConnection &connection, int *version)
{
    const QString problem = checkIdentity(connection, version);
    return problem.isEmpty() ? CacheSchema::problem(connection) : problem;
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
    case SQLITE_CANTOPEN:
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
    const QString setAside = moveAside(dbPath);
    QString error;
    const QString templatePath = templatePathForFileName(QFileInfo(dbPath).fileName());
    const bool fresh = !QFileInfo::exists(dbPath) && copyTemplate(templatePath, dbPath, &error);
    Log::line(fresh
            ? QStringLiteral("Cache %1 could not be used (%2); %3 and made a new one; "
                             "this scan goes on without it")
                  .arg(dbPath, reason, setAside)
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
