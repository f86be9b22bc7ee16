// What a scan asks of the cache database, in the order it asks: the path table at the hand-over,
// the cached rows before hashing, a batch write after each hashing batch.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>

#include <QByteArray>

#include "app/GlobalObjects.h"
#include "model/FingerprintVariants.h"

#include "scan/ScanSession.h"

class ExifInfo;

class ScanCache
{
public:
    struct Entry {
        // The MD5 digest; empty for a photo cached with its fingerprint.
        QByteArray hash;
        std::shared_ptr<ExifInfo> exif;
    };
    struct FingerprintEntry {
        // Empty when the path has no fingerprint of the scan's side (or it was taken already).
        FingerprintVariants variants;
        std::shared_ptr<ExifInfo> exif;
    };

    // Checks every page of the cache file and replaces a damaged one; nothing when the file does not
    // exist. Runs before anything else of the scan opens the file; `stop` ends it.
    static void checkCacheFile(ScanSource scanType, const std::atomic<bool> *stop);
    // Refills the path table with the scan's records; nothing when the cache file does not exist.
    static void prepareCacheTempTable(
        ScanSource scanType, const RecordList &records, const std::atomic<bool> *stop);
    // Fills the scan's index from the cache (emptied first by the caller).
    static void loadCachedFileInfo(ScanSource scanType, bool exact, ScanCacheIndex &index);
    // Writes the rows of a finished batch, whole or not at all; the cache file is made from its
    // template first when missing. False when nothing could be written.
    static bool saveFileInfoToCache(ScanSource scanType, const RecordList &batch, ScanCacheIndex &index);
    // The loaded cache row of `path`; a row counts only with both a fingerprint or digest and its
    // EXIF record.
    static std::optional<Entry> cachedEntry(const QString &path, const ScanCacheIndex &index);
    // The same row for the hashing stage, with the fingerprint moved out of the index so that the
    // record holds the only copy.
    static std::optional<FingerprintEntry> takeCachedFingerprint(const QString &path, ScanCacheIndex &index);
    // The same, only when the row still describes the file and holds a fingerprint of the record's
    // side; otherwise nothing, and the index is left as it was.
    static std::optional<FingerprintEntry> takeReusableFingerprint(
        const ImageFileInfo &record, ScanCacheIndex &index);
    // An unchanged file takes its cached sum and EXIF record (true). A changed one is flagged, so
    // that the write-back replaces its rows; a video keeps the cached EXIF record meanwhile.
    static bool takeCachedSum(ImageFileInfo &record, const ScanCacheIndex &index);
    // The cached row still describes the file: same size and exactly the same modification time
    // and, for a local file, the same inode change time.
    static bool isUnchanged(const ImageFileInfo &record, const ExifInfo &cached);

private:
    // The EXIF record of a path the cache held a fingerprint or digest for; null otherwise.
    static std::shared_ptr<ExifInfo> cachedExif(const QString &path, const ScanCacheIndex &index);
};
