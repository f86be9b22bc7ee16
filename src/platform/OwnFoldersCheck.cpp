#include "platform/OwnFoldersCheck.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

#include <QFile>
#include <QFileInfo>

#include "platform/AppFolders.h"
#include "platform/PathLook.h"
#include "platform/Trash.h"
#include "platform/TrashFolder.h"

namespace
{

// A cache there that cannot be opened as the user's own file: the program skips it at every scan.
bool isUnusable(const QString &cache)
{
    struct stat st {
    };
    return ::lstat(QFile::encodeName(cache).constData(), &st) == 0
        && (!S_ISREG(st.st_mode) || st.st_uid != ::geteuid());
}

} // namespace

std::vector<OwnFoldersCheck::Refusal> OwnFoldersCheck::refusals(const QStringList &scanCaches)
{
    // The runtime folder is not among them: one that is not the user's alone is passed over for the
    // caches folder.
    const std::pair<Use, QString> folders[]
        = { { Use::Settings, AppFolders::settingsFolder() }, { Use::Support, AppFolders::supportFolder() },
              { Use::Caches, AppFolders::cachesFolder() }, { Use::Log, AppFolders::logsFolder() } };
    std::vector<Refusal> refused;
    for (const auto &[use, folder] : folders) {
        if (!AppFolders::ensureFolder(folder))
            refused.push_back({ use, folder });
    }
    const QString trash = Trash::homeTrashFolder();
    // Looked at apart: a home Trash on a share that does not answer holds no start.
    const PathLook::Result<bool> unusable = PathLook::current().look<bool>(
        trash,
        [trash]() {
            QString why;
            return (QFileInfo::exists(trash) || QFileInfo(trash).isSymLink())
                && !TrashFolder::homeTrash(&why);
        },
        nullptr);
    if (unusable.answer.value_or(false))
        refused.push_back({ Use::Trash, trash });
    const bool supportRefused = std::any_of(
        refused.begin(), refused.end(), [](const Refusal &refusal) { return refusal.use == Use::Support; });
    for (const QString &cache : scanCaches) {
        if (!supportRefused && isUnusable(cache))
            refused.push_back({ Use::ScanCache, cache });
    }
    return refused;
}
