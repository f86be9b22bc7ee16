// The look at the saved scan list's paths when the window opens: what each entry is now, and the
// key it is listed by. It runs off the GUI thread, a bounded time per mount (PathLook), so a
// saved folder on a share gone silent never holds the window from appearing. The mount table is
// read, and the home Trash looked at, once for the whole list; each path is resolved once.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include "platform/PathLook.h"
#include "scan/ui/ScanListRules.h"

class ScanListLook
{
public:
    struct Facts {
        ScanListRules::Kind kind = ScanListRules::Kind::Absent;
        QString key;
    };
    using Answers = std::vector<std::optional<Facts>>;

    // Looks at `paths` on a thread of its own; `done` runs on the GUI thread with the facts of each
    // path in order (nothing for a path whose mount did not answer), unless `owner` has gone.
    static void start(
        const QStringList &paths, QPointer<QObject> owner, std::function<void(const Answers &)> done);
    // The look itself at `path` over the mounts of `look`, the home Trash resolved to
    // `realHomeTrash`, on a thread apart that keeps `where` at each step; it may block for good on a
    // silent share. Nothing when a step enters a mount named as not answering.
    static std::optional<Facts> lookAt(
        const QString &path, const PathLook &look, const QString &realHomeTrash, PathLook::Where &where);
};
