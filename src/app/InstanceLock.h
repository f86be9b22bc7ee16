// The lock a running instance holds beside its socket for as long as it listens. Its folder must
// be this user's alone (a real folder, not a link, that nobody else may enter), and is opened and
// checked before anything in it is; the lock itself is opened in that very folder as if anyone could
// have put something there: the open never waits (a fifo in its place would hold every start) and
// nothing but a regular file of this user counts as the lock.
//
// The file goes when its holder lets it go: it is removed while still held, so a launch that opened
// it a moment before and takes it after finds that it no longer names the lock, and takes the new
// one instead.
#pragma once

#include <QByteArray>
#include <QString>

#include "platform/Descriptor.h"

class InstanceLock
{
public:
    enum class Outcome {
        Taken,
        HeldElsewhere,
        // The folder is not this user's alone.
        FolderRefused,
        // The lock's name holds something other than a regular file of this user.
        FileRefused,
    };

    // `path`: the lock file's absolute path.
    explicit InstanceLock(const QString &path);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    // Whether a running instance holds the lock. Never waits, never creates anything.
    bool isHeld() const;
    // Takes the lock, making its file when missing.
    Outcome take();
    bool isTaken() const { return m_file.isValid(); }
    // Removes the lock file and lets the lock go.
    void release();

private:
    // The lock's folder when it is this user's alone; invalid otherwise.
    Descriptor openFolder() const;
    // The lock file in `folder` with `flags`, when it is a regular file of this user.
    Descriptor openFile(int folder, int flags) const;
    // Whether the lock's name in `folder` still names the file `fd` has open.
    bool namesFile(int folder, int fd) const;

    QString m_path;
    QByteArray m_name;
    Descriptor m_folder;
    Descriptor m_file;
};
