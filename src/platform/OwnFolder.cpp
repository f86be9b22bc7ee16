#include "platform/OwnFolder.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>

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

OwnFolder::~OwnFolder()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

OwnFolder::OwnFolder(OwnFolder &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
{
}

OwnFolder &OwnFolder::operator=(OwnFolder &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

bool OwnFolder::isOwn(const struct stat &st)
{
    return S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() && (st.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

bool OwnFolder::holdsSafely(const struct stat &st)
{
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
