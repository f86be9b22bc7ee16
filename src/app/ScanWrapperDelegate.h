// How a cloud source reports a listing to the main window: its records one by one, then its end.
#pragma once

#include <memory>

#include <QString>

class ImageFileInfo;

// How a listing ended.
struct CloudListingEnd {
    // A scan's listing (false: one folder listed for the folder sheet).
    bool scan = true;
    // Empty when every page came; otherwise why the listing failed or was cut short.
    QString failure;
};

class ScanWrapperDelegate
{
public:
    virtual ~ScanWrapperDelegate() = default;

    // One accepted file of a scan's listing, on the source's thread.
    virtual void addCloudFile(const std::shared_ptr<ImageFileInfo> &record) = 0;
    // A listing has ended, on the source's thread, after every addCloudFile of that listing.
    virtual void cloudListingFinished(const CloudListingEnd &end) = 0;
};
