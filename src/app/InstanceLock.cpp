#include "app/InstanceLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>

namespace
{

// A launch that took a lock its holder removed as it ended tries the new one; more than a few
// rounds of that means instances keep starting and ending, and this one runs on its own.
constexpr int kTakeAttempts = 4;

bool isOwnRegularFile(int fd)
{
    struct stat st {
    };
    return ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid();
}

} // namespace

InstanceLock::InstanceLock(const QString &path)
    : m_path(path)
    , m_name(QFile::encodeName(QFileInfo(path).fileName()))
{
}

InstanceLock::~InstanceLock()
{
    release();
}

Descriptor InstanceLock::openFolder() const
{
    const QByteArray folder = QFile::encodeName(QFileInfo(m_path).absolutePath());
    Descriptor fd(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    struct stat st {
    };
    if (!fd.isValid() || ::fstat(fd.get(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()
        || (st.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return {};
    return fd;
}

Descriptor InstanceLock::openFile(int folder, int flags) const
{
    Descriptor fd(::openat(folder, m_name.constData(), flags | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.isValid() || !isOwnRegularFile(fd.get()))
        return {};
    return fd;
}

bool InstanceLock::namesFile(int folder, int fd) const
{
    struct stat named {
    };
    struct stat open {
    };
    return ::fstatat(folder, m_name.constData(), &named, AT_SYMLINK_NOFOLLOW) == 0 && ::fstat(fd, &open) == 0
        && named.st_dev == open.st_dev && named.st_ino == open.st_ino;
}

// The holder keeps the lock exclusively; a shared lock that can be had means nobody holds it.
bool InstanceLock::isHeld() const
{
    const Descriptor folder = openFolder();
    const Descriptor file = folder.isValid() ? openFile(folder.get(), O_RDONLY) : Descriptor();
    return file.isValid() && ::flock(file.get(), LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
}

InstanceLock::Outcome InstanceLock::take()
{
    if (isTaken())
        return Outcome::Taken;
    Descriptor folder = openFolder();
    if (!folder.isValid())
        return Outcome::FolderRefused;
    for (int attempt = 0; attempt < kTakeAttempts; ++attempt) {
        Descriptor file = openFile(folder.get(), O_RDWR | O_CREAT);
        if (!file.isValid())
            return Outcome::FileRefused;
        if (::flock(file.get(), LOCK_EX | LOCK_NB) != 0)
            return errno == EWOULDBLOCK ? Outcome::HeldElsewhere : Outcome::FileRefused;
        if (namesFile(folder.get(), file.get())) {
            m_folder = std::move(folder);
            m_file = std::move(file);
            return Outcome::Taken;
        }
    }
    return Outcome::HeldElsewhere;
}

void InstanceLock::release()
{
    if (!isTaken())
        return;
    if (namesFile(m_folder.get(), m_file.get()))
        ::unlinkat(m_folder.get(), m_name.constData(), 0);
    m_file = Descriptor();
    m_folder = Descriptor();
}
