#include "support/DeadMount.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <utility>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "support/TestEvents.h"
#include "support/TestFiles.h"

namespace DeadMount
{

Run runBeside(const QString &point, const QString &program, const QStringList &arguments, int guardSeconds,
    bool serverGone)
{
    // mount -i: no helper program, the bare mount(2).
    const QString script
        = QStringLiteral("exec 9<>/dev/fuse || exit 91\n"
                         "mount -i -t fuse -o fd=9,rootmode=40000,user_id=0,group_id=0 silent "
                         "\"$1\" || exit 92\n%1shift\nexec \"$@\"\n")
              .arg(serverGone ? QStringLiteral("exec 9<&-\n") : QString());
    Run run;
    const QStringList privately { "-m", "--propagation", "private" };
    if (QProcess::execute(QStringLiteral("unshare"), privately + QStringList { "true" }) != 0) {
        run.refused = QStringLiteral("no private mount namespace may be made here");
        return run;
    }
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // A thread left in the kernel on the share cannot be halted for the leak check at exit, which
    // would wait for it for good; the sanitizers' other checks stay on.
    environment.insert(QStringLiteral("ASAN_OPTIONS"),
        environment.value(QStringLiteral("ASAN_OPTIONS")) + QStringLiteral(":detect_leaks=0"));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(QStringLiteral("unshare"),
        privately + QStringList { "sh", "-c", script, "sh", point, program } + arguments);
    run.ended = process.waitForStarted() && process.waitForFinished(guardSeconds * 1000);
    if (!run.ended) {
        process.kill();
        process.waitForFinished();
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    if (run.exitCode == 91 || run.exitCode == 92)
        run.refused = QStringLiteral("no FUSE file system may be mounted here");
    return run;
}

Run runTestBeside(const char *name, int guardSeconds)
{
    QTemporaryDir share;
    qputenv("QNY_SILENT_SHARE", QFile::encodeName(share.path()));
    // This very program, even when a build has replaced its file since it started.
    const Run run = runBeside(share.path(),
        QStringLiteral("/proc/%1/exe").arg(QCoreApplication::applicationPid()),
        { QStringLiteral("--gtest_filter=") + QLatin1String(name) }, guardSeconds);
    qunsetenv("QNY_SILENT_SHARE");
    return run;
}

namespace
{

    struct Silenced
    {
        int device;
        QByteArray folder;
    };

    std::vector<Silenced> &silencedFolders()
    {
        static std::vector<Silenced> folders;
        return folders;
    }

} // namespace

bool silence(const QString &folder)
{
    const int device = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
    if (device < 0)
        return false;
    const QByteArray options
        = QByteArrayLiteral("fd=") + QByteArray::number(device) + ",rootmode=40000,user_id=0,group_id=0";
    const QByteArray point = QFile::encodeName(folder);
    if (::mount("silent", point.constData(), "fuse", 0, options.constData()) != 0) {
        ::close(device);
        return false;
    }
    silencedFolders().push_back({ device, point });
    return true;
}

QString silentShare()
{
    return qEnvironmentVariable("QNY_SILENT_SHARE");
}

void expectPassesBeside(const char *name)
{
    const Run run = runTestBeside(name, 60);
    if (!run.refused.isEmpty())
        GTEST_SKIP() << qPrintable(run.refused);
    ASSERT_TRUE(run.ended) << name << " did not end before the 60 s guard";
    EXPECT_EQ(run.exitCode, 0);
}

QStringList threadsWaiting()
{
    QStringList threads;
    for (const QString &task :
        QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = QStringLiteral("/proc/self/task/") + task;
        if (TestFiles::read(folder + QStringLiteral("/wchan")).contains("fuse"))
            threads.append(folder);
    }
    return threads;
}

bool endServerAndWait(const QStringList &threads, int ms)
{
    ::close(kDevice);
    // Detached as well, so that the test's own folder, which the mount hid, can be removed after it.
    for (const Silenced &silenced : std::exchange(silencedFolders(), {})) {
        ::close(silenced.device);
        ::umount2(silenced.folder.constData(), MNT_DETACH);
    }
    return TestEvents::waitFor(
        [&threads] {
            return std::none_of(
                threads.begin(), threads.end(), [](const QString &t) { return QDir(t).exists(); });
        },
        ms);
}

} // namespace DeadMount
