// A stop while a thread of the walk is stuck in the kernel on a share whose server never answers:
// the scan ends all the same.
#include <gtest/gtest.h>

#include <unistd.h>

#include <thread>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ScanTestSupport.h"
#include "support/DeadMount.h"
#include "support/TestFiles.h"

using namespace ScanTestSupport;

namespace
{

constexpr char kShare[] = "QNY_SILENT_SHARE";

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
    ASSERT_TRUE(TestFiles::write(dir.filePath("a.jpg"), randomBytes(1, 100)));
    ScanOptions stuck = options(true);
    stuck.excludedFolders = { share + "/backup" };
    std::weak_ptr<const ScanSession> session;
    const ScanResult result = runEngine([&](ScanEngine &engine) {
        const bool started = engine.start(stuck, { folderNode(dir.path()) });
        engine.stop();
        session = engine.session();
        return started;
    });
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.outcome, ScanEngine::Outcome::Stopped);
    // The engine is gone. The share's server goes away: the walk left behind wakes, ends on its own
    // and lets its session go, touching nothing freed (the sanitizer build tells).
    ::close(qEnvironmentVariableIntValue(DeadMount::kDeviceVariable));
    QElapsedTimer guard;
    guard.start();
    while (!session.expired() && guard.elapsed() < 30000)
        std::this_thread::yield();
    EXPECT_TRUE(session.expired());
}
