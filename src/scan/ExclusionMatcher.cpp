#include "scan/ExclusionMatcher.h"

#include <QDir>

#include "platform/Log.h"
#include "platform/PathLook.h"
#include "platform/PathRules.h"

namespace
{

// "/Volumes/<name>/System" or "/Volumes/<name>/Library", or a folder below one.
bool isVolumeSystemFolder(const QString &path)
{
    const QStringList parts = path.split(QLatin1Char('/'));
    return parts.size() >= 4 && parts[0].isEmpty() && parts[1] == QLatin1String("Volumes")
        && (parts[3] == QLatin1String("System") || parts[3] == QLatin1String("Library"));
}

} // namespace

ExclusionMatcher::ExclusionMatcher(const QStringList &excludedFolders, const std::atomic<bool> *stop)
{
    QStringList folders = excludedFolders;
    folders.removeAll(QString());
    if (folders.isEmpty())
        return;
    const std::vector<PathLook::Result<PathLook::Found>> found = PathLook::current().findAll(folders, stop);
    for (qsizetype i = 0; i < folders.size(); ++i) {
        // The folder as written and, when it resolves to another place (a link on the way), the
        // place the walk actually reaches.
        m_folders.append(QDir::cleanPath(folders[i]));
        const PathLook::Result<PathLook::Found> &one = found[size_t(i)];
        if (!one.silentMount.isEmpty())
            Log::line(
                QStringLiteral("Excluded folder not answering, known by its path alone: ") + folders[i]);
        if (!one.answer || !one.answer->facts)
            continue;
        if (one.answer->real != m_folders.back())
            m_folders.append(one.answer->real);
        m_identities.insert(one.answer->facts->identity);
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
