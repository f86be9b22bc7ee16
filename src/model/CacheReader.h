// Reads the cached rows of the current scan's paths back: an EXIF record per path, and the
// fingerprint (photos) or MD5 digest (videos, and photos without a fingerprint of the side) of the
// paths whose stored block is valid.
#pragma once

#include <memory>
#include <optional>

#include <QByteArray>
#include <QHash>
#include <QString>

#include "model/FingerprintVariants.h"

class ExifInfo;
class SqliteConnection;
class SqliteStatement;

struct CacheFetchResult {
    // Each table goes into the scan's shared dictionary whole.
    QHash<QString, std::shared_ptr<ExifInfo>> exif;
    QHash<QString, QByteArray> hashes;
    // Fingerprints, split into their variants.
    QHash<QString, FingerprintVariants> fingerprints;
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
};
