// A folder of one library read's own in the caches folder, for the copies of its database. Reads
// follow one another (a second scan, the scan after a library was added), and the copies of one may
// be removed late, on the thread a bounded look left behind: in a folder of its own, a late removal
// never reaches what a later read made. Each folder is held, by this process and by a lock another
// process sees, while its read lives; those no read holds (left by a run that crashed) are cleared
// when the next folder is made.
#pragma once

#include <memory>

#include <QString>

#include "platform/Descriptor.h"

class LibraryCopyFolder
{
public:
    // A new folder of its own for one read; nothing, with `error` set, when none could be made (the
    // caches folder is not this user's alone, or cannot be written).
    static std::unique_ptr<LibraryCopyFolder> make(QString *error);
    // Removes the folder with all it holds.
    ~LibraryCopyFolder();
    LibraryCopyFolder(const LibraryCopyFolder &) = delete;
    LibraryCopyFolder &operator=(const LibraryCopyFolder &) = delete;

    QString path() const { return m_path; }

    // The folder every read's folder is made in.
    static QString parentFolder();

private:
    LibraryCopyFolder(QString path, Descriptor hold);
    // Holding the lock of `parent`: removes each read's folder there that no read holds.
    static void clearUnheld(const QString &parent);
    static bool isHeldElsewhere(const QString &folder);

    QString m_path;
    // The lock file's descriptor: its lock tells other processes that the folder is in use.
    Descriptor m_hold;
};
