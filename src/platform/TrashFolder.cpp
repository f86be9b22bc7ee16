#include "platform/TrashFolder.h"

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

// The top folder of the mount that holds `path`.
QString mountTop(const QString &path, dev_t device)
{
    QString top = QFileInfo(path).absolutePath();
    while (top != QLatin1String("/")) {
        const QString parent = QFileInfo(top).absolutePath();
        if (deviceOf(parent) != device)
            break;
        top = parent;
    }
    return top;
}

} // namespace

std::optional<QString> TrashFolder::forItem(const QString &path, QString *why)
{
    const std::optional<dev_t> device = deviceOf(path);
    if (!device) {
        *why = QStringLiteral("no longer there");
        return std::nullopt;
    }
    const QString home = Trash::homeTrashFolder();
    if (deviceBelow(home) != device)
        return volumeTrash(path, why);
    if (!prepare(home, why))
        return std::nullopt;
    return home;
}

std::optional<QString> TrashFolder::volumeTrash(const QString &path, QString *why)
{
    const QString top = mountTop(path, *deviceOf(path));
    const QString uid = QString::number(::getuid());
    const QString base = top == QLatin1String("/") ? QString() : top;
    const QString shared = base + QStringLiteral("/.Trash");
    struct stat st {
    };
    // A shared Trash counts only as the administrator set it up: a real folder with the sticky bit.
    const bool sharedUsable = ::lstat(QFile::encodeName(shared).constData(), &st) == 0 && S_ISDIR(st.st_mode)
        && (st.st_mode & S_ISVTX);
    QString unused;
    if (sharedUsable && prepare(shared + QLatin1Char('/') + uid, &unused))
        return shared + QLatin1Char('/') + uid;
    const QString own = base + QStringLiteral("/.Trash-") + uid;
    if (!prepare(own, why))
        return std::nullopt;
    return own;
}

bool TrashFolder::prepare(const QString &trash, QString *why)
{
    for (const QString &folder :
        { trash, trash + QStringLiteral("/files"), trash + QStringLiteral("/info") }) {
        // Made with their parents where missing (the data folder may not exist yet); a file in
        // the way fails here.
        if (!AppFolders::ensureFolder(folder)) {
            *why = QStringLiteral("the Trash folder %1 cannot be made").arg(folder);
            return false;
        }
    }
    return true;
}
