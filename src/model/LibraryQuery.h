// The query that lists the items of a photo library from (a copy of) its database, for the three
// database layouts met in libraries: the Photos store ("ZASSET"), the older Photos store
// ("ZGENERICASSET") and the iPhoto layout ("rkmaster"/"rkversion"). The layout is recognised by
// the tables the database has. Every value (dates, album name, album key) is a bound parameter.
#pragma once

#include <atomic>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariantMap>

#include "model/LibraryDateWindow.h"
#include "model/SqliteConnection.h"

class SqliteStatement;

struct LibraryQueryOptions {
    LibraryDateWindow window;
    // Items of this album (the marked duplicates) are left out.
    QString markedAlbumName;
    // True: the album is found by its exact title inside the query; false: its title is compared
    // in the user's locale first and the album is left out by its key.
    bool matchAlbumByExactTitle = true;
    // The scan's stop: reading ends as soon as it is set.
    const std::atomic<bool> *stop = nullptr;
    // How long one step of a statement may run before the library counts as unreadable.
    int stepBudgetMs = SqliteConnection::kDefaultStepBudgetMs;
};

class LibraryQuery
{
public:
    enum class Layout { Unknown, PhotosStore, OlderPhotosStore, IPhoto };

    static Layout layoutOf(SqliteConnection &connection);

    // The item dictionaries ("imagePath", "fileSize", "modelId", "uuid", "originalFileName",
    // "uuidRKVersion", "description") of the library at `libraryPath`, in the order the query
    // gives them; rows with a missing text or a negative size are passed over.
    static QList<QVariantMap> items(
        SqliteConnection &connection, const QString &libraryPath, const LibraryQueryOptions &options);

private:
    struct Entities {
        qint64 album = -1;
        qint64 genericAsset = -1;
    };
    static Entities entities(SqliteConnection &connection);
    static qint64 albumKey(SqliteConnection &connection, Layout layout, const QString &albumName);
    static QByteArray photosStoreSql(
        Layout layout, const Entities &entities, const QByteArray &dateCondition, bool byTitle);
    static QByteArray iPhotoSql(const QByteArray &dateCondition, bool byTitle);
    static bool readItem(
        const SqliteStatement &row, Layout layout, const QString &libraryPath, QVariantMap *item);
};
