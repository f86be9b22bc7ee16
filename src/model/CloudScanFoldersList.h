// A node of the cloud folder tree of the main window's folder sheet, and the unit of the Dropbox
// listing.
#pragma once

#include <memory>

#include <QList>
#include <QString>

class ImageFileInfo;

class CloudScanFoldersList
{
public:
    QString folderName;
    QString folderId;
    QString folderPath;
    bool isExpandable = true;
    // Child folders, owned by this node.
    QList<std::shared_ptr<CloudScanFoldersList>> arrChildren;
    // Files of the folder that passed the scan's filters.
    QList<std::shared_ptr<ImageFileInfo>> arrCloudDriveFiles;
    QList<std::shared_ptr<ImageFileInfo>> arrCloudDriveAllTypeFiles;
    bool isAllFilesFetched = false;
    // Position of the next child folder to list during a scan.
    int currentScanFolderIndex = 0;
    // The parent owns its children, so the way back does not own.
    std::weak_ptr<CloudScanFoldersList> parentNodeDropBoxList;
    QString graphUrlStr;
};
