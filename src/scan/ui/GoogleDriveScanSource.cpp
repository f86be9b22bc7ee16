#include "scan/ui/GoogleDriveScanSource.h"

#include <QFileInfo>
#include <QLabel>

#include "app/LocalizedString.h"
#include "cloud/DriveFileJson.h"
#include "cloud/DriveListing.h"
#include "cloud/ui/GoogleDriveAccessVC.h"
#include "model/GDFoldersList.h"
#include "model/ImageFileInfo.h"
#include "scan/ScanPeriod.h"
#include "scan/ui/AddingSheet.h"
#include "scan/ui/MainViewController.h"
#include "scan/ui/PopUpButton.h"
#include "scan/ui/ScanListController.h"
#include "scan/ui/ScanRunController.h"

namespace
{

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

} // namespace

GoogleDriveScanSource::GoogleDriveScanSource(MainViewController &controller)
    : c(controller)
{
}

void GoogleDriveScanSource::makeController()
{
    c.gDriveAccessVC = std::make_shared<GoogleDriveAccessVC>();
    c.gDriveAccessVC->delegate = this;
}

bool GoogleDriveScanSource::isSignedIn() const
{
    return c.gDriveAccessVC && c.gDriveAccessVC->authorization();
}

void GoogleDriveScanSource::switchToGoogleDrive()
{
    if (!c.gDriveAccessVC)
        return;
    if (isSignedIn()) {
        for (const FilePathNode &node : c.gDriveAccessVC->arrPathNodesToScan)
            c.arrPathNodeGoogleDrive.push_back(node);
    } else {
        showGoogleDriveSignInSheet();
    }
}

void GoogleDriveScanSource::addFolderTapped()
{
    if (isSignedIn())
        getFolderList();
    else
        showGoogleDriveSignInSheet();
}

void GoogleDriveScanSource::showGoogleDriveSignInSheet()
{
    if (!c.gDriveAccessVC)
        return;
    // window() builds the sheet and its box on first use.
    QWidget *sheet = c.gDriveAccessVC->window();
    AddingSheet::showSheet(c.view(), sheet, c.gDriveAccessVC->boxInstruction);
}

void GoogleDriveScanSource::getFolderList()
{
    GoogleDriveAccessVC *drive = c.gDriveAccessVC.get();
    if (!drive)
        return;
    drive->window();
    if (!drive->windowFolderList)
        return;
    if (!drive->gdFolderObj())
        drive->btnRefreshGDriveFolderListTapped();
    AddingSheet::showSheet(c.view(), drive->windowFolderList, drive->boxFolderList);
}

void GoogleDriveScanSource::showCloudFolderAddResult(const std::shared_ptr<GDFoldersList> &folder)
{
    if (!folder)
        return;
    const QString path = folder->folderAbsPath();
    for (const FilePathNode &node : c.arrPathNodeGoogleDrive) {
        if (node.filePath == path) {
            c.scanList().showAlreadyInScanListAlert();
            return;
        }
    }
    ++c.countPathAdded;
    FilePathNode node;
    node.filePath = path;
    node.nodeType = GlobalObjects::NodeType::nodeTypeGoogleDrive;
    node.state = 1;
    node.dFolderList = folder;
    c.arrPathNodeGoogleDrive.push_back(node);
    if (c.gDriveAccessVC)
        c.gDriveAccessVC->arrPathNodesToScan.push_back(node);
    c.scanList().reloadPathTable();
    c.btnCompare->setState(IMGButton::OnState);
    c.btnCompare->setEnabled(true);
}

void GoogleDriveScanSource::scanThisComputer()
{
    // The popup's own choice runs the whole switch back to this computer.
    c.btnPopupForScanSelection->selectItemAtIndex(0);
    emit c.btnPopupForScanSelection->itemSelected(0);
}

void GoogleDriveScanSource::startCloudListing()
{
    if (!c.gDriveAccessVC) {
        startHashingStage();
        return;
    }
    c.gDriveAccessVC->arrPathNodesToScan = c.arrPathNodeGoogleDrive;
    c.gDriveAccessVC->listing().fetchFilesFromSelectedFolders(
        { c.arrPathNodeGoogleDrive, c.allowedExtensions, &c.abortMe }, this);
}

void GoogleDriveScanSource::addGoogleDriveFile(const std::shared_ptr<GDFoldersList> &entry)
{
    const std::shared_ptr<DriveFile> file = entry ? entry->driveFile() : nullptr;
    if (!file || DriveFileJson::isFolder(*file))
        return;
    const std::shared_ptr<ImageFileInfo> record = ImageFileInfo::initWithPathForFileForGoogleDriveFolderList(
        entry, c.scanRun().options().recordSettings());
    if (!record)
        return;
    record->isVideo = c.arrVideoExtn.contains(QFileInfo(entry->folderName()).suffix(), Qt::CaseInsensitive);
    if (c.gDriveAccessVC)
        c.gDriveAccessVC->listing().buildDriveFilePath(*record);
    if (!ScanPeriod::isWithinScanPeriod(*record, c.scanRun().options().period))
        return;
    c.arrImagesContent.push_back(record);
    showAddingProgress(record->filePath);
}

void GoogleDriveScanSource::showAddingProgress(const QString &path)
{
    if (!c.lblPhotosAddedCount || !c.lblScanPath)
        return;
    c.lblPhotosAddedCount->setText(QString::number(c.arrImagesContent.size()));
    c.lblScanPath->setText(text("ID_SCANPATH") + QStringLiteral(": ") + path);
    c.lblScanPath->setToolTip(path);
}

void GoogleDriveScanSource::startHashingStage()
{
    c.scanRun().startFindDuplicateFilesInCloudDrive(
        RecordList(c.arrImagesContent.begin(), c.arrImagesContent.end()));
}
