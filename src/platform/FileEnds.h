// A quick fingerprint of a file's bytes for telling files of one size apart before reading them
// whole: a 128-bit hash (not a checksum meant to last) of its first and last bytes.
#pragma once

#include <optional>

#include <QByteArray>
#include <QString>

class FileEnds
{
public:
    // The hash of the first and the last `bytes` of the file (of all of it when it is no longer
    // than both): two files of one size whose hashes differ differ. Nothing (and one log line)
    // when the file cannot be opened or read.
    static std::optional<QByteArray> digest(const QString &path, qint64 bytes);
};
