// Filling a library item's node.
#include "model/PhotosNode.h"

void PhotosNode::initWithPhotosOriginalPathWithPath(const QString &path, const QString &thumbPath,
    const QString &originalFileName, std::uint64_t fileSize, const QString &uuid, const QString &modelId,
    const QString &uuIDRkVersion, const QString &libPath)
{
    Q_UNUSED(thumbPath);
    oPath = path;
    tPath.reset();
    fileName = originalFileName;
    this->fileSize = fileSize;
    this->uuid = uuid;
    modelID = modelId;
    this->uuIDRkVersion = uuIDRkVersion;
    librarypath = libPath;
    isMovedToTrashAlbum = false;
}
