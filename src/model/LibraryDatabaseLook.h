// A photo library's database found and copied apart from the scan's own thread, each step within the
// bound its mount has to answer (PathLook): a library whose "database" folder lies on a share gone
// silent is named as not answering, and the scan goes on without it. The copy's bound grows with the
// data to copy, so that a large database on a slow share that does answer is still read.
#pragma once

#include <atomic>
#include <memory>

#include <QString>

class LibraryDatabaseCopy;

class LibraryDatabaseLook
{
public:
    // The slowest share a database is still copied from, in bytes per second.
    static constexpr qint64 kSlowestBytesPerSecond = qint64(4) << 20;

    struct Answer {
        // The database file chosen among the library's; empty when none was found.
        QString databasePath;
        // Whether that file is there.
        bool databaseExists = false;
        // The private copy; none when the library did not answer.
        std::shared_ptr<LibraryDatabaseCopy> copy;
        // The point of the mount that did not answer; empty when it answered.
        QString silentMount;
    };

    // Finds and copies the database of the library at `libraryPath`, until `stop` is set.
    static Answer copy(const QString &libraryPath, const std::atomic<bool> *stop);
};
