// A folder of ours goes with all it holds, from the descriptor of its checked folder: a link in it
// goes as a link, and a mount in it (where the test may mount) stays with what holds it.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/AppFolders.h"
#include "support/TestFiles.h"

TEST(RemoveEntry, TakesOurFolderWithoutFollowingLinksOrMounts)
{
    const QString thumbnails = AppFolders::thumbnailsFolder();
    QTemporaryDir outside;
    TestFiles::write(outside.filePath("mine.jpg"), "mine");
    for (const char *ours : { "/1_a.jpg", "/mounted/2_b.jpg" })
        TestFiles::write(thumbnails + ours, "ours");
    QFile::link(outside.path(), thumbnails + "/link");
    const QByteArray mountPoint = QFile::encodeName(thumbnails + "/mounted");
    const bool mounted = ::mount(QFile::encodeName(outside.path()).constData(), mountPoint.constData(),
                             nullptr, MS_BIND, nullptr)
        == 0;
    EXPECT_EQ(AppFolders::removeEntry(thumbnails), !mounted);
    if (mounted)
        ::umount2(mountPoint.constData(), MNT_DETACH);
    EXPECT_FALSE(QFileInfo::exists(thumbnails + "/1_a.jpg"));
    EXPECT_TRUE(QFileInfo::exists(outside.filePath("mine.jpg")));
    EXPECT_TRUE(AppFolders::removeEntry(thumbnails));
    EXPECT_FALSE(QFileInfo::exists(thumbnails));
}

// Nothing outside the checked folder is removed or made: not through a ".." read on the text, nor
// through a data folder refused as a link of another user's to a folder of the user's.
TEST(RemoveEntry, ReachesNothingOutsideTheCheckedFolder)
{
    const QString support = AppFolders::supportFolder(), thumbnails = AppFolders::thumbnailsFolder();
    TestFiles::write(thumbnails + "/1_a.jpg", "ours");
    for (const QString &path : { thumbnails + "/..", thumbnails + "/", QStringLiteral("data/Quennary") })
        EXPECT_FALSE(AppFolders::removeEntry(path)) << qPrintable(path);
    QTemporaryDir docs;
    TestFiles::write(docs.filePath("thumbnails/mine.jpg"), "mine");
    AppFolders::removeEntry(support);
    QFile::link(docs.path(), support);
    ::lchown(QFile::encodeName(support).constData(), ::geteuid() + 4242, ::getegid());
    EXPECT_FALSE(AppFolders::removeEntry(thumbnails) || AppFolders::ensureFolder(thumbnails + "/new"));
    QFile::remove(support);
    EXPECT_TRUE(QFileInfo::exists(docs.filePath("thumbnails/mine.jpg")));
    EXPECT_FALSE(QFileInfo::exists(docs.filePath("thumbnails/new")));
}
