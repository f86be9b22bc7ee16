#include "scan/ui/ScanListRules.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>

#include "platform/FileFacts.h"

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

GlobalObjects::NodeType ScanListRules::typeOffered(
    Offer offer, const QString &path, const QStringList &allowedExtensions)
{
    switch (offer) {
    case Offer::Library:
        return GlobalObjects::NodeType::nodeTypePhotos;
    case Offer::Photos:
        return GlobalObjects::NodeType::nodeTypefile;
    case Offer::Drop:
        if (isPhotosLibraryPackage(path))
            return GlobalObjects::NodeType::nodeTypePhotos;
        [[fallthrough]];
    case Offer::Folder:
        break;
    }
    return hasEnabledExtension(path, allowedExtensions) ? GlobalObjects::NodeType::nodeTypefile
                                                        : GlobalObjects::NodeType::nodeTypefolder;
}

bool ScanListRules::wantsDatabase(Offer offer, const QString &path, const std::optional<Item> &item)
{
    const bool named = offer == Offer::Library || (offer == Offer::Drop && isPhotosLibraryPackage(path));
    return named && item && item->folder && item->readable;
}

ScanListRules::Kind ScanListRules::classifyOffered(
    Offer offer, const QString &path, const Looked &looked, const QStringList &allowedExtensions)
{
    const std::optional<Item> &item = looked.item;
    switch (offer) {
    case Offer::Drop:
        if (looked.insideTrash || !item || !item->readable)
            return Kind::Skip;
        if (!item->folder)
            return hasEnabledExtension(path, allowedExtensions) ? Kind::File : Kind::Skip;
        if (!FileFacts::hasPackageSuffix(path))
            return Kind::Folder;
        return isPhotosLibraryPackage(path) && looked.hasDatabase ? Kind::PhotosLibrary : Kind::LibraryError;
    case Offer::Photos:
        return item ? Kind::File : Kind::Skip;
    case Offer::Folder:
        if (!item)
            return Kind::Skip;
        if (item->folder)
            return Kind::Folder;
        return hasEnabledExtension(path, allowedExtensions) ? Kind::File : Kind::Skip;
    case Offer::Library:
        if (looked.insideTrash || !item || !item->folder || !item->readable)
            return Kind::Skip;
        return looked.hasDatabase ? Kind::PhotosLibrary : Kind::LibraryError;
    }
    return Kind::Skip;
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

std::optional<GlobalObjects::NodeType> ScanListRules::entryType(Kind kind)
{
    switch (kind) {
    case Kind::File:
        return GlobalObjects::NodeType::nodeTypefile;
    case Kind::Folder:
        return GlobalObjects::NodeType::nodeTypefolder;
    case Kind::PhotosLibrary:
        return GlobalObjects::NodeType::nodeTypePhotos;
    case Kind::LibraryError:
    case Kind::Skip:
    case Kind::Absent:
        break;
    }
    return std::nullopt;
}

bool ScanListRules::hasPictureName(const QString &path)
{
    const QString type = QMimeDatabase().mimeTypeForFile(path, QMimeDatabase::MatchExtension).name();
    return type.startsWith(QLatin1String("image/")) || type.startsWith(QLatin1String("video/"));
}

bool ScanListRules::isPathEnabledInOpenPanel(
    GlobalObjects::NodeType nodeType, const QFileInfo &info, const QStringList &allowedExtensions)
{
    const QString path = info.filePath();
    if (!info.exists())
        return false;
    const QString suffix = lowerSuffix(path);
    switch (nodeType) {
    case GlobalObjects::NodeType::nodeTypefile:
        if (info.isDir())
            return !FileFacts::hasPackageSuffix(path);
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
