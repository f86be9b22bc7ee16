// MD5 digest of a file's content, streamed so memory stays flat for files of any size.
#pragma once

#include <atomic>
#include <optional>

#include <QByteArray>
#include <QString>

class Md5
{
public:
    // 32 lower-case hexadecimal characters, or nothing when the file cannot be opened, a read
    // fails (a read error is never taken for the end of the file) or `stop` becomes true. Each
    // failure writes one log line.
    static std::optional<QString> ofFile(const QString &path, const std::atomic<bool> *stop = nullptr);
    // Lower-case hexadecimal text of a digest ("%02hhx" per byte).
    static QString hexString(const QByteArray &digest);
};
