// A network share whose server never answers, without touching the machine's own mounts: a child
// process takes a private mount namespace, mounts a FUSE file system there whose device nobody
// reads (every look into it waits for good), and runs a program beside it.
#pragma once

#include <QString>
#include <QStringList>

namespace DeadMount
{

// The program finds the share's device, open, in this variable: closing it ends the share's server.
inline constexpr char kDeviceVariable[] = "QNY_SILENT_SHARE_DEVICE";

struct Run {
    // Why the child could not mount (no namespaces, no FUSE here); empty when it ran.
    QString refused;
    // The program ended within the guard (it was killed otherwise).
    bool ended = false;
    int exitCode = -1;
};

// Mounts the silent file system at `point` (an existing empty folder) and runs `program` with
// `arguments` beside it, for `guardSeconds` at most. `serverGone`: the device is closed at once, as
// when a share's server has gone away ("Transport endpoint is not connected").
Run runBeside(const QString &point, const QString &program, const QStringList &arguments, int guardSeconds,
    bool serverGone = false);

} // namespace DeadMount
