// What the scan needs to know about a file from the file system: size, dates, identity, package
// folders, the immutable flag and whether it lives on a network volume.
#pragma once

#include <cstdint>
#include <optional>

#include <QDateTime>
#include <QString>

// One file, however many paths lead to it (symlinks, bind mounts, overlapping folders).
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity &other) const = default;
};

// What a record reads of its file: size, dates and identity from one call to the file system.
struct FileAttributes {
    qint64 size = 0;
    FileIdentity identity;
    QDateTime modificationDate, changeDate, creationDate;
    // The modification time in nanoseconds since 1970 (UTC), as the file system keeps it: a file
    // rewritten within the millisecond of the dates above differs here.
    qint64 modificationNanoseconds = 0;
    // The immutable flag, where the file system reports it with the rest; nothing elsewhere.
    std::optional<bool> immutable;
};

// What one call to the file system tells of a folder's entry (links followed): what it is, which
// file it is, and what a record reads of it.
struct FileEntryFacts {
    bool isDirectory = false;
    bool isRegular = false;
    FileIdentity identity;
    FileAttributes attributes;
};

class FileFacts
{
public:
    // Size (regular files only; 0 otherwise), the three dates below and, where the file system
    // says, the immutable flag, from one statx call; nothing when the file cannot be read.
    static std::optional<FileAttributes> attributes(const QString &path);
    // The facts of `name` in the open folder `dirFd` (or of a path, with AT_FDCWD); nothing, with
    // errno set, when the entry cannot be read.
    static std::optional<FileEntryFacts> entryAt(int dirFd, const char *name);
    // Size in bytes of a regular file (symlinks followed); nothing when it cannot be read.
    static std::optional<qint64> size(const QString &path);
    // Modification time in whole seconds since 1970 (UTC).
    static std::optional<qint64> modificationTimeSeconds(const QString &path);
    static std::optional<QDateTime> modificationDate(const QString &path);
    // Inode change time: moves with every write and, unlike the modification time, cannot be set
    // back by any user call.
    static std::optional<QDateTime> changeDate(const QString &path);
    // The earlier of the birth time (where the file system records one) and the modification
    // time: copies made by common tools keep the modification time but get a new birth time.
    static std::optional<QDateTime> creationDate(const QString &path);
    // Last access time.
    static std::optional<QDateTime> accessDate(const QString &path);
    static std::optional<FileIdentity> identity(const QString &path);
    // The identity of an open file or folder, in the same terms as identity().
    static std::optional<FileIdentity> identityOfOpen(int fd);
    // entryAt() of the entry itself: a link is not followed.
    static std::optional<FileEntryFacts> entryItselfAt(int dirFd, const char *name);

    // Folders opened as one item (photo libraries, application bundles).
    static bool isPackage(const QString &path);
    // Whether a folder at `path` would be a package, by its name alone.
    static bool hasPackageSuffix(const QString &path);
    // The file system's immutable attribute (chattr +i), the counterpart of a locked file.
    static bool isImmutable(const QString &path);
    // True when the path lives on a network file system; false when that cannot be told.
    static bool isNetworkVolume(const QString &path);
};

// Lets FileIdentity key a QHash / QSet.
inline size_t qHash(const FileIdentity &id, size_t seed = 0)
{
    return size_t(id.device * 0x9E3779B97F4A7C15ULL ^ id.inode) ^ seed;
}
