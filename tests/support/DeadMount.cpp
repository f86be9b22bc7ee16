#include "support/DeadMount.h"

#include <QProcess>

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

} // namespace DeadMount
