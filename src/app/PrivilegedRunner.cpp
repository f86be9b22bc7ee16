// pkexec as the way to administrator rights.
#include "app/PrivilegedRunner.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {

// An absolute path, so a changed PATH cannot put another program in its place.
const char *const kPkexec = "/usr/bin/pkexec";
// pkexec's own exit codes: the dialog was dismissed; the rights were refused or could not be asked.
constexpr int kPkexecDismissed = 126;
constexpr int kPkexecNotAuthorized = 127;

} // namespace

PrivilegedRunner::~PrivilegedRunner() = default;

QString PrivilegedRunner::helperName()
{
    return QStringLiteral("quennary-privileged");
}

QString PrivilegedRunner::helperPath() const
{
    const QDir executableFolder(QCoreApplication::applicationDirPath());
    for (const QString &folder :
        { executableFolder.path(), executableFolder.filePath(QStringLiteral(QNY_LIBEXEC_FROM_BIN)) }) {
        const QFileInfo helper(QDir(folder).filePath(helperName()));
        if (helper.isFile() && helper.isExecutable())
            return QDir::cleanPath(helper.absoluteFilePath());
    }
    return {};
}

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
    // The helper never exits with these codes itself, so they can only come from pkexec.
    if (code == kPkexecDismissed || code == kPkexecNotAuthorized)
        return {Outcome::Refused, code};
    return {Outcome::Finished, code};
}
