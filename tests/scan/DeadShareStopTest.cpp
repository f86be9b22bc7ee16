// A stop while a thread of the walk is stuck in the kernel on a share whose server never answers
// (a link in the scanned folder leads onto it): the scan ends all the same.
#include <gtest/gtest.h>

#include <unistd.h>

#include <QCoreApplication>
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

// The half of the test above that runs beside the silent share, in its own process.
TEST(DeadShareStopTest, BesideASilentShare)
{
    const QString share = qEnvironmentVariable(kShare);
    if (share.isEmpty())
        GTEST_SKIP() << "runs only beside a silent share, started by the test above";
    QTemporaryDir dir;
    ASSERT_TRUE(TestFiles::write(dir.filePath("a.jpg"), randomBytes(1, 100)));
    // Made as it is: Qt would look at where it leads.
    ASSERT_EQ(::symlink(QFile::encodeName(share + "/b.jpg").constData(), QFile::encodeName(dir.filePath("b.jpg")).constData()), 0);
    bool stopped = false;
    const ScanResult result
        = runScan(options(true), { folderNode(dir.path()) }, [&](ScanEngine &engine, const ScanProgress &p) {
              // a.jpg is offered; the walk then looks at the link and stays in the kernel.
              if (!stopped && p.path.endsWith("a.jpg")) {
                  stopped = true;
                  engine.stop();
              }
          });
    // Qt would look at where the link leads to remove the folder.
    ::unlink(QFile::encodeName(dir.filePath("b.jpg")).constData());
    EXPECT_TRUE(stopped);
    ASSERT_TRUE(result.finished);
    EXPECT_EQ(result.outcome, ScanEngine::Outcome::Stopped);
}
