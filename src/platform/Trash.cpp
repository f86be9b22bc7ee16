#include "platform/Trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/AppFolders.h"
#include "platform/Log.h"
#include "platform/PathRules.h"

namespace {

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
    QString target;
    if (!QFile::moveToTrash(path, &target)) {
        Log::line(QStringLiteral("Move to Trash failed: ") + path);
        return false;
    }
    const bool gone = !QFileInfo::exists(path) && !QFileInfo(path).isSymLink();
    const bool landed = !target.isEmpty() && (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) &&
                        isInsideTrashFolder(target);
    if (!gone || !landed) {
        // Put a stray move back, so a failed removal leaves the file where the user had it.
        if (gone && !target.isEmpty() && QFileInfo::exists(target))
            QFile::rename(target, path);
        Log::line(QStringLiteral("Move to Trash did not reach a Trash folder: ") + path + QStringLiteral(" -> ") +
                  target);
        return false;
    }
    if (pathInTrash)
        *pathInTrash = target;
    return true;
}
