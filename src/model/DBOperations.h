// Lists the items of a Photos or iPhoto library for the scan without touching the library: its
// database is copied (with its companions) into the caches folder, the copy is read and removed.
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
    // The same with the window, album, stop and budget given (the settings and globals are not read).
    static QList<QVariantMap> fetchData(const QString &libPath, const LibraryQueryOptions &options);

    // The options the settings and the interface language ask for.
    static LibraryQueryOptions currentOptions();
};
