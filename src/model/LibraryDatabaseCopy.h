// A private copy of a photo library's database (with its "-wal", "-shm" and ".lock" companions) in
// a folder of its own in the caches folder, so the library itself is never opened, locked or
// changed. The copies are removed when the object goes away.
#pragma once

#include <functional>
#include <memory>

#include <QString>
#include <QStringList>

class LibraryCopyFolder;

class LibraryDatabaseCopy
{
public:
    // The data a library's database and its companions may hold between them. The database of a
    // library of a few hundred thousand items takes one or two GiB; twice that leaves room for
    // the largest, and keeps a file that only claims to be a database from filling the disk.
    static constexpr qint64 kMaxDataBytes = qint64(4) << 30;

    // Hears of each file of the library before it is looked at or copied.
    using Touching = std::function<void(const QString &source)>;

    // Copies `databasePath` and whichever companions exist, holes kept as holes, up to
    // `maxDataBytes` of data between them; a failure is logged and the copies made so far are
    // kept for reading.
    explicit LibraryDatabaseCopy(
        const QString &databasePath, qint64 maxDataBytes = kMaxDataBytes, const Touching &touching = {});
    ~LibraryDatabaseCopy();
    LibraryDatabaseCopy(const LibraryDatabaseCopy &) = delete;
    LibraryDatabaseCopy &operator=(const LibraryDatabaseCopy &) = delete;

    // Path of the copied database (it may not exist when the copy failed; empty without a name, or
    // when the caches folder is not this user's alone). No other copy is ever made there.
    QString path() const { return m_copyPath; }
    // The database or a companion held more data than a copy may take; what was not copied whole
    // is left out.
    bool tooLarge() const { return m_tooLarge; }
    // Why the copy failed; empty when it did not.
    QString error() const { return m_error; }

    static const QStringList &companionSuffixes();

    // Removes the copies now; the object's end then finds nothing left.
    void removeCopies();

private:
    std::unique_ptr<LibraryCopyFolder> m_folder;
    QString m_copyPath;
    bool m_tooLarge = false;
    QString m_error;
};
