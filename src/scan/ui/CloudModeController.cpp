#include "scan/ui/CloudModeController.h"

#include <QLabel>

#include "app/LocalizedString.h"
#include "app/ScanGlobals.h"
#include "cloud/DropBoxHandler.h"
#include "cloud/DropboxListingReceiver.h"
#include "model/CloudScanFoldersList.h"
#include "model/ImageFileInfo.h"
#include "scan/ui/AddingSheet.h"
#include "scan/ui/MainViewController.h"
#include "scan/ui/ScanRunController.h"

namespace
{

constexpr int kDropbox = 2;
constexpr int kGoogleDrive = 1;

std::shared_ptr<CloudScanFoldersList> emptyDropboxRoot()
{
    auto root = std::make_shared<CloudScanFoldersList>();
    root->folderName = QStringLiteral("Dropbox");
    root->folderPath = QStringLiteral("Dropbox");
    return root;
}

void emptyListing(CloudScanFoldersList &folder)
{
    folder.arrChildren.clear();
    folder.arrCloudDriveFiles.clear();
    folder.arrCloudDriveAllTypeFiles.clear();
    folder.isAllFilesFetched = false;
}

} // namespace

CloudModeController::CloudModeController(MainViewController &controller)
    : c(controller)
{
}

CloudModeController::~CloudModeController()
{
    if (c.scanWrapper)
        c.scanWrapper->delegate = nullptr;
}

std::shared_ptr<DropBoxHandler> CloudModeController::dropboxHandler()
{
    if (auto handler = std::dynamic_pointer_cast<DropBoxHandler>(c.scanWrapper))
        return handler;
    if (c.scanWrapper)
        return nullptr;
    setDropboxHandler(std::make_shared<DropBoxHandler>());
    return std::static_pointer_cast<DropBoxHandler>(c.scanWrapper);
}

void CloudModeController::setDropboxHandler(const std::shared_ptr<DropBoxHandler> &handler)
{
    if (c.scanWrapper)
        c.scanWrapper->delegate = nullptr;
    c.scanWrapper = handler;
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
    case kDropbox:
        startDropboxScan();
        return;
    case kGoogleDrive:
        if (startDriveListing) {
            startDriveListing();
            return;
        }
        break;
    default:
        break;
    }
    AddingSheet::dismissAddingPhotosSheetOnMain(c);
}

void CloudModeController::stopCloudListing()
{
    if (c.scanWrapper)
        c.scanWrapper->isAbortScanning = true;
}

void CloudModeController::rebuildAfterDeletions(DropBoxHandler &handler)
{
    if (!handler.isFileDeletedFromCloudDrive.load())
        return;
    c.cloudRootObj = emptyDropboxRoot();
    for (const FilePathNode &node : c.arrPathNodeGoogleDrive) {
        if (node.cloudFolder)
            emptyListing(*node.cloudFolder);
    }
    handler.isFileDeletedFromCloudDrive = false;
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
    for (const FilePathNode &node : c.arrPathNodeGoogleDrive) {
        if (node.state == 1 && node.cloudFolder)
            folders.append(node.cloudFolder);
    }
    const ScanOptions &options = c.scanRun().options();
    m_receiver->beginScan(options.period);
    handler->setVideoExtensions(options.videoExtensions);
    handler->isCompletListFetch = true;
    handler->isAbortScanning = false;
    handler->startScanning(options.allowedExtensions, folders);
}

void CloudModeController::showAddedRecord(const QString &path, int count)
{
    if (!c.isViewLoaded())
        return;
    c.lblPhotosAddedCount->setText(QString::number(count));
    c.lblScanPath->setText(localizedString(QStringLiteral("ID_SCANPATH")) + QStringLiteral(": ") + path);
    c.lblScanPath->setToolTip(path);
}

void CloudModeController::startFindDuplicateFilesInCloudDrive(const RecordList &records)
{
    c.scanRun().startFindDuplicateFilesInCloudDrive(records);
}
