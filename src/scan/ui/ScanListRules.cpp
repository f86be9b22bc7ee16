#include "scan/ui/ScanListRules.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>

#include "platform/FileFacts.h"
#include "platform/PathRules.h"
#include "platform/Trash.h"

namespace
{

QString lowerSuffix(const QString &path)
{
    return QFileInfo(path).suffix().toLower();
}

} // namespace

QString ScanListRules::canonicalPath(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? cleanPath(path) : canonical;
}

QString ScanListRules::cleanPath(const QString &path)
{
    return QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path));
}

GlobalObjects::NodeType ScanListRules::typeByName(const QString &path)
{
    // A library keeps its suffix; what else was saved is not known until it is looked at.
    return isPhotosLibraryPackage(path) ? GlobalObjects::NodeType::nodeTypePhotos
                                        : GlobalObjects::NodeType::nodeTypefolder;
}

bool ScanListRules::isPhotosLibraryPackage(const QString &path)
{
    const QString suffix = lowerSuffix(path);
    return suffix == QLatin1String("migratedphotolibrary") || suffix == QLatin1String("photoslibrary");
}

bool ScanListRules::hasEnabledExtension(const QString &path, const QStringList &allowedExtensions)
{
    const QString suffix = lowerSuffix(path);
    for (const QString &extension : allowedExtensions)
        if (extension.toLower() == suffix)
            return true;
    return false;
}

ScanListRules::Kind ScanListRules::classifyDropped(const QString &path, const QStringList &allowedExtensions)
{
    if (Trash::isInsideTrashFolder(path))
        return Kind::Skip;
    const QFileInfo info(path);
    if (!info.exists() || !info.isReadable())
        return Kind::Skip;
    if (info.isDir()) {
        if (!FileFacts::isPackage(path))
            return Kind::Folder;
        return isPhotosLibraryPackage(path) ? Kind::PhotosLibrary : Kind::LibraryError;
    }
    return hasEnabledExtension(path, allowedExtensions) ? Kind::File : Kind::Skip;
}

ScanListRules::Kind ScanListRules::classifyRestored(
    const QString &path, bool insideTrash, const std::optional<Item> &item, bool folderHere)
{
    if (insideTrash)
        return Kind::Skip;
    // A saved entry is never dropped for being away or unreadable at launch: it would be gone from
    // the saved list at the next change. An unreadable folder is named at the end of its scan. A
    // photo gone from a folder that is there (trashed, moved, deleted) is gone for good, unlike a
    // drive's folder, which an unplugged drive takes along; a folder may be a drive of its own.
    if (!item)
        return folderHere && hasPictureName(path) ? Kind::Skip : Kind::Absent;
    if (!item->folder)
        return Kind::File;
    if (isPhotosLibraryPackage(path))
        return Kind::PhotosLibrary;
    // Another package is refused as a drop is, unless it cannot be read now.
    return item->readable && FileFacts::hasPackageSuffix(path) ? Kind::LibraryError : Kind::Folder;
}

bool ScanListRules::hasPictureName(const QString &path)
{
    const QString type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
    return type.startsWith(QLatin1String("image/")) || type.startsWith(QLatin1String("video/"));
}

bool ScanListRules::isPathEnabledInOpenPanel(
    GlobalObjects::NodeType nodeType, const QString &path, const QStringList &allowedExtensions)
{
    const QFileInfo info(path);
    if (!info.exists())
        return false;
    const QString suffix = lowerSuffix(path);
    switch (nodeType) {
    case GlobalObjects::NodeType::nodeTypefile:
        if (info.isDir())
            return !FileFacts::isPackage(path);
        return suffix != QLatin1String("migratedphotolibrary")
            && hasEnabledExtension(path, allowedExtensions);
    case GlobalObjects::NodeType::nodeTypefolder:
        return info.isDir();
    case GlobalObjects::NodeType::nodeTypePhotos:
        if (suffix == QLatin1String("migratedphotolibrary"))
            return false;
        return info.isDir();
    default:
        return false;
    }
}
