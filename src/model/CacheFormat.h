// The stored forms of the cache: which fingerprint sides have a table, what a valid fingerprint
// block and a valid digest look like, and how times become the stored seconds and back.
#pragma once

#include <optional>

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>

class FingerprintVariants;

class CacheFormat
{
public:
    // Sides N with a fingerprint table: 48 to 96 in steps of 8.
    static bool isFingerprintSide(int n);
    // "hashTable<N>", or nothing for a side without a table.
    static std::optional<QByteArray> fingerprintTable(int n);
    // Eight packed variants of N*N bits each: N*N bytes.
    static qsizetype fingerprintBytes(int n);
    static bool isValidFingerprint(QByteArrayView block, int n);
    // The same for a fingerprint already split into its variants.
    static bool isValidFingerprint(const FingerprintVariants &variants, int n);
    // 32 hexadecimal characters.
    static bool isValidMd5(const QByteArray &digest);

    // Hash of a stored block together with the path, size and modification time of the EXIF row it
    // belongs to; stored beside the block and checked on every fetch.
    static qint64 checkValue(QByteArrayView pathUtf8, quint64 fileSize, double modTime, QByteArrayView block);

    // Seconds since 1970-01-01 00:00 GMT, the one conversion both the writer and the reuse test
    // use, so an unchanged file compares exactly equal; 0 for an invalid time.
    static double secondsSince1970(const QDateTime &time);
    static QDateTime dateFromSecondsSince1970(double seconds);

    // Every table that holds rows keyed by an EXIF row id.
    static const char *const kDependentTables[];
    static const int kDependentTableCount;
};
