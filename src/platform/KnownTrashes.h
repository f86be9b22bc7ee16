// The Trash folders this user's desktop keeps, known by device and inode: the home Trash and, on
// every mounted volume, ".Trash-<uid>" and ".Trash/<uid>", each with its files/ folder. A name tells
// a Trash only where it is reached by that name; the identity tells it however it is reached (a
// bind mount of a Trash's files/ under another name, a volume mounted twice).
#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>

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

    // The Trashes of the running user, over the mounts of /proc/self/mountinfo.
    static KnownTrashes current();
    // The Trashes of the user `uid` under `homeTrash` and the mount points a mountinfo text lists.
    static KnownTrashes find(const QString &homeTrash, const QByteArray &mountInfo, uint uid);
    // The mount points a mountinfo text lists, escapes undone; automount points are left out, as
    // looking into one would mount it.
    static QStringList mountPoints(const QByteArray &mountInfo);
    static std::vector<Mount> mounts(const QByteArray &mountInfo);

    // True when the folder `id` is one of the Trashes or their files/ folders.
    bool contains(const FileIdentity &id) const { return m_tops.contains(id) || m_files.contains(id); }
    // True when the folder `id` is a Trash itself, as the desktop files into it (not its files/).
    bool isTrashTop(const FileIdentity &id) const { return m_tops.contains(id); }
    // True when the folder or file `path`, or a folder above it, is one of them (links followed).
    bool holds(const QString &path) const;

private:
    // True when `absolutePath` or a folder above it, as written, is one of them.
    bool heldAlong(const QString &absolutePath) const;

    // Adds the Trash `trash` when it is there, and the real path of its files/ folder to `files`.
    void addTrash(const QString &trash, QStringList &files);
    // Adds every mount of `all` that shows a folder inside one of the files/ folders `files`.
    void addMountsInside(const QStringList &files, const std::vector<Mount> &all);

    QSet<FileIdentity> m_tops;
    QSet<FileIdentity> m_files;
};
