// What the Google Drive side asks of the main window: a chosen folder for the scan list and the way
// back to this computer or to the source shown before the sign-in. A scan's listing reports through the Drive scan source instead.
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
    // The sign-in sheet closed without a sign-in (Cancel, Escape or a failure): the window goes
    // back to the source it showed before.
    virtual void signInLeft() = 0;
};
