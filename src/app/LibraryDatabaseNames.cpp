#include "app/LibraryDatabaseNames.h"

#include <dirent.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>

#include "platform/Log.h"

LibraryDatabaseNames::LibraryDatabaseNames(const QString &libraryPath, Entries last, Entering entering)
    : m_libraryPath(libraryPath)
    , m_last(last)
    , m_entering(std::move(entering))
{
}

QString LibraryDatabaseNames::spelled(const QString &relative) const
{
    return QDir(m_libraryPath).filePath(relative);
}

QString LibraryDatabaseNames::find(const QString &relative) const
{
    const QStringList names = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QStringList found { QString() };
    for (qsizetype i = 0; i < names.size() && !found.isEmpty(); ++i) {
        QStringList next;
        for (const QString &folder : std::as_const(found)) {
            for (const QString &name : matching(folder, names[i], i + 1 < names.size()))
                next.append(folder.isEmpty() ? name : folder + QLatin1Char('/') + name);
        }
        found = next;
    }
    if (found.isEmpty() || names.isEmpty())
        return {};
    std::sort(found.begin(), found.end());
    if (found.size() > 1)
        Log::line(
            QStringLiteral("Photo library %1 holds %2 files named %3 but for letter case (%4): %5 is read")
                .arg(m_libraryPath)
                .arg(found.size())
                .arg(relative, found.join(QStringLiteral(", ")), found.first()));
    return spelled(found.first());
}

QStringList LibraryDatabaseNames::matching(
    const QString &relativeFolder, const QString &name, bool folders) const
{
    const QString key = (folders ? QStringLiteral("d:") : QStringLiteral("f:")) + relativeFolder;
    auto listed = m_listings.constFind(key);
    if (listed == m_listings.cend())
        listed = m_listings.insert(key, listing(relativeFolder, folders));
    QStringList names;
    for (const QString &entry : *listed) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            names.append(entry);
    }
    return names;
}

QStringList LibraryDatabaseNames::listing(const QString &relativeFolder, bool folders) const
{
    const QString folder = spelled(relativeFolder);
    if (m_entering && !m_entering(folder))
        return {};
    const QDir::Filters kinds = folders ? QDir::Dirs | QDir::NoDotAndDotDot
        : m_last == Entries::Any        ? QDir::AllEntries | QDir::NoDotAndDotDot
                                        : QDir::Files;
    const QStringList names = QDir(folder).entryList(kinds | QDir::Hidden | QDir::System, QDir::Name);
    // An empty listing may be a folder that cannot be read: the reason is what a user must hear.
    if (names.isEmpty() && m_unlistedFolder.isEmpty()) {
        DIR *dir = ::opendir(QFile::encodeName(folder).constData());
        if (dir)
            ::closedir(dir);
        else if (errno != ENOENT && errno != ENOTDIR) {
            m_unlistedFolder = folder;
            m_unlistedReason = QString::fromLocal8Bit(std::strerror(errno));
        }
    }
    return names;
}
