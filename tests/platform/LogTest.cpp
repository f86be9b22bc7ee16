// The log appends whole lines from any number of threads and never truncates.
#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

#include <functional>
#include <thread>
#include <vector>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "platform/AppFolders.h"
#include "platform/Log.h"
#include "support/TestEnvironment.h"
#include "support/TestFiles.h"

TEST(Log, AppendsWholeLinesFromSeveralThreadsAndKeepsEarlierContent)
{
    QFile::remove(AppFolders::logFilePath());
    Log::line(QStringLiteral("earlier"));
    constexpr int kThreads = 8;
    constexpr int kLines = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kLines; ++i)
                Log::line(QStringLiteral("thread %1 line %2 ").arg(t).arg(i) + QString(40, QLatin1Char('x')));
        });
    }
    for (std::thread &thread : threads)
        thread.join();

    QFile file(AppFolders::logFilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 1 + kThreads * kLines + 1); // the last element follows the final line feed
    EXPECT_EQ(lines.first(), "earlier");
    for (qsizetype i = 1; i < lines.size() - 1; ++i)
        EXPECT_TRUE(lines[i].startsWith("thread ") && lines[i].endsWith(QByteArray(40, 'x')))
            << lines[i].constData();
}

// A line too long for the log keeps its start and its end, where a path's file name and the reason
// stand; no address's query survives a cut, wherever the cut falls.
TEST(Log, ALongLineLosesTheMiddleOfItsPathAndKeepsItsReason)
{
    const QString deep = QStringLiteral("/a-folder-name-of-some-length").repeated(120) + "/IMG_0001.JPG";
    const QString address = "https://photos.example/" + QString(2990, 'p') + "?sig=SECRET";
    const struct {
        QString text, start, end;
    } cases[] = {
        { "Could not move " + deep + ": File name too long", "Could not move /a-folder",
            "/IMG_0001.JPG: File name too long" },
        { "Download failed: " + address + " answered 403 Forbidden", "Download failed: https://photos",
            " answered 403 Forbidden" },
        { "Download failed: " + QString(1990, 'w') + " " + address + " answered 403", "Download failed: w",
            " answered 403" },
        { "Download failed: https://photos.example/a?sig=SECRET answered 403",
            "Download failed: https://photos.example/a answered 403", "answered 403" },
    };
    for (const auto &[text, start, end] : cases) {
        QFile::remove(AppFolders::logFilePath());
        Log::line(text);
        const QString line = QString::fromUtf8(TestFiles::read(AppFolders::logFilePath())).chopped(1);
        EXPECT_LE(line.size(), 2000);
        EXPECT_TRUE(line.startsWith(start) && line.endsWith(end)) << line.toStdString();
        EXPECT_FALSE(line.contains("SECRET")) << line.toStdString();
    }
}

// A log folder another user could have made, pointed elsewhere or may write in is never written to,
// and the log file itself is never followed through a link (into ~/.profile, say).
TEST(Log, WritesOnlyInAFolderOfThisUserAlone)
{
    const auto own = [](const QString &path) { ::lchown(QFile::encodeName(path).constData(), 4242, 4242); };
    const std::pair<const char *, std::function<void(const QString &, const QString &)>> cases[] = {
        { "file is a link",
            [](const QString &folder, const QString &aim) {
                QFile::remove(folder + "/quennarylog.log");
                QFile::link(aim, folder + "/quennarylog.log");
            } },
        { "folder is another user's link",
            [&](const QString &folder, const QString &aim) {
                QDir(folder).removeRecursively();
                QFile::link(QFileInfo(aim).absolutePath(), folder);
                own(folder);
            } },
        { "folder of another owner", [&](const QString &folder, const QString &) { own(folder); } },
        { "parent writable by others",
            [](const QString &folder, const QString &) {
                ::chmod(QFile::encodeName(folder + "/..").constData(), 0777);
            } },
    };
    for (const auto &[name, prepare] : cases) {
        QTemporaryDir root;
        const QString folder = root.filePath("state/Quennary"), aim = root.filePath("aim/quennarylog.log");
        TestFiles::write(aim, "mine\n");
        TestFiles::write(folder + "/quennarylog.log", "mine\n");
        prepare(folder, aim);
        AppFolders::setRootOverride(root.path());
        Log::line(QStringLiteral("planted"));
        AppFolders::setRootOverride(TestEnvironment::root());
        QFile file(folder + "/quennarylog.log");
        EXPECT_TRUE(file.open(QIODevice::ReadOnly) && file.readAll() == "mine\n") << name;
    }
}

// A folder of ours goes with all it holds, from the descriptor of its checked folder: a link in it
// goes as a link, and a mount in it (where the test may mount) stays with what holds it.
TEST(RemoveEntry, TakesOurFolderWithoutFollowingLinksOrMounts)
{
    const QString thumbnails = AppFolders::thumbnailsFolder();
    QTemporaryDir outside;
    TestFiles::write(outside.filePath("mine.jpg"), "mine");
    for (const char *ours : { "/1_a.jpg", "/mounted/2_b.jpg" })
        TestFiles::write(thumbnails + ours, "ours");
    QFile::link(outside.path(), thumbnails + "/link");
    const QByteArray mountPoint = QFile::encodeName(thumbnails + "/mounted");
    const bool mounted
        = ::mount(QFile::encodeName(outside.path()), mountPoint, nullptr, MS_BIND, nullptr) == 0;
    EXPECT_EQ(AppFolders::removeEntry(thumbnails), !mounted);
    ::umount2(mountPoint, MNT_DETACH);
    EXPECT_TRUE(
        QFileInfo::exists(outside.filePath("mine.jpg")) && !QFileInfo::exists(thumbnails + "/1_a.jpg"));
    EXPECT_TRUE(AppFolders::removeEntry(thumbnails) && !QFileInfo::exists(thumbnails));
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
