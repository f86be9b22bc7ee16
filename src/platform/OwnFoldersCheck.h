// Which of the program's own folders, and the home Trash, nothing is written in because they are not
// this user's alone (or cannot be made), and which scan caches cannot be used; read once at start-up
// so the user is told, not only the log.
#pragma once

#include <vector>

#include <QString>
#include <QStringList>

class OwnFoldersCheck
{
public:
    // What a folder holds, so the user can be told what is not saved.
    enum class Use { Settings, Support, Caches, Log, Trash, ScanCache };
    struct Refusal {
        Use use;
        QString path;
    };

    // Each refused folder, in the order of Use; empty when every one may be written. The program's
    // folders are made when missing; the home Trash is looked at only when it exists. Each of
    // `scanCaches` (paths in the support folder) that is there but is a link, not a regular file or
    // another user's is refused too, unless the support folder itself is.
    static std::vector<Refusal> refusals(const QStringList &scanCaches = {});
};
