// What the main window knows about the scan list and the scan it starts: the paths of each source,
// the extensions a scan takes, the comparison chosen and the Google Drive listing's records. A public
// base of MainViewController; the window's helpers take it instead of the controller.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include <QHash>
#include <QString>
#include <QStringList>

#include "app/GlobalObjects.h"
#include "model/FilePathNode.h"

class CloudScanFoldersList;
class GoogleDriveAccessVC;
class ImageFileInfo;
class ScanWrapper;

// What the list last learnt of an entry's path. Restored entries are looked at off the GUI thread
// and show as they were saved until their answer comes.
enum class EntryAnswer { Looking, Here, Away, NotAnswering };

struct ScanListState
{
    std::shared_ptr<GoogleDriveAccessVC> gDriveAccessVC;
    std::shared_ptr<ScanWrapper> scanWrapper;
    std::shared_ptr<CloudScanFoldersList> lastSelectedCloudPath;
    std::shared_ptr<CloudScanFoldersList> cloudRootObj;
    std::vector<FilePathNode> arrPathNodes;
    std::vector<FilePathNode> arrPathNodeGoogleDrive;
    QHash<QString, int> dictPathAdded;
    // By entry path: its key in dictPathAdded, and what the last look at it found (none: here).
    QHash<QString, QString> entryKeys;
    QHash<QString, EntryAnswer> entryAnswers;
    GlobalObjects::NodeType nodeType = GlobalObjects::NodeType::nodeTypefile;
    std::atomic<bool> abortMe { false };
    QStringList allowedExtensions;
    QStringList arrVideoExtn { "MPEG", "MP4", "DIVX", "MOV", "XVID", "MPG", "AVI", "WEBM", "DV", "3GP",
        "M4V", "3GPP", "3PP2", "MPEG-2", "MPEG-1", "MPA", "FLV", "WMX" };
    // The records a Google Drive listing gathers for the scan it then starts.
    std::vector<std::shared_ptr<ImageFileInfo>> arrImagesContent;
    int countPathAdded = 0;
    GlobalObjects::CompareType compareType = GlobalObjects::CompareType::ctHash;
};
