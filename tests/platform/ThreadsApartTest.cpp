// A program that ends while a thread apart still runs (a look that woke late on a share) ends with
// its own exit code at once, and the thread never meets the statics an ordinary end destroys.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>

#include <QCoreApplication>
#include <QProcess>

#include "platform/ThreadsApart.h"
#include "platform/Trash.h"

namespace
{

const char *const kChild = "QNY_THREAD_APART_CHILD";
// Trivially destroyed, as the thread outlives the test.
std::atomic<bool> g_started { false };

// The tests below, each run in a process of its own by the one after them: a thread apart matches
// Trash names (patterns kept in statics) for as long as the process lives.
class ThreadApartAtTheEnd : public ::testing::TestWithParam<bool>
{
};

TEST_P(ThreadApartAtTheEnd, KeepsRunning)
{
    if (qEnvironmentVariableIsEmpty(kChild))
        GTEST_SKIP() << "runs in a process of its own, started by the test below";
    // An ordinary end would destroy this, as it would the patterns the thread matches with.
    struct Static {
        ~Static() { std::_Exit(3); }
    };
    static Static destroyedAtAnOrdinaryEnd;
    ASSERT_TRUE(ThreadsApart::start([] {
        for (;;)
            g_started.store(Trash::isTrashByName(QStringLiteral("/card/DCIM/.Trash-1000")));
    }));
    while (!g_started.load()) { }
    EXPECT_EQ(ThreadsApart::running(), 1);
    // The process's exit code is this test's verdict.
    EXPECT_TRUE(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Verdicts, ThreadApartAtTheEnd, ::testing::Values(true, false));

TEST(ThreadsApartTest, AProgramEndsWithItsCodeWhileAThreadApartRuns)
{
    for (const auto &[name, code] : { std::pair("Verdicts/ThreadApartAtTheEnd.KeepsRunning/0", 0),
             std::pair("Verdicts/ThreadApartAtTheEnd.KeepsRunning/1", 1) }) {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QLatin1String(kChild), QStringLiteral("1"));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--gtest_filter=") + name });
        ASSERT_TRUE(child.waitForFinished(120000)) << name;
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit) << name;
        EXPECT_EQ(child.exitCode(), code) << name;
    }
}

} // namespace
