// The look at the saved scan list's paths when the window opens: what each entry is now, and the
// key it is listed by. It runs off the GUI thread, a bounded time per mount (PathLook), so a
// saved folder on a share gone silent never holds the window from appearing.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

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
    // The look itself, which may block for good on a silent share.
    static Facts lookAt(const QString &path);
};
