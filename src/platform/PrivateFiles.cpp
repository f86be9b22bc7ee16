#include "platform/PrivateFiles.h"

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QSaveFile>

namespace
{

constexpr mode_t kOthersBits = S_IRWXG | S_IRWXO;

bool isFolder(const QByteArray &native)
{
    struct stat st {
    };
    return ::stat(native.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

bool PrivateFiles::makeFolder(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QByteArray native = QFile::encodeName(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    if (isFolder(native))
        return true;
    // From the top down, so each missing folder is made inside one that exists.
    for (qsizetype slash = native.indexOf('/', 1);; slash = native.indexOf('/', slash + 1)) {
        const QByteArray prefix = slash < 0 ? native : native.left(slash);
        struct stat st {
        };
        if (::lstat(prefix.constData(), &st) != 0 && ::mkdir(prefix.constData(), 0700) != 0
            && errno != EEXIST)
            return false;
        if (slash < 0)
            break;
    }
    return isFolder(native);
}

bool PrivateFiles::open(QSaveFile &file)
{
    // The permissions go on the temporary file the content is written to.
    return file.open(QIODevice::WriteOnly) && file.setPermissions(kFilePermissions);
}

bool PrivateFiles::write(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!open(file))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void PrivateFiles::narrow(const QString &path, bool recursive)
{
    const QByteArray native = QFile::encodeName(path);
    narrowOne(native);
    if (!recursive || !isFolder(native))
        return;
    // Links are listed but not entered (no FollowSymlinks), and narrowOne() leaves them alone.
    QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext())
        narrowOne(QFile::encodeName(it.next()));
}

bool PrivateFiles::isOwnPrivateFolder(const QString &path)
{
    struct stat st {
    };
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &st) == 0 && S_ISDIR(st.st_mode)
        && st.st_uid == ::geteuid() && (st.st_mode & kOthersBits) == 0;
}

void PrivateFiles::narrowOne(const QByteArray &nativePath)
{
    struct stat st {
    };
    if (::lstat(nativePath.constData(), &st) != 0 || S_ISLNK(st.st_mode) || st.st_uid != ::geteuid())
        return;
    if ((st.st_mode & kOthersBits) != 0)
        ::chmod(nativePath.constData(), st.st_mode & 07777 & ~kOthersBits);
}
