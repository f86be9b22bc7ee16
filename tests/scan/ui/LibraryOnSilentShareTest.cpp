// A photo library whose "database" folder is a share that never answers, added and scanned beside a
// folder on this disk: only that share is named as not answering, at the add and in the scan, and
// the folder, the program's own folders and the log go on as before.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QObject>
#include <QTemporaryDir>

#include "platform/AppFolders.h"
#include "platform/Log.h"
#include "platform/PathLook.h"
#include "platform/SilentOwnFolders.h"
#include "scan/ScanTestSupport.h"
#include "scan/ui/ScanListLook.h"
#include "support/DeadMount.h"
#include "support/TestEvents.h"
#include "support/TestFiles.h"

using namespace ScanTestSupport;

TEST(DeadShareLibraryTest, ASilentDatabaseFolderIsTheOnlyMountNamed)
{
    DeadMount::expectPassesBeside("LibraryOnSilentShareTest.OnlyItsDatabaseFolderIsNamedNotAnswering");
}

TEST(LibraryOnSilentShareTest, OnlyItsDatabaseFolderIsNamedNotAnswering)
{
    QNY_SKIP_UNLESS_BESIDE_A_SILENT_SHARE();
    QTemporaryDir dir;
    const QString base = QDir(dir.path()).canonicalPath();
    const QString library = base + QStringLiteral("/Lib2.photoslibrary"), database = library + "/database";
    const QString local = base + QStringLiteral("/T");
    ASSERT_TRUE(writeImage(makePhoto(1), local + "/a.jpg") && writeImage(makePhoto(2), local + "/b.jpg"));
    ASSERT_TRUE(QFile::copy(local + "/a.jpg", local + "/c.jpg"));
    ASSERT_TRUE(QDir().mkpath(database) && DeadMount::silence(database));

    // What adding the library looks at.
    QObject owner;
    std::optional<std::optional<ScanListLook::Facts>> added;
    ScanListLook::startOffered({ { library }, ScanListRules::Offer::Library }, &owner,
        [&added](const ScanListLook::Offered &facts) { added = facts.answers.at(0); });
    ASSERT_TRUE(TestEvents::waitFor([&added] { return added.has_value(); }, 30000));
    EXPECT_FALSE(*added);
    const PathLook look = PathLook::current();
    EXPECT_EQ(look.silentMountOf(database + "/photos.sqlite"), database);
    EXPECT_TRUE(look.silentMountOf(local).isEmpty());
    EXPECT_TRUE(SilentOwnFolders::look().isEmpty());
    Log::line(QStringLiteral("The log goes on after ") + library);
    EXPECT_TRUE(
        TestFiles::read(AppFolders::logFilePath()).contains(("The log goes on after " + library).toUtf8()));

    FilePathNode node = folderNode(library);
    node.nodeType = GlobalObjects::NodeType::nodeTypePhotos;
    const ScanResult result = runScan(options(false), { node, folderNode(local) });
    EXPECT_EQ(result.records.size(), 3);
    EXPECT_EQ(result.groups.size(), 1);
    EXPECT_EQ(result.walkReport.notAnsweringFolders, 1);
    EXPECT_EQ(result.walkReport.firstNotAnsweringFolder, library);
    // One look is left on the share, the add's; the scan made none there.
    const QStringList waiting = DeadMount::threadsWaiting();
    EXPECT_EQ(waiting.size(), 1);
    EXPECT_TRUE(DeadMount::endServerAndWait(waiting, 30000));
}
