// Which mounts a scan looks into: only those of its roots, never a share it does not need.
#include <gtest/gtest.h>

#include "platform/ScanMounts.h"

namespace
{

// A disk at /mnt/disk with its photos bound into the home, a share at /mnt/nas, a stick mounted
// twice at one point (the later one is seen), and a card below the home.
const QByteArray kTable = "22 1 8:1 / / rw - ext4 /dev/sda1 rw\n"
                          "30 22 8:17 / /mnt/disk rw - ext4 /dev/sdb1 rw\n"
                          "31 22 8:17 /photos /home/u/pics rw - ext4 /dev/sdb1 rw\n"
                          "32 22 0:50 / /mnt/nas rw - nfs4 nas:/ rw\n"
                          "33 22 8:33 / /home/u/stick rw - vfat /dev/sdc1 rw\n"
                          "34 33 8:49 / /home/u/stick rw - vfat /dev/sdd1 rw\n"
                          "35 22 8:65 / /home/u/card\\040one rw - vfat /dev/sde1 rw\n";

struct NeededRow {
    const char *name;
    QStringList roots;
    QStringList points;
    ScanMounts::Reach reach = ScanMounts::Reach::HoldingAndBelow;
};

class ScanMountsNeededTest : public ::testing::TestWithParam<NeededRow>
{
};

TEST_P(ScanMountsNeededTest, OnlyTheMountsOfTheRootsAreLookedInto)
{
    QStringList points;
    for (const KnownTrashes::Mount &mount :
        ScanMounts::needed(GetParam().roots, KnownTrashes::mounts(kTable), GetParam().reach))
        points.append(mount.point + QLatin1Char('@') + QString::fromLatin1(mount.device));
    EXPECT_EQ(points, GetParam().points);
}

INSTANTIATE_TEST_SUITE_P(Roots, ScanMountsNeededTest,
    ::testing::Values(NeededRow { "AFolderOfTheSystemDisk", { "/srv/photos" }, { "/@8:1" } },
        // The bound folder's volume keeps its Trash at the disk's top.
        NeededRow { "ABoundFolder", { "/home/u/pics/2024" }, { "/home/u/pics@8:17", "/mnt/disk@8:17" } },
        NeededRow { "TheHomeWithMountsBelow", { "/home/u" },
            { "/@8:1", "/home/u/pics@8:17", "/mnt/disk@8:17", "/home/u/stick@8:49",
                "/home/u/card one@8:65" } },
        NeededRow { "NoRootThatAnswered", { "" }, {} },
        // Whether a kept copy lies in a Trash: the mounts below its folder are never asked.
        NeededRow { "TheHomeForATrashCheck", { "/home/u" }, { "/@8:1" }, ScanMounts::Reach::Holding }),
    [](const ::testing::TestParamInfo<NeededRow> &info) { return std::string(info.param.name); });

} // namespace
