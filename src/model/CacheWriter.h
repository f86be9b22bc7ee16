// Writes the rows of one batch of records into an open cache, inside the caller's transaction.
//
// The cache keeps one EXIF row per path. A row whose size or modification time no longer match the
// record (or a record the hashing stage flagged as changed) is removed with every fingerprint and
// MD5 row hanging off it before the new row goes in, so a later fetch can never pair an old
// fingerprint or digest with a file's current size and time.
#pragma once

#include <functional>
#include <memory>

#include <QList>
#include <QString>
#include <QStringList>

class ImageFileInfo;
class SqliteConnection;
class SqliteStatement;

class CacheWriter
{
public:
    using Records = QList<std::shared_ptr<ImageFileInfo>>;
    // Whether the fingerprint or digest of a path came from the cache in this scan.
    using CachedTest = std::function<bool(const QString &path)>;
    // Where the digest pass takes each record's EXIF row id from: a lookup by path, or the
    // `exifIDFrmDB` that writeExifRows set earlier in the same transaction.
    enum class RowIds { LookUp, FromExifPass };

    // n: the fingerprint side of the running scan (not used for the path table).
    CacheWriter(SqliteConnection &connection, int n);

    // One path-table row per path (the paths of the current scan).
    bool writeScanPaths(const QStringList &paths);
    // EXIF rows of the records that have something to cache (fingerprint variants with EXIF data,
    // or an MD5); sets each record's `exifIDFrmDB` (-1: no row). Paths whose old rows were replaced are added
    // to `replacedPaths`. False when the batch has to be given up (the caller rolls back).
    bool writeExifRows(const Records &records, QStringList *replacedPaths);
    // Fingerprint rows of photos and MD5 rows of videos, each keyed by its path's EXIF row; a
    // record whose result came from the cache unchanged is passed over, and so is one whose path
    // has no EXIF row. False when the batch has to be given up.
    bool writeDigestRows(const Records &records, const CachedTest &isCached, RowIds ids = RowIds::LookUp);

    // A record has something to cache.
    static bool qualifies(const ImageFileInfo &record);
    // Neither pass would change a row: every record with something to cache took it unchanged
    // from the cache in this scan and brings nothing new beside it.
    static bool changesNothing(const Records &records, const CachedTest &isCached);

private:
    // One digest row keyed by `exifId`; false when the failure ends the batch.
    bool writeDigest(
        SqliteStatement &insert, qint64 exifId, const ImageFileInfo &record, const QByteArray &digest);
    static qint64 rowIdOf(SqliteStatement &find, ImageFileInfo &record, RowIds ids, int &result);
    bool rowFailed(int result, const char *operation, const QString &path);

    SqliteConnection &m_connection;
    int m_side;
};
