// Path checks of privileged commands.
#include "app/PrivilegedPaths.h"

#include <pwd.h>

#include <QDir>
#include <QFileInfo>

#include "platform/PathRules.h"

namespace
{

// "/", every top-level folder, and the folders directly below /usr, /usr/local and /var.
bool isSystemRoot(const QString &path)
{
    const QStringList parts = path.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.size() <= 1)
        return true;
    if (parts.size() == 2)
        return parts[0] == QLatin1String("usr") || parts[0] == QLatin1String("var");
    return parts.size() == 3 && parts[0] == QLatin1String("usr") && parts[1] == QLatin1String("local");
}

bool isHomeOrAbove(const QString &path, const QStringList &homes)
{
    for (const QString &home : homes) {
        if (PathRules::isSameOrInside(home, path))
            return true;
    }
    return false;
}

// The path with its parent folder's symbolic links resolved, so "/home/u/link/etc" with the link
// pointing at "/" is seen as "/etc". Empty when the parent does not exist.
QString resolvedPath(const QString &path)
{
    const QFileInfo info(path);
    const QString parent = QFileInfo(info.path()).canonicalFilePath();
    if (parent.isEmpty())
        return {};
    return QDir::cleanPath(parent + QLatin1Char('/') + info.fileName());
}

bool isProtected(const QString &path, const QStringList &homes)
{
    return isSystemRoot(path) || isHomeOrAbove(path, homes);
}

} // namespace

bool PrivilegedPaths::isAcceptable(const QString &path, const QStringList &homes)
{
    if (!PathRules::isNormalisedAbsolute(path) || isProtected(path, homes))
        return false;
    const QString resolved = resolvedPath(path);
    return resolved.isEmpty() || !isProtected(resolved, homes);
}

QStringList PrivilegedPaths::withCanonicalForms(const QStringList &homes)
{
    QStringList all;
    for (const QString &home : homes) {
        if (home.isEmpty())
            continue;
        all << QDir::cleanPath(home);
        const QString canonical = QFileInfo(home).canonicalFilePath();
        if (!canonical.isEmpty())
            all << canonical;
    }
    return all;
}

QString PrivilegedPaths::homeOfUser(unsigned int uid)
{
    const passwd *entry = getpwuid(uid_t(uid));
    return entry && entry->pw_dir ? QString::fromLocal8Bit(entry->pw_dir) : QString();
}
