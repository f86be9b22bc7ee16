#include "support/Unprivileged.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace Unprivileged
{

namespace
{

    // Exit codes of a child that could not become the other user.
    constexpr int kNotDropped = 97;

    // Whether every folder from the root down to `path` may be entered by other users.
    bool reachableByOthers(const QString &path)
    {
        for (QString folder = QDir::cleanPath(path); !folder.isEmpty();) {
            struct stat info = {};
            if (::stat(QFile::encodeName(folder).constData(), &info) != 0 || !(info.st_mode & S_IXOTH))
                return false;
            if (folder == QLatin1String("/"))
                break;
            const qsizetype slash = folder.lastIndexOf(QLatin1Char('/'));
            folder = slash <= 0 ? QStringLiteral("/") : folder.left(slash);
        }
        return true;
    }

} // namespace

bool mustRunAsAnother()
{
    return ::geteuid() == 0;
}

void runCurrentTest()
{
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString name
        = QString::fromLatin1(test->test_suite_name()) + QLatin1Char('.') + QString::fromLatin1(test->name());
    QTemporaryDir home;
    const QString program = QCoreApplication::applicationFilePath();
    if (!reachableByOthers(QFileInfo(home.path()).absolutePath()) || !reachableByOthers(program))
        GTEST_SKIP() << "another user cannot reach " << qPrintable(home.path()) << " or the test program";
    ASSERT_EQ(::chown(QFile::encodeName(home.path()).constData(), kId, kId), 0);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), home.path());
    environment.insert(QStringLiteral("HOME"), home.path());
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setChildProcessModifier([] {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kId) != 0 || ::setuid(kId) != 0)
            ::_exit(kNotDropped);
    });
    process.start(program, { QStringLiteral("--gtest_filter=") + name });
    ASSERT_TRUE(process.waitForStarted()) << qPrintable(process.errorString());
    ASSERT_TRUE(process.waitForFinished(120000)) << qPrintable(name) << " did not end";
    if (process.exitCode() == kNotDropped)
        GTEST_SKIP() << "this process may not become another user";
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << qPrintable(name) << " failed as another user";
}

} // namespace Unprivileged
