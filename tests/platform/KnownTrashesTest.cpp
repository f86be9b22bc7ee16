#include <gtest/gtest.h>

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/KnownTrashes.h"
#include "support/TestFiles.h"

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

// A Trash is known by its folders, however they are reached later; one laid out with a link in
// its place is none.
TEST(KnownTrashesTest, KnowsEachTrashAndItsFilesByIdentity)
{
    QTemporaryDir work;
    const QString uid = QString::number(::getuid());
    const QString home = work.filePath("home/Trash"), volume = work.filePath("vol"),
                  linked = work.filePath("linked");
    for (const QString &file : { home + "/files/a", volume + "/.Trash-" + uid + "/files/a",
             volume + "/.Trash/" + uid + "/files/a", work.filePath("elsewhere/a"), linked + "/.keep" })
        ASSERT_TRUE(TestFiles::write(file));
    ASSERT_TRUE(QFile::link(work.filePath("elsewhere"), linked + "/.Trash-" + uid));
    ASSERT_TRUE(QFile::link(home + "/files", work.filePath("alias")));
    const QByteArray table = QStringLiteral("1 0 0:1 / %1 rw - tmpfs t rw\n2 0 0:2 / %2 rw - tmpfs t rw\n")
                                 .arg(volume, linked)
                                 .toUtf8();
    const KnownTrashes trashes = KnownTrashes::find(home, table, ::getuid());

    const std::pair<QString, bool> paths[] = {
        { home + "/files/a", true },
        { work.filePath("alias/a"), true },
        { volume + "/.Trash-" + uid + "/files/a", true },
        { volume + "/.Trash/" + uid + "/files", true },
        { volume + "/.Trash", false },
        { work.filePath("elsewhere/a"), false },
        { linked + "/.Trash-" + uid + "/a", false },
        { work.filePath("home"), false },
    };
    for (const auto &[path, known] : paths)
        EXPECT_EQ(trashes.holds(path), known) << qPrintable(path);
}

} // namespace
