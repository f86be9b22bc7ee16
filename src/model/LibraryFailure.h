// Why a photo library gave none of its items: what stood in the way, and the words the system or
// the database gave for it.
#pragma once

#include <QString>

struct LibraryFailure {
    enum class Kind {
        None,
        // The library holds no database file under any of the names a library uses.
        NoDatabase,
        // A folder on the way to the database could not be read; the detail is the system's reason.
        FolderUnreadable,
        // Its database could not be copied to be read (unreadable, or no regular file).
        NotCopied,
        // The copy could not be opened as a database.
        NotOpened,
        // The database has none of the tables of items the reader knows.
        NoTableOfPhotos,
        // A database of the Photos store whose table of entities has no row for an entity the
        // query needs; the detail names it ("Album").
        NoEntityRow,
        // The query of items could not be run (a table or column it needs is missing, the file is
        // damaged, or it ran past its time).
        QueryFailed,
    };

    Kind kind = Kind::None;
    QString detail;

    // The failure in words, for the log.
    QString logText(const QString &databasePath) const;
};
