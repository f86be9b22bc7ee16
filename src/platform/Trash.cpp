#include "platform/Trash.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

std::optional<dev_t> deviceOf(const QByteArray &path)
{
    struct stat st {
    };
    if (::lstat(path.constData(), &st) != 0)
        return std::nullopt;
    return st.st_dev;
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

enum class HomeMove { Moved, Failed, NotApplicable };

// The home Trash without Qt's general search for a trash folder, which reads the mount table for
// every file: a removal of thousands of files spent most of its time there. Only for items on the
// home Trash's own file system; the others take Qt's way to their volume's trash.
HomeMove moveToHomeTrash(const QString &path, QString *pathInTrash)
{
    const QString trash = Trash::homeTrashFolder();
    const QString files = trash + QStringLiteral("/files"), info = trash + QStringLiteral("/info");
    if (!AppFolders::ensureFolder(files) || !AppFolders::ensureFolder(info))
        return HomeMove::NotApplicable;
    const QByteArray native = QFile::encodeName(path);
    const std::optional<dev_t> itemDevice = deviceOf(native),
                               trashDevice = deviceOf(QFile::encodeName(files));
    if (!itemDevice || !trashDevice || *itemDevice != *trashDevice)
        return HomeMove::NotApplicable;
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QString fileName = QFileInfo(path).fileName();
    const QByteArray infoText = trashInfo(absolute);
    for (int attempt = 0; attempt < 10000; ++attempt) {
        const QString name = candidateName(fileName, attempt);
        const QByteArray infoPath
            = QFile::encodeName(info + QLatin1Char('/') + name + QStringLiteral(".trashinfo"));
        // The info file claims the name: whoever creates it first owns it.
        const int fd = ::open(infoPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            return HomeMove::Failed;
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
            return HomeMove::Moved;
        }
        ::unlink(infoPath.constData());
        if (!free)
            continue;
        return HomeMove::Failed;
    }
    return HomeMove::Failed;
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

bool Trash::moveToTrash(const QString &path, QString *pathInTrash)
{
    if (path.isEmpty() || (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()))
        return false;
    // Qt reports success but moves the item into "./files" of the working directory when the data
    // folder is missing, so it must exist first.
    AppFolders::ensureFolder(dataHome());
    switch (moveToHomeTrash(path, pathInTrash)) {
    case HomeMove::Moved:
        return true;
    case HomeMove::Failed:
        Log::line(QStringLiteral("Move to Trash failed: ") + path);
        return false;
    case HomeMove::NotApplicable:
        break;
    }
    QString target;
    if (!QFile::moveToTrash(path, &target)) {
        Log::line(QStringLiteral("Move to Trash failed: ") + path);
        return false;
    }
    const bool gone = !QFileInfo::exists(path) && !QFileInfo(path).isSymLink();
    const bool landed = !target.isEmpty() && (QFileInfo::exists(target) || QFileInfo(target).isSymLink())
        && isInsideTrashFolder(target);
    if (!gone || !landed) {
        // Put a stray move back, so a failed removal leaves the file where the user had it.
        if (gone && !target.isEmpty() && QFileInfo::exists(target))
            QFile::rename(target, path);
        Log::line(QStringLiteral("Move to Trash did not reach a Trash folder: ") + path
            + QStringLiteral(" -> ") + target);
        return false;
    }
    if (pathInTrash)
        *pathInTrash = target;
    return true;
}
