// A stop while a thread of the walk is stuck in the kernel on a share whose server never answers:
// the scan ends all the same.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <thread>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "ScanTestSupport.h"
#include "support/DeadMount.h"

using namespace ScanTestSupport;

namespace
{

constexpr char kShare[] = "QNY_SILENT_SHARE";

// The threads of this process that wait in the kernel on a FUSE file system, by their folder.
QStringList threadsWaitingOnTheShare()
{
    QStringList tasks;
    for (const QFileInfo &task :
        QDir(QStringLiteral("/proc/self/task")).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile channel(task.filePath() + QStringLiteral("/wchan"));
        if (channel.open(QIODevice::ReadOnly) && channel.readAll().contains("fuse"))
            tasks.append(task.filePath());
    }
    return tasks;
}

} // namespace

TEST(DeadShareStopTest, AStopEndsAScanWhoseWalkIsStuckOnASilentShare)
{
    QTemporaryDir share;
    qputenv(kShare, QFile::encodeName(share.path()));
    const DeadMount::Run run = DeadMount::runBeside(share.path(), QCoreApplication::applicationFilePath(),
        { QStringLiteral("--gtest_filter=DeadShareStopTest.BesideASilentShare") }, 60);
    qunsetenv(kShare);
    if (!run.refused.isEmpty())
        GTEST_SKIP() << qPrintable(run.refused);
    ASSERT_TRUE(run.ended) << "the stopped scan did not end before the 60 s guard";
    EXPECT_EQ(run.exitCode, 0);
}

// The half of the test above that runs beside the silent share, in its own process. The walk is
// stuck from its start: it asks where an excluded folder on the share really is, which the user
// chose and so is looked at without a bound.
TEST(DeadShareStopTest, BesideASilentShare)
{
    const QString share = qEnvironmentVariable(kShare);
    if (share.isEmpty())
        GTEST_SKIP() << "runs only beside a silent share, started by the test above";
    QTemporaryDir dir;
    ScanOptions held = options(true);
    held.excludedFolders = { share + "/backup" };
    const ScanResult result = runEngine([&](ScanEngine &engine) {
        const bool started = engine.start(held, { folderNode(dir.path()) });
        engine.stop();
        return started;
    });
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.outcome, ScanEngine::Outcome::Stopped);
    // The engine is gone, the walk still waits in the kernel. Then the share's server goes away: the
    // walk wakes and ends on its own, touching nothing freed (the sanitizer build tells).
    const QStringList stuck = threadsWaitingOnTheShare();
    EXPECT_FALSE(stuck.isEmpty());
    ::close(DeadMount::kDevice);
    QElapsedTimer guard;
    guard.start();
    const auto ended = [&stuck] {
        return std::none_of(
            stuck.begin(), stuck.end(), [](const QString &task) { return QFileInfo::exists(task); });
    };
    while (!ended() && guard.elapsed() < 30000)
        std::this_thread::yield();
    EXPECT_TRUE(ended());
}
