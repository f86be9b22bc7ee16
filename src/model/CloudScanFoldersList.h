// A node of the cloud folder tree of the main window's folder sheet, and the unit of the Dropbox
// listing.
#pragma once

#include <memory>
#include <vector>

#include <QList>
#include <QString>

#include "model/CloudListedFile.h"

class CloudScanFoldersList
{
public:
    QString folderName;
    QString folderId;
    QString folderPath;
    bool isExpandable = true;
    // Child folders, owned by this node.
    QList<std::shared_ptr<CloudScanFoldersList>> arrChildren;
    // Every file of the folder, whatever its type: a scan makes its records from these.
    std::vector<CloudListedFile> listedFiles;
    bool isAllFilesFetched = false;
    // Position of the next child folder to list during a scan.
    int currentScanFolderIndex = 0;
    // The parent owns its children, so the way back does not own.
    std::weak_ptr<CloudScanFoldersList> parentNodeDropBoxList;
    QString graphUrlStr;
};
