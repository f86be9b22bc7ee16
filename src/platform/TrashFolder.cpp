#include "platform/TrashFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>

#include "platform/AppFolders.h"
#include "platform/Trash.h"

namespace
{

std::optional<dev_t> deviceOf(const QString &path)
{
    struct stat st {
    };
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return st.st_dev;
}

// The device the folder would live on: that of its nearest part that exists.
std::optional<dev_t> deviceBelow(QString path)
{
    while (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink() && path != QLatin1String("/"))
        path = QFileInfo(path).absolutePath();
    return deviceOf(path);
}

// The top folder of the mount that holds the folder `realFolder` (a path without links).
QString mountTop(const QString &realFolder, dev_t device)
{
    QString top = realFolder;
    while (top != QLatin1String("/")) {
        const QString parent = QFileInfo(top).absolutePath();
        if (deviceOf(parent) != device)
            break;
        top = parent;
    }
    return top;
}

QString joined(const QString &folder, const QString &name)
{
    return (folder == QLatin1String("/") ? QString() : folder) + QLatin1Char('/') + name;
}

} // namespace

std::optional<TrashFolder> TrashFolder::forItem(const QString &realFolder, dev_t device, QString *why)
{
    if (deviceBelow(Trash::homeTrashFolder()) == device)
        return homeTrash(why);
    return volumeTrash(mountTop(realFolder, device), why);
}

std::optional<TrashFolder> TrashFolder::homeTrash(QString *why)
{
    const QString dataHome = QFileInfo(Trash::homeTrashFolder()).absolutePath();
    const OwnFolder data = OwnFolder::openPath(dataHome, why);
    if (!data.isValid())
        return std::nullopt;
    return open(data.get(), dataHome, QByteArrayLiteral("Trash"), why);
}

std::optional<TrashFolder> TrashFolder::volumeTrash(const QString &top, QString *why)
{
    const int topFd = ::open(QFile::encodeName(top).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (topFd < 0) {
        *why = QStringLiteral("the top of the volume %1 cannot be opened").arg(top);
        return std::nullopt;
    }
    const QByteArray uid = QByteArray::number(::getuid());
    std::optional<TrashFolder> trash;
    QString sharedWhy;
    // A shared Trash counts only as the administrator sets it up: a real folder with the sticky
    // bit, so that nobody may rename or remove the folders of others in it.
    const int shared = ::openat(topFd, ".Trash", O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    struct stat st {
    };
    if (shared >= 0 && ::fstat(shared, &st) == 0 && (st.st_mode & S_ISVTX))
        trash = open(shared, joined(top, QStringLiteral(".Trash")), uid, &sharedWhy);
    if (shared >= 0)
        ::close(shared);
    if (!trash)
        trash = open(topFd, top, QByteArrayLiteral(".Trash-") + uid, why);
    ::close(topFd);
    return trash;
}

std::optional<TrashFolder> TrashFolder::open(
    int parent, const QString &parentPath, const QByteArray &name, QString *why)
{
    TrashFolder trash;
    trash.m_path = joined(parentPath, QFile::decodeName(name));
    trash.m_trash = OwnFolder::openIn(parent, name, why);
    if (!trash.m_trash.isValid()) {
        *why = QStringLiteral("in %1: %2").arg(parentPath, *why);
        return std::nullopt;
    }
    trash.m_files = OwnFolder::openIn(trash.m_trash.get(), QByteArrayLiteral("files"), why);
    if (trash.m_files.isValid())
        trash.m_info = OwnFolder::openIn(trash.m_trash.get(), QByteArrayLiteral("info"), why);
    if (trash.m_info.isValid())
        return trash;
    *why = QStringLiteral("in %1: %2").arg(trash.m_path, *why);
    return std::nullopt;
}
