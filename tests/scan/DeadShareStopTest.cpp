// A stop while a thread of the walk is stuck in the kernel on a share whose server never answers.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <thread>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "ScanTestSupport.h"
#include "support/DeadMount.h"
#include "support/TestFiles.h"

using namespace ScanTestSupport;

TEST(DeadShareStopTest, AStopEndsAScanWhoseWalkIsStuckOnASilentShare)
{
    QTemporaryDir share;
    qputenv("QNY_SILENT_SHARE", QFile::encodeName(share.path()));
    const DeadMount::Run run = DeadMount::runBeside(share.path(), QCoreApplication::applicationFilePath(),
        { QStringLiteral("--gtest_filter=DeadShareStopTest.BesideASilentShare") }, 60);
    qunsetenv("QNY_SILENT_SHARE");
    if (!run.refused.isEmpty())
        GTEST_SKIP() << qPrintable(run.refused);
    ASSERT_TRUE(run.ended) << "the stopped scan did not end before the 60 s guard";
    EXPECT_EQ(run.exitCode, 0);
}

// The half of the test above that runs beside the share. The walk is held from its start: it asks
// where an excluded folder on the share really is (a folder the user chose, looked at unbounded).
TEST(DeadShareStopTest, BesideASilentShare)
{
    const QString share = qEnvironmentVariable("QNY_SILENT_SHARE");
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
    // The engine is gone and the walk still waits in the kernel, until the share's server goes: it
    // then ends on its own, touching nothing freed (the sanitizer build tells).
    QStringList stuck;
    for (const QString &task : QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (TestFiles::read("/proc/self/task/" + task + "/wchan").contains("fuse"))
            stuck.append("/proc/self/task/" + task);
    ASSERT_FALSE(stuck.isEmpty());
    ::close(DeadMount::kDevice);
    QElapsedTimer guard;
    guard.start();
    while (std::any_of(stuck.begin(), stuck.end(), [](const QString &task) { return QDir(task).exists(); })
        && guard.elapsed() < 30000)
        std::this_thread::yield();
    EXPECT_FALSE(QDir(stuck.front()).exists());
}
