// The runner's Google Drive source: the Drive service signed in with a fixed token
// (QUENNARY_CLOUD_ACCESS_TOKEN) and one scan-list entry per folder identifier, filled through
// files.get as the folder window would fill it.
#pragma once

#include <optional>
#include <vector>

#include <QString>
#include <QStringList>

#include "model/FilePathNode.h"

class DriveService;

class DriveRunnerSource
{
public:
    // Nothing, and `error` says why, when a folder cannot be read or is not a folder. Learns the
    // real identifier of "My Drive" into `rootDriveFolderId` when "root" is asked for.
    static std::optional<std::vector<FilePathNode>> scanList(
        DriveService &service, const QStringList &folderIds, QString &rootDriveFolderId, QString *error);
    static void signIn(DriveService &service);
};
