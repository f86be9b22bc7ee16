#include "support/DeadMount.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include <QFile>

namespace DeadMount
{

namespace
{

// Exit codes of the child before it runs the program.
constexpr int kNoNamespace = 90;
constexpr int kNoFuse = 91;
constexpr int kNoMount = 92;
constexpr int kNoProgram = 93;

// Only calls that are safe between fork and exec in a process with threads: all was made before.
[[noreturn]] void runChild(const char *point, int fuse, const char *options, char *const *argv, bool serverGone)
{
    if (::unshare(CLONE_NEWNS) != 0 || ::mount("", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        ::_exit(kNoNamespace);
    if (fuse < 0)
        ::_exit(kNoFuse);
    if (::mount("silent", point, "fuse", MS_NOSUID | MS_NODEV, options) != 0)
        ::_exit(kNoMount);
    // Otherwise left open across the program's start: a closed device ends the mount's requests.
    if (serverGone)
        ::close(fuse);
    ::execv(argv[0], argv);
    ::_exit(kNoProgram);
}

QString refusal(int code)
{
    switch (code) {
    case kNoNamespace:
        return QStringLiteral("no private mount namespace may be made here");
    case kNoFuse:
        return QStringLiteral("no /dev/fuse here");
    case kNoMount:
        return QStringLiteral("FUSE may not be mounted here");
    default:
        return {};
    }
}

} // namespace

Run runBeside(const QString &point, const QString &program, const QStringList &arguments, int guardSeconds,
    bool serverGone)
{
    std::vector<std::string> argv { QFile::encodeName(program).toStdString() };
    for (const QString &argument : arguments)
        argv.push_back(QFile::encodeName(argument).toStdString());
    std::vector<char *> args;
    for (std::string &arg : argv)
        args.push_back(arg.data());
    args.push_back(nullptr);
    const std::string where = QFile::encodeName(point).toStdString();
    const int fuse = ::open("/dev/fuse", O_RDWR);
    const std::string options = "fd=" + std::to_string(fuse) + ",rootmode=40000,user_id=0,group_id=0";
    Run run;
    const pid_t child = ::fork();
    if (child == 0)
        runChild(where.c_str(), fuse, options.c_str(), args.data(), serverGone);
    if (fuse >= 0)
        ::close(fuse);
    if (child < 0) {
        run.refused = QStringLiteral("no process can be started");
        return run;
    }
    // Waits on the child's end itself, a bounded time.
    const int pidFd = int(::syscall(SYS_pidfd_open, child, 0));
    pollfd end { pidFd, POLLIN, 0 };
    run.ended = pidFd >= 0 && ::poll(&end, 1, guardSeconds * 1000) == 1;
    if (!run.ended)
        ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (pidFd >= 0)
        ::close(pidFd);
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.refused = refusal(run.exitCode);
    return run;
}

} // namespace DeadMount
