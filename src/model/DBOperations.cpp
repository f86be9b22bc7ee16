#include "model/DBOperations.h"

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
    outcome.failure = looked.failure;
    QList<QVariantMap> items;
    if (!looked.silentMount.isEmpty())
        Log::line(QStringLiteral("Photo library %1 is not answering (%2); the scan goes on without it")
                      .arg(libPath, looked.silentMount));
    if (looked.copy && !QFileInfo::exists(looked.copy->path()))
        outcome.failure = { LibraryFailure::Kind::NotCopied, looked.copy->error() };
    else if (looked.copy)
        items = readCopy(looked.copy->path(), libPath, options, outcome);
    if (outcome.failure.kind != LibraryFailure::Kind::None && outcome.extent != LibraryExtent::CutShort)
        outcome.extent = LibraryExtent::Unreadable;
    if (looked.copy && looked.copy->tooLarge()) {
        outcome.extent = LibraryExtent::TooLarge;
        outcome.failure = {};
    }
    if (looked.copy)
        looked.copy->removeCopies();
    const bool stopped = options.stop && options.stop->load();
    if (outcome.extent == LibraryExtent::Unreadable && !stopped)
        Log::line(QStringLiteral("Photo library %1 could not be read: %2")
                      .arg(libPath, outcome.failure.logText(outcome.databasePath)));
    if (outcome.extent == LibraryExtent::CutShort)
        Log::line(
            QStringLiteral("Photo library %1 could not be read to its end (%2); the scan goes on with the "
                           "%3 items read before")
                .arg(libPath, outcome.failure.detail)
                .arg(items.size()));
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
    return LibraryQuery::items(connection, libPath, options, &read);
}

LibraryQueryOptions DBOperations::currentOptions()
{
    LibraryQueryOptions options;
    options.window = LibraryDateWindow::fromSettings();
    options.markedAlbumName = ScanGlobals::markedPhotosAlbumName();
    options.matchAlbumByExactTitle = Localization::isEnglishLanguage();
    return options;
}
