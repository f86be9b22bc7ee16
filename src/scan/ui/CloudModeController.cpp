#include "scan/ui/CloudModeController.h"

#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

#include "app/CommonFunc.h"
#include "controls/CFMButton.h"
#include "platform/OutsideText.h"
#include "scan/ui/PopUpButton.h"
#include "scan/ui/ScanListController.h"

#include "app/LocalizedString.h"
#include "app/ScanGlobals.h"
#include "cloud/CloudListingReceiver.h"
#include "cloud/DriveSource.h"
#include "cloud/DropBoxHandler.h"
#include "cloud/DropboxAuth.h"
#include "cloud/ui/GoogleDriveAccessVC.h"
#include "cloud/ui/SignInFailureAlert.h"
#include "model/CloudScanFoldersList.h"
#include "model/ImageFileInfo.h"
#include "platform/Dispatch.h"
#include "platform/Log.h"
#include "platform/TextFormat.h"
#include "scan/ui/AddingSheet.h"
#include "scan/ui/CloudFolderSheet.h"
#include "scan/ui/GoogleDriveScanSource.h"
#include "scan/ui/MainWindowHost.h"
#include "scan/ui/MainWindowWidgets.h"
#include "scan/ui/ScanListState.h"
#include "scan/ui/ScanRunController.h"

CloudModeController::CloudModeController(MainWindowWidgets &widgets, ScanListState &listState, MainWindowHost &windowHost)
    : c(widgets)
    , state(listState)
    , host(windowHost)
    , m_folderSheet(std::make_unique<CloudFolderSheet>(widgets, listState, windowHost))
{
    CloudListingReceiver::Callbacks callbacks;
    callbacks.added = [this](const std::shared_ptr<ImageFileInfo> &record, int count) {
        showAddedRecord(record->filePath, count);
    };
    callbacks.folderListed = [this] { emit dropboxFolderListed(); };
    callbacks.scanListed = [this](const RecordList &records, const QString &failure) {
        startFindDuplicateFilesInCloudDrive(records, failure);
    };
    m_receiver = std::make_unique<CloudListingReceiver>(std::move(callbacks));
    connect(this, &CloudModeController::dropboxFolderListed, m_folderSheet.get(),
        &CloudFolderSheet::dropboxListingFinished);
}

CloudModeController::~CloudModeController()
{
    if (state.scanWrapper)
        state.scanWrapper->delegate = nullptr;
}

std::shared_ptr<DropBoxHandler> CloudModeController::dropboxHandler()
{
    if (auto handler = std::dynamic_pointer_cast<DropBoxHandler>(state.scanWrapper))
        return handler;
    if (state.scanWrapper)
        return nullptr;
    setDropboxHandler(std::make_shared<DropBoxHandler>());
    return std::static_pointer_cast<DropBoxHandler>(state.scanWrapper);
}

void CloudModeController::setDropboxHandler(const std::shared_ptr<DropBoxHandler> &handler)
{
    if (state.scanWrapper)
        state.scanWrapper->delegate = nullptr;
    state.scanWrapper = handler;
    if (!handler)
        return;
    handler->delegate = m_receiver.get();
    handler->signInEnded = [this](const DropboxOAuthResult &result) { dropboxSignInEnded(result); };
}

void CloudModeController::dropboxSignInEnded(const DropboxOAuthResult &result)
{
    switch (result.kind) {
    case DropboxOAuthResult::Kind::success:
        Log::line(QStringLiteral("Success! User is logged into Dropbox."));
        closeAuthorizationSheet();
        break;
    case DropboxOAuthResult::Kind::error:
        Log::line(QStringLiteral("Error: ") + result.errorDescription);
        leaveSignIn();
        break;
    case DropboxOAuthResult::Kind::cancel:
        Log::line(QStringLiteral("Authorization flow was manually canceled by user!"));
        break;
    }
}

std::shared_ptr<CloudSource> CloudModeController::currentSource()
{
    switch (ScanGlobals::scanType.load()) {
    case ScanSource::dropbox:
        return dropboxHandler();
    case ScanSource::googleDrive:
        return state.gDriveAccessVC ? state.gDriveAccessVC->source() : nullptr;
    case ScanSource::thisComputer:
        return nullptr;
    }
    return nullptr;
}

std::vector<std::shared_ptr<CloudSource>> CloudModeController::sources() const
{
    std::vector<std::shared_ptr<CloudSource>> made;
    if (auto handler = std::dynamic_pointer_cast<DropBoxHandler>(state.scanWrapper))
        made.push_back(handler);
    if (state.gDriveAccessVC)
        made.push_back(state.gDriveAccessVC->source());
    return made;
}

void CloudModeController::startCloudListing()
{
    m_listingFailure.clear();
    m_listingSource = currentSource();
    if (!m_listingSource) {
        AddingSheet::dismissAddingPhotosSheetOnMain(c);
        return;
    }
    if (const auto handler = std::dynamic_pointer_cast<DropBoxHandler>(m_listingSource))
        rebuildAfterDeletions(*handler);
    const ScanOptions &options = host.scanRun().options();
    m_receiver->beginScan(options.period, options.recordSettings().minimumAllowFileSize);
    m_listingSource->startListing({ state.arrPathNodeGoogleDrive, options.allowedExtensions,
                                      options.videoExtensions, options.recordSettings() },
        *m_receiver);
}

void CloudModeController::stopCloudListing()
{
    if (m_listingSource)
        m_listingSource->stopListing();
}

void CloudModeController::rebuildAfterDeletions(DropBoxHandler &handler)
{
    if (handler.isFileDeletedFromCloudDrive.load()) {
        CloudFolderSheet::rebuildTree(state, &handler);
        m_folderSheet->resetModel();
    }
}

void CloudModeController::showAddedRecord(const QString &path, int count)
{
    if (!host.isViewLoaded())
        return;
    c.lblPhotosAddedCount->setText(QString::number(count));
    const QString shown = OutsideText::name(path);
    c.lblScanPath->setText(localizedString(QStringLiteral("ID_SCANPATH")) + QStringLiteral(": ") + shown);
    c.lblScanPath->setToolTip(OutsideText::toolTip(shown));
}

void CloudModeController::startFindDuplicateFilesInCloudDrive(const RecordList &records, const QString &failure)
{
    if (!failure.isEmpty()) {
        m_listingFailure = failure;
        host.scanRun().cloudListingFailed(failure);
        return;
    }
    // The scan holds the source only weakly: a window closed meanwhile leaves copies unfetched.
    const std::weak_ptr<CloudSource> source = m_listingSource;
    host.scanRun().startFindDuplicateFilesInCloudDrive(
        records, [source](ImageFileInfo &record, const std::atomic<bool> &stop) {
            if (const std::shared_ptr<CloudSource> owner = source.lock())
                return owner->fetchLocalCopy(record, stop);
            return QString();
        });
}

void CloudModeController::connectActions()
{
    connect(c.btnPopupForScanSelection, &PopUpButton::itemSelected, this,
        &CloudModeController::btnScanTypeTapped);
    connect(c.btnAllowPermission, &QAbstractButton::clicked, this,
        &CloudModeController::btnAllowPermissionCloudScanTapped);
    connect(c.btnScanComputer, &QAbstractButton::clicked, this, &CloudModeController::btnScanComputerTapped);
    connect(c.btnCancelCloudAuthorization, &QAbstractButton::clicked, this,
        &CloudModeController::btnCancelCloudAuthorizationSheetTapped);
    m_folderSheet->connectActions();
}

void CloudModeController::btnScanTypeTapped(int index)
{
    // The pop-up's items stand in the order of the sources.
    const std::optional<ScanSource> source = GlobalObjects::scanSourceFromRaw(index);
    if (!source || *source == ScanGlobals::scanType.load())
        return;
    if (!m_addFolderHome && !isCloudSource(ScanGlobals::scanType.load()))
        m_addFolderHome = host.addFolderFrame();
    if (!m_computerDropTexts && !isCloudSource(ScanGlobals::scanType.load()))
        m_computerDropTexts = { c.lblDragPhotosTitle->text(), c.lblHintForDrag->text() };
    m_sourceBeforeSignIn = ScanGlobals::scanType.load();
    ScanGlobals::scanType = *source;
    setSourceControls();
    switch (*source) {
    case ScanSource::googleDrive:
        showGoogleDrive();
        break;
    case ScanSource::dropbox:
        showDropbox();
        break;
    case ScanSource::thisComputer:
        showComputer();
        break;
    }
}

void CloudModeController::setSourceControls()
{
    const bool computer = !isCloudSource(ScanGlobals::scanType.load());
    c.btnScanLastImport->setEnabled(computer);
    // The date choices apply only while their box is ticked.
    const bool datesApply = computer && c.btnScanLastImport->isChecked();
    for (QWidget *control : { static_cast<QWidget *>(c.btnCaptureDate), static_cast<QWidget *>(c.btnCapturePeriod) })
        control->setEnabled(datesApply);
    // The "?" explains choices that only a scan of this computer has: greyed with them, its tool tip
    // says why.
    c.btnToolTip->setEnabled(computer);
    c.btnToolTip->setToolTip(
        computer ? QString() : localizedString(QStringLiteral("ID_THIS_FEATURE_ONLY_FOR_FINDER_ONLY")));
    host.placeSourceControls(m_addFolderHome.value_or(host.addFolderFrame()));
    setDropTexts();
}

void CloudModeController::setDropTexts()
{
    const ScanSource source = ScanGlobals::scanType.load();
    if (!isCloudSource(source)) {
        if (m_computerDropTexts) {
            c.lblDragPhotosTitle->setText(m_computerDropTexts->first);
            c.lblHintForDrag->setText(m_computerDropTexts->second);
        }
        return;
    }
    // Nothing can be dropped into a cloud source's list: its folders come by the Add Folder button.
    const QString service
        = localizedString(source == ScanSource::dropbox ? QStringLiteral("ID_DROPBOX") : QStringLiteral("ID_GOOGLE_DRIVE"));
    c.lblDragPhotosTitle->setText(formatText(localizedString(QStringLiteral("ID_NO_CLOUD_FOLDERS_YET")), service));
    c.lblHintForDrag->setText(localizedString(QStringLiteral("ID_HINT_ADD_CLOUD_FOLDERS")));
}

void CloudModeController::showComputer()
{
    c.btnPopupForScanSelection->setToolTip(localizedString(QStringLiteral("ID_FINDER")));
    updateCompareButton();
    host.scanList().reloadPathTable();
}

void CloudModeController::showGoogleDrive()
{
    state.arrPathNodeGoogleDrive.clear();
    c.btnPopupForScanSelection->setToolTip(localizedString(QStringLiteral("ID_GOOGLE_DRIVE")));
    host.googleDrive().switchToGoogleDrive();
    updateCompareButton();
    host.scanList().reloadPathTable();
}

void CloudModeController::showDropbox()
{
    state.arrPathNodeGoogleDrive.clear();
    host.scanList().reloadPathTable();
    c.btnPopupForScanSelection->setToolTip(localizedString(QStringLiteral("ID_DROPBOX")));
    const std::shared_ptr<DropBoxHandler> handler = dropboxHandler();
    if (handler) {
        for (const FilePathNode &node : handler->arrPathNodesCloudScan) {
            if (node.nodeType == GlobalObjects::NodeType::nodeTypeDropBox)
                state.arrPathNodeGoogleDrive.push_back(node);
        }
    }
    updateCompareButton();
    if (handler && !handler->hasAuthorizedClient())
        showCloudAuthorizationSheet(true);
    host.scanList().reloadPathTable();
}

void CloudModeController::updateCompareButton()
{
    host.scanList().updateScanButton();
}

void CloudModeController::showCloudAuthorizationSheet(bool show)
{
    if (!show) {
        closeAuthorizationSheet();
        return;
    }
    AddingSheet::showSheet(host.view(), c.windowCloudAuthorization, c.boxForAuthorization);
}

void CloudModeController::btnAllowPermissionCloudScanTapped()
{
    if (!dropboxHandler())
        return;
    // Without an application key there is nothing to start: it ends as a failed sign-in does, and
    // the user learns why.
    if (DropboxAuth::provider().clientId.trimmed().isEmpty()) {
        const DropboxOAuthResult failure { DropboxOAuthResult::Kind::error,
            localizedString(QStringLiteral("ID_DROPBOX_NO_CLIENT_ID")) };
        dropboxSignInEnded(failure);
        dropboxSignInFinished(failure);
        return;
    }
    connect(DropboxAuth::sharedAuth(), &DropboxAuth::signInFinished, this,
        &CloudModeController::dropboxSignInFinished, Qt::UniqueConnection);
    DropBoxHandler::signInToDropbox();
    showWaitingForBrowser(DropboxAuth::sharedAuth()->isWaitingForRedirect());
}

void CloudModeController::showWaitingForBrowser(bool waiting)
{
    c.lblWaitingForBrowser->setVisible(waiting);
    c.indWaitingForBrowser->setVisible(waiting);
    // Allow would only open the browser again; Return and Escape both reach Cancel meanwhile.
    c.btnAllowPermission->setEnabled(!waiting);
    if (waiting)
        c.btnCancelCloudAuthorization->setFocus(Qt::OtherFocusReason);
    else if (c.windowCloudAuthorization && c.windowCloudAuthorization->isVisible())
        c.btnAllowPermission->setFocus(Qt::OtherFocusReason);
}

void CloudModeController::closeAuthorizationSheet()
{
    // The redirect, should it still come, then finds no sign-in waiting for it.
    if (DropboxClientsManager *manager = DropboxClientsManager::shared();
        manager && manager->isWaitingForRedirect())
        manager->resetClients();
    showWaitingForBrowser(false);
    host.closeCloudAuthorizationSheet();
}

void CloudModeController::dropboxSignInFinished(const DropboxOAuthResult &result)
{
    // However it ended, the browser has nothing more to do: a declined sign-in leaves the sheet
    // ready for Allow again.
    showWaitingForBrowser(false);
    if (result.kind != DropboxOAuthResult::Kind::error)
        return;
    // After the sign-in's own handling, which may close the authorization sheet.
    QPointer<CloudModeController> owner(this);
    const QString description = result.errorDescription;
    Dispatch::main([owner, description] {
        if (owner)
            SignInFailureAlert::show(localizedString(QStringLiteral("ID_DROPBOX")), description, owner->host.view());
    });
}

void CloudModeController::btnCancelCloudAuthorizationSheetTapped()
{
    leaveSignIn();
}

void CloudModeController::leaveSignIn()
{
    closeAuthorizationSheet();
    if (m_sourceBeforeSignIn == ScanGlobals::scanType.load())
        return;
    // A cloud source that lost its sign-in meanwhile would only ask again.
    const ScanSource back = isSignedIn(m_sourceBeforeSignIn) ? m_sourceBeforeSignIn : ScanSource::thisComputer;
    c.btnPopupForScanSelection->selectItemAtIndex(int(back));
    btnScanTypeTapped(int(back));
}

bool CloudModeController::isSignedIn(ScanSource source)
{
    switch (source) {
    case ScanSource::dropbox: {
        const std::shared_ptr<DropBoxHandler> handler = dropboxHandler();
        return handler && handler->hasAuthorizedClient();
    }
    case ScanSource::googleDrive:
        return host.googleDrive().isSignedIn();
    case ScanSource::thisComputer:
        return true;
    }
    return false;
}

void CloudModeController::btnScanComputerTapped()
{
    closeAuthorizationSheet();
    c.btnPopupForScanSelection->selectItemAtIndex(int(ScanSource::thisComputer));
    btnScanTypeTapped(int(ScanSource::thisComputer));
}

void CloudModeController::addInCloudMode()
{
    if (ScanGlobals::scanType.load() == ScanSource::googleDrive) {
        m_sourceBeforeSignIn = ScanSource::googleDrive;
        host.googleDrive().addFolderTapped();
        return;
    }
    if (ScanGlobals::scanType.load() != ScanSource::dropbox)
        return;
    // The sign-in this may ask for returns to this same source.
    m_sourceBeforeSignIn = ScanSource::dropbox;
    state.nodeType = GlobalObjects::NodeType::nodeTypeDropBox;
    const std::shared_ptr<DropBoxHandler> handler = std::dynamic_pointer_cast<DropBoxHandler>(state.scanWrapper);
    if (!handler)
        return;
    if (!handler->hasAuthorizedClient())
        showCloudAuthorizationSheet(true);
    else
        getFolderList();
}

void CloudModeController::getFolderList()
{
    switch (ScanGlobals::scanType.load()) {
    case ScanSource::dropbox:
        m_folderSheet->getFolderList(std::dynamic_pointer_cast<DropBoxHandler>(state.scanWrapper));
        break;
    case ScanSource::googleDrive:
        host.googleDrive().getFolderList();
        break;
    case ScanSource::thisComputer:
        break;
    }
}
