// The Google Drive scan source: a scan's listing of the chosen folders into records, the download
// of a record's full image for the hashing, and the browser redirect of the Drive sign-in while
// its flow waits. The folder tree and the sign-in sheet stay with the Drive controller, which owns
// the sign-in this source takes redirects for. GUI thread, except fetchLocalCopy.
#pragma once

#include <atomic>
#include <memory>

#include <QString>
#include <QStringList>

#include "cloud/CloudSource.h"
#include "cloud/ListingHoldings.h"
#include "model/RecordSettings.h"

class DriveListing;
class DriveService;
class GDFoldersList;
class GoogleSignIn;

class DriveSource : public CloudSource
{
public:
    // `rootDriveFolderId` is shared with the folder tree; `signIn` outlives this source.
    DriveSource(DriveService &service, QString &rootDriveFolderId, GoogleSignIn &signIn);
    ~DriveSource() override;

    void startListing(const CloudListingRequest &request, ScanWrapperDelegate &receiver) override;
    void stopListing() override;
    // The full-size image behind the record's thumbnail link, as "<id>_<name>".
    QString fetchLocalCopy(ImageFileInfo &record, const std::atomic<bool> &stop) override;
    bool takeRedirect(const QUrl &url) override;

    DriveListing &listing() { return *m_listing; }
    DriveService &service() { return m_service; }
    // Pages a listing may ask for (tests lower it).
    void setMaxListingPages(int pages) { m_maxPages = pages; }
    // Bytes a listing may hold (tests lower it).
    void setMaxHeldBytes(qint64 bytes) { m_maxHeldBytes = bytes; }

private:
    void addGoogleDriveFile(const std::shared_ptr<GDFoldersList> &entry);

    DriveService &m_service;
    GoogleSignIn &m_signIn;
    std::unique_ptr<DriveListing> m_listing;
    std::atomic<bool> m_stop { false };
    ScanWrapperDelegate *m_receiver = nullptr;
    RecordSettings m_settings;
    QStringList m_videoExtensions;
    int m_maxPages = kMaxListingPages;
    qint64 m_maxHeldBytes = ListingHoldings::kDefaultMaxBytes;
};
