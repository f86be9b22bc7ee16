// Opening a file the program only means to read (or append to) when it is a regular file. A path
// the walk saw as a photo may be a fifo, a device or a socket by the time it is opened: opening
// those can block for ever or read without end, so the open never waits and anything but a
// regular file is refused with one log line.
#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

#include "platform/Descriptor.h"

class QFile;

class RegularFile
{
public:
    // An open descriptor of a regular file, closed when the object goes.
    class Descriptor
    {
    public:
        Descriptor() = default;
        explicit Descriptor(int fd, qint64 size)
            : m_fd(fd)
            , m_size(size)
        {
        }

        bool isValid() const { return m_fd.isValid(); }
        int get() const { return m_fd.get(); }
        // The size when the file was opened; reads stop there.
        qint64 size() const { return m_size; }
        // A path that names this very file for a library that only takes paths; it reopens the
        // open file itself, never what the original path names by now.
        QString procPath() const;
        // Gives up ownership: the caller closes the descriptor.
        int release() { return m_fd.release(); }

    private:
        ::Descriptor m_fd;
        qint64 m_size = 0;
    };

    // Opens `path` for reading; invalid (and one log line) when it cannot be opened or is not a
    // regular file.
    static Descriptor openForReading(const QString &path);
    // Opens the file `name` in the open folder `folderFd` for appending, creating it as a regular
    // file of mode 0600 when missing, never through a link; logs nothing, since the log itself is
    // written through it.
    static Descriptor openForAppending(int folderFd, const QByteArray &name);
    // Hands the descriptor to `file` (which then closes it) opened read-only; false when it is
    // not a regular file.
    static bool openQFile(QFile &file, const QString &path);
    // The whole content, read up to the size the file had when opened; nothing when it is not a
    // regular file, larger than `maxBytes` or cannot be read. A missing file is logged as nothing.
    static std::optional<QByteArray> readAll(const QString &path, qint64 maxBytes);
    // Copies the regular file `from` (up to its size when opened) to a new file `to` of mode 0600;
    // false, with `to` removed, when anything failed. Holes stay holes and blocks of zeros become
    // holes, so a file that is mostly holes takes no more room as a copy. With `dataBudget`, the
    // bytes read are taken from it, and the copy fails once they would overdraw it.
    static bool copy(const QString &from, const QString &to, QString *error, qint64 *dataBudget = nullptr);
};
