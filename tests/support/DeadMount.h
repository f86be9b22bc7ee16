// A network share whose server never answers: a FUSE file system whose device nobody reads, mounted
// in a private mount namespace (the machine's own mounts are never touched) where a program runs.
#pragma once

#include <QString>
#include <QStringList>

namespace DeadMount
{

// The share's device, open in the program: closing it ends the share's server.
inline constexpr int kDevice = 9;

struct Run {
    // Why no share could be mounted here (no namespaces, no FUSE); empty when the program ran.
    QString refused;
    bool ended = false; // within the guard; killed otherwise
    int exitCode = -1;
};

// Runs `program` with `arguments` beside the silent share mounted at `point` (an empty folder), for
// `guardSeconds` at most. `serverGone`: the device is closed first, as when the share's server has
// gone away ("Transport endpoint is not connected").
Run runBeside(const QString &point, const QString &program, const QStringList &arguments, int guardSeconds,
    bool serverGone = false);

// Runs the test `name` of this test program beside a silent share, whose folder it finds in
// QNY_SILENT_SHARE; the test skips where that is not set.
Run runTestBeside(const char *name, int guardSeconds);
// runTestBeside() with a guard of 60 s, expecting the test to end and pass; skips where no share can
// be mounted.
void expectPassesBeside(const char *name);

// The folder of the silent share a test started by runTestBeside() runs beside; empty when the
// test runs on its own.
QString silentShare();
// The first line of a test that runs only beside a silent share, started by another test. Such a
// test keeps the program's own bound for a look: a shorter one names the local disk of a busy
// machine as not answering.
#define QNY_SKIP_UNLESS_BESIDE_A_SILENT_SHARE()                                                        \
    if (DeadMount::silentShare().isEmpty())                                                            \
    GTEST_SKIP() << "runs only beside a silent share, started by the test above"

// From a test run beside a share: mounts another silent share over `folder`, hiding what it holds
// from then on; its device stays open until endServerAndWait. True when it was mounted.
bool silence(const QString &folder);

// The threads of this process (run beside the share) that wait in the kernel on it.
QStringList threadsWaiting();
// Ends the servers of the share and of those `silence` mounted, as when they go away, and waits `ms` at most
// for `threads` to end; true when they did.
bool endServerAndWait(const QStringList &threads, int ms);

} // namespace DeadMount
