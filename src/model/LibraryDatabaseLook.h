// A photo library's database found and copied apart from the scan's own thread, each step within the
// bound its mount has to answer (PathLook): a library whose "database" folder lies on a share gone
// silent is named as not answering, by that share's mount alone, and the scan goes on without it.
// The copy's bound grows with the data to copy, so that a large database on a slow share that does
// answer is still read.
#pragma once

#include <atomic>
#include <memory>
#include <optional>

#include <QString>

#include "app/LibraryDatabaseNames.h"
#include "model/LibraryFailure.h"
#include "platform/PathLook.h"

class LibraryDatabaseCopy;

class LibraryDatabaseLook
{
public:
    // The slowest share a database is still copied from, in bytes per second.
    static constexpr qint64 kSlowestBytesPerSecond = qint64(4) << 20;

    // What a look at a library's database found.
    struct Found {
        // The database file chosen among the library's, as it is spelled on the disk; the folder
        // that could not be read when that is what stood in the way.
        QString databasePath;
        // Why there is nothing to copy; none when something stands at the database's path (the
        // copy then says what it is, when it is no database file).
        LibraryFailure failure;
        // The bytes of the database and its companions.
        qint64 bytes = 0;
        // The point of the mount named as not answering that the look would have entered.
        QString silentMount;
    };

    struct Answer {
        QString databasePath;
        // Why nothing was copied, when the look answered.
        LibraryFailure failure;
        // The private copy; none when nothing was there or the library did not answer.
        std::shared_ptr<LibraryDatabaseCopy> copy;
        // The point of the mount that did not answer; empty when it answered.
        QString silentMount;
    };

    // Finds and copies the database of the library at `libraryPath`, until `stop` is set.
    static Answer copy(const QString &libraryPath, const std::atomic<bool> *stop);
    // Finds the database of the library at `libraryPath` over the mounts of `look`, on a thread
    // apart that keeps `where` at each folder and file it enters.
    static Found find(const QString &libraryPath, const PathLook &look, PathLook::Where &where);
    // Whether the library holds a database, looked at the same way; nothing when the look would
    // have entered a mount named as not answering.
    static std::optional<bool> holdsDatabase(
        const QString &libraryPath, const PathLook &look, PathLook::Where &where);

private:
    // Keeps `where` at each folder a look at a library's names enters, resolved over `look`'s mounts;
    // a folder on a mount named as not answering is passed over, and that mount kept in `*silentMount`.
    static LibraryDatabaseNames::Entering entering(
        const PathLook &look, PathLook::Where &where, QString *silentMount);
};
