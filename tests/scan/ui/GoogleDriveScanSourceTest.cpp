// The main window's Google Drive side: the controller it makes, the sign-in sheet while signed
// out, chosen folders entering the scan list once, and the way back to this computer.
#include <gtest/gtest.h>

#include "MainWindowTestSupport.h"

#include "app/LocalizedString.h"
#include "cloud/ui/GoogleDriveAccessVC.h"
#include "model/GDFoldersList.h"
#include "platform/ui/ScriptedAlertPresenter.h"
#include "scan/ui/GoogleDriveScanSource.h"
#include "scan/ui/MainViewController.h"
#include "scan/ui/PopUpButton.h"

namespace
{

class GoogleDriveScanSourceTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        controller.view();
    }

    static std::shared_ptr<GDFoldersList> folder(const QString &path)
    {
        auto node = std::make_shared<GDFoldersList>();
        node->setFolderAbsPath(path);
        return node;
    }

    ScriptedAlertPresenter alerts;
    MainViewController controller;
};

} // namespace

TEST_F(GoogleDriveScanSourceTest, TheViewMakesTheControllerAndSignedOutAddShowsTheSignInSheet)
{
    ASSERT_TRUE(controller.gDriveAccessVC);
    EXPECT_EQ(controller.gDriveAccessVC->delegate, &controller.googleDrive());
    controller.googleDrive().addFolderTapped();
    ASSERT_FALSE(alerts.sheetsBegun().empty());
    EXPECT_EQ(alerts.sheetsBegun().back(), controller.gDriveAccessVC->window());
    controller.googleDrive().switchToGoogleDrive();
    EXPECT_TRUE(controller.arrPathNodeGoogleDrive.empty());
}

TEST_F(GoogleDriveScanSourceTest, AFolderIsAddedOnceAndTheDuplicateGetsTheAlert)
{
    GoogleDriveAccessDelegate &drive = controller.googleDrive();
    drive.showCloudFolderAddResult(folder(QStringLiteral("My Drive/A")));
    drive.showCloudFolderAddResult(folder(QStringLiteral("My Drive/a")));
    ASSERT_EQ(controller.arrPathNodeGoogleDrive.size(), 2u);
    EXPECT_TRUE(alerts.alerts().empty());
    EXPECT_EQ(controller.arrPathNodeGoogleDrive.front().state, 1);
    EXPECT_EQ(
        controller.arrPathNodeGoogleDrive.front().nodeType, GlobalObjects::NodeType::nodeTypeGoogleDrive);

    drive.showCloudFolderAddResult(folder(QStringLiteral("My Drive/A")));
    EXPECT_EQ(controller.arrPathNodeGoogleDrive.size(), 2u);
    EXPECT_EQ(controller.gDriveAccessVC->arrPathNodesToScan.size(), 2u);
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_EQ(alerts.alerts().front().messageText, localizedString(QStringLiteral("ID_ITEMS_CANT_ADDED")));
    EXPECT_EQ(alerts.alerts().front().informativeText,
        localizedString(QStringLiteral("ID_ITEMS_ALREADY_EXIST_SCANNLIST")));
}

TEST_F(GoogleDriveScanSourceTest, ScanThisComputerChoosesTheFirstSourceOfThePopup)
{
    controller.btnPopupForScanSelection->selectItemAtIndex(1);
    int chosen = -1;
    QObject::connect(
        controller.btnPopupForScanSelection, &PopUpButton::itemSelected, [&](int index) { chosen = index; });
    controller.googleDrive().scanThisComputer();
    EXPECT_EQ(chosen, 0);
    EXPECT_EQ(controller.btnPopupForScanSelection->indexOfSelectedItem(), 0);
}
