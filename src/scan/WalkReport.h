// What a walk over the scan list could not take: folders it could not read and files under the
// minimum size. A scan that finds no photos tells the user from it.
#pragma once

#include <QString>

struct WalkReport {
    int unreadableFolders = 0;
    // The first folder that could not be read, and why.
    QString firstUnreadableFolder;
    QString firstUnreadableReason;
    int skippedForSize = 0;
};
