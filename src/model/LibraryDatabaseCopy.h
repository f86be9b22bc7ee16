// A private copy of a photo library's database (with its "-wal", "-shm" and ".lock" companions) in
// the caches folder, so the library itself is never opened, locked or changed. The copies are
// removed when the object goes away.
#pragma once

#include <QString>
#include <QStringList>

class LibraryDatabaseCopy
{
public:
    // Copies `databasePath` and whichever companions exist; a failure is logged and the copies
    // made so far are kept for reading.
    explicit LibraryDatabaseCopy(const QString &databasePath);
    ~LibraryDatabaseCopy();
    LibraryDatabaseCopy(const LibraryDatabaseCopy &) = delete;
    LibraryDatabaseCopy &operator=(const LibraryDatabaseCopy &) = delete;

    // Path of the copied database (it may not exist when the copy failed; empty without a name, or
    // when the caches folder is not this user's alone).
    QString path() const { return m_copyPath; }

    static const QStringList &companionSuffixes();

private:
    void removeCopies();

    QString m_copyPath;
};
