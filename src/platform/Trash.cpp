#include "platform/Trash.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <optional>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QUrl>

#include "platform/AppFolders.h"
#include "platform/Log.h"
#include "platform/PathRules.h"
#include "platform/TrashFolder.h"

namespace
{

QString dataHome()
{
    return AppFolders::xdgFolder("XDG_DATA_HOME", QStringLiteral(".local/share"));
}

// The path with symlinks of its existing ancestors resolved, so "/home/x/../x/.local" and a
// symlinked home compare equal to the real folder.
QString resolved(const QString &path)
{
    QFileInfo info(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    QStringList tail;
    while (!info.exists() && !info.isRoot() && !info.filePath().isEmpty()) {
        tail.prepend(info.fileName());
        info = QFileInfo(info.absolutePath());
    }
    QString base = info.canonicalFilePath();
    if (base.isEmpty())
        base = info.absoluteFilePath();
    for (const QString &part : tail)
        base += QLatin1Char('/') + part;
    return QDir::cleanPath(base);
}

// The info file of a trashed item, as the freedesktop.org Trash describes it.
QByteArray trashInfo(const QString &absolutePath)
{
    return QByteArrayLiteral("[Trash Info]\nPath=") + QUrl::toPercentEncoding(absolutePath, "/")
        + QByteArrayLiteral("\nDeletionDate=")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddThh:mm:ss")).toLatin1()
        + QByteArrayLiteral("\n");
}

bool writeAll(int fd, const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

// The name `attempt` gives `fileName` in the Trash: the name itself, then "stem.2.ext", ...
QString candidateName(const QString &fileName, int attempt)
{
    if (attempt == 0)
        return fileName;
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        return fileName + QLatin1Char('.') + QString::number(attempt + 1);
    return fileName.left(dot) + QLatin1Char('.') + QString::number(attempt + 1) + fileName.mid(dot);
}

bool isNumber(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c.isDigit(); });
}

bool holdsFilesAndInfo(const QString &folder)
{
    return QFileInfo(folder + QStringLiteral("/files")).isDir()
        && QFileInfo(folder + QStringLiteral("/info")).isDir();
}

// Moves the item at `path` into `trash`: its info file claims a free name first, then the item
// takes that name in files/. A bounded number of names is tried; any other error ends at once.
bool moveInto(const QString &trash, const QString &path, QString *pathInTrash, QString *why)
{
    const QString files = trash + QStringLiteral("/files"), info = trash + QStringLiteral("/info");
    const QByteArray native = QFile::encodeName(path);
    const QString fileName = QFileInfo(path).fileName();
    const QByteArray infoText = trashInfo(path);
    for (int attempt = 0; attempt < 10000; ++attempt) {
        const QString name = candidateName(fileName, attempt);
        const QByteArray infoPath
            = QFile::encodeName(info + QLatin1Char('/') + name + QStringLiteral(".trashinfo"));
        // The info file claims the name: whoever creates it first owns it.
        const int fd = ::open(infoPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            *why = QStringLiteral("cannot write in ") + info + QStringLiteral(": ")
                + QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        const bool written = writeAll(fd, infoText);
        const bool closed = ::close(fd) == 0;
        const QString target = files + QLatin1Char('/') + name;
        const QByteArray targetNative = QFile::encodeName(target);
        struct stat existing {
        };
        // rename() would replace an item left in files/ without its info file.
        const bool free = ::lstat(targetNative.constData(), &existing) != 0 && errno == ENOENT;
        if (written && closed && free && ::rename(native.constData(), targetNative.constData()) == 0) {
            if (pathInTrash)
                *pathInTrash = target;
            return true;
        }
        const int error = errno;
        ::unlink(infoPath.constData());
        if (!free)
            continue;
        *why = QStringLiteral("cannot move into ") + files + QStringLiteral(": ")
            + QString::fromLocal8Bit(std::strerror(written && closed ? error : EIO));
        return false;
    }
    *why = QStringLiteral("no free name in ") + files;
    return false;
}

} // namespace

QString Trash::homeTrashFolder()
{
    return dataHome() + QStringLiteral("/Trash");
}

bool Trash::isInsideTrashFolder(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QString p = resolved(path);
    if (PathRules::isSameOrInside(p, resolved(homeTrashFolder())))
        return true;
    // Volume trash folders sit at the top of a mount: "<top>/.Trash-1000" or "<top>/.Trash/1000".
    static const QRegularExpression kVolumeTrash(QStringLiteral("/(\\.Trash-\\d+|\\.Trash/\\d+)(/|$)"));
    return kVolumeTrash.match(p).hasMatch();
}

bool Trash::hasTrashLayout(const QString &path)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    const QLatin1String shared(".Trash"), perUser(".Trash-");
    const bool trashName = name == shared || (name.startsWith(perUser) && isNumber(name.mid(perUser.size())));
    const bool userInShared = isNumber(name) && QFileInfo(info.absolutePath()).fileName() == shared;
    if ((trashName || userInShared) && holdsFilesAndInfo(path))
        return true;
    if (name != shared)
        return false;
    const QStringList users = QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    return std::any_of(users.begin(), users.end(), [&](const QString &user) {
        return isNumber(user) && holdsFilesAndInfo(path + QLatin1Char('/') + user);
    });
}

bool Trash::moveToTrash(const QString &path, QString *pathInTrash, QString *why)
{
    QString reason;
    if (path.isEmpty() || !QDir::isAbsolutePath(path))
        reason = QStringLiteral("not an absolute path");
    else if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink())
        reason = QStringLiteral("no longer there");
    const QString item = QDir::cleanPath(path);
    if (reason.isEmpty()) {
        if (const std::optional<QString> trash = TrashFolder::forItem(item, &reason);
            trash && moveInto(*trash, item, pathInTrash, &reason))
            return true;
    }
    Log::line(
        QStringLiteral("Move to Trash failed: ") + path + QStringLiteral(" (") + reason + QLatin1Char(')'));
    if (why)
        *why = reason;
    return false;
}
