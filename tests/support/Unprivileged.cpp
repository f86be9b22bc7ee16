#include "support/Unprivileged.h"

#include <grp.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace Unprivileged
{

namespace
{

    // Exit codes of a child that could not become the other user, or could not write as that user.
    constexpr int kNotDropped = 97, kNoFolder = 98;

} // namespace

bool mustRunAsAnother()
{
    // Run again: the test leaves a mark where its first run looks, so that a name no test answers
    // to is not taken for a pass.
    if (const QString mark = qEnvironmentVariable("QNY_RAN_AS_ANOTHER"); !mark.isEmpty())
        QFile(mark).open(QIODevice::WriteOnly);
    return ::geteuid() == 0;
}

void runCurrentTest()
{
    const ::testing::TestInfo *test = ::testing::UnitTest::GetInstance()->current_test_info();
    const QString name
        = QString::fromLatin1(test->test_suite_name()) + QLatin1Char('.') + QString::fromLatin1(test->name());
    QTemporaryDir home;
    const QByteArray folder = QFile::encodeName(home.path());
    ASSERT_EQ(::chown(folder.constData(), kId, kId), 0);
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), home.path());
    environment.insert(QStringLiteral("HOME"), home.path());
    const QString mark = home.filePath(QStringLiteral("ran"));
    environment.insert(QStringLiteral("QNY_RAN_AS_ANOTHER"), mark);
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setChildProcessModifier([folder] {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kId) != 0 || ::setuid(kId) != 0)
            ::_exit(kNotDropped);
        if (::access(folder.constData(), W_OK | X_OK) != 0)
            ::_exit(kNoFolder);
    });
    process.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--gtest_filter=") + name });
    ASSERT_TRUE(process.waitForStarted()) << qPrintable(process.errorString());
    ASSERT_TRUE(process.waitForFinished(120000)) << qPrintable(name) << " did not end";
    if (process.exitCode() == kNotDropped || process.exitCode() == kNoFolder)
        GTEST_SKIP() << "another user cannot be made to run here, or to write in " << folder.constData();
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0) << qPrintable(name) << " failed as another user";
    EXPECT_TRUE(QFile::exists(mark)) << qPrintable(name) << " did not run as another user";
}

} // namespace Unprivileged
