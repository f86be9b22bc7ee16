// The main window's cloud modes: the Dropbox source object and its listing's hand-over to the
// scan. The Google Drive side joins through startDriveListing.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QObject>
#include <QRectF>

#include "model/FilePathNode.h"
#include "scan/ScanSession.h"

struct DropboxOAuthResult;
class CloudFolderSheet;
class DropBoxHandler;
class DropboxListingReceiver;
class MainWindowHost;
struct MainWindowWidgets;
struct ScanListState;

class CloudModeController : public QObject
{
    Q_OBJECT
public:
    CloudModeController(MainWindowWidgets &widgets, ScanListState &state, MainWindowHost &host);
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

    // What the Google Drive side lends the switch and the Add button (set by that side).
    struct DriveHooks {
        std::function<bool()> isAuthorized;
        // Its scan list, kept across switches of source.
        std::function<std::vector<FilePathNode>()> pathNodesToScan;
        std::function<void()> showGoogleDriveSignInSheet;
        std::function<void()> getFolderList;
    };
    DriveHooks drive;

    // GUI thread. Wires the source popup and the sheets' buttons (once the view exists).
    void connectActions();
    // The source popup: switches the whole window to the source at `index` (the items stand in the
    // order of ScanSource); choosing the current source does nothing.
    void btnScanTypeTapped(int index);
    void updateCompareButton();
    void showCloudAuthorizationSheet(bool show);
    void btnAllowPermissionCloudScanTapped();
    void btnCancelCloudAuthorizationSheetTapped();
    void btnScanComputerTapped();
    // The Add button while a cloud source is shown.
    void addInCloudMode();
    // Opens the folder sheet of the current source.
    void getFolderList();
    CloudFolderSheet &folderSheet() { return *m_folderSheet; }

signals:
    // A folder of the folder sheet has been listed (GUI thread).
    void dropboxFolderListed();

private:
    void startDropboxScan();
    void showAddedRecord(const QString &path, int count);
    void rebuildAfterDeletions(DropBoxHandler &handler);
    void showComputer();
    void showGoogleDrive();
    void showDropbox();
    void setSourceControls();
    // A Dropbox sign-in that failed, also one that could not start, is told in an alert.
    void dropboxSignInFinished(const DropboxOAuthResult &result);

    MainWindowWidgets &c;
    ScanListState &state;
    MainWindowHost &host;
    std::unique_ptr<DropboxListingReceiver> m_receiver;
    std::unique_ptr<CloudFolderSheet> m_folderSheet;
    // The folder button's frame for this computer, taken before the first switch away.
    std::optional<QRectF> m_addFolderHome;
};
