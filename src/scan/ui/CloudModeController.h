// The main window's cloud modes: the cloud sources (the Dropbox handler, made on first use, and the
// Drive controller's source), the listing of the current one into the scan and its hand-over with
// the source's download.
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
class CloudListingReceiver;
class CloudSource;
class ImageFileInfo;
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
    CloudListingReceiver &listingReceiver() const { return *m_receiver; }
    // The source of the window's current mode (null for this computer, or before Dropbox is made).
    std::shared_ptr<CloudSource> currentSource();
    // Every source made so far: the application hands them a sign-in redirect.
    std::vector<std::shared_ptr<CloudSource>> sources() const;

    // The Scan button in a cloud mode: starts the listing of the current source.
    void startCloudListing();
    // The Stop button during a cloud listing.
    void stopCloudListing();
    // Why the last scan's listing failed; empty when it did not.
    QString listingFailure() const { return m_listingFailure; }

    // The listing has ended: the hashing stage with its records, or the failure's alert.
    void startFindDuplicateFilesInCloudDrive(const RecordList &records, const QString &failure);

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
    // A sign-in sheet closed without a sign-in (Cancel, Escape or a failure): the window shows the
    // source it showed before the sheet opened, with that source's list and texts.
    void leaveSignIn();
    // The Dropbox sign-in this window started has ended: the authorization sheet closes (after a
    // failure the window goes back to the source it showed before), except after a cancel.
    void dropboxSignInEnded(const DropboxOAuthResult &result);
    // The Add button while a cloud source is shown.
    void addInCloudMode();
    // Opens the folder sheet of the current source.
    void getFolderList();
    CloudFolderSheet &folderSheet() { return *m_folderSheet; }

signals:
    // A folder of the folder sheet has been listed (GUI thread).
    void dropboxFolderListed();

private:
    void showAddedRecord(const QString &path, int count);
    void rebuildAfterDeletions(DropBoxHandler &handler);
    void showComputer();
    void showGoogleDrive();
    void showDropbox();
    void setSourceControls();
    // The empty list's texts: dropping on this computer, the Add Folder button in a cloud source.
    void setDropTexts();
    // This computer always; a cloud source once it has a signed-in account.
    bool isSignedIn(ScanSource source);
    // A Dropbox sign-in that failed, also one that could not start, is told in an alert.
    void dropboxSignInFinished(const DropboxOAuthResult &result);
    // The authorization sheet tells that the browser has the sign-in, its Cancel the way out.
    void showWaitingForBrowser(bool waiting);
    // Closes the authorization sheet; a sign-in still waiting for the browser ends with it.
    void closeAuthorizationSheet();

    MainWindowWidgets &c;
    ScanListState &state;
    MainWindowHost &host;
    std::unique_ptr<CloudListingReceiver> m_receiver;
    // The source whose listing the last scan started.
    std::shared_ptr<CloudSource> m_listingSource;
    QString m_listingFailure;
    std::unique_ptr<CloudFolderSheet> m_folderSheet;
    // The folder button's frame for this computer, taken before the first switch away.
    std::optional<QRectF> m_addFolderHome;
    // The empty list's title and hint on this computer, taken before the first switch away.
    std::optional<std::pair<QString, QString>> m_computerDropTexts;
    // Where a sign-in sheet left without a sign-in goes back to.
    ScanSource m_sourceBeforeSignIn = ScanSource::thisComputer;
};
