// A folder opened as this user's alone: a real folder, not a link, owned by the user, that nobody
// else may write in. A Trash or a folder of the program's that another local user could write in
// (or had made beforehand, or pointed elsewhere with a link) would let that user read, replace or
// delete what goes there.
#pragma once

#include <QByteArray>
#include <QString>

struct stat;

class OwnFolder
{
public:
    OwnFolder() = default;
    ~OwnFolder();
    OwnFolder(OwnFolder &&other) noexcept;
    OwnFolder &operator=(OwnFolder &&other) noexcept;
    OwnFolder(const OwnFolder &) = delete;
    OwnFolder &operator=(const OwnFolder &) = delete;

    bool isValid() const { return m_fd >= 0; }
    int get() const { return m_fd; }

    // `name` inside the open folder `parentFd`, never through a link; made 0700 when missing and
    // looked at again after. Invalid, with `why`, when it is not a folder of this user alone.
    static OwnFolder openIn(int parentFd, const QByteArray &name, QString *why);
    // The folder at the absolute `path` (links on the way followed), made with its parents when
    // missing; invalid, with `why`, when it is not this user's alone.
    static OwnFolder openPath(const QString &path, QString *why);
    // True when `st` is a folder of this user that nobody else may write in.
    static bool isOwn(const struct stat &st);

private:
    explicit OwnFolder(int fd)
        : m_fd(fd)
    {
    }
    // Keeps `fd` only when the folder it opened is the one `expected` describes and still ours.
    static OwnFolder checked(int fd, const struct stat &expected, const QString &what, QString *why);

    int m_fd = -1;
};
