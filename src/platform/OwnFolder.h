// A folder opened as this user's alone: a real folder, not a link, owned by the user, that nobody
// else may write in. A Trash or a folder of the program's that another local user could write in
// (or had made beforehand, or pointed elsewhere with a link) would let that user read, replace or
// delete what goes there.
#pragma once

#include <QByteArray>
#include <QString>

#include "platform/Descriptor.h"

struct stat;

class OwnFolder
{
public:
    OwnFolder() = default;

    bool isValid() const { return m_fd.isValid(); }
    int get() const { return m_fd.get(); }

    // `name` inside the open folder `parentFd`, never through a link; made 0700 when missing and
    // looked at again after. Invalid, with `why`, when it is not a folder of this user alone.
    static OwnFolder openIn(int parentFd, const QByteArray &name, QString *why);
    // `name` inside the open folder `parentFd`, one nobody else may change: a folder of this user
    // alone (made when missing, as openIn() makes it), or a link of this user's own to one (where the
    // user chose to keep it). Invalid, with `why`, otherwise.
    static OwnFolder openOwnedIn(int parentFd, const QByteArray &name, QString *why);
    // The folder at the absolute `path` (links on the way followed), made with its parents when
    // missing, to hold folders of this user's alone; invalid, with `why`, when it does not
    // hold them safely.
    static OwnFolder openPath(const QString &path, QString *why);
    // True when `st` is a folder of this user that nobody else may write in.
    static bool isOwn(const struct stat &st);
    // True when nobody else may rename or replace what the folder `st` holds: it is the user's or
    // the system's, and others may write in it only where the sticky bit keeps them to their own
    // entries (the group only when it is the user's own).
    static bool holdsSafely(const struct stat &st);

private:
    explicit OwnFolder(int fd)
        : m_fd(fd)
    {
    }
    // Keeps `fd` only when the folder it opened is the one `expected` describes and `usable` says so.
    static OwnFolder checked(int fd, const struct stat &expected, bool (*usable)(const struct stat &),
        const QString &what, QString *why);

    Descriptor m_fd;
};
