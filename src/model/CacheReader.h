// Reads the cached rows of the current scan's paths back: an EXIF record per path, and the
// fingerprint (photos) or MD5 digest (videos, and photos without a fingerprint of the side) of the
// paths whose stored block is valid.
#pragma once

#include <memory>
#include <optional>
#include <utility>

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include "model/FingerprintVariants.h"

class ExifInfo;
class SqliteConnection;
class SqliteStatement;

struct CacheFetchResult {
    QHash<QString, std::shared_ptr<ExifInfo>> exif;
    // Path and block, in row order (a later row of a path wins); a list, because the blocks go
    // straight into the scan's shared dictionary and a second hash table would only cost time.
    QList<std::pair<QString, QByteArray>> hashes;
    // Path and fingerprint, split into its variants, likewise.
    QList<std::pair<QString, FingerprintVariants>> fingerprints;
};

class CacheReader
{
public:
    // Rows of the paths in the path table, with the fingerprints of side n. A block of the wrong
    // length or a digest that is not 32 hexadecimal characters counts as not cached. Nothing when
    // the read fails part-way (the connection's last result says why). Without `turnsCompared`
    // only the first variant of each fingerprint is kept.
    static std::optional<CacheFetchResult> fetch(
        SqliteConnection &connection, int n, bool turnsCompared = true);

private:
    static std::shared_ptr<ExifInfo> exifFromRow(const SqliteStatement &row);
};
