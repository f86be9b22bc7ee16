#include "platform/OwnFoldersCheck.h"

#include <utility>

#include <QFileInfo>

#include "platform/AppFolders.h"
#include "platform/Trash.h"
#include "platform/TrashFolder.h"

std::vector<OwnFoldersCheck::Refusal> OwnFoldersCheck::refusals()
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
    QString why;
    if ((QFileInfo::exists(trash) || QFileInfo(trash).isSymLink()) && !TrashFolder::homeTrash(&why))
        refused.push_back({ Use::Trash, trash });
    return refused;
}
