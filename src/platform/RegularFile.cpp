#include "platform/RegularFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

#include <QFile>

#include "platform/Log.h"
#include "platform/PrivateFiles.h"

namespace
{

void logRefusal(const QString &what, const QString &path)
{
    Log::line(what + QStringLiteral(": ") + path);
}

// What an open that fails tells the log: everything, all but a missing file (a settings or album
// file not written yet is no fault), or nothing.
enum class Refusals { logged, missingQuiet, quiet };

// `path` is taken in the open folder `folderFd` when one is given. O_NONBLOCK makes opening a fifo without a
// writer (or, for writing, without a reader) return at once; it is cleared again, since it means nothing for
// the regular files that are kept.
RegularFile::Descriptor openChecked(
    const QString &path, int flags, Refusals refusals = Refusals::logged, int folderFd = AT_FDCWD)
{
    const int fd
        = ::openat(folderFd, QFile::encodeName(path).constData(), flags | O_NONBLOCK | O_CLOEXEC, 0600);
    const bool quiet = refusals == Refusals::quiet;
    if (fd < 0 && (quiet || (refusals == Refusals::missingQuiet && errno == ENOENT)))
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

// A copy that reads only the data of the source and writes only what is not zeros, at the same
// offsets: what it leaves unwritten reads as zeros in the copy and takes no room.
struct SparseCopy {
    static constexpr qint64 kChunk = 1 << 20;

    int from;
    int to;
    qint64 *budget;
    QByteArray buffer = QByteArray(qsizetype(kChunk), Qt::Uninitialized);

    // The next run of data at or after `offset`, before `end`; empty when only holes are left. A
    // file system that cannot tell holes apart gives it all as data.
    std::pair<off_t, off_t> nextData(off_t offset, off_t end) const
    {
        off_t data = ::lseek(from, offset, SEEK_DATA);
        if (data < 0)
            data = errno == ENXIO ? end : offset;
        off_t hole = data < end ? ::lseek(from, data, SEEK_HOLE) : end;
        if (hole < 0 || hole > end)
            hole = end;
        return { data, hole };
    }

    bool copyRange(off_t begin, off_t end, QString *error)
    {
        for (off_t at = begin; at < end;) {
            const ssize_t got = ::pread(from, buffer.data(), size_t(std::min<qint64>(end - at, kChunk)), at);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return fail(
                    error, got == 0 ? QStringLiteral("the file shrank while it was copied") : QString());
            if (budget && (*budget -= got) < 0)
                return fail(error, QStringLiteral("larger than a copy may be"));
            if (!isZeros(buffer.constData(), got) && !writeAll(buffer.constData(), got, at))
                return fail(error, QString());
            at += got;
        }
        return true;
    }

    static bool isZeros(const char *bytes, ssize_t count)
    {
        return count > 0 && bytes[0] == 0 && std::memcmp(bytes, bytes + 1, size_t(count - 1)) == 0;
    }

    bool writeAll(const char *bytes, ssize_t count, off_t at) const
    {
        while (count > 0) {
            const ssize_t put = ::pwrite(to, bytes, size_t(count), at);
            if (put < 0 && errno == EINTR)
                continue;
            if (put <= 0)
                return false;
            bytes += put;
            count -= put;
            at += put;
        }
        return true;
    }

    static bool fail(QString *error, const QString &why)
    {
        *error = why.isEmpty() ? QString::fromLocal8Bit(std::strerror(errno)) : why;
        return false;
    }
};

} // namespace

QString RegularFile::Descriptor::procPath() const
{
    return isValid() ? QStringLiteral("/proc/self/fd/%1").arg(get()) : QString();
}

RegularFile::Descriptor RegularFile::openForReading(const QString &path)
{
    return openChecked(path, O_RDONLY);
}

RegularFile::Descriptor RegularFile::openForAppending(int folderFd, const QByteArray &name)
{
    // A link in the file's place could lead the appended lines into any file of the user's.
    return openChecked(
        QFile::decodeName(name), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW, Refusals::quiet, folderFd);
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
    const Descriptor descriptor = openChecked(path, O_RDONLY, Refusals::missingQuiet);
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

bool RegularFile::copy(const QString &from, const QString &to, QString *error, qint64 *dataBudget)
{
    const Descriptor source = openForReading(from);
    if (!source.isValid()) {
        // A file that may be read was refused for being no regular file; otherwise the system says
        // why, but for a link whose target is not there, which it would call missing itself.
        const QByteArray name = QFile::encodeName(from);
        struct stat link = {};
        const QString why = ::access(name.constData(), R_OK) == 0 ? QStringLiteral("not a regular file")
            : errno == ENOENT && ::lstat(name.constData(), &link) == 0 && S_ISLNK(link.st_mode)
            ? QStringLiteral("a link to nothing")
            : QString::fromLocal8Bit(std::strerror(errno));
        *error = why + QStringLiteral(": ") + from;
        return false;
    }
    QFile target(to);
    if (!target.open(QIODevice::WriteOnly | QIODevice::NewOnly, PrivateFiles::kFilePermissions)) {
        *error = target.errorString();
        return false;
    }
    SparseCopy copy { source.get(), target.handle(), dataBudget };
    for (off_t offset = 0; offset < source.size();) {
        const std::pair<off_t, off_t> data = copy.nextData(offset, source.size());
        if (data.first >= data.second)
            break;
        if (!copy.copyRange(data.first, data.second, error)) {
            target.remove();
            return false;
        }
        offset = data.second;
    }
    // The holes at the end, too, keep the size the file had.
    if (::ftruncate(target.handle(), source.size()) != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        target.remove();
        return false;
    }
    return true;
}
