#include "platform/OwnFolder.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "platform/PrivateFiles.h"

namespace
{

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

QString notOurs(const QString &what)
{
    return what + QStringLiteral(" cannot be made, or is not a folder of this user alone");
}

} // namespace

bool OwnFolder::isOwn(const struct stat &st)
{
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool OwnFolder::holdsSafely(const struct stat &st)
{
    // A folder the user's own group may write in is accepted: where each user has a group of their
    // own, as most distributions give, a home's folders are group-writable by default and that group
    // holds nobody else. Refusing them would refuse the Trash and the data folder of those homes.
    const bool sticky = (st.st_mode & S_ISVTX) != 0;
    return S_ISDIR(st.st_mode) && (st.st_uid == ::geteuid() || st.st_uid == 0)
        && (sticky || (st.st_mode & S_IWOTH) == 0)
        && (sticky || (st.st_mode & S_IWGRP) == 0 || st.st_gid == ::getegid());
}

OwnFolder OwnFolder::checked(int fd, const struct stat &expected, bool (*usable)(const struct stat &),
    const QString &what, QString *why)
{
    struct stat opened {
    };
    // Another folder may have taken the name between the look and the open.
    if (fd >= 0 && ::fstat(fd, &opened) == 0 && opened.st_dev == expected.st_dev
        && opened.st_ino == expected.st_ino && usable(opened))
        return OwnFolder(fd);
    if (fd >= 0)
        ::close(fd);
    *why = notOurs(what);
    return {};
}

OwnFolder OwnFolder::openIn(int parentFd, const QByteArray &name, QString *why)
{
    const QString what = QFile::decodeName(name);
    struct stat st {
    };
    if (::fstatat(parentFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        if (errno != ENOENT || (::mkdirat(parentFd, name.constData(), 0700) != 0 && errno != EEXIST)
            || ::fstatat(parentFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
            *why = notOurs(what);
            return {};
        }
    }
    if (!isOwn(st)) {
        *why = notOurs(what);
        return {};
    }
    return checked(::openat(parentFd, name.constData(), kFolderFlags), st, &isOwn, what, why);
}

OwnFolder OwnFolder::openPath(const QString &path, QString *why)
{
    PrivateFiles::makeFolder(path);
    const QByteArray native = QFile::encodeName(path);
    // Links on the way are the user's own choice of where the folder lies; the folder itself is
    // looked at as it is.
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat st {
    };
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        if (fd >= 0)
            ::close(fd);
        *why = notOurs(path);
        return {};
    }
    return checked(fd, st, &holdsSafely, path, why);
}

OwnFolder OwnFolder::openOwnedIn(int parentFd, const QByteArray &name, QString *why)
{
    const QString what = QFile::decodeName(name);
    struct stat st {
    };
    if (::fstatat(parentFd, name.constData(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(st.st_mode))
        return openIn(parentFd, name, why);
    // Nobody else may change the folder holding the link, so the link is still the one looked at.
    const int fd = st.st_uid == ::geteuid()
        ? ::openat(parentFd, name.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)
        : -1;
    struct stat target {
    };
    if (fd >= 0 && ::fstat(fd, &target) == 0)
        return checked(fd, target, &isOwn, what, why);
    if (fd >= 0)
        ::close(fd);
    *why = notOurs(what);
    return {};
}
