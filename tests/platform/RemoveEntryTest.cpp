// Folders of ours are emptied only from the descriptor of the checked data folder: when that folder
// is refused as not the user's alone, and leads into a folder of the user's, nothing there goes.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <functional>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/AppFolders.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

namespace
{

using Spoil = std::function<void(const QString &root)>;

void linkDataFolderToDocs(const QString &root)
{
    QDir(root + "/data/Quennary").removeRecursively();
    QFile::link(root + "/docs", root + "/data/Quennary");
}

class RemoveEntryTest : public ::testing::TestWithParam<std::pair<const char *, Spoil>>
{
};

TEST_P(RemoveEntryTest, ARefusedDataFolderLosesNothing)
{
    QTemporaryDir dir;
    const QString root = dir.path();
    TestFiles::write(root + "/docs/thumbnails/mine.jpg", "mine");
    TestFiles::write(root + "/data/Quennary/thumbnails/1_a.jpg", "ours");
    GetParam().second(root);
    AppFolders::setRootOverride(root);
    // A link of another's in place of the thumbnails folder may go, as the link it is.
    const bool fileRemoved = AppFolders::removeEntry(AppFolders::thumbnailsFolder() + "/mine.jpg");
    AppFolders::removeEntry(AppFolders::thumbnailsFolder());
    AppFolders::setRootOverride(TestEnvironment::root());
    EXPECT_FALSE(fileRemoved);
    EXPECT_TRUE(QFileInfo::exists(root + "/docs/thumbnails/mine.jpg"));
}

INSTANTIATE_TEST_SUITE_P(Refused, RemoveEntryTest,
    ::testing::Values(std::pair<const char *, Spoil> { "LinkInAFolderOthersMayWriteIn",
                          [](const QString &root) {
                              linkDataFolderToDocs(root);
                              QFile::setPermissions(root + "/data", QFileDevice::Permissions(0x7777));
                          } },
        std::pair<const char *, Spoil> { "LinkOfAnotherUser",
            [](const QString &root) {
                linkDataFolderToDocs(root);
                ::lchown(QFile::encodeName(root + "/data/Quennary").constData(), 4242, 4242);
            } },
        std::pair<const char *, Spoil> { "ThumbnailsLinkOfAnotherUser",
            [](const QString &root) {
                QDir(root + "/data/Quennary/thumbnails").removeRecursively();
                QFile::link(root + "/docs/thumbnails", root + "/data/Quennary/thumbnails");
                ::lchown(QFile::encodeName(root + "/data/Quennary/thumbnails").constData(), 4242, 4242);
            } }),
    [](const auto &info) { return std::string(info.param.first); });

// A folder of ours goes with all it holds; a link in it goes as a link, and a mount in it (where
// the test may mount) stays with what holds it.
TEST(RemoveEntry, TakesOurFolderWithoutFollowingLinksOrMounts)
{
    const QString thumbnails = AppFolders::thumbnailsFolder();
    QTemporaryDir outside;
    TestFiles::write(outside.filePath("mine.jpg"), "mine");
    TestFiles::write(thumbnails + "/1_a.jpg", "ours");
    QFile::link(outside.path(), thumbnails + "/link");
    ASSERT_TRUE(QDir().mkpath(thumbnails + "/mounted"));
    const bool mounted
        = ::mount(QFile::encodeName(outside.path()).constData(),
              QFile::encodeName(thumbnails + "/mounted").constData(), nullptr, MS_BIND, nullptr)
        == 0;
    EXPECT_EQ(AppFolders::removeEntry(thumbnails), !mounted);
    if (mounted)
        ::umount2(QFile::encodeName(thumbnails + "/mounted").constData(), MNT_DETACH);
    EXPECT_FALSE(QFileInfo::exists(thumbnails + "/1_a.jpg"));
    EXPECT_TRUE(QFileInfo::exists(outside.filePath("mine.jpg")));
    EXPECT_TRUE(AppFolders::removeEntry(thumbnails));
    EXPECT_FALSE(QFileInfo::exists(thumbnails));
    EXPECT_FALSE(AppFolders::removeEntry(QStringLiteral("relative/x")));
}

} // namespace
