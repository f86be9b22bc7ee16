// The cloud source object of a scan (Google Drive or Dropbox), shared by the main window and the
// results window.
#pragma once

#include <atomic>

class ScanWrapper
{
public:
    virtual ~ScanWrapper() = default;

    // The provider accepted the user's sign-in.
    std::atomic<bool> isAuthorizedFromDrive { false };
};
