#include "scan/ui/GoogleDriveScanSource.h"

#include "cloud/ui/GoogleDriveAccessVC.h"
#include "scan/ui/CloudModeController.h"
#include "model/GDFoldersList.h"
#include "scan/ui/AddingSheet.h"
#include "scan/ui/MainWindowHost.h"
#include "scan/ui/MainWindowWidgets.h"
#include "scan/ui/PopUpButton.h"
#include "scan/ui/ScanListController.h"
#include "scan/ui/ScanListState.h"
#include "scan/ui/ScanRunController.h"

GoogleDriveScanSource::GoogleDriveScanSource(MainWindowWidgets &widgets, ScanListState &listState, MainWindowHost &windowHost)
    : c(widgets)
    , state(listState)
    , host(windowHost)
{
}

void GoogleDriveScanSource::makeController()
{
    state.gDriveAccessVC = std::make_shared<GoogleDriveAccessVC>();
    state.gDriveAccessVC->delegate = this;
}

bool GoogleDriveScanSource::isSignedIn() const
{
    return state.gDriveAccessVC && state.gDriveAccessVC->authorization();
}

void GoogleDriveScanSource::switchToGoogleDrive()
{
    if (!state.gDriveAccessVC)
        return;
    if (isSignedIn()) {
        for (const FilePathNode &node : state.gDriveAccessVC->arrPathNodesToScan)
            state.arrPathNodeGoogleDrive.push_back(node);
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
    if (!state.gDriveAccessVC)
        return;
    // window() builds the sheet and its box on first use.
    QWidget *sheet = state.gDriveAccessVC->window();
    AddingSheet::showSheet(host.view(), sheet, state.gDriveAccessVC->boxInstruction);
}

void GoogleDriveScanSource::getFolderList()
{
    GoogleDriveAccessVC *drive = state.gDriveAccessVC.get();
    if (!drive)
        return;
    drive->window();
    if (!drive->windowFolderList)
        return;
    if (!drive->gdFolderObj())
        drive->btnRefreshGDriveFolderListTapped();
    AddingSheet::showSheet(host.view(), drive->windowFolderList, drive->boxFolderList);
}

void GoogleDriveScanSource::showCloudFolderAddResult(const std::shared_ptr<GDFoldersList> &folder)
{
    if (!folder)
        return;
    const QString path = folder->folderAbsPath();
    for (const FilePathNode &node : state.arrPathNodeGoogleDrive) {
        if (node.filePath == path) {
            host.scanList().showAlreadyInScanListAlert();
            return;
        }
    }
    ++state.countPathAdded;
    FilePathNode node;
    node.filePath = path;
    node.nodeType = GlobalObjects::NodeType::nodeTypeGoogleDrive;
    node.state = 1;
    node.dFolderList = folder;
    state.arrPathNodeGoogleDrive.push_back(node);
    if (state.gDriveAccessVC)
        state.gDriveAccessVC->arrPathNodesToScan.push_back(node);
    host.scanList().reloadPathTable();
    c.btnCompare->setState(IMGButton::OnState);
    c.btnCompare->setEnabled(true);
}

void GoogleDriveScanSource::scanThisComputer()
{
    // The popup's own choice runs the whole switch back to this computer.
    c.btnPopupForScanSelection->selectItemAtIndex(0);
    emit c.btnPopupForScanSelection->itemSelected(0);
}

void GoogleDriveScanSource::signInLeft()
{
    host.cloudMode().leaveSignIn();
}
