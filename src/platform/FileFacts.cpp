#include "platform/FileFacts.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFileInfo>
#include <QStorageInfo>
#include <QStringList>

namespace
{

std::optional<struct statx> statxOf(const QString &path, unsigned int mask)
{
    if (path.isEmpty())
        return std::nullopt;
    struct statx st {
    };
    const QByteArray native = QFile::encodeName(path);
    if (::statx(AT_FDCWD, native.constData(), 0, mask, &st) != 0)
        return std::nullopt;
    return st;
}

QDateTime fromTimestamp(const struct statx_timestamp &ts)
{
    return QDateTime::fromMSecsSinceEpoch(qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000, Qt::UTC);
}

std::optional<QDateTime> dateOf(const QString &path, unsigned int mask, struct statx_timestamp statx::*field)
{
    const auto st = statxOf(path, mask);
    if (!st)
        return std::nullopt;
    return fromTimestamp((*st).*field);
}

} // namespace

std::optional<qint64> FileFacts::size(const QString &path)
{
    const auto st = statxOf(path, STATX_SIZE | STATX_TYPE);
    if (!st || !S_ISREG(st->stx_mode))
        return std::nullopt;
    return qint64(st->stx_size);
}

std::optional<qint64> FileFacts::modificationTimeSeconds(const QString &path)
{
    const auto st = statxOf(path, STATX_MTIME);
    if (!st)
        return std::nullopt;
    return qint64(st->stx_mtime.tv_sec);
}

std::optional<QDateTime> FileFacts::modificationDate(const QString &path)
{
    return dateOf(path, STATX_MTIME, &statx::stx_mtime);
}

std::optional<QDateTime> FileFacts::changeDate(const QString &path)
{
    return dateOf(path, STATX_CTIME, &statx::stx_ctime);
}

// The earlier of birth and modification, or the modification alone where no birth is recorded.
static QDateTime creationOf(const struct statx &st)
{
    const QDateTime modified = fromTimestamp(st.stx_mtime);
    if (!(st.stx_mask & STATX_BTIME))
        return modified;
    const QDateTime born = fromTimestamp(st.stx_btime);
    return born < modified ? born : modified;
}

std::optional<QDateTime> FileFacts::creationDate(const QString &path)
{
    const auto st = statxOf(path, STATX_MTIME | STATX_BTIME);
    if (!st)
        return std::nullopt;
    return creationOf(*st);
}

static FileIdentity identityOf(const struct statx &st)
{
    return { (std::uint64_t(st.stx_dev_major) << 32) | st.stx_dev_minor, st.stx_ino };
}

static constexpr unsigned int kAttributesMask
    = STATX_TYPE | STATX_SIZE | STATX_MTIME | STATX_CTIME | STATX_BTIME | STATX_INO;

static FileAttributes attributesOf(const struct statx &st)
{
    FileAttributes facts;
    facts.size = S_ISREG(st.stx_mode) ? qint64(st.stx_size) : 0;
    facts.identity = identityOf(st);
    facts.modificationDate = fromTimestamp(st.stx_mtime);
    facts.modificationNanoseconds = qint64(st.stx_mtime.tv_sec) * 1000000000 + st.stx_mtime.tv_nsec;
    facts.changeDate = fromTimestamp(st.stx_ctime);
    facts.creationDate = creationOf(st);
    if (st.stx_attributes_mask & STATX_ATTR_IMMUTABLE)
        facts.immutable = (st.stx_attributes & STATX_ATTR_IMMUTABLE) != 0;
    return facts;
}

std::optional<FileAttributes> FileFacts::attributes(const QString &path)
{
    const auto st = statxOf(path, kAttributesMask);
    if (!st)
        return std::nullopt;
    return attributesOf(*st);
}

static std::optional<FileEntryFacts> entryFacts(int dirFd, const char *name, int flags)
{
    struct statx st {
    };
    if (::statx(dirFd, name, flags, kAttributesMask, &st) != 0)
        return std::nullopt;
    FileEntryFacts entry;
    entry.isDirectory = S_ISDIR(st.stx_mode);
    entry.isRegular = S_ISREG(st.stx_mode);
    entry.attributes = attributesOf(st);
    entry.identity = entry.attributes.identity;
    return entry;
}

std::optional<FileEntryFacts> FileFacts::entryAt(int dirFd, const char *name)
{
    return entryFacts(dirFd, name, 0);
}

std::optional<FileEntryFacts> FileFacts::entryItselfAt(int dirFd, const char *name)
{
    return entryFacts(dirFd, name, AT_SYMLINK_NOFOLLOW);
}

std::optional<QDateTime> FileFacts::accessDate(const QString &path)
{
    return dateOf(path, STATX_ATIME, &statx::stx_atime);
}

std::optional<FileIdentity> FileFacts::identity(const QString &path)
{
    const auto st = statxOf(path, STATX_INO);
    if (!st)
        return std::nullopt;
    return identityOf(*st);
}

std::optional<FileIdentity> FileFacts::identityOfOpen(int fd)
{
    struct statx st {
    };
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_INO, &st) != 0)
        return std::nullopt;
    return identityOf(st);
}

bool FileFacts::isPackage(const QString &path)
{
    return hasPackageSuffix(path) && QFileInfo(path).isDir();
}

bool FileFacts::hasPackageSuffix(const QString &path)
{
    static const QStringList &kPackageSuffixes
        = *new QStringList { QStringLiteral("photoslibrary"), QStringLiteral("migratedphotolibrary"),
              QStringLiteral("photolibrary"), QStringLiteral("app"), QStringLiteral("bundle") };
    return kPackageSuffixes.contains(QFileInfo(path).suffix(), Qt::CaseInsensitive);
}

bool FileFacts::isImmutable(const QString &path)
{
    if (path.isEmpty())
        return false;
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    int flags = 0;
    const bool read = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    ::close(fd);
    return read && (flags & FS_IMMUTABLE_FL);
}

bool FileFacts::isNetworkVolume(const QString &path)
{
    static const QStringList &kNetworkTypes = *new QStringList { QStringLiteral("nfs"),
        QStringLiteral("nfs4"), QStringLiteral("cifs"), QStringLiteral("smb3"), QStringLiteral("smbfs"),
        QStringLiteral("9p"), QStringLiteral("afs"), QStringLiteral("ceph"), QStringLiteral("glusterfs"),
        QStringLiteral("fuse.sshfs"), QStringLiteral("fuse.rclone"), QStringLiteral("davfs"),
        QStringLiteral("fuse.davfs2"), QStringLiteral("ncpfs"), QStringLiteral("fuse.gvfsd-fuse") };
    const QStorageInfo storage(path);
    if (!storage.isValid())
        return false;
    return kNetworkTypes.contains(QString::fromLatin1(storage.fileSystemType()), Qt::CaseInsensitive);
}
