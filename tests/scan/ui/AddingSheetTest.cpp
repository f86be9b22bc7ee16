// The adding sheet of a running scan and the prompt to quit the photo-library application.
#include <gtest/gtest.h>

#include "MainWindowTestSupport.h"

#include <QCoreApplication>
#include <QLabel>
#include <QRadioButton>
#include <QThread>

#include "app/LocalizedString.h"
#include "app/ScanGlobals.h"
#include "app/SettingsDefaults.h"
#include "controls/ControlFonts.h"
#include "platform/UserDefaults.h"
#include "platform/ui/ScriptedAlertPresenter.h"
#include "scan/ui/MainViewController.h"

namespace
{

class AddingSheetTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        controller.view();
    }

    ScriptedAlertPresenter alerts;
    MainViewController controller;
};

TEST_F(AddingSheetTest, ExactScanWithVideosNamesVideosInTheTitle)
{
    UserDefaults::standard().setObject(QStringLiteral("allowVideoScanning"), true);
    controller.selectComparisonMethod(controller.btnExactMatch.data());
    controller.showAddingPhotosSheet();
    EXPECT_EQ(controller.lblAddingPhotos->text(), text("ID_ADDING_PHOTOS_VIDEOS"));
    EXPECT_EQ(controller.lblPleaseBePatient->text(), text("ID_PATIENT_WHILE_SCAN_DUPLICATES_PHOTOS_VIDEOS"));
    EXPECT_EQ(controller.lblPleaseBePatient->font(), ControlFonts::systemFont(10));
    ASSERT_EQ(alerts.sheetsBegun().size(), 1u);
    EXPECT_EQ(alerts.sheetsBegun().front(), controller.windowAddImages.data());
}

TEST_F(AddingSheetTest, SimilarScanNamesPhotosEvenWithVideosAllowed)
{
    UserDefaults::standard().setObject(QStringLiteral("allowVideoScanning"), true);
    controller.showAddingPhotosSheet();
    EXPECT_EQ(controller.lblAddingPhotos->text(), text("ID_ADDING_PHOTOS"));
    EXPECT_EQ(controller.lblPleaseBePatient->font(), ControlFonts::systemFont(13));
}

TEST_F(AddingSheetTest, DismissFromAWorkerClosesTheSheetAndEnablesScan)
{
    controller.showAddingPhotosSheet();
    ASSERT_TRUE(alerts.isSheetOpen(controller.windowAddImages));
    QThread *worker = QThread::create([this] { controller.dismissAddingPhotosSheet(); });
    worker->start();
    worker->wait();
    delete worker;
    settle();
    EXPECT_FALSE(alerts.isSheetOpen(controller.windowAddImages));
    EXPECT_TRUE(controller.btnCompare->isEnabled());
    EXPECT_EQ(controller.btnCompare->state(), IMGButton::OnState);
}

} // namespace
