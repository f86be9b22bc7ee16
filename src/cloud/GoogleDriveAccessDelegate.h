// What the Google Drive side asks of the main window: a chosen folder for the scan list, the way
// back to this computer, the files a listing finds and the start of the hashing stage.
#pragma once

#include <memory>

class GDFoldersList;

class GoogleDriveAccessDelegate
{
public:
    virtual ~GoogleDriveAccessDelegate() = default;

    // The folder window's Add: the scan list takes the folder or refuses a duplicate.
    virtual void showCloudFolderAddResult(const std::shared_ptr<GDFoldersList> &folder) = 0;
    // Scan This Computer on the sign-in sheet.
    virtual void scanThisComputer() = 0;
    // One accepted file of a listing (GUI thread).
    virtual void addGoogleDriveFile(const std::shared_ptr<GDFoldersList> &entry) = 0;
    // The listing has ended (GUI thread), once per listing.
    virtual void startHashingStage() = 0;
};
