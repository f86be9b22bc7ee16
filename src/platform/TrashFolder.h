// Which Trash folder an item goes to, opened and ready to take it: the home Trash for items on its
// file system, otherwise the Trash at the top of the volume the item really lives on (".Trash/<uid>"
// when the volume offers a shared one, else ".Trash-<uid>"). Every folder of a Trash is this user's
// alone (see OwnFolder) and is reached from the top down without following a link.
#pragma once

#include <sys/types.h>

#include <optional>

#include <QString>

#include "platform/OwnFolder.h"

class TrashFolder
{
public:
    // The Trash for an item of the device `device` in the folder whose real path (no links) is
    // `realFolder`; nothing, and `why` says so, when no Trash of this user's alone can be had.
    static std::optional<TrashFolder> forItem(const QString &realFolder, dev_t device, QString *why);
    // The Trash of the user's home (below the XDG data folder), made when missing.
    static std::optional<TrashFolder> homeTrash(QString *why);

    const QString &path() const { return m_path; }
    int files() const { return m_files.get(); }
    int info() const { return m_info.get(); }

private:
    TrashFolder() = default;
    // The Trash `name` inside the open folder `parent`, with its "files" and "info" folders.
    static std::optional<TrashFolder> open(
        int parent, const QString &parentPath, const QByteArray &name, QString *why);
    static std::optional<TrashFolder> volumeTrash(const QString &top, QString *why);

    QString m_path;
    OwnFolder m_trash, m_files, m_info;
};
