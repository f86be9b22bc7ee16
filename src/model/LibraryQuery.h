// The query that lists the items of a photo library from (a copy of) its database, for the three
// database layouts met in libraries: the Photos store ("ZASSET"), the older Photos store
// ("ZGENERICASSET") and the iPhoto layout ("rkmaster"/"rkversion"). The layout is recognised by
// the tables the database has. Every value (dates, album name, album key) is a bound parameter.
#pragma once

#include <atomic>
#include <functional>

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariantMap>

#include "model/LibraryDateWindow.h"
#include "model/LibraryFailure.h"
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
    // A library beyond any of these is read in part: the items read until then are kept. A real
    // query gives one row per item, and the largest libraries hold a few hundred thousand; a
    // database whose views multiply rows would give rows without end.
    qsizetype maxRows = 1000000;
    // What the kept items may hold (see LibraryQuery::heldBytes): about 400,000 items of usual
    // paths and names, while the scan's own records of them stay within reach of a desktop's memory.
    qint64 maxBytes = qint64(512) << 20;
    // The whole read, beside the budget of each step (0: none); a read of the largest real
    // library, with each item's path checked on the disk, takes a few minutes at most.
    int totalBudgetMs = 10 * 60 * 1000;
    // Hears of each item the date window leaves out, read as the listed ones are, so that the scan
    // can count it; such items are not listed.
    std::function<void(const QVariantMap &item)> outsideWindow;
};

// How much of a library a read took: none when its items could not be read at all, the items
// before the point where its query failed when it was cut short (the failure says why).
enum class LibraryExtent { Whole, InPart, TooLarge, CutShort, Unreadable };

// What a read of a library came to, beside its items.
struct LibraryRead {
    LibraryExtent extent = LibraryExtent::Whole;
    // The database file chosen among the library's.
    QString databasePath;
    // Why nothing was read, when the extent is Unreadable, or why not all, when it is CutShort.
    LibraryFailure failure;
    // The point of the mount that did not answer while the database was found or copied (nothing
    // was read then); empty when it answered.
    QString silentMount;
};

class LibraryQuery
{
public:
    enum class Layout { Unknown, PhotosStore, OlderPhotosStore, IPhoto };

    static Layout layoutOf(SqliteConnection &connection);

    // The item dictionaries ("imagePath", "fileSize", "modelId", "uuid", "originalFileName",
    // "uuidRKVersion", "description") of the library at `libraryPath`, in the order the query
    // gives them; rows with a missing text or a negative size are passed over.
    // At most the options' rows are read and bytes kept; `read` (when given) says whether the
    // read stopped at a bound, or why it read nothing.
    static QList<QVariantMap> items(SqliteConnection &connection, const QString &libraryPath,
        const LibraryQueryOptions &options, LibraryRead *read = nullptr);
    // About the memory one item takes: its map's nodes and its texts.
    static qint64 heldBytes(const QVariantMap &item);

private:
    struct Entities {
        qint64 album = -1;
        qint64 genericAsset = -1;
    };
    // The entity numbers; none when the table of entities could not be read (`*failed` set).
    static Entities entities(SqliteConnection &connection, bool *failed);
    static QString missingEntity(Layout layout, const Entities &entities);
    // Marks `read` unreadable: for `kind`, or for the database's last error when there was one.
    static void unreadable(SqliteConnection &connection, LibraryRead &read, LibraryFailure::Kind kind,
        const QString &detail = QString());
    // The query of the items of a library of `layout`; empty, with `read` marked, when it cannot
    // be made.
    static QByteArray itemsSql(SqliteConnection &connection, Layout layout, const QByteArray &insideWindow,
        bool byTitle, LibraryRead &read);
    static qint64 albumKey(SqliteConnection &connection, Layout layout, const QString &albumName);
    static QByteArray photosStoreSql(
        Layout layout, const Entities &entities, const QByteArray &insideWindow, bool byTitle);
    static QByteArray iPhotoSql(const QByteArray &insideWindow, bool byTitle);
    static bool readItem(
        const SqliteStatement &row, Layout layout, const QString &libraryPath, QVariantMap *item);
};
