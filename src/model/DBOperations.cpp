#include "model/DBOperations.h"

#include <sqlite3.h>

#include "app/LocalizedString.h"
#include "app/ScanGlobals.h"
#include "model/LibraryDatabaseCopy.h"
#include "model/LibraryDatabaseLook.h"
#include "model/SqliteConnection.h"
#include "platform/Log.h"

QList<QVariantMap> DBOperations::fetchData(const QString &libPath, const std::atomic<bool> *stop)
{
    LibraryQueryOptions options = currentOptions();
    options.stop = stop;
    return fetchData(libPath, options);
}

QList<QVariantMap> DBOperations::fetchData(
    const QString &libPath, const LibraryQueryOptions &options, LibraryRead *read)
{
    LibraryRead outcome;
    const LibraryDatabaseLook::Answer looked = LibraryDatabaseLook::copy(libPath, options.stop);
    outcome.databasePath = looked.databasePath;
    outcome.silentMount = looked.silentMount;
    QList<QVariantMap> items;
    if (!looked.copy) {
        if (!looked.silentMount.isEmpty())
            Log::line(QStringLiteral("Photo library %1 is not answering (%2); the scan goes on without it")
                          .arg(libPath, looked.silentMount));
        if (read)
            *read = outcome;
        return items;
    }
    if (!looked.copy->path().isEmpty())
        items = readCopy(looked.copy->path(), libPath, options, &outcome.extent);
    if (looked.copy->tooLarge())
        outcome.extent = LibraryExtent::TooLarge;
    if (outcome.extent == LibraryExtent::Unreadable && !(options.stop && options.stop->load()))
        Log::line(QStringLiteral(
            "Photo library %1 could not be read: no table of photos was found in its database %2")
                      .arg(libPath, outcome.databasePath));
    if (read)
        *read = outcome;
    return items;
}

QList<QVariantMap> DBOperations::readCopy(const QString &copyPath, const QString &libPath,
    const LibraryQueryOptions &options, LibraryExtent *extent)
{
    // The connection closes before the copy is removed. The engine is left running: cache
    // operations of the same scan may be using it. The database comes from another machine by
    // design, so it is read with every guard on.
    SqliteConnection connection;
    QList<QVariantMap> items;
    if (connection.open(copyPath, SqliteConnection::Mode::ReadOnly)) {
        connection.restrictForeignFile(options.stop, options.stepBudgetMs);
        items = LibraryQuery::items(connection, libPath, options, extent);
    } else {
        *extent = LibraryExtent::Unreadable;
    }
    const bool stopped = options.stop && options.stop->load();
    if (connection.lastResult() != SQLITE_OK && !stopped)
        Log::line(
            QStringLiteral("Photo library %1 could not be read (%2); the scan goes on without the rest of it")
                .arg(libPath, connection.errorMessage()));
    return items;
}

LibraryQueryOptions DBOperations::currentOptions()
{
    LibraryQueryOptions options;
    options.window = LibraryDateWindow::fromSettings();
    options.markedAlbumName = ScanGlobals::markedPhotosAlbumName();
    options.matchAlbumByExactTitle = Localization::isEnglishLanguage();
    return options;
}
