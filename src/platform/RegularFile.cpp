#include "platform/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "platform/Log.h"
#include "platform/PrivateFiles.h"

namespace
{

void logRefusal(const QString &what, const QString &path)
{
    Log::line(what + QStringLiteral(": ") + path);
}

// `path` is taken in the open folder `folderFd` when one is given. O_NONBLOCK makes opening a fifo without a
// writer (or, for writing, without a reader) return at once; it is cleared again, since it means nothing for
// the regular files that are kept.
RegularFile::Descriptor openChecked(
    const QString &path, int flags, bool quiet = false, int folderFd = AT_FDCWD)
{
    const int fd
        = ::openat(folderFd, QFile::encodeName(path).constData(), flags | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0 && quiet)
        return {};
    if (fd < 0) {
        logRefusal(QStringLiteral("Cannot open file (") + QString::fromLocal8Bit(std::strerror(errno))
                + QLatin1Char(')'),
            path);
        return {};
    }
    struct stat st {
    };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        if (!quiet)
            logRefusal(QStringLiteral("Skipped, not a regular file"), path);
        return {};
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return RegularFile::Descriptor(fd, qint64(st.st_size));
}

} // namespace

RegularFile::Descriptor::~Descriptor()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

RegularFile::Descriptor::Descriptor(Descriptor &&other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
    , m_size(other.m_size)
{
}

RegularFile::Descriptor &RegularFile::Descriptor::operator=(Descriptor &&other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
        m_size = other.m_size;
    }
    return *this;
}

QString RegularFile::Descriptor::procPath() const
{
    return m_fd < 0 ? QString() : QStringLiteral("/proc/self/fd/%1").arg(m_fd);
}

RegularFile::Descriptor RegularFile::openForReading(const QString &path)
{
    return openChecked(path, O_RDONLY);
}

RegularFile::Descriptor RegularFile::openForAppending(int folderFd, const QByteArray &name)
{
    // A link in the file's place could lead the appended lines into any file of the user's.
    return openChecked(QFile::decodeName(name), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW, true, folderFd);
}

bool RegularFile::openQFile(QFile &file, const QString &path)
{
    Descriptor descriptor = openForReading(path);
    if (!descriptor.isValid())
        return false;
    if (!file.open(descriptor.get(), QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return false;
    descriptor.release();
    return true;
}

std::optional<QByteArray> RegularFile::readAll(const QString &path, qint64 maxBytes)
{
    const Descriptor descriptor = openForReading(path);
    if (!descriptor.isValid() || descriptor.size() > maxBytes)
        return std::nullopt;
    QByteArray bytes(qsizetype(descriptor.size()), Qt::Uninitialized);
    qint64 done = 0;
    while (done < descriptor.size()) {
        const ssize_t got = ::read(descriptor.get(), bytes.data() + done, size_t(descriptor.size() - done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        done += got;
    }
    bytes.truncate(qsizetype(done));
    return bytes;
}

bool RegularFile::copy(const QString &from, const QString &to, QString *error)
{
    const Descriptor source = openForReading(from);
    if (!source.isValid()) {
        *error = QStringLiteral("not a regular file: ") + from;
        return false;
    }
    QFile target(to);
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly, PrivateFiles::kFilePermissions)) {
        *error = target.errorString();
        return false;
    }
    constexpr qint64 kChunk = 1 << 20;
    QByteArray buffer(qsizetype(kChunk), Qt::Uninitialized);
    qint64 left = source.size();
    while (left > 0) {
        const ssize_t got = ::read(source.get(), buffer.data(), size_t(std::min(left, kChunk)));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0 || target.write(buffer.constData(), got) != got) {
            *error = got < 0 ? QString::fromLocal8Bit(std::strerror(errno)) : target.errorString();
            target.remove();
            return false;
        }
        left -= got;
    }
    return true;
}
