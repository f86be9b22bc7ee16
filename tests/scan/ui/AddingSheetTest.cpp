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
#include "scan/ui/PhotosApplication.h"

namespace
{

class FakePhotos : public PhotosApplication
{
public:
    FakePhotos() { setCurrent(this); }
    ~FakePhotos() override { setCurrent(nullptr); }
    bool isRunning() const override { return running; }
    void quit() override { ++quits; }
    bool running = true;
    int quits = 0;
};

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

TEST_F(AddingSheetTest, PhotosPromptQuitsOrSkips)
{
    FakePhotos photos;
    alerts.queueAnswer(AlertPresenter::kFirstButton);
    controller.promptQuitPhotosApp();
    EXPECT_EQ(photos.quits, 0);
    settle();
    EXPECT_EQ(photos.quits, 1);
    EXPECT_FALSE(controller.skipiPhotoFromScan);
    EXPECT_EQ(alerts.alerts().back().buttons,
        (QStringList { text("ID_QUIT_AND_RETRY"), text("ID_SKIP_PHOTOS_LIB") }));

    photos.running = false;
    alerts.queueAnswer(AlertPresenter::kFirstButton);
    controller.promptQuitPhotosApp();
    settle();
    EXPECT_EQ(photos.quits, 1);

    alerts.queueAnswer(AlertPresenter::kFirstButton + 1);
    controller.promptQuitPhotosApp();
    settle();
    EXPECT_TRUE(controller.skipiPhotoFromScan);
}

} // namespace
