// Library identifiers of one Photos or iPhoto library item, carried inside its photo record.
#pragma once

#include <cstdint>
#include <optional>

#include <QString>

class PhotosNode
{
public:
    // Fills the node from a library item. The thumbnail path is accepted but never kept, so tPath
    // stays absent.
    void initWithPhotosOriginalPathWithPath(const QString &path, const QString &thumbPath,
        const QString &originalFileName, std::uint64_t fileSize, const QString &uuid, const QString &modelId,
        const QString &uuIDRkVersion, const QString &libPath);

    std::optional<bool> isMovedToTrashAlbum;
    std::optional<bool> hasDescriptionForPhotosDup;
    std::optional<QString> librarypath;
    std::optional<QString> uuIDRkVersion;
    // Path of the item's file inside the library package.
    std::optional<QString> oPath;
    std::optional<QString> tPath;
    std::optional<QString> fileName;
    std::optional<std::uint64_t> fileSize;
    std::optional<QString> uuid;
    // Model id in "rk" libraries; empty for the Photos store.
    std::optional<QString> modelID;
    std::optional<QString> photoNodeDesc;
};
