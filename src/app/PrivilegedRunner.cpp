// pkexec as the way to administrator rights.
#include "app/PrivilegedRunner.h"

#include <QProcess>

namespace {

// An absolute path, so a changed PATH cannot put another program in its place.
const char *const kPkexec = "/usr/bin/pkexec";
// pkexec's own exit codes: the dialog was dismissed; the rights were refused or could not be asked.
constexpr int kPkexecDismissed = 126;
constexpr int kPkexecNotAuthorized = 127;

} // namespace

PrivilegedRunner::~PrivilegedRunner() = default;

PrivilegedRunner::Result PrivilegedRunner::run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProgram(QString::fromLatin1(kPkexec));
    process.setArguments(QStringList {program} + arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start();
    if (!process.waitForStarted(-1))
        return {Outcome::NotStarted, -1};
    // No time limit: the user may take a while in the password dialog.
    process.waitForFinished(-1);
    if (process.exitStatus() != QProcess::NormalExit)
        return {Outcome::Crashed, -1};
    const int code = process.exitCode();
    // rm, mv and true never exit with these codes themselves, so they can only come from pkexec.
    if (code == kPkexecDismissed || code == kPkexecNotAuthorized)
        return {Outcome::Refused, code};
    return {Outcome::Finished, code};
}
