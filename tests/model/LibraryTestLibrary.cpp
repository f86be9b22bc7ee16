#include "LibraryTestLibrary.h"

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>
#include <QVariant>

#include "model/LibraryDateWindow.h"

namespace
{

QVariant libraryTime(const QDateTime &time)
{
    return time.isValid() ? QVariant(LibraryDateWindow::toLibraryTime(time)) : QVariant();
}

} // namespace

LibraryTestLibrary::LibraryTestLibrary(const QString &folder, Layout layout, const QString &databaseName)
    : m_layout(layout)
    , m_libraryPath(QDir(folder).filePath(QStringLiteral("Test.photoslibrary")))
{
    const QString name = !databaseName.isEmpty() ? databaseName
        : layout == Layout::IPhoto               ? QStringLiteral("database/Library.apdb")
                                                 : QStringLiteral("database/photos.sqlite");
    m_databasePath = QDir(m_libraryPath).filePath(name);
    QDir().mkpath(QFileInfo(m_databasePath).absolutePath());
    sqlite3_open_v2(
        m_databasePath.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    createSchema();
}

void LibraryTestLibrary::writeSettingsDatabase(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    sqlite3 *db = nullptr;
    sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    sqlite3_exec(db, "CREATE TABLE LiGlobals (keyPath VARCHAR, value BLOB)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

LibraryTestLibrary::~LibraryTestLibrary()
{
    sqlite3_close(m_db);
}

void LibraryTestLibrary::createSchema()
{
    switch (m_layout) {
    case Layout::PhotosStore:
        run("CREATE TABLE Z_PRIMARYKEY (Z_ENT INTEGER PRIMARY KEY, Z_NAME VARCHAR);"
            "INSERT INTO Z_PRIMARYKEY VALUES (3, 'Asset'), (26, 'Album');"
            "CREATE TABLE ZASSET (Z_PK INTEGER PRIMARY KEY, ZUUID VARCHAR, ZDIRECTORY VARCHAR, ZFILENAME "
            "VARCHAR,"
            " ZTRASHEDSTATE INTEGER, ZDATECREATED TIMESTAMP, ZADDEDDATE TIMESTAMP);"
            "CREATE TABLE Z_26ASSETS (Z_26ALBUMS INTEGER, Z_3ASSETS INTEGER);");
        break;
    case Layout::OlderPhotosStore:
        run("CREATE TABLE Z_PRIMARYKEY (Z_ENT INTEGER PRIMARY KEY, Z_NAME VARCHAR);"
            "INSERT INTO Z_PRIMARYKEY VALUES (5, 'GenericAsset'), (22, 'Album');"
            "CREATE TABLE ZGENERICASSET (Z_PK INTEGER PRIMARY KEY, ZUUID VARCHAR, ZDIRECTORY VARCHAR,"
            " ZFILENAME VARCHAR, ZTRASHEDSTATE INTEGER, ZDATECREATED TIMESTAMP, ZADDEDDATE TIMESTAMP);"
            "CREATE TABLE Z_22ASSETS (Z_22ALBUMS INTEGER, Z_5ASSETS INTEGER);");
        break;
    case Layout::IPhoto:
        run("CREATE TABLE RKMaster (modelId INTEGER PRIMARY KEY, uuid VARCHAR, fileSize INTEGER,"
            " imagePath VARCHAR, isInTrash INTEGER, imageDate TIMESTAMP, createDate TIMESTAMP,"
            " fileCreationDate TIMESTAMP);"
            "CREATE TABLE RKVersion (modelId INTEGER PRIMARY KEY, uuid VARCHAR, masterUuid VARCHAR,"
            " fileName VARCHAR, isInTrash INTEGER, burstUuid VARCHAR, extendedDescription VARCHAR);"
            "CREATE TABLE RKAlbum (modelId INTEGER PRIMARY KEY, name VARCHAR, isInTrash INTEGER);"
            "CREATE TABLE RKAlbumVersion (modelId INTEGER PRIMARY KEY, versionId INTEGER, albumId INTEGER);");
        return;
    }
    run("CREATE TABLE ZADDITIONALASSETATTRIBUTES (Z_PK INTEGER PRIMARY KEY, ZASSET INTEGER,"
        " ZORIGINALFILESIZE INTEGER, ZORIGINALFILENAME VARCHAR, ZALLOWEDFORANALYSIS INTEGER);"
        "CREATE TABLE ZGENERICALBUM (Z_PK INTEGER PRIMARY KEY, ZTITLE VARCHAR, ZTRASHEDSTATE INTEGER);");
}

qint64 LibraryTestLibrary::addItem(const Item &item)
{
    const QString uuid = QStringLiteral("UUID-") + item.fileName;
    const QVariant uuidValue = item.nullUuid ? QVariant() : QVariant(uuid);
    if (m_layout == Layout::IPhoto) {
        insert("INSERT INTO RKMaster (uuid, fileSize, imagePath, isInTrash, imageDate, createDate, "
               "fileCreationDate)"
               " VALUES (?, ?, ?, 0, ?, ?, ?)",
            { uuid, item.size, item.directory + QLatin1Char('/') + item.fileName, libraryTime(item.created),
                libraryTime(item.added), libraryTime(item.created) });
        return insert(
            "INSERT INTO RKVersion (uuid, masterUuid, fileName, isInTrash, burstUuid, extendedDescription)"
            " VALUES (?, ?, ?, ?, ?, ?)",
            { uuidValue, uuid, item.fileName, item.trashed ? 1 : 0,
                item.burstMember ? QVariant(QStringLiteral("burst")) : QVariant(),
                item.description.isEmpty() ? QVariant() : QVariant(item.description) });
    }
    const char *assetSql = m_layout == Layout::PhotosStore
        ? "INSERT INTO ZASSET (ZUUID, ZDIRECTORY, ZFILENAME, ZTRASHEDSTATE, ZDATECREATED,"
          " ZADDEDDATE) VALUES (?, ?, ?, ?, ?, ?)"
        : "INSERT INTO ZGENERICASSET (ZUUID, ZDIRECTORY, ZFILENAME, ZTRASHEDSTATE,"
          " ZDATECREATED, ZADDEDDATE) VALUES (?, ?, ?, ?, ?, ?)";
    const qint64 asset = insert(assetSql,
        { uuidValue, item.directory, item.fileName, item.trashed ? 1 : 0, libraryTime(item.created),
            libraryTime(item.added) });
    insert("INSERT INTO ZADDITIONALASSETATTRIBUTES (ZASSET, ZORIGINALFILESIZE, ZORIGINALFILENAME,"
           " ZALLOWEDFORANALYSIS) VALUES (?, ?, ?, ?)",
        { asset, item.size, QStringLiteral("IMG_") + item.fileName, item.allowedForAnalysis ? 1 : 0 });
    return asset;
}

qint64 LibraryTestLibrary::addAlbum(const QString &title)
{
    if (m_layout == Layout::IPhoto)
        return insert("INSERT INTO RKAlbum (name, isInTrash) VALUES (?, 0)", { title });
    return insert("INSERT INTO ZGENERICALBUM (ZTITLE, ZTRASHEDSTATE) VALUES (?, 0)", { title });
}

void LibraryTestLibrary::putInAlbum(qint64 item, qint64 album)
{
    switch (m_layout) {
    case Layout::PhotosStore:
        insert("INSERT INTO Z_26ASSETS (Z_26ALBUMS, Z_3ASSETS) VALUES (?, ?)", { album, item });
        break;
    case Layout::OlderPhotosStore:
        insert("INSERT INTO Z_22ASSETS (Z_22ALBUMS, Z_5ASSETS) VALUES (?, ?)", { album, item });
        break;
    case Layout::IPhoto:
        insert("INSERT INTO RKAlbumVersion (versionId, albumId) VALUES (?, ?)", { item, album });
        break;
    }
}

void LibraryTestLibrary::holdChangesInWal()
{
    run("PRAGMA journal_mode = WAL; PRAGMA wal_autocheckpoint = 0;");
}

void LibraryTestLibrary::makeEntityTableEndless()
{
    run("DROP TABLE Z_PRIMARYKEY; CREATE VIEW Z_PRIMARYKEY AS WITH RECURSIVE r(n) AS "
        "(SELECT 0 UNION ALL SELECT n + 1 FROM r) SELECT n AS Z_ENT, 'x' || n AS Z_NAME FROM r WHERE n < 0");
}

void LibraryTestLibrary::multiplyRows()
{
    const QByteArray table = m_layout == Layout::IPhoto ? QByteArrayLiteral("RKVersion")
                                                        : QByteArrayLiteral("ZADDITIONALASSETATTRIBUTES");
    // A plain join, stepped through a row at a time by the query: 100^4 copies of each row.
    const QByteArray sql = "ALTER TABLE " + table
        + " RENAME TO Kept; CREATE TABLE Many (n INTEGER);"
          "WITH RECURSIVE r(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM r WHERE n < 100) "
          "INSERT INTO Many SELECT n FROM r; CREATE VIEW "
        + table + " AS SELECT k.* FROM Kept k, Many a, Many b, Many c, Many d";
    run(sql.constData());
}

void LibraryTestLibrary::run(const char *sql)
{
    sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
}

qint64 LibraryTestLibrary::insert(const char *sql, const QList<QVariant> &values)
{
    sqlite3_stmt *statement = nullptr;
    sqlite3_prepare_v2(m_db, sql, -1, &statement, nullptr);
    for (int i = 0; i < values.size(); ++i) {
        const QVariant &value = values[i];
        if (value.isNull())
            sqlite3_bind_null(statement, i + 1);
        else if (value.typeId() == QMetaType::QString)
            sqlite3_bind_text(statement, i + 1, value.toString().toUtf8().constData(), -1, SQLITE_TRANSIENT);
        else if (value.typeId() == QMetaType::Double)
            sqlite3_bind_double(statement, i + 1, value.toDouble());
        else
            sqlite3_bind_int64(statement, i + 1, value.toLongLong());
    }
    sqlite3_step(statement);
    sqlite3_finalize(statement);
    return sqlite3_last_insert_rowid(m_db);
}
