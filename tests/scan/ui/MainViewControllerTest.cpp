// The main window controller: its initial state, and the controls its set-up leaves behind.
#include <gtest/gtest.h>

#include "MainWindowTestSupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>

#include "app/LocalizedString.h"
#include "app/MenuMnemonics.h"
#include "app/ScanGlobals.h"
#include "app/SettingsDefaults.h"
#include "controls/DoubleSlider.h"
#include "platform/PropertyList.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"
#include "results/ui/ResultViewController.h"
#include "scan/ScanEngine.h"
#include "scan/ui/MainViewController.h"
#include "scan/ui/PopUpButton.h"

namespace
{

class MainViewControllerTest : public MainWindowTest
{
protected:
    void TearDown() override
    {
        Localization::setPreferredLanguagesOverride({});
        Localization::setTableFolderOverride(QString());
        Localization::reset();
        MainWindowTest::TearDown();
    }
};

TEST_F(MainViewControllerTest, NewControllerHoldsItsInitialValues)
{
    MainViewController c;
    EXPECT_FALSE(c.isViewLoaded());
    EXPECT_EQ(c.compareType, GlobalObjects::CompareType::ctHash);
    EXPECT_EQ(c.nodeType, GlobalObjects::NodeType::nodeTypefile);
    EXPECT_TRUE(c.arrPathNodes.empty());
    EXPECT_TRUE(c.arrPathNodeGoogleDrive.empty());
    EXPECT_TRUE(c.dictPathAdded.isEmpty());
    EXPECT_TRUE(c.allowedExtensions.isEmpty());
    EXPECT_EQ(c.arrVideoExtn.size(), 18);
    EXPECT_EQ(c.arrVideoExtn.first(), QStringLiteral("MPEG"));
    EXPECT_EQ(c.arrVideoExtn.last(), QStringLiteral("WMX"));
    EXPECT_FALSE(c.abortMe);
    ASSERT_TRUE(c.result);
    EXPECT_FALSE(c.scanWrapper);
    EXPECT_FALSE(c.customButtonForMenu);
}

TEST_F(MainViewControllerTest, SetUpLimitsTheHashQueueAndResetsTheSource)
{
    ScanGlobals::scanType = ScanSource::dropbox;
    MainViewController c;
    c.view();
    EXPECT_EQ(ScanEngine::kMaxHashOperations, 16);
    EXPECT_EQ(ScanGlobals::scanType.load(), ScanSource::thisComputer);
    EXPECT_FLOAT_EQ(float(c.sliderInitialMatching->minValue()), 0.85f);
    EXPECT_DOUBLE_EQ(c.sliderInitialMatching->doubleValue(), 4.0);
    EXPECT_DOUBLE_EQ(ScanGlobals::matchThreshold.load(), 0.92);
    EXPECT_DOUBLE_EQ(ScanGlobals::minimumMatchThreshold.load(), 0.90);
}

TEST_F(MainViewControllerTest, ControlsCarryTheirLocalisedTitles)
{
    MainViewController c;
    c.view();
    EXPECT_FALSE(text("ID_SCAN_DUPLICATES").isEmpty());
    EXPECT_EQ(c.btnCompare->text(), text("ID_SCAN_DUPLICATES"));
    EXPECT_EQ(c.btnAddPhotos->text(), text("ID_ADD_PHOTOS"));
    EXPECT_EQ(c.btnAddPhotosLib->text(), text("ID_ADD_PHOTOS_LIBRARY"));
    EXPECT_EQ(c.btnAddFolder->text(), text("ID_ADD_FOLDER"));
    EXPECT_EQ(c.lblFilePaths->text(), text("ID_FILE_PATH"));
    EXPECT_EQ(c.lblMatchingLevel->text(), text("ID_MATCHING_LEVEL"));
    EXPECT_EQ(c.btnStopAddingPhotos->text(), text("ID_STOP"));
    EXPECT_EQ(c.lblDragPhotosTitle->text(), text("ID_DRAG_DROP_PHOTOS"));
    EXPECT_EQ(c.lblHintForDrag->text(), text("ID_HINT_DRAG_FOLDERS_PHOTOS"));
    EXPECT_EQ(c.menuItemLast7Days->text(), formatText(text("ID_WITHIN_LAST_DAYS"), 7));
    EXPECT_EQ(c.menuItemLast15Days->text(), formatText(text("ID_WITHIN_LAST_DAYS"), 15));
    // The scan list's menu shows its titles with their mnemonics.
    EXPECT_EQ(
        MenuMnemonics::plain(c.menuItemRemoveAllFromScanList->text()), text("ID_REMOVE_ALL_FROM_SCAN_LIST"));
    EXPECT_NE(c.menuItemRemoveAllFromScanList->text(), text("ID_REMOVE_ALL_FROM_SCAN_LIST"));
    EXPECT_EQ(c.btnPopupForScanSelection->itemAtIndex(2)->text(), text("ID_DROPBOX"));
    EXPECT_EQ(c.btnPopupForScanSelection->toolTip(), text("ID_FINDER"));
    EXPECT_EQ(
        c.lblDriveInfoSteps1Sub->text(), formatText(text("ID_QNY_DRIVE_INFO_STEP1_SUB"), text("ID_DROPBOX")));
    EXPECT_EQ(c.lblBitMapSize->text(), formatText(QStringLiteral("%dx%d %@"), 64, 64, text("ID_PIXELS")));
    EXPECT_EQ(c.customButtonForMenu->text(), text("ID_ADD_FOLDER"));
}

TEST_F(MainViewControllerTest, InitialEnabledAndHiddenStates)
{
    MainViewController c;
    c.view();
    EXPECT_FALSE(c.btnCompare->isEnabled());
    EXPECT_EQ(c.btnCompare->state(), IMGButton::OffState);
    EXPECT_TRUE(c.customButtonForMenu->isHidden());
    EXPECT_FALSE(c.btnAddPhotos->isHidden());
    EXPECT_TRUE(c.btnSimilarMatch->isChecked());
    EXPECT_FALSE(c.btnExactMatch->isChecked());
    EXPECT_FALSE(c.boxGPS->isHidden());
    EXPECT_TRUE(c.btnScanVideo->isHidden());
    EXPECT_FALSE(c.btnLinkScanVideo->isHidden());
    EXPECT_EQ(c.btnCaptureDate->text(), c.subMneuCaptured->text());
    EXPECT_FALSE(c.btnScanLastImport->isChecked());
    EXPECT_FALSE(c.btnCaptureDate->isEnabled());
    EXPECT_FALSE(c.btnCapturePeriod->isEnabled());
    EXPECT_EQ(c.btnCapturePeriod->indexOfSelectedItem(), 6);
}

TEST_F(MainViewControllerTest, DateFilterFollowsItsSettings)
{
    UserDefaults::standard().setObject(QStringLiteral("allowPhotosLibScanInTimePeriod"), true);
    UserDefaults::standard().setObject(QStringLiteral("scanFilesFromDate"), qlonglong(2));
    UserDefaults::standard().setObject(QStringLiteral("scanPhotosFrom"), QStringLiteral("three"));
    MainViewController c;
    c.view();
    EXPECT_TRUE(c.btnScanLastImport->isChecked());
    EXPECT_TRUE(c.btnCaptureDate->isEnabled());
    EXPECT_TRUE(c.btnCapturePeriod->isEnabled());
    // The stored 2 is the file creation date, second in the menu.
    EXPECT_EQ(c.btnCaptureDate->indexOfSelectedItem(), 1);
    EXPECT_EQ(c.btnCaptureDate->text(), c.subMenuCreated->text());
    EXPECT_EQ(c.btnCapturePeriod->indexOfSelectedItem(), 0);
    c.btnScanLastImport->click();
    EXPECT_FALSE(c.btnCaptureDate->isEnabled());
    EXPECT_FALSE(c.btnCapturePeriod->isEnabled());
    EXPECT_FALSE(UserDefaults::standard().boolForKey(QStringLiteral("allowPhotosLibScanInTimePeriod")));
}

TEST_F(MainViewControllerTest, DateFilterChoicesAreWhatTheNextScanReads)
{
    MainViewController c;
    c.view();
    c.btnScanLastImport->click();
    c.btnCaptureDate->itemAtIndex(2)->trigger();
    c.btnCapturePeriod->itemAtIndex(2)->trigger();
    UserDefaults &defaults = UserDefaults::standard();
    EXPECT_TRUE(defaults.boolForKey(QStringLiteral("allowPhotosLibScanInTimePeriod")));
    EXPECT_EQ(defaults.objectForKey(QStringLiteral("scanFilesFromDate")), QVariant(qlonglong(1)));
    EXPECT_EQ(defaults.objectForKey(QStringLiteral("scanPhotosFrom")), QVariant(qlonglong(2)));
    EXPECT_EQ(c.btnCaptureDate->text(), c.subMneuImported->text());
    // Whichever kind it shows, the title fits beside the arrow.
    for (QAction *kind : { c.subMneuCaptured, c.subMenuCreated, c.subMneuImported, c.subMenuBoth })
        EXPECT_GE(
            c.btnCaptureDate->width(), c.btnCaptureDate->fontMetrics().horizontalAdvance(kind->text()) + 30)
            << kind->text().toStdString();
}

TEST_F(MainViewControllerTest, GermanWindowOffersTheMenuButtonInPlaceOfTheAddButtons)
{
    QTemporaryDir tables;
    ASSERT_TRUE(PropertyList::writeFile(tables.path() + QStringLiteral("/QNY_de.plist"),
        QVariantMap { { QStringLiteral("ID_ADD_FOLDER"), QStringLiteral("Ordner") } }));
    Localization::setTableFolderOverride(tables.path());
    Localization::setPreferredLanguagesOverride({ QStringLiteral("de") });
    Localization::reset();
    MainViewController c;
    c.view();
    EXPECT_FALSE(c.customButtonForMenu->isHidden());
    EXPECT_TRUE(c.btnAddPhotos->isHidden());
    EXPECT_TRUE(c.btnAddFolder->isHidden());
    EXPECT_EQ(c.btnAddPhotosLib->x(), c.customButtonForMenu->geometry().right() + 1 + 10);
}

} // namespace
