// The Trash folders this user's desktop keeps, known by device and inode: the home Trash and, on
// every mounted volume, ".Trash-<uid>" and ".Trash/<uid>", each with its files/ folder. A name tells
// a Trash only where it is reached by that name; the identity tells it however it is reached (a
// bind mount of a Trash's files/ under another name, a volume mounted twice). Only the mounts a scan
// needs are looked into (see ScanMounts): a share whose server is gone silent holds whoever looks.
#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

#include "platform/FileFacts.h"

class KnownTrashes
{
public:
    // A line of the mount table: the file system's device, the folder of it shown, and where.
    struct Mount {
        QByteArray device;
        QString root;
        QString point;
    };

    // What one look at a mount's top, or at the home Trash, found: the folder itself, the Trashes
    // there and their files/ folders, with the real paths of those.
    struct Look {
        std::optional<FileIdentity> point;
        QSet<FileIdentity> tops;
        QSet<FileIdentity> files;
        QStringList filesPaths;
    };

    // The Trashes of the user `uid` at the top of the mount `point`. Blocks as long as the mount
    // does not answer: made through a BoundedLook.
    static Look lookAtTop(const QString &point, uint uid);
    // The Trash `trash` (the home Trash), likewise.
    static Look lookAtTrash(const QString &trash);
    // The Trashes that the looks at the home Trash and at the mounts `looked` found; `all` is the
    // whole mount table, read but never looked into.
    static KnownTrashes from(
        const Look &home, const std::vector<std::pair<Mount, Look>> &looked, const std::vector<Mount> &all);

    // The mount points a mountinfo text lists, escapes undone; automount points are left out, as
    // looking into one would mount it.
    static QStringList mountPoints(const QByteArray &mountInfo);
    static std::vector<Mount> mounts(const QByteArray &mountInfo);
    // The mount of `all` that shows the real path `path` (the last one over a point); null for none.
    static const Mount *holderOf(const QString &path, const std::vector<Mount> &all);

    // True when the folder `id` is one of the Trashes or their files/ folders.
    bool contains(const FileIdentity &id) const { return m_tops.contains(id) || m_files.contains(id); }
    // True when the folder `id` is a Trash itself, as the desktop files into it (not its files/).
    bool isTrashTop(const FileIdentity &id) const { return m_tops.contains(id); }
    // True when `absolutePath` or a folder above it, as written, is one of them. Blocks as long as
    // the mounts along it do not answer: made through a BoundedLook.
    bool heldAlong(const QString &absolutePath) const;

private:
    void add(const Look &look);
    // Adds every mount of `looked` that shows a folder inside one of the files/ folders `files`.
    void addMountsInside(const QStringList &files, const std::vector<std::pair<Mount, Look>> &looked,
        const std::vector<Mount> &all);

    QSet<FileIdentity> m_tops;
    QSet<FileIdentity> m_files;
};
