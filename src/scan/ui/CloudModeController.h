// The main window's cloud modes: the Dropbox source object and its listing's hand-over to the
// scan. Owned by MainViewController; the Google Drive side joins through startDriveListing.
#pragma once

#include <functional>
#include <memory>

#include <QObject>

#include "scan/ScanSession.h"

class DropBoxHandler;
class DropboxListingReceiver;
class MainViewController;

class CloudModeController : public QObject
{
    Q_OBJECT
public:
    explicit CloudModeController(MainViewController &controller);
    ~CloudModeController() override;

    // The window's Dropbox source (scanWrapper), made with the application's configuration on
    // first use and reporting to this window.
    std::shared_ptr<DropBoxHandler> dropboxHandler();
    // Installs `handler` as the window's Dropbox source (the headless runner's, with its own token).
    void setDropboxHandler(const std::shared_ptr<DropBoxHandler> &handler);
    DropboxListingReceiver *listingReceiver() const { return m_receiver.get(); }

    // The Scan button in a cloud mode: starts the listing of the current source.
    void startCloudListing();
    // The Stop button during a cloud listing.
    void stopCloudListing();
    // Google Drive's listing of a scan (set by the Drive side).
    std::function<void()> startDriveListing;

    // The listing has delivered its records: the hashing stage with the Dropbox cache.
    void startFindDuplicateFilesInCloudDrive(const RecordList &records);

signals:
    // A folder of the folder sheet has been listed (GUI thread).
    void dropboxFolderListed();

private:
    void startDropboxScan();
    void showAddedRecord(const QString &path, int count);
    void rebuildAfterDeletions(DropBoxHandler &handler);

    MainViewController &c;
    std::unique_ptr<DropboxListingReceiver> m_receiver;
};
