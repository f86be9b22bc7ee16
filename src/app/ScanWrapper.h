// The cloud source object of a scan (Google Drive or Dropbox), shared by the main window and the
// results window.
#pragma once

#include <atomic>

class ScanWrapperDelegate;

class ScanWrapper
{
public:
    virtual ~ScanWrapper() = default;

    // Not owned: the owner of both clears it before the delegate goes away.
    std::atomic<ScanWrapperDelegate *> delegate { nullptr };
    // The provider accepted the user's sign-in.
    std::atomic<bool> isAuthorizedFromDrive { false };
    // A scan's listing runs (false while the folder sheet lists single folders).
    std::atomic<bool> isCompletListFetch { false };
    // Stop request for the listing, polled by the walk.
    std::atomic<bool> isAbortScanning { false };
    // Files were deleted on the provider since the folder tree was listed.
    std::atomic<bool> isFileDeletedFromCloudDrive { false };
};
