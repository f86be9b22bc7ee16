#include "platform/Md5.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QFile>

#include "platform/Log.h"

namespace {

// Large enough that system calls cost nothing next to the hashing, small enough to stay in cache.
constexpr size_t kChunkSize = 128 * 1024;

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

bool stopped(const std::atomic<bool> *stop)
{
    return stop && stop->load(std::memory_order_relaxed);
}

} // namespace

std::optional<QString> Md5::ofFile(const QString &path, const std::atomic<bool> *stop)
{
    const FileDescriptor fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) {
        Log::line(QStringLiteral("Cannot open file: ") + QString::fromLocal8Bit(std::strerror(errno)) +
                  QStringLiteral(" ") + path);
        return std::nullopt;
    }
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    QCryptographicHash hash(QCryptographicHash::Md5);
    QByteArray buffer(qsizetype(kChunkSize), Qt::Uninitialized);
    for (;;) {
        if (stopped(stop))
            return std::nullopt;
        const ssize_t got = ::read(fd.get(), buffer.data(), kChunkSize);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            Log::line(QStringLiteral("Cannot read file: ") + QString::fromLocal8Bit(std::strerror(errno)) +
                      QStringLiteral(" ") + path);
            return std::nullopt;
        }
        hash.addData(QByteArrayView(buffer.constData(), qsizetype(got)));
    }
    return hexString(hash.result());
}

QString Md5::hexString(const QByteArray &digest)
{
    return QString::fromLatin1(digest.toHex());
}
