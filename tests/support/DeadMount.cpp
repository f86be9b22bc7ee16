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

#include <QByteArray>
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
    [[noreturn]] void runChild(const char *point, int fuse, const char *options, char *const *argv,
        char *const *envp, bool serverGone)
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
        ::execve(argv[0], argv, envp);
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
    // A thread left in the kernel on the share cannot be halted for the leak check at exit, which
    // would wait for it for good; the sanitizers' other checks stay on.
    std::vector<std::string> environment;
    for (char **variable = environ; *variable; ++variable) {
        if (std::string(*variable).rfind("ASAN_OPTIONS=", 0) != 0)
            environment.emplace_back(*variable);
    }
    const QByteArray asan = qgetenv("ASAN_OPTIONS");
    environment.push_back(
        "ASAN_OPTIONS=" + asan.toStdString() + (asan.isEmpty() ? "" : ":") + "detect_leaks=0");
    const int fuse = ::open("/dev/fuse", O_RDWR);
    environment.push_back(std::string(kDeviceVariable) + "=" + std::to_string(fuse));
    std::vector<char *> envp;
    for (std::string &variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);
    const std::string where = QFile::encodeName(point).toStdString();
    const std::string options = "fd=" + std::to_string(fuse) + ",rootmode=40000,user_id=0,group_id=0";
    Run run;
    const pid_t child = ::fork();
    if (child == 0)
        runChild(where.c_str(), fuse, options.c_str(), args.data(), envp.data(), serverGone);
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
