#include "scan/ScanCache.h"

#include "model/CacheFile.h"
#include "model/CacheFormat.h"
#include "model/ExifInfo.h"
#include "model/ImageFileInfo.h"
#include "model/SqliteDBOperations.h"

namespace
{

QString existingCachePath(ScanSource scanType)
{
    const QString path
        = SqliteDBOperations::getDbPathInLibrary(SqliteDBOperations::cacheFileNameForScanType(scanType));
    return !path.isEmpty() && CacheFile::isPresent(path) ? path : QString();
}

} // namespace

void ScanCache::checkCacheFile(ScanSource scanType, const std::atomic<bool> *stop)
{
    const QString path = existingCachePath(scanType);
    if (!path.isEmpty())
        SqliteDBOperations::checkCacheForScan(path, stop);
}

void ScanCache::prepareCacheTempTable(
    ScanSource scanType, const RecordList &records, const std::atomic<bool> *stop)
{
    const QString path = existingCachePath(scanType);
    if (path.isEmpty())
        return;
    SqliteDBOperations::createTablesIfNotExists(path, stop);
    SqliteDBOperations::deleteRecordsFromTable(QStringLiteral("tempTable"), path, stop);
    SqliteDBOperations::insertDataInTempTable(QStringLiteral("tempTable"), path, records, stop);
}

void ScanCache::loadCachedFileInfo(ScanSource scanType, bool exact, ScanCacheIndex &index)
{
    const QString path = existingCachePath(scanType);
    if (path.isEmpty())
        return;
    index.dictExif.addEntries(SqliteDBOperations::fetchExifInfoFromDbPath(path, exact, index));
}

bool ScanCache::saveFileInfoToCache(ScanSource scanType, const RecordList &batch, ScanCacheIndex &index)
{
    // A batch of a warm scan is answered from the cache whole: no transaction for it.
    if (SqliteDBOperations::batchChangesNothing(batch, index))
        return true;
    const QString fileName = SqliteDBOperations::cacheFileNameForScanType(scanType);
    if (!SqliteDBOperations::copyDataBaseIfRequieredAtDestination(SqliteDBOperations::getCachePath(),
            SqliteDBOperations::templatePathForScanType(scanType), fileName))
        return false;
    const QString path = SqliteDBOperations::getDbPathInLibrary(fileName);
    if (!SqliteDBOperations::createTablesIfNotExists(path, index.stop))
        return false;
    return SqliteDBOperations::saveBatch(path, batch, index);
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
