#include "app/LibraryDatabaseNames.h"

#include <algorithm>

#include <QDir>

#include "platform/Log.h"

LibraryDatabaseNames::LibraryDatabaseNames(const QString &libraryPath)
    : m_libraryPath(libraryPath)
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
    auto listing = m_listings.constFind(key);
    if (listing == m_listings.cend()) {
        const QDir::Filters filter
            = (folders ? QDir::Dirs | QDir::NoDotAndDotDot : QDir::Files) | QDir::Hidden | QDir::System;
        listing = m_listings.insert(key, QDir(spelled(relativeFolder)).entryList(filter, QDir::Name));
    }
    QStringList names;
    for (const QString &entry : *listing) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            names.append(entry);
    }
    return names;
}
