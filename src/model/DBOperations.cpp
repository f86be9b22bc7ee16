#include "model/DBOperations.h"

#include <sqlite3.h>

#include <QFileInfo>

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
    const LibraryDatabaseCopy &copy = *looked.copy;
    if (!looked.databaseExists)
        outcome.failure = { LibraryFailure::Kind::NoDatabase, QString() };
    else if (!QFileInfo::exists(copy.path()))
        outcome.failure = { LibraryFailure::Kind::NotCopied, copy.error() };
    else
        items = readCopy(copy.path(), libPath, options, outcome);
    if (outcome.failure.kind != LibraryFailure::Kind::None)
        outcome.extent = LibraryExtent::Unreadable;
    if (copy.tooLarge()) {
        outcome.extent = LibraryExtent::TooLarge;
        outcome.failure = {};
    }
    looked.copy->removeCopies();
    if (outcome.extent == LibraryExtent::Unreadable && !(options.stop && options.stop->load()))
        Log::line(QStringLiteral("Photo library %1 could not be read: %2")
                      .arg(libPath, outcome.failure.logText(outcome.databasePath)));
    if (read)
        *read = outcome;
    return items;
}

QList<QVariantMap> DBOperations::readCopy(
    const QString &copyPath, const QString &libPath, const LibraryQueryOptions &options, LibraryRead &read)
{
    // The connection closes before the copy is removed. The engine is left running: cache
    // operations of the same scan may be using it. The database comes from another machine by
    // design, so it is read with every guard on.
    SqliteConnection connection;
    if (!connection.open(copyPath, SqliteConnection::Mode::ReadOnly)) {
        read.failure = { LibraryFailure::Kind::NotOpened, connection.errorMessage() };
        return {};
    }
    connection.restrictForeignFile(options.stop, options.stepBudgetMs);
    const QList<QVariantMap> items = LibraryQuery::items(connection, libPath, options, &read);
    const bool stopped = options.stop && options.stop->load();
    // A read that failed part way keeps the items read before.
    if (connection.lastResult() != SQLITE_OK && read.extent != LibraryExtent::Unreadable && !stopped)
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
