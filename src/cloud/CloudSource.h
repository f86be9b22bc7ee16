// What a scan asks of a cloud provider, whichever it is: list the scan list's folders into
// records for a receiver, stop that listing, fetch one record's local copy for the hashing, and
// take the browser's redirect of a sign-in that waits for one. DropBoxHandler and DriveSource
// implement it; the main window, the scan session and the application's URL events use only this.
#pragma once

#include <atomic>
#include <vector>

#include <QString>
#include <QStringList>
#include <QUrl>

#include "model/FilePathNode.h"
#include "model/RecordSettings.h"

class ImageFileInfo;
class ScanWrapperDelegate;

struct CloudListingRequest {
    // The scan list of the source; only checked entries are listed.
    std::vector<FilePathNode> nodes;
    // Lower-case extensions a record needs.
    QStringList extensions;
    // Lower-case extensions whose records are videos.
    QStringList videoExtensions;
    // The scan's values every record is made with.
    RecordSettings settings;
};

class CloudSource
{
public:
    // Pages one listing may ask for before it is given up as endless.
    static constexpr int kMaxListingPages = 20000;

    virtual ~CloudSource();

    // GUI thread. Starts a scan's listing; every accepted record and then the end (once, also after
    // Stop or a failure) go to `receiver`, which must outlive the listing.
    virtual void startListing(const CloudListingRequest &request, ScanWrapperDelegate &receiver) = 0;
    // Any thread. The listing ends at its next check and still reports its end.
    virtual void stopListing() = 0;
    // Hashing thread, blocking. Downloads the record's file into the thumbnails folder and sets
    // localThumbPath, or leaves it empty on a failure and says why; a set `stop` ends the transfer
    // early.
    virtual QString fetchLocalCopy(ImageFileInfo &record, const std::atomic<bool> &stop) = 0;
    // GUI thread. True when this source's sign-in waited for a redirect and took `url`.
    virtual bool takeRedirect(const QUrl &url) = 0;
};
