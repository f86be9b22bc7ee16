// Folders and files only their owner may read: the settings, the caches with every scanned path,
// capture time and position, the log and the downloaded copies are nobody else's business on a
// shared machine. New folders are made 0700 and new files 0600 whatever the umask says; older
// ones are narrowed to the same at start.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

class QSaveFile;

class PrivateFiles
{
public:
    static constexpr QFile::Permissions kFilePermissions = QFile::ReadOwner | QFile::WriteOwner;

    // Creates `path` and any missing parents, each new one 0700; folders that already exist are
    // left as they are. True when `path` is a folder afterwards.
    static bool makeFolder(const QString &path);

    // Opens `file` for writing with 0600 permissions set before a byte is written, so the content
    // is never readable by others, not even for a moment. False when either failed.
    static bool open(QSaveFile &file);
    // Writes `bytes` to `path` as a new 0600 file that replaces the old one in one step, so no
    // half-written file is ever seen. False when anything failed; the old file then stays.
    static bool write(const QString &path, const QByteArray &bytes);

    // Takes the group and other permissions off `path` when it is ours, and off everything below
    // it when `recursive`; symbolic links are never followed and files of others never touched.
    static void narrow(const QString &path, bool recursive);

    // True when `path` is a folder of this user that no one else may enter or change.
    static bool isOwnPrivateFolder(const QString &path);

private:
    static void narrowOne(const QByteArray &nativePath);
};
