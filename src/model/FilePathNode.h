// One entry of a scan list: a file, a folder, a photo library or a cloud folder.
#pragma once

#include <memory>
#include <optional>

#include <QString>

#include "app/GlobalObjects.h"

class GDFoldersList;
class CloudScanFoldersList;

class FilePathNode
{
public:
    // Path of the file, folder or library package; for cloud entries the displayed folder path.
    std::optional<QString> filePath;
    // Tick state in the scan list: 1 ticked, 0 unticked, -1 until the list sets it.
    int state = -1;
    GlobalObjects::NodeType nodeType = GlobalObjects::NodeType::nodeTypefile;
    // The Google Drive folder of a Google Drive entry.
    std::shared_ptr<GDFoldersList> dFolderList;
    // The Dropbox folder of a Dropbox entry.
    std::shared_ptr<CloudScanFoldersList> cloudFolder;
};
