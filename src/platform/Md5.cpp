#include "platform/Md5.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QFile>

#include "platform/Log.h"
#include "platform/RegularFile.h"

namespace
{

// Large enough that system calls cost nothing next to the hashing, small enough to stay in cache.
constexpr size_t kChunkSize = 128 * 1024;

bool stopped(const std::atomic<bool> *stop)
{
    return stop && stop->load(std::memory_order_relaxed);
}

} // namespace

std::optional<QString> Md5::ofFile(const QString &path, const std::atomic<bool> *stop)
{
    // Never more than the size at opening: a file that grows without end is summed as it was.
    const RegularFile::Descriptor fd = RegularFile::openForReading(path);
    if (!fd.isValid())
        return std::nullopt;
    qint64 left = fd.size();
    ::posix_fadvise(fd.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
    QCryptographicHash hash(QCryptographicHash::Md5);
    QByteArray buffer(qsizetype(kChunkSize), Qt::Uninitialized);
    // One byte more than the size is asked for at the end: a file that grew or shrank while it was
    // read (or one whose stated size is not its content, as in /proc) gets no digest.
    for (;;) {
        if (stopped(stop))
            return std::nullopt;
        const size_t want = left > 0 ? size_t(std::min<qint64>(left, kChunkSize)) : 1;
        const ssize_t got = ::read(fd.get(), buffer.data(), want);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            Log::line(QStringLiteral("Cannot read file: ") + QString::fromLocal8Bit(std::strerror(errno))
                + QStringLiteral(" ") + path);
            return std::nullopt;
        }
        if ((got == 0) != (left == 0)) {
            Log::line(QStringLiteral("File changed while it was read: ") + path);
            return std::nullopt;
        }
        if (got == 0)
            break;
        hash.addData(QByteArrayView(buffer.constData(), qsizetype(got)));
        left -= got;
    }
    return hexString(hash.result());
}

QString Md5::hexString(const QByteArray &digest)
{
    return QString::fromLatin1(digest.toHex());
}
