#include "model/LibraryQuery.h"

#include <sqlite3.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include "model/SqliteConnection.h"
#include "model/SqliteStatement.h"
#include "platform/Log.h"
#include "platform/PathRules.h"

namespace
{

const char *const kPhotosSelect
    = "SELECT zb.ZORIGINALFILESIZE, za.ZUUID, zb.ZORIGINALFILENAME, za.ZDIRECTORY, za.ZFILENAME, zb.Z_PK, %2 "
      "FROM %1 za INNER JOIN ZADDITIONALASSETATTRIBUTES zb ON za.Z_PK = zb.ZASSET "
      "WHERE za.ZTRASHEDSTATE = 0 AND zb.ZALLOWEDFORANALYSIS = 1 AND zb.ZASSET NOT IN "
      "(SELECT %3 FROM Z_%4ASSETS WHERE %3 IS NOT NULL AND Z_%4ALBUMS = %5)";
const char *const kPhotosAlbumByTitle
    = "(SELECT Z_PK FROM ZGENERICALBUM WHERE ZTITLE = ? AND ZTRASHEDSTATE = 0)";

const char *const kIPhotoSelect
    = "SELECT h1.* FROM (SELECT rk.fileSize AS filSize, rv.modelId AS modelId, rk.uuid AS masteruuid, "
      "rv.uuid AS mapuuid, rv.filename, rk.imagepath, rv.extendedDescription AS description, %1 AS inWindow "
      "FROM rkmaster rk, rkversion rv WHERE rk.uuid = rv.masteruuid AND rk.isintrash <> 1 "
      "AND rv.isintrash <> 1 AND rv.burstUuid IS NULL) h1 "
      "LEFT JOIN rkalbumversion rav ON h1.modelId = rav.versionid AND rav.albumid = %2 "
      "WHERE rav.modelid IS NULL";
const char *const kIPhotoAlbumByTitle
    = "(SELECT modelId FROM rkalbum WHERE name = ? AND isintrash = 0 LIMIT 1)";

QList<QByteArray> dateColumns(LibraryQuery::Layout layout, int dateField)
{
    const bool iPhoto = layout == LibraryQuery::Layout::IPhoto;
    const QByteArray captured = iPhoto ? "rk.imageDate" : "za.ZDATECREATED";
    const QByteArray added = iPhoto ? "rk.createdate" : "za.ZADDEDDATE";
    switch (dateField) {
    case LibraryDateWindow::kCaptureDate:
        return { captured };
    case LibraryDateWindow::kDateAdded:
        return { added };
    case LibraryDateWindow::kCaptureOrAdded:
        return { captured, added };
    default:
        return {};
    }
}

QString textOf(const SqliteStatement &row, int column, bool *ok)
{
    if (row.isNull(column))
        *ok = false;
    return row.columnText(column);
}

// A row's folder and name come from the library's database, which may say "../../elsewhere": the
// path, and where its links lead, must stay inside the library, or the row is refused.
bool staysInsideLibrary(const QString &path, const QDir &library)
{
    const QString folder = QDir::cleanPath(library.absolutePath());
    if (!PathRules::isSameOrInside(QDir::cleanPath(path), folder) || QDir::cleanPath(path) == folder) {
        Log::line(QStringLiteral("Skipped a library item outside the library: ") + path);
        return false;
    }
    const QString resolved = QFileInfo(path).canonicalFilePath();
    const QString resolvedFolder = library.canonicalPath();
    if (!resolved.isEmpty() && !resolvedFolder.isEmpty()
        && !PathRules::isSameOrInside(resolved, resolvedFolder)) {
        Log::line(QStringLiteral("Skipped a library item that leads outside the library: ") + path);
        return false;
    }
    return true;
}

} // namespace

LibraryQuery::Layout LibraryQuery::layoutOf(SqliteConnection &connection)
{
    if (connection.hasTable(QStringLiteral("ZASSET")))
        return Layout::PhotosStore;
    if (connection.hasTable(QStringLiteral("ZGENERICASSET")))
        return Layout::OlderPhotosStore;
    if (connection.hasTable(QStringLiteral("rkmaster")))
        return Layout::IPhoto;
    return Layout::Unknown;
}

QList<QVariantMap> LibraryQuery::items(SqliteConnection &connection, const QString &libraryPath,
    const LibraryQueryOptions &options, LibraryRead *read)
{
    LibraryRead unused;
    LibraryRead &outcome = read ? *read : unused;
    outcome.extent = LibraryExtent::Whole;
    QElapsedTimer clock;
    clock.start();
    const Layout layout = layoutOf(connection);
    if (layout == Layout::Unknown) {
        unreadable(connection, outcome, LibraryFailure::Kind::NoTableOfPhotos);
        return {};
    }
    // The window is a column, not a condition: the items it leaves out are read all the same, so
    // that the scan can tell how many there were.
    QList<double> dateValues;
    const QByteArray insideWindow
        = options.window.insideTest(dateColumns(layout, options.window.dateField()), &dateValues);
    const int windowColumn = layout == Layout::IPhoto ? 7 : 6;
    const bool byTitle = options.matchAlbumByExactTitle;
    const QByteArray sql = itemsSql(connection, layout, insideWindow, byTitle, outcome);
    if (sql.isEmpty())
        return {};
    SqliteStatement query(connection, sql.constData());
    if (!query.isValid()) {
        unreadable(connection, outcome, LibraryFailure::Kind::QueryFailed);
        return {};
    }
    int index = 1;
    for (const double value : dateValues)
        query.bindDouble(index++, value);
    if (byTitle)
        query.bindText(index, options.markedAlbumName);
    else
        query.bindInt64(index, albumKey(connection, layout, options.markedAlbumName));

    QList<QVariantMap> result;
    qsizetype rows = 0;
    qint64 bytes = 0;
    int step = SQLITE_ROW;
    while ((step = query.step()) == SQLITE_ROW) {
        QVariantMap item;
        const bool kept = rows < options.maxRows && readItem(query, layout, libraryPath, &item);
        const bool inside = query.columnInt64(windowColumn) == 1;
        const qint64 itemBytes = kept && inside ? heldBytes(item) : 0;
        if (++rows > options.maxRows || bytes + itemBytes > options.maxBytes
            || (options.totalBudgetMs > 0 && clock.hasExpired(options.totalBudgetMs))) {
            Log::line(
                QStringLiteral("Photo library %1 holds more than a scan reads (%2 rows read, %3 items kept "
                               "in %4 s): the scan goes on with these")
                    .arg(libraryPath)
                    .arg(rows)
                    .arg(result.size())
                    .arg(clock.elapsed() / 1000));
            outcome.extent = LibraryExtent::InPart;
            break;
        }
        if (kept && !inside && options.outsideWindow)
            options.outsideWindow(item);
        if (kept && inside) {
            bytes += itemBytes;
            result.append(std::move(item));
        }
    }
    // A query that fails at its first row read nothing: the library is not empty, it is unread.
    // One that fails later read the items before: the rest were never seen.
    const bool failed = step != SQLITE_DONE && outcome.extent == LibraryExtent::Whole;
    if (failed && rows == 0)
        unreadable(connection, outcome, LibraryFailure::Kind::QueryFailed);
    else if (failed && !(options.stop && options.stop->load())) {
        outcome.extent = LibraryExtent::CutShort;
        outcome.failure = { LibraryFailure::Kind::QueryFailed, connection.errorMessage() };
    }
    return result;
}

void LibraryQuery::unreadable(
    SqliteConnection &connection, LibraryRead &read, LibraryFailure::Kind kind, const QString &detail)
{
    read.extent = LibraryExtent::Unreadable;
    read.failure = connection.lastResult() != SQLITE_OK
        ? LibraryFailure { LibraryFailure::Kind::QueryFailed, connection.errorMessage() }
        : LibraryFailure { kind, detail };
}

QByteArray LibraryQuery::itemsSql(SqliteConnection &connection, Layout layout, const QByteArray &insideWindow,
    bool byTitle, LibraryRead &read)
{
    if (layout == Layout::IPhoto)
        return iPhotoSql(insideWindow, byTitle);
    bool entitiesFailed = false;
    const Entities found = entities(connection, &entitiesFailed);
    if (entitiesFailed) {
        unreadable(connection, read, LibraryFailure::Kind::QueryFailed);
        return {};
    }
    if (const QString missing = missingEntity(layout, found); !missing.isEmpty()) {
        unreadable(connection, read, LibraryFailure::Kind::NoEntityRow, missing);
        return {};
    }
    return photosStoreSql(layout, found, insideWindow, byTitle);
}

qint64 LibraryQuery::heldBytes(const QVariantMap &item)
{
    // A map node with its key and variant, and a text's header, per value.
    constexpr qint64 kPerValue = 128;
    qint64 bytes = 64;
    for (auto it = item.cbegin(); it != item.cend(); ++it)
        bytes += kPerValue + qint64(sizeof(QChar)) * it.value().toString().size();
    return bytes;
}

LibraryQuery::Entities LibraryQuery::entities(SqliteConnection &connection, bool *failed)
{
    Entities found;
    SqliteStatement query(connection,
        "SELECT Z_ENT, Z_NAME FROM Z_PRIMARYKEY "
        "WHERE Z_NAME = 'Album' OR Z_NAME = 'GenericAsset'");
    int step = SQLITE_ROW;
    while (query.isValid() && (step = query.step()) == SQLITE_ROW) {
        if (query.isNull(0))
            continue;
        const QString name = query.columnText(1);
        if (name == QLatin1String("Album"))
            found.album = query.columnInt64(0);
        else if (name == QLatin1String("GenericAsset"))
            found.genericAsset = query.columnInt64(0);
    }
    *failed = !query.isValid() || step != SQLITE_DONE;
    return found;
}

// The name of the entity the query needs and the table of entities has no row for; empty when
// none is missing.
QString LibraryQuery::missingEntity(Layout layout, const Entities &entities)
{
    if (entities.album < 0)
        return QStringLiteral("Album");
    if (layout == Layout::OlderPhotosStore && entities.genericAsset < 0)
        return QStringLiteral("GenericAsset");
    return {};
}

// The key of the first album (not in the trash) whose title equals the name in the user's locale;
// -1 when there is none, which leaves no item out.
qint64 LibraryQuery::albumKey(SqliteConnection &connection, Layout layout, const QString &albumName)
{
    const char *sql = layout == Layout::IPhoto
        ? "SELECT name, modelId FROM rkalbum WHERE isintrash = 0"
        : "SELECT ZTITLE, Z_PK FROM ZGENERICALBUM WHERE ZTITLE IS NOT NULL AND ZTRASHEDSTATE = 0";
    SqliteStatement query(connection, sql);
    while (query.isValid() && query.step() == SQLITE_ROW) {
        if (!query.isNull(0) && QString::localeAwareCompare(query.columnText(0), albumName) == 0)
            return query.columnInt64(1);
    }
    return -1;
}

// Entity numbers become part of table and column names, which cannot be bound; they are integers
// read as integers, so no text from the database reaches the SQL.
QByteArray LibraryQuery::photosStoreSql(
    Layout layout, const Entities &entities, const QByteArray &insideWindow, bool byTitle)
{
    const QString assetColumn = layout == Layout::PhotosStore
        ? QStringLiteral("Z_3ASSETS")
        : QStringLiteral("Z_%1ASSETS").arg(entities.genericAsset);
    return QString::fromLatin1(kPhotosSelect)
        .arg(layout == Layout::PhotosStore ? QStringLiteral("ZASSET") : QStringLiteral("ZGENERICASSET"),
            QString::fromLatin1(insideWindow), assetColumn, QString::number(entities.album),
            byTitle ? QString::fromLatin1(kPhotosAlbumByTitle) : QStringLiteral("?"))
        .toLatin1();
}

QByteArray LibraryQuery::iPhotoSql(const QByteArray &insideWindow, bool byTitle)
{
    return QString::fromLatin1(kIPhotoSelect)
        .arg(QString::fromLatin1(insideWindow),
            byTitle ? QString::fromLatin1(kIPhotoAlbumByTitle) : QStringLiteral("?"))
        .toLatin1();
}

bool LibraryQuery::readItem(
    const SqliteStatement &row, Layout layout, const QString &libraryPath, QVariantMap *item)
{
    if (row.isNull(0) || row.columnInt64(0) < 0)
        return false;
    const quint64 fileSize = quint64(row.columnInt64(0));
    bool ok = true;
    const QDir library(libraryPath);
    if (layout == Layout::IPhoto) {
        const QString modelId = textOf(row, 1, &ok);
        const QString masterUuid = textOf(row, 2, &ok);
        const QString versionUuid = textOf(row, 3, &ok);
        const QString fileName = textOf(row, 4, &ok);
        const QString imagePath = textOf(row, 5, &ok);
        *item = { { QStringLiteral("imagePath"), library.filePath(QStringLiteral("Masters/") + imagePath) },
            { QStringLiteral("fileSize"), fileSize }, { QStringLiteral("modelId"), modelId },
            { QStringLiteral("uuid"), masterUuid }, { QStringLiteral("originalFileName"), fileName },
            { QStringLiteral("uuidRKVersion"), versionUuid },
            { QStringLiteral("description"), row.isNull(6) ? QString() : row.columnText(6) } };
        return ok && staysInsideLibrary(item->value(QStringLiteral("imagePath")).toString(), library);
    }
    const QString uuid = textOf(row, 1, &ok);
    const QString originalName = textOf(row, 2, &ok);
    const QString directory = textOf(row, 3, &ok);
    const QString fileName = textOf(row, 4, &ok);
    *item = { { QStringLiteral("imagePath"),
                  library.filePath(QStringLiteral("originals/%1/%2").arg(directory, fileName)) },
        { QStringLiteral("fileSize"), fileSize }, { QStringLiteral("modelId"), QString() },
        { QStringLiteral("uuid"), uuid }, { QStringLiteral("originalFileName"), originalName },
        { QStringLiteral("uuidRKVersion"), uuid }, { QStringLiteral("description"), QString() } };
    return ok && staysInsideLibrary(item->value(QStringLiteral("imagePath")).toString(), library);
}
