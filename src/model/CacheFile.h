// Opening a cache database file, and replacing one that cannot be used. The cache is only an
// optimisation: a damaged, truncated, locked or foreign file must never stop a scan or crash it,
// so such a file is moved aside, a fresh copy of its template takes its place, and one log line
// says so.
#pragma once

#include <atomic>
#include <optional>

#include <QString>

class QFileInfo;
class SqliteConnection;

class CacheFile
{
public:
    // Written by the schema; a file without both is not a cache of this program.
    static constexpr int kApplicationId = 1364089155; // 'QNYC'
    static constexpr int kSchemaVersion = 2;
    // Same tables as today, but its fingerprints were made from thumbnails the decoders reduced
    // themselves; they must not be compared with today's, so they are dropped once and made again.
    static constexpr int kOldThumbnailVersion = 1;

    // Opens an existing cache read-write and checks that it is one, holding our tables as we define
    // them and nothing else (see CacheSchema). A missing file gives false quietly, and so does one
    // in a folder of the program's that is not this user's alone (see AppFolders::ensureFolder);
    // an unusable one (a link, another user's file, damaged, foreign) is replaced and gives false. The cache
    // sits in the user's folder where anything may have written it, so it is read with the guards of a
    // foreign database: its schema runs no functions, and a statement ends as soon as `stop` is set or one of
    // its steps runs past the step budget (the file is then replaced, since every scan would meet it again).
    static bool open(
        SqliteConnection &connection, const QString &dbPath, const std::atomic<bool> *stop = nullptr);
    // Something stands at the cache's path: a file, or a link even when it leads nowhere (which
    // must be set aside before a cache can be made there).
    static bool isPresent(const QString &dbPath);
    // Whether a scan can use the cache at `dbPath` now: it is a sound cache of ours, or it is
    // missing and will be made from the template; false for a cache that stays unusable (its folder
    // is not this user's alone, or a file that could not be set aside is in its place). Changes
    // nothing but the folder (see AppFolders::ensureFolder).
    static bool isUsable(const QString &dbPath);
    // Checks every page of an open cache (PRAGMA quick_check), once when a scan starts: a damaged
    // page that no fetch happens to read would otherwise go unnoticed. A damaged file is closed and
    // replaced, and false returned.
    static bool checkPages(SqliteConnection &connection, const QString &dbPath);
    // For an operation that gave up: closes the connection and, when its last result code says
    // the file itself is at fault, replaces the file.
    static void operationFailed(SqliteConnection &connection, const QString &dbPath);

    // The file is damaged, truncated, not a database or held by another process.
    static bool isUnusableResult(int result);
    // The result ends the whole operation (as opposed to failing one row).
    static bool endsOperation(int result);

    // Deletes the file and its journals; missing files are no error. The bytes removed, or none
    // when a file stayed.
    static std::optional<qint64> remove(const QString &dbPath);
    // Moves the file and its journals aside (".unusable") and copies the template in its place.
    static void replace(const QString &dbPath, const QString &reason);
    // The resources' "db/<file name>" when such a template is installed, else the template of
    // "quennary.db".
    static QString templatePathForFileName(const QString &fileName);
    // Copies the template to `dbPath` as a file the user may write; false and `error` on failure.
    static bool copyTemplate(const QString &templatePath, const QString &dbPath, QString *error);

private:
    // Empty when the file at `dbPath` and its journals may be opened as a cache; else why not.
    static QString problemWithFiles(const QString &dbPath);
    // Empty when the file at `info` may be opened as a cache or its journal; else why not.
    static QString problemWithFile(const QFileInfo &info);
    // Empty when the open file is a cache of ours (its identity, version and tables); else why not.
    static QString problemWithContent(SqliteConnection &connection, int *version);
    static QString checkIdentity(SqliteConnection &connection, int *version);
    static QString dropOldFingerprints(SqliteConnection &connection, const QString &dbPath);
};
