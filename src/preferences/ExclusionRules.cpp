#include "preferences/ExclusionRules.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "platform/PathRules.h"
#include "platform/Trash.h"

namespace
{

// Links resolved where the path exists, so two spellings of one folder compare equal; a path
// that does not exist is compared as written, cleaned of "." and "..".
QString canonical(const QString &path)
{
    const QString resolved = QFileInfo(path).canonicalFilePath();
    return resolved.isEmpty() ? QDir::cleanPath(path) : resolved;
}

} // namespace

bool ExclusionRules::isPathInScanList(const QString &folder, const QStringList &scanListPaths)
{
    const QString candidate = canonical(folder);
    for (const QString &scanPath : scanListPaths) {
        if (PathRules::isSameOrInside(canonical(scanPath), candidate))
            return true;
    }
    return false;
}

bool ExclusionRules::isAlreadyExcluded(const QString &folder, const QStringList &exclusions)
{
    return exclusions.contains(folder, Qt::CaseSensitive);
}

bool ExclusionRules::isTrashFolder(const QString &folder)
{
    if (Trash::isInsideTrashFolder(folder))
        return true;
    // The shared ".Trash" folder of a volume, above the per-user folders Trash already knows.
    static const QRegularExpression kVolumeTrash(QStringLiteral("/\\.Trash(/|$)"));
    return kVolumeTrash.match(canonical(folder)).hasMatch();
}

bool ExclusionRules::containsTrashFolder(const QStringList &folders)
{
    return std::any_of(folders.cbegin(), folders.cend(), [](const QString &f) { return isTrashFolder(f); });
}

ExclusionRules::AddResult ExclusionRules::addFolders(
    const QStringList &chosen, const QStringList &exclusions, const QStringList &scanListPaths)
{
    AddResult result { exclusions };
    for (const QString &folder : chosen) {
        const bool inScanList = isPathInScanList(folder, scanListPaths);
        const bool listed = isAlreadyExcluded(folder, result.exclusions);
        result.inScanList = result.inScanList || inScanList;
        result.alreadyExcluded = result.alreadyExcluded || listed;
        if (!inScanList && !listed)
            result.exclusions.append(folder);
    }
    return result;
}

std::optional<ExclusionRules::AlertKeys> ExclusionRules::alertFor(bool inScanList, bool alreadyExcluded)
{
    if (inScanList && alreadyExcluded)
        return AlertKeys { QStringLiteral("ID_ONE_OR_MORE_ITEMS_CANT_EXCLUDED"), QString() };
    if (inScanList)
        return AlertKeys { QStringLiteral("ID_FOLDER_CANT_EXCLUDED"),
            QStringLiteral("ID_EITHER_FOLDER_OR_CONTENTS_EXIST") };
    if (alreadyExcluded)
        return AlertKeys { QStringLiteral("ID_FOLDER_CANT_ADDED_TO_EXCLUDEDLIST"),
            QStringLiteral("ID_FOLDER_WITH_SUBNAME_EXISTS") };
    return std::nullopt;
}
