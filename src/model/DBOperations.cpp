#include "model/DBOperations.h"

#include "app/CommonFunc.h"
#include "app/LocalizedString.h"
#include "app/ScanGlobals.h"
#include "model/LibraryDatabaseCopy.h"
#include "model/SqliteConnection.h"

QList<QVariantMap> DBOperations::fetchData(const QString &libPath)
{
    return fetchData(libPath, currentOptions());
}

QList<QVariantMap> DBOperations::fetchData(const QString &libPath, const LibraryQueryOptions &options)
{
    const LibraryDatabaseCopy copy(CommonFunc::photosLibraryDatabasePath(libPath));
    if (copy.path().isEmpty())
        return {};
    // The connection closes before the copy is removed. The engine is left running: cache
    // operations of the same scan may be using it.
    SqliteConnection connection;
    if (!connection.open(copy.path(), SqliteConnection::Mode::ReadOnly))
        return {};
    return LibraryQuery::items(connection, libPath, options);
}

LibraryQueryOptions DBOperations::currentOptions()
{
    LibraryQueryOptions options;
    options.window = LibraryDateWindow::fromSettings();
    options.markedAlbumName = ScanGlobals::markedPhotosAlbumName();
    options.matchAlbumByExactTitle = Localization::isEnglishLanguage();
    return options;
}
