#include <gtest/gtest.h>

#include "platform/KnownTrashes.h"

namespace
{

TEST(KnownTrashesTest, ReadsMountPointsWithTheirEscapesAndWithoutAutomounts)
{
    const QByteArray table = "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
                             "40 22 8:17 / /media/my\\040card rw shared:2 - vfat /dev/sdb1 rw\n"
                             "41 22 0:44 / /net/home rw - autofs systemd-1 rw\n"
                             "42 22 0:45 /x /mnt/back\\134slash rw - tmpfs tmpfs rw\n"
                             "broken line\n";
    EXPECT_EQ(KnownTrashes::mountPoints(table), QStringList({ "/", "/media/my card", "/mnt/back\\slash" }));
}

} // namespace
