// The cache rows one scan loaded: the cached EXIF record and fingerprint (or MD5 digest) of each
// path, filled before the hashing batches run and emptied after the last one. The
// scan's session owns it; the hashing workers and the cache code share it, so each dictionary
// locks on its own.
#pragma once

#include <atomic>
#include <memory>

#include <QByteArray>

#include "app/SharedPathDictionary.h"
#include "model/FingerprintVariants.h"

class ExifInfo;

struct ScanCacheIndex {
    // Side N of the fingerprints the scan reads and writes.
    int reSizeValue = 0;
    // The scan compares turned or mirrored variants; when not, only the first of each cached
    // fingerprint is read (a cached fingerprint is never written back).
    bool turnsCompared = true;
    // The scan's stop: a cache statement that is running ends as soon as it is set.
    const std::atomic<bool> *stop = nullptr;
    SharedPathDictionary<std::shared_ptr<ExifInfo>> dictExif;
    // MD5 digests: of videos, and of photos without a fingerprint of the scan's side.
    SharedPathDictionary<QByteArray> dictHash;
    // Fingerprints, already split into their variants; each is moved into its record, which then
    // holds the only copy.
    SharedPathDictionary<FingerprintVariants> dictFingerprint;

    // The path had a valid fingerprint or digest in the cache (also once its fingerprint was taken).
    bool isCached(const QString &path) const { return dictFingerprint.contains(path) || dictHash.contains(path); }

    void clear()
    {
        dictExif.clear();
        dictHash.clear();
        dictFingerprint.clear();
    }
};
