#include "scan/ScanCache.h"

#include "model/CacheFile.h"
#include "model/CacheFormat.h"
#include "model/CacheReader.h"
#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "model/ScanCacheIndex.h"
#include "model/SqliteDBOperations.h"
#include "platform/AppFolders.h"
#include "platform/OwnFolderWrites.h"

namespace
{

QString existingCachePath(ScanSource scanType)
{
    const QString path
        = SqliteDBOperations::getDbPathInLibrary(SqliteDBOperations::cacheFileNameForScanType(scanType));
    return !path.isEmpty() && CacheFile::isPresent(path) ? path : QString();
}

// Runs `work` as a write of the folder that holds the caches: a cache on a share that falls silent
// mid-scan holds the scan no longer than the bound, and the scan goes on without it. `work` owns
// everything it uses and gets a stop of its own, set with the scan's and when it is left behind, so
// that it ends as soon as it wakes.
template <typename Answer>
std::optional<Answer> inCacheFolder(
    const std::atomic<bool> *stop, std::function<Answer(const std::atomic<bool> *ownStop)> work)
{
    auto ownStop = std::make_shared<std::atomic<bool>>(false);
    std::optional<Answer> answer = OwnFolderWrites::answer<Answer>(
        AppFolders::supportFolder(), [ownStop, work = std::move(work)]() { return work(ownStop.get()); },
        stop);
    if (!answer)
        ownStop->store(true);
    return answer;
}

} // namespace

void ScanCache::checkCacheFile(ScanSource scanType, const std::atomic<bool> *stop)
{
    inCacheFolder<bool>(stop, [scanType](const std::atomic<bool> *ownStop) {
        const QString path = existingCachePath(scanType);
        return path.isEmpty() || SqliteDBOperations::checkCacheForScan(path, ownStop);
    });
}

void ScanCache::prepareCacheTempTable(
    ScanSource scanType, const RecordList &records, const std::atomic<bool> *stop)
{
    QStringList paths;
    paths.reserve(records.size());
    for (const auto &record : records) {
        if (record)
            paths.append(record->filePath);
    }
    inCacheFolder<bool>(stop, [scanType, paths](const std::atomic<bool> *ownStop) {
        const QString path = existingCachePath(scanType);
        if (path.isEmpty())
            return true;
        SqliteDBOperations::createTablesIfNotExists(path, ownStop);
        SqliteDBOperations::deleteRecordsFromTable(QStringLiteral("tempTable"), path, ownStop);
        SqliteDBOperations::insertPathsInTempTable(path, paths, ownStop);
        return true;
    });
}

void ScanCache::loadCachedFileInfo(ScanSource scanType, bool exact, ScanCacheIndex &index)
{
    const int side = index.reSizeValue;
    const bool turnsCompared = index.turnsCompared;
    std::optional<CacheFetchResult> loaded = inCacheFolder<CacheFetchResult>(
        index.stop, [scanType, exact, side, turnsCompared](const std::atomic<bool> *ownStop) {
            CacheFetchResult result;
            const QString path = existingCachePath(scanType);
            if (path.isEmpty())
                return result;
            ScanCacheIndex read;
            read.reSizeValue = side;
            read.turnsCompared = turnsCompared;
            read.stop = ownStop;
            result.exif = SqliteDBOperations::fetchExifInfoFromDbPath(path, exact, read);
            result.hashes = read.dictHash.snapshot();
            result.fingerprints = read.dictFingerprint.snapshot();
            return result;
        });
    if (!loaded)
        return;
    index.dictHash.addEntries(std::move(loaded->hashes));
    index.dictFingerprint.addEntries(std::move(loaded->fingerprints));
    index.dictExif.addEntries(std::move(loaded->exif));
}

bool ScanCache::saveFileInfoToCache(ScanSource scanType, const RecordList &batch, ScanCacheIndex &index)
{
    // A batch of a warm scan is answered from the cache whole: no transaction for it.
    if (SqliteDBOperations::batchChangesNothing(batch, index))
        return true;
    // The write gets copies: it may end after the scan has gone on with these records.
    RecordList copies;
    copies.reserve(batch.size());
    QStringList cached;
    for (const auto &record : batch) {
        if (!record)
            continue;
        copies.append(record->cacheCopy());
        if (index.isCached(record->filePath))
            cached.append(record->filePath);
    }
    const int side = index.reSizeValue;
    const std::optional<QStringList> replaced = inCacheFolder<std::optional<QStringList>>(index.stop,
        [scanType, copies, cached, side](const std::atomic<bool> *ownStop) -> std::optional<QStringList> {
            const QString fileName = SqliteDBOperations::cacheFileNameForScanType(scanType);
            if (!SqliteDBOperations::copyDataBaseIfRequieredAtDestination(SqliteDBOperations::getCachePath(),
                    SqliteDBOperations::templatePathForScanType(scanType), fileName))
                return std::nullopt;
            const QString path = SqliteDBOperations::getDbPathInLibrary(fileName);
            if (!SqliteDBOperations::createTablesIfNotExists(path, ownStop))
                return std::nullopt;
            ScanCacheIndex written;
            written.reSizeValue = side;
            written.stop = ownStop;
            for (const QString &cachedPath : cached)
                written.dictHash.setValue(cachedPath, QByteArray());
            QStringList replacedPaths;
            if (!SqliteDBOperations::saveBatch(path, copies, written, &replacedPaths))
                return std::nullopt;
            return replacedPaths;
        }).value_or(std::nullopt);
    if (!replaced)
        return false;
    for (const QString &path : *replaced)
        index.dictExif.remove(path);
    return true;
}

std::shared_ptr<ExifInfo> ScanCache::cachedExif(const QString &path, const ScanCacheIndex &index)
{
    return index.isCached(path) ? index.dictExif.value(path).value_or(nullptr) : nullptr;
}

std::optional<ScanCache::Entry> ScanCache::cachedEntry(const QString &path, const ScanCacheIndex &index)
{
    std::shared_ptr<ExifInfo> exif = cachedExif(path, index);
    if (!exif)
        return std::nullopt;
    return Entry { index.dictHash.value(path).value_or(QByteArray()), std::move(exif) };
}

std::optional<ScanCache::FingerprintEntry> ScanCache::takeCachedFingerprint(
    const QString &path, ScanCacheIndex &index)
{
    std::shared_ptr<ExifInfo> exif = cachedExif(path, index);
    if (!exif)
        return std::nullopt;
    return FingerprintEntry { index.dictFingerprint.takeValue(path).value_or(FingerprintVariants()),
        std::move(exif) };
}

std::optional<ScanCache::FingerprintEntry> ScanCache::takeReusableFingerprint(
    const ImageFileInfo &record, ScanCacheIndex &index)
{
    // A path with a fingerprint counts as cached: its EXIF record and the fingerprint are all
    // there is to look up.
    std::shared_ptr<ExifInfo> exif = index.dictExif.value(record.filePath).value_or(nullptr);
    if (!exif || !isUnchanged(record, *exif))
        return std::nullopt;
    std::optional<FingerprintVariants> variants
        = index.dictFingerprint.takeValueIf(record.filePath, [&record](const FingerprintVariants &cached) {
              return CacheFormat::isValidFingerprint(cached, record.resizeValue);
          });
    if (!variants)
        return std::nullopt;
    return FingerprintEntry { std::move(*variants), std::move(exif) };
}

bool ScanCache::takeCachedSum(ImageFileInfo &record, const ScanCacheIndex &index)
{
    const std::optional<Entry> cached = cachedEntry(record.filePath, index);
    if (!cached)
        return false;
    if (!isUnchanged(record, *cached->exif)) {
        record.isHashUpdateReq = true;
        if (record.isVideo)
            record.exifInfo = cached->exif;
        return false;
    }
    if (cached->exif->contentMd5.isEmpty())
        return false;
    record.fileMd5 = cached->exif->contentMd5;
    record.exifInfo = cached->exif;
    record.isExifInfoUpdated = true;
    record.isHashUpdateReq = false;
    record.exifInfo->exifInfoId.reset();
    return true;
}

bool ScanCache::isUnchanged(const ImageFileInfo &record, const ExifInfo &cached)
{
    // A cloud record has no change time; a local row without one (an older cache) is stale.
    return record.fileSize == cached.fileSize && record.modDate.isValid()
        && CacheFormat::secondsSince1970(record.modDate) == cached.moDateTime
        && (!record.changeDate.isValid()
            || CacheFormat::secondsSince1970(record.changeDate) == cached.changeTime);
}
