// How a cloud source reports a scan's listing to the main window.
#pragma once

#include <memory>

class ImageFileInfo;

class ScanWrapperDelegate
{
public:
    virtual ~ScanWrapperDelegate() = default;

    // One accepted file of a scan's listing, on the source's worker thread.
    virtual void addDropboxFile(const std::shared_ptr<ImageFileInfo> &record) = 0;
    // A listing (a scan's, or one folder of the folder sheet) has ended; on the worker thread,
    // after every addDropboxFile of that listing.
    virtual void dropboxListingFinished() = 0;
};
