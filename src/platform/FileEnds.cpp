#include "platform/FileEnds.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>

#include <QHashFunctions>

#include "platform/Log.h"
#include "platform/RegularFile.h"

namespace
{

// Reads `length` bytes from `offset` into `into`; false (and one log line) when they cannot all be
// read.
bool readRange(int fd, qint64 offset, qint64 length, char *into, const QString &path)
{
    qint64 done = 0;
    while (done < length) {
        const ssize_t got = ::pread(fd, into + done, size_t(length - done), off_t(offset + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            Log::line(QStringLiteral("Cannot read file: ")
                + QString::fromLocal8Bit(got < 0 ? std::strerror(errno) : "end of file") + QStringLiteral(" ")
                + path);
            return false;
        }
        done += got;
    }
    return true;
}

} // namespace

std::optional<QByteArray> FileEnds::digest(const QString &path, qint64 bytes)
{
    const RegularFile::Descriptor fd = RegularFile::openForReading(path);
    if (!fd.isValid())
        return std::nullopt;
    const qint64 size = fd.size();
    const bool whole = size <= 2 * bytes;
    QByteArray ends(qsizetype(whole ? size : 2 * bytes), Qt::Uninitialized);
    const bool read = whole ? readRange(fd.get(), 0, size, ends.data(), path)
                            : readRange(fd.get(), 0, bytes, ends.data(), path)
            && readRange(fd.get(), size - bytes, bytes, ends.data() + bytes, path);
    if (!read)
        return std::nullopt;
    // Two hashes with unrelated seeds: a file whose ends collide with another's is only read whole.
    const quint64 words[2] = { quint64(qHashBits(ends.constData(), size_t(ends.size()), 0)),
        quint64(qHashBits(ends.constData(), size_t(ends.size()), size_t(0x9e3779b97f4a7c15ULL))) };
    return QByteArray(reinterpret_cast<const char *>(words), sizeof(words));
}
