// Shared enums, scan globals and the operating-system flag profiles.
#include <gtest/gtest.h>

#include "app/AppConstants.h"
#include "app/OSVersionFlags.h"
#include "app/ScanGlobals.h"

TEST(GlobalObjects, RawValuesOutsideTheCasesGiveNoCase)
{
    EXPECT_EQ(GlobalObjects::nodeTypeFromRaw(5), GlobalObjects::NodeType::nodeTypeDropBox);
    EXPECT_FALSE(GlobalObjects::nodeTypeFromRaw(6).has_value());
    EXPECT_FALSE(GlobalObjects::nodeTypeFromRaw(-1).has_value());
    EXPECT_EQ(AppConstants::typeSupportFromRaw(2), AppConstants::TypeSupport::ONLYVIDEO);
    EXPECT_FALSE(GlobalObjects::typeSupportFromRaw(3).has_value());
    EXPECT_FALSE(GlobalObjects::stepNumberForPhotosFromRaw(0).has_value());
    EXPECT_EQ(GlobalObjects::stepNumberForPhotosFromRaw(4), GlobalObjects::StepNumberForPhotos::stepNumberFourForPhotos);
    EXPECT_EQ(GlobalObjects::compareTypeFromRaw(0), GlobalObjects::CompareType::ctMD5);
}

TEST(ScanGlobals, InitialValuesSnapshotAndReset)
{
    ScanGlobals::resetToInitialValues();
    EXPECT_EQ(ScanGlobals::captureTimeInterval.load(), -1.0);
    EXPECT_EQ(ScanGlobals::markedPhotosAlbumName(), QStringLiteral("Duplicate Marked Photos"));
    ScanGlobals::scanType = ScanSource::dropbox;
    ScanGlobals::matchThreshold = 0.99;
    ScanGlobals::reSizeValue = 80;
    const ScanGlobalsSnapshot s = ScanGlobals::snapshot();
    ScanGlobals::matchThreshold = 0.5;
    EXPECT_EQ(s.scanType, ScanSource::dropbox);
    EXPECT_EQ(s.matchThreshold, 0.99) << "a snapshot does not follow later changes";
    EXPECT_EQ(s.reSizeValue, 80);
    ScanGlobals::resetToInitialValues();
    EXPECT_EQ(ScanGlobals::scanType.load(), ScanSource::thisComputer);
}

struct OSCase
{
    int major;
    int minor;
    bool older, os1013Or1014, os1015, os11, os13, os14, os15;
};

class OSProfiles : public testing::TestWithParam<OSCase>
{
protected:
    void TearDown() override { OSVersionFlags::applyVersion(OSVersionFlags::kProfileMajor, OSVersionFlags::kProfileMinor); }
};

TEST_P(OSProfiles, SetTheFlagsOfThatRelease)
{
    const OSCase &c = GetParam();
    OSVersionFlags::applyVersion(c.major, c.minor);
    EXPECT_EQ(OSVersionFlags::isOSOlderThan1013.load(), c.older);
    EXPECT_EQ(OSVersionFlags::isOS1013Or1014.load(), c.os1013Or1014);
    EXPECT_EQ(OSVersionFlags::isOS1015.load(), c.os1015);
    EXPECT_EQ(OSVersionFlags::isOS11OrLater.load(), c.os11);
    EXPECT_EQ(OSVersionFlags::isOS13OrLater.load(), c.os13);
    EXPECT_EQ(OSVersionFlags::isOS14OrLater.load(), c.os14);
    EXPECT_EQ(OSVersionFlags::isOS15OrLater.load(), c.os15);
}

INSTANTIATE_TEST_SUITE_P(Releases, OSProfiles,
                         testing::Values(OSCase{10, 12, true, false, false, false, false, false, false},
                                         OSCase{10, 14, false, true, false, false, false, false, false},
                                         OSCase{10, 15, false, false, true, false, false, false, false},
                                         OSCase{10, 16, false, false, false, true, false, false, false},
                                         OSCase{12, 3, false, false, false, true, false, false, false},
                                         OSCase{13, 0, false, false, false, true, true, false, false},
                                         OSCase{14, 1, false, false, false, true, true, true, false},
                                         OSCase{15, 0, false, false, false, true, true, true, true}));

TEST(OSVersionFlags, TheFixedProfileIsTheNewestRelease)
{
    OSVersionFlags::detectOSVersion();
    EXPECT_TRUE(OSVersionFlags::isOS15OrLater.load());
    EXPECT_TRUE(OSVersionFlags::isOS11OrLater.load());
    EXPECT_FALSE(OSVersionFlags::isOS1015.load());
}
