#include "scan/ui/GoogleDriveScanSource.h"

#include "app/LocalizedString.h"
#include "cloud/ui/GoogleDriveAccessVC.h"
#include "model/GDFoldersList.h"
#include "platform/ui/AlertPresenter.h"
#include "scan/ui/AddingSheet.h"
#include "scan/ui/MainViewController.h"
#include "scan/ui/PopUpButton.h"
#include "scan/ui/ScanListController.h"

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

void GoogleDriveScanSource::showSheet(QWidget *sheet, QWidget *box)
{
    AddingSheet::showOverlayView(c, sheet, box);
    AlertPresenter::current().beginSheet(sheet, c.view());
}

void GoogleDriveScanSource::showGoogleDriveSignInSheet()
{
    if (!c.gDriveAccessVC)
        return;
    QWidget *sheet = c.gDriveAccessVC->window();
    showSheet(sheet, c.gDriveAccessVC->boxInstruction);
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
    if (!AlertPresenter::current().isSheetOpen(drive->windowFolderList))
        showSheet(drive->windowFolderList, drive->boxFolderList);
}

void GoogleDriveScanSource::showCloudFolderAddResult(const std::shared_ptr<GDFoldersList> &folder)
{
    if (!folder)
        return;
    const QString path = folder->folderAbsPath();
    for (const FilePathNode &node : c.arrPathNodeGoogleDrive) {
        if (node.filePath == path) {
            AlertSpec alert;
            alert.messageText = text("ID_ITEMS_CANT_ADDED");
            alert.informativeText = text("ID_ITEMS_ALREADY_EXIST_SCANNLIST");
            alert.buttons = { text("ID_OK_CAPS") };
            AlertPresenter::current().runAlert(alert, c.view());
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

void GoogleDriveScanSource::addGoogleDriveFile(const std::shared_ptr<GDFoldersList> &) { }

void GoogleDriveScanSource::startHashingStage() { }
