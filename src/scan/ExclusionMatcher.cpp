#include "scan/ExclusionMatcher.h"

#include <QDir>
#include <QFileInfo>

#include "platform/Log.h"
#include "platform/PathRules.h"

namespace
{

// The folder as written and, when it resolves to another place (a symlink on the way), the place
// the walk actually reaches.
QStringList spellingsOf(const QString &folder)
{
    QStringList spellings { QDir::cleanPath(folder) };
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    if (!canonical.isEmpty() && canonical != spellings.front())
        spellings.append(canonical);
    return spellings;
}

// "/Volumes/<name>/System" or "/Volumes/<name>/Library", or a folder below one.
bool isVolumeSystemFolder(const QString &path)
{
    const QStringList parts = path.split(QLatin1Char('/'));
    return parts.size() >= 4 && parts[0].isEmpty() && parts[1] == QLatin1String("Volumes")
        && (parts[3] == QLatin1String("System") || parts[3] == QLatin1String("Library"));
}

} // namespace

ExclusionMatcher::ExclusionMatcher(const QStringList &excludedFolders)
{
    for (const QString &folder : excludedFolders) {
        if (folder.isEmpty())
            continue;
        m_folders.append(spellingsOf(folder));
        if (const std::optional<FileIdentity> identity = FileFacts::identity(folder))
            m_identities.insert(*identity);
    }
}

QStringList ExclusionMatcher::foldersFrom(const QVariantList &stored)
{
    QStringList folders;
    int refused = 0;
    for (const QVariant &entry : stored) {
        if (entry.typeId() == QMetaType::QString && !entry.toString().isEmpty())
            folders.append(entry.toString());
        else
            ++refused;
    }
    if (refused > 0)
        Log::line(QStringLiteral("Excluded folders ignored as empty or not text: %1").arg(refused));
    return folders;
}

bool ExclusionMatcher::isExcluded(const QString &folderPath) const
{
    if (isEmpty())
        return false;
    const QString path = QDir::cleanPath(folderPath);
    for (const QString &folder : m_folders) {
        if (PathRules::isSameOrInside(path, folder))
            return true;
    }
    return isVolumeSystemFolder(path);
}
