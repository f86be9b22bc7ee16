// The comparison options of the main window: slider tables, labels, modes, the video link, the
// reset to defaults and the help popover.
#include <gtest/gtest.h>

#include "MainWindowTestSupport.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QRadioButton>
#include <QThread>
#include <QTimer>

#include "app/LocalizedString.h"
#include "app/ScanGlobals.h"
#include "app/SettingsDefaults.h"
#include "controls/DoubleSlider.h"
#include "platform/Dispatch.h"
#include "platform/NotificationCenter.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"
#include "platform/ui/FrameGeometry.h"
#include "platform/ui/ScriptedAlertPresenter.h"
#include "scan/ui/ComparisonOptionsView.h"
#include "scan/ui/MainViewController.h"
#include "scan/ui/OptionPopover.h"
#include "scan/ui/PopUpButton.h"

namespace
{

class ComparisonOptionsTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        controller.view();
    }
    // Moves a slider as the user would: the stored setting and the action follow.
    static void move(DoubleSlider *slider, int position) { slider->setValue(position); }

    ScriptedAlertPresenter alerts;
    MainViewController controller;
};

struct TimeRow {
    int position;
    double seconds;
    const char *label;
    const char *unit;
};

class TimeIntervalTest : public ComparisonOptionsTest, public ::testing::WithParamInterface<TimeRow>
{
};

TEST_P(TimeIntervalTest, PositionSetsSecondsAndLabel)
{
    const TimeRow row = GetParam();
    move(controller.sliderTimeInterval, row.position);
    EXPECT_DOUBLE_EQ(ScanGlobals::captureTimeInterval.load(), row.seconds);
    EXPECT_EQ(controller.lblTimeIntervalValue->text(),
        QString::fromLatin1(row.label) + QLatin1Char(' ') + text(QString::fromLatin1(row.unit)));
    EXPECT_EQ(UserDefaults::standard().integerForKey(QStringLiteral("setTimeInterval")), row.position);
}

INSTANTIATE_TEST_SUITE_P(Positions, TimeIntervalTest,
    ::testing::Values(TimeRow { 0, 86400, "24", "ID_HOURS_AND_LESS" },
        TimeRow { 1, 43200, "12", "ID_HOURS_AND_LESS" }, TimeRow { 2, 21600, "6", "ID_HOURS_AND_LESS" },
        TimeRow { 3, 10800, "3", "ID_HOURS_AND_LESS" }, TimeRow { 4, 7200, "2", "ID_HOURS_AND_LESS" },
        TimeRow { 5, 3600, "1", "ID_HOUR_AND_LESS" }, TimeRow { 6, 1800, "30", "ID_MINUTES_AND_LESS" },
        TimeRow { 7, 600, "10", "ID_MINUTES_AND_LESS" }, TimeRow { 8, 300, "5", "ID_MINUTES_AND_LESS" },
        TimeRow { 9, 180, "3", "ID_MINUTES_AND_LESS" }, TimeRow { 10, 120, "2", "ID_MINUTES_AND_LESS" },
        TimeRow { 11, 60, "1", "ID_MINUTE_AND_LESS" }, TimeRow { 12, 30, "30", "ID_SECONDS_AND_LESS" },
        TimeRow { 13, 10, "10", "ID_SECONDS_AND_LESS" }, TimeRow { 14, 5, "5", "ID_SECONDS_AND_LESS" },
        TimeRow { 15, 3, "3", "ID_SECONDS_AND_LESS" }, TimeRow { 16, 2, "2", "ID_SECONDS_AND_LESS" },
        TimeRow { 17, 1, "1", "ID_SECOND_AND_LESS" }, TimeRow { 18, 0, "0", "ID_SECOND" }));

TEST_F(ComparisonOptionsTest, DefaultsGiveThirtySecondsSixtyFourPixelsAndFiveMetres)
{
    EXPECT_DOUBLE_EQ(ScanGlobals::captureTimeInterval.load(), 30.0);
    EXPECT_EQ(ScanGlobals::reSizeValue.load(), 64);
    EXPECT_DOUBLE_EQ(ScanGlobals::gpsDistanceLimit.load(), 5.0);
    EXPECT_EQ(controller.lblGPSDistance->text(), QStringLiteral("5 ") + text(QStringLiteral("ID_METERS")));
}

TEST_F(ComparisonOptionsTest, BitmapAndGpsPositionsFollowTheirTables)
{
    const int sizes[] = { 48, 56, 64, 72, 80, 88, 96 };
    const int metres[] = { 1, 2, 5, 10, 20, 50, 100 };
    for (int position = 0; position <= 6; ++position) {
        move(controller.sliderBitMap, position);
        EXPECT_EQ(ScanGlobals::reSizeValue.load(), sizes[position]);
        EXPECT_EQ(controller.lblBitMapSize->text(),
            formatText(QStringLiteral("%dx%d %@"), sizes[position], sizes[position], text("ID_PIXELS")));
        move(controller.sliderGPSDistance, position);
        EXPECT_DOUBLE_EQ(ScanGlobals::gpsDistanceLimit.load(), metres[position]);
        EXPECT_EQ(controller.lblGPSDistance->text(),
            QString::number(metres[position]) + QLatin1Char(' ') + text(QStringLiteral("ID_METERS")));
    }
}

TEST_F(ComparisonOptionsTest, MatchingLevelsSetBothThresholds)
{
    const double match[] = { 0.85, 0.88, 0.90, 0.92, 0.94, 0.96, 0.98, 0.99 };
    const double minimum[] = { 0.85, 0.85, 0.88, 0.90, 0.90, 0.90, 0.90, 0.90 };
    for (int level = 1; level <= 8; ++level) {
        move(controller.sliderInitialMatching, level);
        EXPECT_DOUBLE_EQ(ScanGlobals::matchThreshold.load(), match[level - 1]) << level;
        EXPECT_DOUBLE_EQ(ScanGlobals::minimumMatchThreshold.load(), minimum[level - 1]) << level;
    }
    EXPECT_EQ(ComparisonOptionsView::levelImageName(8), QStringLiteral("campare_right_7"));
}

TEST_F(ComparisonOptionsTest, UnreadableLevelFallsBackToTheRegisteredDefault)
{
    ScanGlobals::matchThreshold = 0.5;
    UserDefaults::standard().setObject(QStringLiteral("setInitialMatching"), QStringLiteral("high"));
    EXPECT_EQ(ComparisonOptionsView::matchingLevel(), 4);
    controller.btnSliderMatchingLevel();
    EXPECT_DOUBLE_EQ(ScanGlobals::matchThreshold.load(), 0.92);
    UserDefaults::standard().removeObject(QStringLiteral("setInitialMatching"));
    EXPECT_EQ(ComparisonOptionsView::matchingLevel(), 4);
}

TEST_F(ComparisonOptionsTest, ExactModeHidesTheSimilarModeBoxes)
{
    controller.btnExactMatch->click();
    EXPECT_EQ(controller.compareType, GlobalObjects::CompareType::ctMD5);
    EXPECT_TRUE(controller.btnExactMatch->isChecked());
    EXPECT_FALSE(controller.btnSimilarMatch->isChecked());
    for (QWidget *box : std::initializer_list<QWidget *> { controller.boxGPS, controller.boxMatchingLevel,
             controller.boxBitmapSize, controller.boxTimeInterval, controller.btnIncludeRotateImages,
             controller.btnIncludeFlipImages, controller.btnLinkScanVideo })
        EXPECT_TRUE(box->isHidden()) << box->objectName().toStdString();
    EXPECT_FALSE(controller.btnScanVideo->isHidden());
    const QRectF method = FrameGeometry::frameInBottomLeft(controller.boxComparisonMethod);
    const QRectF box = FrameGeometry::frameInBottomLeft(controller.boxRotateFlip);
    EXPECT_DOUBLE_EQ(box.height(), 60.0);
    EXPECT_DOUBLE_EQ(box.y(), method.y() - 70.0);

    controller.btnSimilarMatch->click();
    EXPECT_EQ(controller.compareType, GlobalObjects::CompareType::ctHash);
    EXPECT_DOUBLE_EQ(FrameGeometry::frameInBottomLeft(controller.boxRotateFlip).height(), 80.0);
    EXPECT_FALSE(controller.boxGPS->isHidden());
}

TEST_F(ComparisonOptionsTest, VideoLinkSwitchesToExactModeOnYes)
{
    alerts.queueAnswer(AlertPresenter::kFirstButton + 1);
    controller.btnLinkScanVideo->click();
    EXPECT_EQ(controller.compareType, GlobalObjects::CompareType::ctHash);
    alerts.queueAnswer(AlertPresenter::kFirstButton);
    controller.btnLinkScanVideo->click();
    EXPECT_EQ(controller.compareType, GlobalObjects::CompareType::ctMD5);
    ASSERT_EQ(alerts.alerts().size(), 2u);
    EXPECT_EQ(alerts.alerts().back().buttons, (QStringList { text("ID_YES"), text("ID_NO") }));
}

TEST_F(ComparisonOptionsTest, ResetFromAnotherThreadReturnsToSimilarModeOnTheGuiThread)
{
    controller.btnExactMatch->click();
    move(controller.sliderBitMap, 6);
    UserDefaults::standard().removeObject(QStringLiteral("setBitMapSize"));
    QThread *poster = QThread::create(
        [] { NotificationCenter::defaultCenter().post(QStringLiteral("PreferencesResetToDefaults")); });
    poster->start();
    poster->wait();
    delete poster;
    EXPECT_EQ(controller.compareType, GlobalObjects::CompareType::ctMD5);
    for (int round = 0; round < 100 && controller.compareType != GlobalObjects::CompareType::ctHash;
         ++round) {
        QEventLoop loop;
        QTimer::singleShot(10, &loop, &QEventLoop::quit);
        loop.exec();
    }
    EXPECT_EQ(controller.compareType, GlobalObjects::CompareType::ctHash);
    EXPECT_EQ(ScanGlobals::reSizeValue.load(), 64);
}

TEST_F(ComparisonOptionsTest, HelpPopoverShowsOnlyForThisComputer)
{
    ScanGlobals::scanType = ScanSource::googleDrive;
    controller.btnToolTip->click();
    EXPECT_EQ(controller.optionPopover(), nullptr);
    ScanGlobals::scanType = ScanSource::thisComputer;
    controller.btnToolTip->click();
    OptionPopover *popover = controller.optionPopover();
    ASSERT_NE(popover, nullptr);
    EXPECT_TRUE(popover->popover->isVisible());
    EXPECT_EQ(popover->txtHeading->text(), text(QStringLiteral("ID_SCAN_DUPLICATE_AND_SIMILAR_LOOKING")));
    EXPECT_EQ(popover->txtCapturedInfo->toolTip(), popover->txtCapturedInfo->text());
    // The time interval's dates are explained below the period's options.
    EXPECT_EQ(popover->txtFileDates->text(), text(QStringLiteral("ID_TIME_INTERVEL_FILE_DATES")));
    EXPECT_TRUE(controller.sliderTimeInterval->toolTip().contains(popover->txtFileDates->text().toHtmlEscaped()));
    // Every date kind is explained, in the pop-up's order, each text whole and under the one before,
    // its pointer beside it.
    const QList<QLabel *> kinds = popover->dateKindTexts();
    ASSERT_EQ(kinds.size(), controller.btnCaptureDate->numberOfItems());
    const QList<QLabel *> texts
        = QList<QLabel *> { popover->txtHeading } + kinds + QList<QLabel *> { popover->txtFileDates };
    for (int i = 0; i < texts.size(); ++i) {
        EXPECT_FALSE(texts[i]->isHidden()) << i;
        EXPECT_TRUE(popover->view()->rect().contains(texts[i]->geometry())) << i;
        EXPECT_GE(texts[i]->height(), texts[i]->heightForWidth(texts[i]->width())) << i;
        if (i > 0) {
            EXPECT_GE(texts[i]->geometry().top(), texts[i - 1]->geometry().bottom()) << i;
        }
    }
    for (int i = 0; i < kinds.size(); ++i) {
        EXPECT_TRUE(kinds[i]->text().startsWith(controller.btnCaptureDate->itemAtIndex(i)->text() + u':'))
            << i;
        const int pointerMiddle = popover->pointers[i]->geometry().center().y();
        EXPECT_TRUE(
            pointerMiddle >= kinds[i]->geometry().top() && pointerMiddle <= kinds[i]->geometry().bottom());
    }
    popover->popover->close();
}

} // namespace
