// Scans started from the main window's Scan button on generated trees: the way to the results view,
// the two early-out alerts, and Stop at every stage.
#include <gtest/gtest.h>

#include <iostream>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>

#include "app/CommonFunc.h"
#include "app/LocalizedString.h"
#include "app/ScanGlobals.h"
#include "app/SettingsDefaults.h"
#include "controls/CircularProgressBarView.h"
#include "controls/DoubleSlider.h"
#include "model/DuplicatesGroup.h"
#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "platform/AppFolders.h"
#include "platform/Dispatch.h"
#include "platform/ImageSourceFixtures.h"
#include "platform/LeftBehindQueues.h"
#include "platform/SilentOwnFolders.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"
#include "platform/ui/ScriptedAlertPresenter.h"
#include "results/ui/ResultViewController.h"
#include "scan/ScanTestSupport.h"
#include "scan/ui/MainViewController.h"
#include "scan/ui/PopUpButton.h"
#include "scan/ui/ScanRunController.h"
#include "support/DeadMount.h"
#include "support/TestEvents.h"
#include "support/TestFiles.h"

// The synthetic photo library of the reader's own tests, built into this test binary as well.
#include "model/LibraryTestLibrary.cpp"

namespace
{

using Outcome = ScanEngine::Outcome;
constexpr int kScanBoundMs = 60000;

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

bool waitFor(const std::function<bool()> &done)
{
    return TestEvents::waitFor(done, kScanBoundMs);
}

class ScanRunControllerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UserDefaults::standard().resetAll();
        SettingsDefaults::registerDefaultSettings();
        UserDefaults::standard().setObject(QStringLiteral("minimumFileSize"), 0);
        ScanGlobals::resetToInitialValues();
        ASSERT_TRUE(tree.isValid());
        controller.view()->setParent(&window);
        controller.scanRun().setResultsDelay(0.0);
    }
    void TearDown() override { ScanGlobals::resetToInitialValues(); }

    QString photo(const QString &relative, int seed)
    {
        const QString path = tree.filePath(relative);
        EXPECT_TRUE(ScanTestSupport::writeImage(ScanTestSupport::makePhoto(seed), path));
        return path;
    }
    QString copy(const QString &from, const QString &relative)
    {
        const QString path = tree.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_TRUE(QFile::copy(from, path));
        return path;
    }
    void addFolder(const QString &relative = QString())
    {
        const QString path = relative.isEmpty() ? tree.path() : tree.filePath(relative);
        QDir().mkpath(path);
        ASSERT_TRUE(controller.addPathNode(path, GlobalObjects::NodeType::nodeTypefolder));
    }
    // Presses Scan, lets `duringScan` act on the running scan, and waits for the outcome.
    Outcome runScan(const std::function<void()> &duringScan = {})
    {
        std::optional<Outcome> ended;
        const QMetaObject::Connection connection = QObject::connect(&controller.scanRun(),
            &ScanRunController::scanEnded, [&ended](Outcome outcome) { ended = outcome; });
        controller.btnCompare->click();
        EXPECT_TRUE(alerts.isSheetOpen(controller.windowAddImages));
        if (duringScan)
            duringScan();
        if (!waitFor([&ended] { return ended.has_value(); }))
            ADD_FAILURE() << "the scan did not end";
        QObject::disconnect(connection);
        return ended.value_or(Outcome::Stopped);
    }
    void expectNoResultsWindow()
    {
        EXPECT_FALSE(controller.result->isViewLoaded() && controller.result->view()->isVisible());
        EXPECT_FALSE(controller.view()->isHidden());
        EXPECT_FALSE(alerts.isSheetOpen(controller.windowAddImages));
        EXPECT_TRUE(controller.btnCompare->isEnabled());
    }
    QList<QStringList> shownGroups() const
    {
        QList<QStringList> groups;
        for (const auto &group : controller.result->arrGroups) {
            QStringList members;
            for (const auto &record : group->children)
                members.append(record->filePath);
            groups.append(members);
        }
        return ScanTestSupport::relativeGroups(groups, tree.path());
    }

    QTemporaryDir tree;
    ScriptedAlertPresenter alerts;
    QWidget window;
    MainViewController controller;
};

// Exact copies in two folders group in both modes; the distinct photos stay out of the results.
class ScanRunModeTest : public ScanRunControllerTest, public ::testing::WithParamInterface<bool>
{
};

TEST_P(ScanRunModeTest, ScanReachesTheResultsViewWithTheGroupsOfTwoOrMore)
{
    const bool exact = GetParam();
    if (exact)
        controller.selectComparisonMethod(controller.btnExactMatch);
    const QString original = photo(QStringLiteral("a/beach.jpg"), 1);
    copy(original, QStringLiteral("b/nested/beach.jpg"));
    photo(QStringLiteral("a/forest.jpg"), 2);
    photo(QStringLiteral("b/city.png"), 3);
    QFile::copy(original, tree.filePath(QStringLiteral("a/notes.txt")));
    addFolder(QStringLiteral("a"));
    addFolder(QStringLiteral("b"));

    ASSERT_EQ(runScan(), Outcome::Results);

    EXPECT_EQ(shownGroups(),
        (QList<QStringList> { { QStringLiteral("a/beach.jpg"), QStringLiteral("b/nested/beach.jpg") } }));
    const auto session = controller.scanRun().engine().session();
    EXPECT_EQ(session->arrImagesContent.size(), 4);
    // An exact scan groups only the records that share their size with another.
    EXPECT_EQ(session->arrAllFilesGrouping.size(), exact ? 1 : 3);
    EXPECT_TRUE(alerts.alerts().empty());
    EXPECT_FALSE(alerts.isSheetOpen(controller.windowAddImages));
    EXPECT_EQ(controller.lblScanPer->text(), QStringLiteral("100%"));
    EXPECT_DOUBLE_EQ(controller.progressCircular->progress, 100.0);
    // The finished comparison says so, in the title too, while the results open, and the bar
    // agrees with the ring.
    EXPECT_EQ(controller.lblAddingPhotos->text(), text("ID_SCANNED"));
    EXPECT_EQ(controller.lblAdd->text(), text("ID_OPENING_RESULTS"));
    EXPECT_EQ(controller.indProgressBar->value(), controller.indProgressBar->maximum());
    EXPECT_EQ(controller.lblPhotosAddedCount->text(), QStringLiteral("4/4"));
    EXPECT_EQ(controller.lblPhotosComparedCount->text(), QStringLiteral("4/4"));
    // The sheet ends with the space figure the results header opens with, in both modes.
    EXPECT_GT(controller.result->sizeToClean, 0u);
    EXPECT_EQ(controller.lblDuplicatePhotosSize->text(),
        CommonFunc::formattedSize(QVariant::fromValue(quint64(controller.result->sizeToClean))));
    // What the results window's rules read of the grouped photos is there without a decode.
    for (const auto &record : session->arrAllFilesGrouping.front()->children)
        EXPECT_EQ(record->exifInfo ? record->exifInfo->pixelWidth : 0, 320);
    EXPECT_TRUE(controller.lblScanPath->text().isEmpty()) << "no file is being compared any more";

    // The results view has taken the main view's place in the same window, and fills it.
    QWidget *results = controller.result->view();
    EXPECT_EQ(results->parentWidget(), &window);
    EXPECT_EQ(results->geometry(), window.rect());
    EXPECT_FALSE(results->isHidden());
    EXPECT_TRUE(controller.view()->isHidden());
    EXPECT_TRUE(controller.result->isShowingThumbView);
    EXPECT_EQ(controller.btnCompare->state(), IMGButton::OnState);
}

INSTANTIATE_TEST_SUITE_P(Modes, ScanRunModeTest, ::testing::Values(false, true),
    [](const ::testing::TestParamInfo<bool> &info) { return info.param ? "Exact" : "Similar"; });

TEST_F(ScanRunControllerTest, ASecondScanDoesNotAddTheResultsViewTwice)
{
    const QString original = photo(QStringLiteral("one.jpg"), 5);
    copy(original, QStringLiteral("two.jpg"));
    addFolder();
    ASSERT_EQ(runScan(), Outcome::Results);
    controller.result->view()->hide();
    controller.view()->show();
    ASSERT_EQ(runScan(), Outcome::Results);
    EXPECT_EQ(
        window.findChildren<QWidget *>(QStringLiteral("resultView"), Qt::FindDirectChildrenOnly).size(), 1);
    EXPECT_EQ(shownGroups().size(), 1);
}

struct StartCase {
    const char *name;
    bool exact;
    double level;
    double bitmapIndex;
    int sizeUnit;
    double matchThreshold;
    double minimumMatchThreshold;
    int reSizeValue;
    qint64 minimumSize;
    const char *photosAdded;
};

void PrintTo(const StartCase &c, std::ostream *os)
{
    *os << c.name;
}

class ScanRunStartTest : public ScanRunControllerTest, public ::testing::WithParamInterface<StartCase>
{
};

TEST_P(ScanRunStartTest, StartFixesThresholdsOptionsAndSheetTexts)
{
    const StartCase c = GetParam();
    UserDefaults &defaults = UserDefaults::standard();
    defaults.setObject(QStringLiteral("minimumFileSize"), 50);
    defaults.setObject(QStringLiteral("fileSizeUnit"), c.sizeUnit);
    defaults.setObject(QStringLiteral("allowVideoScanning"), true);
    // The sliders follow their settings.
    defaults.setObject(QStringLiteral("setInitialMatching"), c.level);
    defaults.setObject(QStringLiteral("setBitMapSize"), c.bitmapIndex);
    ASSERT_DOUBLE_EQ(controller.sliderBitMap->doubleValue(), c.bitmapIndex);
    controller.selectComparisonMethod(c.exact ? controller.btnExactMatch : controller.btnSimilarMatch);
    addFolder(QStringLiteral("empty"));
    const Outcome outcome = runScan([&] {
        const ScanGlobalsSnapshot &scan = controller.scanRun().engine().session()->options.globals;
        EXPECT_DOUBLE_EQ(scan.matchThreshold, c.matchThreshold);
        EXPECT_DOUBLE_EQ(scan.minimumMatchThreshold, c.minimumMatchThreshold);
        EXPECT_EQ(scan.reSizeValue, c.reSizeValue);
        EXPECT_EQ(scan.minimumAllowFileSize, c.minimumSize);
        EXPECT_EQ(controller.lblPhotosAdded->text(), text(c.photosAdded));
        EXPECT_EQ(controller.arrVideoExtn.isEmpty(), !c.exact);
    });
    EXPECT_EQ(outcome, Outcome::NoPhotos);
}

INSTANTIATE_TEST_SUITE_P(Settings, ScanRunStartTest,
    ::testing::Values(StartCase { "SimilarLevel8SmallestBitmap", false, 8.0, 0.0, 0, 0.99, 0.90, 48, 50000,
                          "ID_PHOTOS_ADDED" },
        StartCase { "ExactLevel1InMegabytes", true, 1.0, 6.0, 1, 0.99, 0.85, 80, 50000000,
            "ID_PHOTOS_VIDEOS_ADDED" }),
    [](const ::testing::TestParamInfo<StartCase> &info) { return info.param.name; });

// With files left out for their size or for a type unticked in Preferences (`leftOut`, the lines
// that count them), the alert tells those too, with the size or the types.
struct EarlyOutCase {
    const char *name;
    int photos;
    const char *message;
    const char *informative;
    Outcome outcome;
    QStringList leftOut;
};

void PrintTo(const EarlyOutCase &c, std::ostream *os)
{
    *os << c.name;
}

class ScanRunEarlyOutTest : public ScanRunControllerTest, public ::testing::WithParamInterface<EarlyOutCase>
{
protected:
    // PNG and GIF unticked, a minimum size of 1 KB, and files of both kinds left out.
    void leaveFilesOut()
    {
        QVariantList types = SettingsDefaults::defaultImageTypes();
        for (QVariant &type : types) {
            QVariantMap entry = type.toMap();
            const QVariantList extensions = entry.value(QStringLiteral("extns")).toList();
            if (extensions.contains(QStringLiteral("png")) || extensions.contains(QStringLiteral("gif")))
                entry.insert(QStringLiteral("state"), false);
            type = entry;
        }
        UserDefaults::standard().setObject(QStringLiteral("allowedExtensions"), types);
        UserDefaults::standard().setObject(QStringLiteral("minimumFileSize"), 1);
        UserDefaults::standard().setObject(QStringLiteral("fileSizeUnit"), 0);
        for (const char *name : { "a.png", "b.PNG", "c.gif", "tiny.jpg" })
            ASSERT_TRUE(TestFiles::write(tree.filePath(QString::fromLatin1(name)), "x"));
    }
};

TEST_P(ScanRunEarlyOutTest, FewerThanTwoPhotosEndWithTheirMessageAndNoResults)
{
    const EarlyOutCase c = GetParam();
    for (int i = 0; i < c.photos; ++i)
        photo(QStringLiteral("only%1.jpg").arg(i), 10 + i);
    ASSERT_TRUE(TestFiles::write(tree.filePath(QStringLiteral("readme.txt")), "not a photo"));
    if (!c.leftOut.isEmpty())
        leaveFilesOut();
    addFolder();

    EXPECT_EQ(runScan(), c.outcome);
    ASSERT_TRUE(waitFor([this] { return !alerts.alerts().empty(); }));
    ASSERT_EQ(alerts.alerts().size(), 1u);
    const AlertSpec &alert = alerts.alerts().front();
    EXPECT_EQ(alert.messageText, text(c.message));
    // Each told in a paragraph of its own.
    const QStringList lines = alert.informativeText.split(QStringLiteral("\n\n"));
    EXPECT_EQ(lines.mid(0, c.leftOut.size()), c.leftOut) << alert.informativeText.toStdString();
    if (*c.informative) {
        EXPECT_EQ(lines.last(), text(c.informative));
    }
    EXPECT_EQ(alert.buttons, QStringList { text("ID_OK_CAPS") });
    expectNoResultsWindow();
}

const QStringList kLeftOut {
    "1 file was left out as smaller than the minimum file size of 1 KB; you can change "
    "it in Preferences, under Filter.",
    "3 files were left out for their file type, unticked in Preferences, under Filter: PNG, GIF."
};

INSTANTIATE_TEST_SUITE_P(Counts, ScanRunEarlyOutTest,
    ::testing::Values(EarlyOutCase { "NoPhoto", 0, "ID_NO_PHOTOS_DETECTED_AT_PATH",
                          "ID_PLS_CHANGE_PREFERENCES_OR_SELECT_ANOTHER_PTH", Outcome::NoPhotos, {} },
        EarlyOutCase { "OnePhoto", 1, "ID_ONLY_ONE_PHOTO_DETECTED_AT_PATH", "ID_PLS_CHANGE_PREFERENCES",
            Outcome::OnePhoto, {} },
        EarlyOutCase {
            "NoPhotoWithFilesLeftOut", 0, "ID_NO_PHOTOS_DETECTED_AT_PATH", "", Outcome::NoPhotos, kLeftOut },
        EarlyOutCase { "OnePhotoWithFilesLeftOut", 1, "ID_ONLY_ONE_PHOTO_DETECTED_AT_PATH",
            "ID_PLS_CHANGE_PREFERENCES", Outcome::OnePhoto, kLeftOut }),
    [](const ::testing::TestParamInfo<EarlyOutCase> &info) { return info.param.name; });

TEST_F(ScanRunControllerTest, FoldersThatCouldNotBeReadAreNamedWithNoPhotosOrWithResults)
{
    // 50 kB: the photo below is left out for its size.
    UserDefaults::standard().setObject(QStringLiteral("minimumFileSize"), 50);
    UserDefaults::standard().setObject(QStringLiteral("fileSizeUnit"), 0);
    for (const char *folder : { "gone", "gone too", "small" })
        addFolder(QString::fromLatin1(folder));
    ASSERT_TRUE(TestFiles::write(tree.filePath(QStringLiteral("small/tiny.jpg")), "tiny"));
    // Listed, then gone (unmounted or removed).
    for (const char *folder : { "gone", "gone too" })
        ASSERT_TRUE(QDir(tree.filePath(QString::fromLatin1(folder))).removeRecursively());

    EXPECT_EQ(runScan(), Outcome::NoPhotos);
    ASSERT_TRUE(waitFor([this] { return !alerts.alerts().empty(); }));
    // Each in a paragraph of its own.
    const QStringList lines = alerts.alerts().front().informativeText.split(QStringLiteral("\n\n"));
    ASSERT_EQ(lines.size(), 3) << alerts.alerts().front().informativeText.toStdString();
    EXPECT_EQ(lines[0], formatText(text("ID_SAVED_FOLDER_NOT_FOUND"), tree.filePath(QStringLiteral("gone"))));
    EXPECT_EQ(lines[1], formatText(text("ID_ONE_MORE_SAVED_FOLDER_NOT_FOUND"), AppFolders::logFilePath()));
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("1 file was "))) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].contains(text("ID_FILTER_SORT")));
    // The limit in the words Preferences uses for it.
    EXPECT_TRUE(lines[2].contains(QStringLiteral(" 50 KB"))) << lines[2].toStdString();
    // They are named as well when the scan finds copies elsewhere.
    UserDefaults::standard().setObject(QStringLiteral("minimumFileSize"), 0);
    copy(photo(QStringLiteral("small/beach.jpg"), 1), QStringLiteral("small/beach copy.jpg"));
    EXPECT_EQ(runScan(), Outcome::Results);
    EXPECT_EQ(alerts.alerts().back().messageText, text("ID_SOME_FOLDERS_WERE_NOT_SCANNED"));
    EXPECT_TRUE(alerts.alerts().back().informativeText.contains(tree.filePath(QStringLiteral("gone"))));
}

TEST_F(ScanRunControllerTest, StopDuringTheWalkEndsWithoutMessageOrResults)
{
    // Enough entries that the walk is still under way when Stop is pressed.
    for (int i = 0; i < 3; ++i)
        photo(QStringLiteral("d%1/p.jpg").arg(i), 20 + i);
    for (int i = 0; i < 2000; ++i)
        ASSERT_TRUE(TestFiles::write(tree.filePath(QStringLiteral("n%1/%2.txt").arg(i % 40).arg(i)), "x"));
    addFolder();
    const Outcome outcome = runScan([this] {
        ASSERT_FALSE(controller.scanRun().engine().session()->isCalculatingHash);
        controller.btnStopAddingPhotos->click();
    });
    EXPECT_EQ(outcome, Outcome::Stopped);
    EXPECT_TRUE(controller.abortMe);
    EXPECT_FALSE(controller.scanRun().engine().session()->isCalculatingHash);
    EXPECT_TRUE(alerts.alerts().empty());
    expectNoResultsWindow();
}

// Stop gives the window back while a thread of the walk waits for good in the kernel, on a share
// whose server never answers (the test below, run beside such a share in a process of its own).
TEST(DeadShareWindowTest, StopGivesTheWindowBackBesideASilentShare)
{
    DeadMount::expectPassesBeside("ScanRunControllerTest.StopGivesTheWindowBackWhileAShareHoldsTheWalk");
}

// The walk waits from its start: it asks where an excluded folder on the share really is, a look
// that Stop cuts short and leaves behind; the window itself never looks.
TEST_F(ScanRunControllerTest, StopGivesTheWindowBackWhileAShareHoldsTheWalk)
{
    QNY_SKIP_UNLESS_BESIDE_A_SILENT_SHARE();
    const QString share = DeadMount::silentShare();
    UserDefaults::standard().setObject(QStringLiteral("excludedFolders"), QVariantList { share + "/backup" });
    addFolder();
    EXPECT_EQ(runScan([this] { controller.btnStopAddingPhotos->click(); }), Outcome::Stopped);
    expectNoResultsWindow();
    // Stop may come before the walk's look has reached the share on a busy machine.
    ASSERT_TRUE(TestEvents::waitFor([] { return !DeadMount::threadsWaiting().isEmpty(); }, 30000));
    const QStringList waiting = DeadMount::threadsWaiting();
    // A scan that runs to its end lets the stopped one's session go. The walk left behind wakes once
    // the share's server goes and ends on its own, touching nothing freed (the sanitizer build tells).
    UserDefaults::standard().setObject(QStringLiteral("excludedFolders"), QVariantList {});
    EXPECT_EQ(runScan(), Outcome::NoPhotos);
    EXPECT_TRUE(DeadMount::endServerAndWait(waiting, kScanBoundMs));
}

// Stop gives the window back while reading jobs wait for good in the kernel: a share below the
// scanned folder stops answering once the walk has listed it (the tests below, each run beside a
// silent share in a process of its own).
class DeadShareReadTest : public ::testing::TestWithParam<const char *>
{
};

TEST_P(DeadShareReadTest, StopGivesTheWindowBackWhileReadsOnAShareWait)
{
    DeadMount::expectPassesBeside(
        (std::string("ScanRunDeadShareTest.StopGivesTheWindowBackWhenReadsHangWhile") + GetParam()).c_str());
}

INSTANTIATE_TEST_SUITE_P(Stages, DeadShareReadTest, ::testing::Values("Decoding", "Summing"),
    [](const ::testing::TestParamInfo<const char *> &info) { return std::string(info.param); });

class ScanRunDeadShareTest : public ScanRunControllerTest
{
protected:
    // Large PNGs below `a` and copies of them on `z`, which the walk lists last: the share goes
    // silent once the reading has begun, before it has reached the share. Sums read every byte, so
    // for them each file gets a sparse tail of zeros: long to read, and nothing on the disk.
    void stopWhileReadsHang(bool exact)
    {
        QNY_SKIP_UNLESS_BESIDE_A_SILENT_SHARE();
        const QString share = DeadMount::silentShare();
        if (exact)
            controller.selectComparisonMethod(controller.btnExactMatch);
        const QString large = tree.filePath(QStringLiteral("a/p0.png"));
        ASSERT_TRUE(ScanTestSupport::writeLargePng(300, 1600, 1200, large));
        QStringList files;
        for (int i = 1; i < 90; ++i)
            files.append(copy(large, QStringLiteral("a/p%1.png").arg(i)));
        for (int i = 0; i < 20; ++i)
            files.append(copy(large, QStringLiteral("z/q%1.png").arg(i)));
        files.append(large);
        for (const QString &file : files)
            ASSERT_TRUE(!exact || QFile::resize(file, qint64(16) << 20));
        addFolder();
        QElapsedTimer stopping;
        const Outcome outcome = runScan([&] {
            ASSERT_TRUE(waitFor([this] {
                const auto session = controller.scanRun().engine().session();
                return session && session->isCalculatingHash.load();
            }));
            ASSERT_TRUE(DeadMount::silence(tree.filePath(QStringLiteral("z"))));
            ASSERT_TRUE(waitFor([] { return !DeadMount::threadsWaiting().isEmpty(); }));
            stopping.start();
            controller.btnStopAddingPhotos->click();
        });
        std::cout << "Stop gave the window back after " << stopping.elapsed() << " ms\n";
        EXPECT_EQ(outcome, Outcome::Stopped);
        expectNoResultsWindow();
        const QStringList waiting = DeadMount::threadsWaiting();
        ASSERT_FALSE(waiting.isEmpty());
        EXPECT_LE(waiting.size(), ScanEngine::hashOperationsAtOnce(ScanSource::thisComputer));
        // A later scan runs on queues of its own, to its end; the jobs left behind wake once the
        // share's server goes and end on their own, touching nothing freed (the sanitizer build tells).
        controller.arrPathNodes.clear();
        copy(large, QStringLiteral("b/p.png"));
        copy(large, QStringLiteral("b/q.png"));
        addFolder(QStringLiteral("b"));
        EXPECT_EQ(runScan(), Outcome::Results);
        DeadMount::endServerAndWait({}, 0);
        EXPECT_TRUE(waitFor([] { return LeftBehindQueues::count() == 0; }));
    }
};

TEST_F(ScanRunDeadShareTest, StopGivesTheWindowBackWhenReadsHangWhileDecoding)
{
    stopWhileReadsHang(false);
}

TEST_F(ScanRunDeadShareTest, StopGivesTheWindowBackWhenReadsHangWhileSumming)
{
    stopWhileReadsHang(true);
}

// A folder of the program's own falls silent once the scan has begun: the scan ends by itself with
// its groups, and names the folder; a setting changed meanwhile holds in memory.
class OwnFolderSilentTest : public ::testing::TestWithParam<const char *>
{
};

TEST_P(OwnFolderSilentTest, TheScanEndsByItselfAndNamesTheFolder)
{
    DeadMount::expectPassesBeside(
        (std::string("ScanRunOwnFolderSilentTest.TheScanEndsWhenItsFolderFallsSilent") + GetParam()).c_str());
}

INSTANTIATE_TEST_SUITE_P(Folders, OwnFolderSilentTest, ::testing::Values("Cache", "Log", "Settings"),
    [](const ::testing::TestParamInfo<const char *> &info) { return std::string(info.param); });

class ScanRunOwnFolderSilentTest : public ScanRunControllerTest
{
protected:
    // `told`: the folder stopped answering before the results opened, so their note names it (the
    // log is written to first when they open).
    void scanWhileFallsSilent(const QString &folder, bool told = true)
    {
        QNY_SKIP_UNLESS_BESIDE_A_SILENT_SHARE();
        const QString large = tree.filePath(QStringLiteral("a/p0.png"));
        ASSERT_TRUE(ScanTestSupport::writeLargePng(300, 1600, 1200, large));
        for (int i = 1; i < 40; ++i)
            copy(large, QStringLiteral("a/p%1.png").arg(i));
        UserDefaults::standard().setObject(QStringLiteral("allowVideoScanning"), false);
        ASSERT_TRUE(QDir().mkpath(folder));
        addFolder();
        const Outcome outcome = runScan([&folder] {
            ASSERT_TRUE(DeadMount::silence(folder));
            // As a click on a settings check box while the scan runs.
            UserDefaults::standard().setObject(QStringLiteral("allowVideoScanning"), true);
        });
        EXPECT_EQ(outcome, Outcome::Results);
        EXPECT_EQ(shownGroups().size(), 1);
        EXPECT_TRUE(UserDefaults::standard().boolForKey(QStringLiteral("allowVideoScanning")));
        EXPECT_EQ(SilentOwnFolders::stoppedAnswering(), QStringList { folder });
        if (told) {
            ASSERT_FALSE(alerts.alerts().empty());
            EXPECT_TRUE(alerts.alerts().back().informativeText.contains(folder))
                << alerts.alerts().back().informativeText.toStdString();
        }
        // The next scan goes on without the folder, from its start.
        EXPECT_EQ(runScan(), Outcome::Results);
        ASSERT_TRUE(DeadMount::endServerAndWait({}, 0));
        EXPECT_TRUE(waitFor([] { return SilentOwnFolders::stoppedAnswering().isEmpty(); }));
    }
};

TEST_F(ScanRunOwnFolderSilentTest, TheScanEndsWhenItsFolderFallsSilentCache)
{
    scanWhileFallsSilent(AppFolders::supportFolder());
}

TEST_F(ScanRunOwnFolderSilentTest, TheScanEndsWhenItsFolderFallsSilentLog)
{
    scanWhileFallsSilent(AppFolders::logsFolder(), false);
}

TEST_F(ScanRunOwnFolderSilentTest, TheScanEndsWhenItsFolderFallsSilentSettings)
{
    scanWhileFallsSilent(AppFolders::settingsFolder());
}

TEST_F(ScanRunControllerTest, StopWhileHashingWaitsForTheJobsAndShowsNoResults)
{
    // Large PNGs (no reduced decoding), so the hashing outlasts the first progress report by far.
    constexpr int kPhotos = 250;
    const QString large = tree.filePath(QStringLiteral("p0.png"));
    ASSERT_TRUE(ScanTestSupport::writeLargePng(100, 1600, 1200, large));
    for (int i = 1; i < kPhotos; ++i)
        copy(large, QStringLiteral("p%1.png").arg(i));
    addFolder();
    const Outcome outcome = runScan([this] {
        ASSERT_TRUE(waitFor([this] {
            const auto session = controller.scanRun().engine().session();
            return session && session->isCalculatingHash.load();
        }));
        controller.btnStopAddingPhotos->click();
        // The sheet stays up until the running hash jobs have returned.
    });
    EXPECT_EQ(outcome, Outcome::Stopped);
    const auto session = controller.scanRun().engine().session();
    EXPECT_EQ(session->recordCount(), kPhotos);
    // The jobs not yet begun when Stop came returned without reading their files.
    EXPECT_LT(session->decoded.load(), kPhotos);
    EXPECT_TRUE(alerts.alerts().empty());
    expectNoResultsWindow();
}

TEST_F(ScanRunControllerTest, StopWhileTheResultsOpenShowsThem)
{
    // Long enough that only Stop can end the scan within the wait below.
    controller.scanRun().setResultsDelay(kScanBoundMs / 1000.0 * 2);
    const QString original = photo(QStringLiteral("x.jpg"), 7);
    copy(original, QStringLiteral("y.jpg"));
    addFolder();
    const Outcome outcome = runScan([this] {
        ASSERT_TRUE(waitFor([this] { return controller.progressCircular->progress >= 100.0; }));
        EXPECT_TRUE(alerts.isSheetOpen(controller.windowAddImages));
        controller.btnStopAddingPhotos->click();
    });
    EXPECT_EQ(outcome, Outcome::Results);
    EXPECT_EQ(shownGroups().size(), 1);
    EXPECT_FALSE(alerts.isSheetOpen(controller.windowAddImages));
}

TEST_F(ScanRunControllerTest, AScanStartedRightAfterAStopInTheResultsDelayRunsToItsResults)
{
    controller.scanRun().setResultsDelay(0.3);
    const QString original = photo(QStringLiteral("first/x.jpg"), 8);
    copy(original, QStringLiteral("first/y.jpg"));
    addFolder(QStringLiteral("first"));
    const Outcome first = runScan([this] {
        ASSERT_TRUE(waitFor([this] { return controller.progressCircular->progress >= 100.0; }));
        controller.btnStopAddingPhotos->click();
    });
    ASSERT_EQ(first, Outcome::Results);

    // A second scan that outlasts the first one's results delay.
    const QString large = tree.filePath(QStringLiteral("second/p0.png"));
    ASSERT_TRUE(ScanTestSupport::writeLargePng(200, 1600, 1200, large));
    for (int i = 1; i < 200; ++i)
        copy(large, QStringLiteral("second/p%1.png").arg(i));
    controller.arrPathNodes.clear();
    addFolder(QStringLiteral("second"));
    EXPECT_EQ(runScan(), Outcome::Results);
    EXPECT_EQ(shownGroups().size(), 1);
    EXPECT_EQ(controller.scanRun().engine().session()->arrImagesContent.size(), 200);
}

TEST_F(ScanRunControllerTest, ACloudListingJoinsTheScanAtTheHandOver)
{
    const QString only = photo(QStringLiteral("cloud/only.jpg"), 30);
    ScanGlobals::scanType = ScanSource::googleDrive;
    // A ticked cloud folder enables the Scan button.
    controller.btnCompare->setEnabled(true);
    int listings = 0;
    controller.scanRun().startCloudListing = [&] {
        ++listings;
        // The listing delivers its records from its own thread.
        const RecordList records { ImageFileInfo::initWithPathForFile(only, RecordSettings {}) };
        Dispatch::global(
            [this, records] { controller.scanRun().startFindDuplicateFilesInCloudDrive(records, nullptr); });
    };
    EXPECT_EQ(runScan(), Outcome::OnePhoto);
    EXPECT_EQ(listings, 1);
    ASSERT_TRUE(waitFor([this] { return !alerts.alerts().empty(); }));
    EXPECT_EQ(alerts.alerts().front().messageText, text("ID_ONLY_ONE_PHOTO_DETECTED_AT_PATH"));
    expectNoResultsWindow();
}

// The date-kind pop-up with "Today" over a folder of two photos written today, one captured in
// 2021 and one without a capture date, and a library whose photo, written today too, was captured
// and added in 2021: each choice scans what its label says.
TEST_F(ScanRunControllerTest, EachDateKindScansByTheDateItsLabelNames)
{
    const QString captured = photo(QStringLiteral("captured-2021.jpg"), 11);
    ASSERT_TRUE(ImageSourceFixtures::editMetadata(captured, [](Exiv2::ExifData &exif) {
        exif["Exif.Photo.DateTimeOriginal"] = std::string("2021:07:04 18:30:05");
    }));
    photo(QStringLiteral("no-capture-date.jpg"), 12);
    addFolder();
    LibraryTestLibrary library(tree.filePath("library"), LibraryTestLibrary::Layout::PhotosStore);
    const QDateTime in2021(QDate(2021, 7, 4), QTime(18, 30), Qt::UTC);
    photo(QStringLiteral("library/Test.photoslibrary/originals/A/in-library.jpg"), 13);
    library.addItem({ .fileName = QStringLiteral("in-library.jpg"),
        .created = in2021,
        .added = in2021,
        .description = {} });
    ASSERT_TRUE(controller.addPathNode(library.libraryPath(), GlobalObjects::NodeType::nodeTypePhotos));
    controller.btnScanLastImport->click();
    controller.btnCapturePeriod->itemAtIndex(0)->trigger();
    // Each choice, in the pop-up's order, with what it scans.
    const std::pair<const char *, QStringList> choices[] = { { "ID_CAPTUREED", {} },
        { "ID_CREATED", { "captured-2021.jpg", "in-library.jpg", "no-capture-date.jpg" } },
        { "ID_IMPORTED", { "captured-2021.jpg", "no-capture-date.jpg" } }, { "ID_BOTH", {} } };
    for (int index = 0; index < int(std::size(choices)); ++index) {
        QAction *choice = controller.btnCaptureDate->itemAtIndex(index);
        ASSERT_EQ(choice->text(), text(choices[index].first));
        choice->trigger();
        runScan();
        QStringList scanned;
        for (const auto &record : controller.scanRun().engine().session()->arrImagesContent)
            scanned.append(QFileInfo(record->filePath).fileName());
        scanned.sort();
        EXPECT_EQ(scanned, choices[index].second) << choices[index].first;
    }
}

} // namespace
