// Thresholds, slider tables, option loading and exclusions of a scan's start.
#include <gtest/gtest.h>

#include <limits>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/SettingsDefaults.h"
#include "platform/UserDefaults.h"
#include "scan/ExclusionMatcher.h"
#include "scan/ScanOptions.h"

struct LevelCase {
    QVariant stored;
    int level;
};

class MatchingLevelTest : public ::testing::TestWithParam<LevelCase>
{
};

TEST_P(MatchingLevelTest, StoredValueGivesLevel)
{
    EXPECT_EQ(ScanThresholds::matchingLevel(GetParam().stored), GetParam().level);
}

INSTANTIATE_TEST_SUITE_P(Values, MatchingLevelTest,
    ::testing::Values(LevelCase { QVariant(4.0), 4 }, LevelCase { QVariant(4.5), 5 },
        LevelCase { QVariant(3.002), 4 }, LevelCase { QVariant(3.0005), 3 },
        LevelCase { QVariant(qlonglong(8)), 8 }, LevelCase { QVariant(), 0 },
        LevelCase { QVariant(QStringLiteral("4")), 0 }));

TEST(ScanThresholdsTest, TablesCoverTheirRangesOnly)
{
    EXPECT_DOUBLE_EQ(ScanThresholds::thresholdsForLevel(4)->matchThreshold, 0.92);
    EXPECT_DOUBLE_EQ(ScanThresholds::thresholdsForLevel(4)->minimumMatchThreshold, 0.90);
    EXPECT_DOUBLE_EQ(ScanThresholds::thresholdsForLevel(8)->matchThreshold, 0.99);
    EXPECT_FALSE(ScanThresholds::thresholdsForLevel(0));
    EXPECT_FALSE(ScanThresholds::thresholdsForLevel(9));
    EXPECT_EQ(ScanThresholds::bitmapSizeForIndex(6), 96);
    EXPECT_FALSE(ScanThresholds::bitmapSizeForIndex(7));
    EXPECT_DOUBLE_EQ(*ScanThresholds::gpsDistanceForIndex(0), 1.0);
    EXPECT_DOUBLE_EQ(*ScanThresholds::timeIntervalForIndex(0), 86400.0);
    EXPECT_DOUBLE_EQ(*ScanThresholds::timeIntervalForIndex(18), 0.0);
    EXPECT_FALSE(ScanThresholds::timeIntervalForIndex(19));
}

class ScanOptionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        defaults = std::make_unique<UserDefaults>(dir.filePath("settings.plist"));
        defaults->registerDefaults(SettingsDefaults::defaultSettings());
    }
    ScanOptions load(GlobalObjects::CompareType mode, ScanGlobalsSnapshot previous = {})
    {
        return ScanOptions::load(*defaults, mode, ScanSliderPositions::fromDefaults(*defaults), previous);
    }
    QTemporaryDir dir;
    std::unique_ptr<UserDefaults> defaults;
};

TEST_F(ScanOptionsTest, ExactModeFixesItsThresholdAndBitmapButKeepsTheLevelMinimum)
{
    defaults->setObject("setInitialMatching", 1.0);
    const ScanOptions exact = load(GlobalObjects::CompareType::ctMD5);
    EXPECT_DOUBLE_EQ(exact.globals.matchThreshold, 0.99);
    EXPECT_DOUBLE_EQ(exact.globals.minimumMatchThreshold, 0.85);
    EXPECT_EQ(exact.globals.reSizeValue, 80);
    const ScanOptions similar = load(GlobalObjects::CompareType::ctHash);
    EXPECT_DOUBLE_EQ(similar.globals.matchThreshold, 0.85);
    EXPECT_EQ(similar.globals.reSizeValue, 64);
    EXPECT_DOUBLE_EQ(similar.globals.captureTimeInterval, 30.0);
    EXPECT_DOUBLE_EQ(similar.globals.gpsDistanceLimit, 5.0);
}

TEST_F(ScanOptionsTest, UnsetLevelKeepsThePreviousThresholds)
{
    defaults->setObject("setInitialMatching", QStringLiteral("not a number"));
    ScanGlobalsSnapshot previous;
    previous.matchThreshold = 0.5;
    previous.minimumMatchThreshold = 0.4;
    const ScanOptions similar = load(GlobalObjects::CompareType::ctHash, previous);
    EXPECT_DOUBLE_EQ(similar.globals.matchThreshold, 0.5);
    EXPECT_DOUBLE_EQ(similar.globals.minimumMatchThreshold, 0.4);
}

// The headless runner and a cloud scan configure a scan from the settings alone; its records
// take the bitmap size, minimum size, source and fingerprint layout from it.
TEST_F(ScanOptionsTest, SettingsAloneConfigureAScanAndTheRecordsItMakes)
{
    defaults->setObject("setBitMapSize", 5.0);
    defaults->setObject("minimumFileSize", qlonglong(3));
    defaults->setObject("indexMeanParts", qlonglong(2));
    const ScanOptions options = ScanOptions::load(*defaults, GlobalObjects::CompareType::ctHash, ScanSource::dropbox);
    const ScanOptions fromWindow = load(GlobalObjects::CompareType::ctHash);
    EXPECT_EQ(options.globals.reSizeValue, *ScanThresholds::bitmapSizeForIndex(5));
    EXPECT_EQ(options.globals.reSizeValue, fromWindow.globals.reSizeValue);
    EXPECT_DOUBLE_EQ(options.globals.matchThreshold, fromWindow.globals.matchThreshold);
    const RecordSettings records = options.recordSettings();
    EXPECT_EQ(records.reSizeValue, options.globals.reSizeValue);
    EXPECT_EQ(records.minimumAllowFileSize, 3000);
    EXPECT_EQ(records.scanType, ScanSource::dropbox);
    // Only the layout the comparison reads is taken.
    EXPECT_EQ(records.indexMeanParts, 4);
}

TEST_F(ScanOptionsTest, MinimumSizeUnitAndVideoTypes)
{
    // The units of every size text: Preferences' "50 KB" is the "50 KB" of the texts.
    EXPECT_EQ(load(GlobalObjects::CompareType::ctHash).globals.minimumAllowFileSize, 50000);
    defaults->setObject("fileSizeUnit", qlonglong(1));
    EXPECT_EQ(load(GlobalObjects::CompareType::ctHash).globals.minimumAllowFileSize, 50000000);

    defaults->setObject("allowVideoScanning", true);
    const ScanOptions similar = load(GlobalObjects::CompareType::ctHash);
    const ScanOptions exact = load(GlobalObjects::CompareType::ctMD5);
    EXPECT_TRUE(similar.videoExtensions.isEmpty());
    EXPECT_FALSE(exact.videoExtensions.isEmpty());
    for (const QString &video : exact.videoExtensions) {
        EXPECT_FALSE(similar.allowedExtensions.contains(video)) << video.toStdString();
        EXPECT_TRUE(exact.allowedExtensions.contains(video)) << video.toStdString();
    }
}

// A stored value outside its range falls back to the default instead of turning the filter inside out.
TEST_F(ScanOptionsTest, SettingsOutsideTheirRangeTakeTheDefault)
{
    defaults->setObject("fileSizeUnit", qlonglong(1));
    const std::pair<QVariant, qint64> sizes[] = { { qlonglong(3), 3000000 },
        { std::numeric_limits<qlonglong>::max() / 1000, 50000000 }, { -1e30, 50000000 } };
    for (const auto &[stored, bytes] : sizes) {
        defaults->setObject("minimumFileSize", stored);
        EXPECT_EQ(load(GlobalObjects::CompareType::ctHash).globals.minimumAllowFileSize, bytes);
    }
    for (const QVariant &layout : { QVariant(0), QVariant(-1), QVariant(1e300), QVariant("four") }) {
        defaults->setObject("indexMeanParts", layout);
        EXPECT_EQ(load(GlobalObjects::CompareType::ctMD5).indexMeanParts, 4)
            << layout.toString().toStdString();
    }
}

// Only text entries are folders; "/" excludes everything below it.
TEST_F(ScanOptionsTest, ExclusionEntriesThatAreNotFoldersAreRefused)
{
    defaults->setObject(
        "excludedFolders", QVariantList { QString(), qlonglong(5), QByteArray("/srv"), "/home" });
    EXPECT_EQ(load(GlobalObjects::CompareType::ctHash).excludedFolders, QStringList { "/home" });
    EXPECT_TRUE(ExclusionMatcher({ QStringLiteral("/") }).isExcluded(QStringLiteral("/srv/x")));
}

struct ExclusionCase {
    const char *path;
    bool excluded;
};

class ExclusionTest : public ::testing::TestWithParam<ExclusionCase>
{
};

TEST_P(ExclusionTest, FolderAndEverythingBelowWithCaseKept)
{
    const ExclusionMatcher matcher({ QStringLiteral("/home/ann/Private (old)"), QStringLiteral("/srv") });
    EXPECT_EQ(matcher.isExcluded(QString::fromUtf8(GetParam().path)), GetParam().excluded) << GetParam().path;
}

INSTANTIATE_TEST_SUITE_P(Paths, ExclusionTest,
    ::testing::Values(ExclusionCase { "/home/ann/Private (old)", true },
        ExclusionCase { "/home/ann/Private (old)/x/y", true },
        ExclusionCase { "/home/ann/private (OLD)/x/y", false },
        ExclusionCase { "/home/ann/private (old)", false },
        ExclusionCase { "/home/ann/Private (old)er", false }, ExclusionCase { "/srv", true },
        ExclusionCase { "/srvx", false }, ExclusionCase { "/Volumes/Disk/System", true },
        ExclusionCase { "/Volumes/disk/Library/x", true }, ExclusionCase { "/volumes/disk/library/x", false },
        ExclusionCase { "/Volumes/Disk/Systems", false }, ExclusionCase { "/home/ann", false }));

// On Linux "Photos" and "photos" are two folders; a link to an excluded folder reaches it too.
TEST(ExclusionMatcherTest, FoldersDifferingInCaseAreApartAndLinksResolve)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Photos/sub")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("photos")));
    ASSERT_TRUE(QFile::link(dir.path() + QStringLiteral("/Photos"), dir.path() + QStringLiteral("/link")));
    const QString root = QFileInfo(dir.path()).canonicalFilePath();
    const ExclusionMatcher matcher({ dir.path() + QStringLiteral("/link/") });
    EXPECT_TRUE(matcher.isExcluded(root + QStringLiteral("/Photos")));
    EXPECT_TRUE(matcher.isExcluded(root + QStringLiteral("/Photos/sub")));
    EXPECT_FALSE(matcher.isExcluded(root + QStringLiteral("/photos")));
}

TEST(ExclusionMatcherTest, AnEmptyListExcludesNothing)
{
    const ExclusionMatcher none(QStringList {});
    EXPECT_FALSE(none.isExcluded(QStringLiteral("/Volumes/Disk/System")));
    EXPECT_FALSE(none.isExcluded(QStringLiteral("/srv")));
}
