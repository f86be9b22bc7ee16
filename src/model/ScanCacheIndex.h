// The cache rows one scan loaded: the cached EXIF record and fingerprint (or, for a video, MD5)
// bytes of each path, filled before the hashing batches run and emptied after the last one. The
// scan's session owns it; the hashing workers and the cache code share it, so each dictionary
// locks on its own.
#pragma once

#include <memory>

#include <QByteArray>

#include "app/SharedPathDictionary.h"

class ExifInfo;

struct ScanCacheIndex {
    // Side N of the fingerprints the scan reads and writes.
    int reSizeValue = 0;
    SharedPathDictionary<std::shared_ptr<ExifInfo>> dictExif;
    SharedPathDictionary<QByteArray> dictHash;

    void clear()
    {
        dictExif.clear();
        dictHash.clear();
    }
};
