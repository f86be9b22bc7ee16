// Lists the items of a Photos or iPhoto library for the scan without touching the library: its
// database is copied (with its companions) into the caches folder, the copy is read and removed.
// A library open in its application may be written at any moment, with recent changes only in its
// "-wal" file: read in place, it would hold the application's writer back or be read half-written
// (and marked immutable, its "-wal" would be passed over), so a copy is read instead.
#pragma once

#include <QList>
#include <QString>
#include <QVariantMap>

#include "model/LibraryQuery.h"

class DBOperations
{
public:
    // Items of the library package at `libPath`, within the date window of the settings and
    // outside the album of marked duplicates; reading ends when `*stop` is set. Empty when nothing
    // can be read; a library that cannot be read is logged and gives what was read before.
    static QList<QVariantMap> fetchData(const QString &libPath, const std::atomic<bool> *stop = nullptr);
    // The same with the window, album, stop and bounds given (the settings and globals are not
    // read); `read` (when given) says which database was read and how much of it, or why none of
    // it could be. A library that could not be read is logged with its database and the reason.
    static QList<QVariantMap> fetchData(
        const QString &libPath, const LibraryQueryOptions &options, LibraryRead *read = nullptr);

    // The options the settings and the interface language ask for.
    static LibraryQueryOptions currentOptions();

private:
    static QList<QVariantMap> readCopy(const QString &copyPath, const QString &libPath,
        const LibraryQueryOptions &options, LibraryRead &read);
};
