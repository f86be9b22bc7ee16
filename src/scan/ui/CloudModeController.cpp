#include "scan/ui/CloudModeController.h"

#include <QCheckBox>
#include <QPointer>
#include <QLabel>
#include <QPushButton>

#include "app/CommonFunc.h"
#include "controls/CFMButton.h"
#include "scan/ui/PopUpButton.h"
#include "scan/ui/ScanListController.h"

#include "app/LocalizedString.h"
#include "app/ScanGlobals.h"
#include "cloud/DropBoxHandler.h"
#include "cloud/DropboxAuth.h"
#include "cloud/DropboxListingReceiver.h"
#include "cloud/ui/SignInFailureAlert.h"
#include "model/CloudScanFoldersList.h"
#include "model/ImageFileInfo.h"
#include "platform/Dispatch.h"
#include "scan/ScanPeriod.h"
#include "scan/ui/AddingSheet.h"
#include "scan/ui/CloudFolderSheet.h"
#include "scan/ui/MainWindowHost.h"
#include "scan/ui/MainWindowWidgets.h"
#include "scan/ui/ScanListState.h"
#include "scan/ui/ScanRunController.h"

namespace
{


} // namespace

CloudModeController::CloudModeController(MainWindowWidgets &widgets, ScanListState &listState, MainWindowHost &windowHost)
    : c(widgets)
    , state(listState)
    , host(windowHost)
    , m_folderSheet(std::make_unique<CloudFolderSheet>(widgets, listState, windowHost))
{
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
    m_receiver.reset();
    if (!handler)
        return;
    DropboxListingReceiver::Callbacks callbacks;
    callbacks.added = [this](const std::shared_ptr<ImageFileInfo> &record, int count) {
        showAddedRecord(record->filePath, count);
    };
    callbacks.folderListed = [this] { emit dropboxFolderListed(); };
    callbacks.scanListed
        = [this](const RecordList &records) { startFindDuplicateFilesInCloudDrive(records); };
    m_receiver = std::make_unique<DropboxListingReceiver>(*handler, std::move(callbacks));
    handler->delegate = m_receiver.get();
}

void CloudModeController::startCloudListing()
{
    switch (ScanGlobals::scanType.load()) {
    case ScanSource::dropbox:
        startDropboxScan();
        return;
    case ScanSource::googleDrive:
        if (startDriveListing) {
            startDriveListing();
            return;
        }
        break;
    case ScanSource::thisComputer:
        break;
    }
    AddingSheet::dismissAddingPhotosSheetOnMain(c);
}

void CloudModeController::stopCloudListing()
{
    if (state.scanWrapper)
        state.scanWrapper->isAbortScanning = true;
}

void CloudModeController::rebuildAfterDeletions(DropBoxHandler &handler)
{
    if (handler.isFileDeletedFromCloudDrive.load()) {
        CloudFolderSheet::rebuildTree(state, &handler);
        m_folderSheet->resetModel();
    }
}

void CloudModeController::startDropboxScan()
{
    const std::shared_ptr<DropBoxHandler> handler = dropboxHandler();
    if (!handler || !m_receiver) {
        AddingSheet::dismissAddingPhotosSheetOnMain(c);
        return;
    }
    rebuildAfterDeletions(*handler);
    QList<std::shared_ptr<CloudScanFoldersList>> folders;
    for (const FilePathNode &node : state.arrPathNodeGoogleDrive) {
        if (node.state == 1 && node.cloudFolder)
            folders.append(node.cloudFolder);
    }
    const ScanOptions &options = host.scanRun().options();
    ScanPeriodOptions period = options.period;
    ScanPeriod::fixWindow(period);
    m_receiver->beginScan(period);
    handler->setVideoExtensions(options.videoExtensions);
    handler->isCompletListFetch = true;
    handler->isAbortScanning = false;
    handler->startScanning(options.allowedExtensions, folders, options.recordSettings());
}

void CloudModeController::showAddedRecord(const QString &path, int count)
{
    if (!host.isViewLoaded())
        return;
    c.lblPhotosAddedCount->setText(QString::number(count));
    c.lblScanPath->setText(localizedString(QStringLiteral("ID_SCANPATH")) + QStringLiteral(": ") + path);
    c.lblScanPath->setToolTip(path);
}

void CloudModeController::startFindDuplicateFilesInCloudDrive(const RecordList &records)
{
    host.scanRun().startFindDuplicateFilesInCloudDrive(records);
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
    c.btnToolTip->setToolTip(
        computer ? QString() : localizedString(QStringLiteral("ID_THIS_FEATURE_ONLY_FOR_FINDER_ONLY")));
    host.placeSourceControls(m_addFolderHome.value_or(host.addFolderFrame()));
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
    if (drive.isAuthorized && drive.isAuthorized()) {
        if (drive.pathNodesToScan)
            state.arrPathNodeGoogleDrive = drive.pathNodesToScan();
    } else if (drive.showGoogleDriveSignInSheet) {
        drive.showGoogleDriveSignInSheet();
    }
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
        host.closeCloudAuthorizationSheet();
        return;
    }
    AddingSheet::showSheet(host.view(), c.windowCloudAuthorization, c.boxForAuthorization);
}

void CloudModeController::btnAllowPermissionCloudScanTapped()
{
    if (!dropboxHandler())
        return;
    // Without an application key there is nothing to start; the user learns why.
    if (DropboxAuth::provider().clientId.trimmed().isEmpty()) {
        dropboxSignInFinished(
            { DropboxOAuthResult::Kind::error, localizedString(QStringLiteral("ID_DROPBOX_NO_CLIENT_ID")) });
        return;
    }
    connect(DropboxAuth::sharedAuth(), &DropboxAuth::signInFinished, this,
        &CloudModeController::dropboxSignInFinished, Qt::UniqueConnection);
    DropBoxHandler::signInToDropbox();
}

void CloudModeController::dropboxSignInFinished(const DropboxOAuthResult &result)
{
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
    host.closeCloudAuthorizationSheet();
}

void CloudModeController::btnScanComputerTapped()
{
    host.closeCloudAuthorizationSheet();
    c.btnPopupForScanSelection->selectItemAtIndex(int(ScanSource::thisComputer));
    btnScanTypeTapped(int(ScanSource::thisComputer));
}

void CloudModeController::addInCloudMode()
{
    if (ScanGlobals::scanType.load() == ScanSource::googleDrive) {
        if (drive.isAuthorized && drive.isAuthorized()) {
            if (drive.getFolderList)
                drive.getFolderList();
        } else if (drive.showGoogleDriveSignInSheet) {
            drive.showGoogleDriveSignInSheet();
        }
        return;
    }
    if (ScanGlobals::scanType.load() != ScanSource::dropbox)
        return;
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
        if (drive.getFolderList)
            drive.getFolderList();
        break;
    case ScanSource::thisComputer:
        break;
    }
}
