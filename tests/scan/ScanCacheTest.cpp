// The loaded cache as the hashing stage sees it: a fingerprint leaves the index for its record, the
// path still counts as cached for the write-back, and what is left cannot pass for a fingerprint.
#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "model/CacheFormat.h"
#include "model/ExifInfo.h"
#include "model/FingerprintVariants.h"
#include "model/ImageFileInfo.h"
#include "model/ScanCacheIndex.h"
#include "scan/HashingStage.h"
#include "scan/ScanCache.h"

namespace
{

FingerprintVariants variantsOfSide(int n, int count, uint8_t seed)
{
    QByteArray block(qsizetype(FingerprintVariants::bytesPerVariant(n)) * count, Qt::Uninitialized);
    for (qsizetype i = 0; i < block.size(); ++i)
        block[i] = char(uint8_t(seed + i * 31));
    FingerprintVariants variants;
    variants.appendStoredForm(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t *>(block.constData()), size_t(block.size())), n);
    return variants;
}

TEST(ScanCacheTest, AFingerprintIsTakenOnceAndThePathStaysCached)
{
    ScanCacheIndex index;
    const QString photo = QStringLiteral("/p/a.jpg");
    const QString digestOnly = QStringLiteral("/p/b.jpg");
    const FingerprintVariants stored = variantsOfSide(64, 8, 7);
    index.dictFingerprint.setValue(photo, stored);
    index.dictHash.setValue(digestOnly, QByteArray(32, 'a'));
    for (const QString &path : { photo, digestOnly })
        index.dictExif.setValue(path, std::make_shared<ExifInfo>());

    const auto first = ScanCache::takeCachedFingerprint(photo, index);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->variants, stored);
    EXPECT_TRUE(CacheFormat::isValidFingerprint(first->variants, 64));
    EXPECT_TRUE(index.isCached(photo));
    EXPECT_TRUE(ScanCache::cachedEntry(photo, index).has_value());

    // A second record of the same file finds the row but no fingerprint: it is hashed afresh.
    const auto second = ScanCache::takeCachedFingerprint(photo, index);
    ASSERT_TRUE(second.has_value());
    EXPECT_FALSE(CacheFormat::isValidFingerprint(second->variants, 64));

    const auto digest = ScanCache::takeCachedFingerprint(digestOnly, index);
    ASSERT_TRUE(digest.has_value());
    EXPECT_TRUE(digest->variants.isEmpty());
    EXPECT_EQ(ScanCache::cachedEntry(digestOnly, index)->hash, QByteArray(32, 'a'));

    EXPECT_FALSE(ScanCache::takeCachedFingerprint(QStringLiteral("/p/unknown.jpg"), index).has_value());
    index.dictExif.remove(photo);
    EXPECT_FALSE(ScanCache::takeCachedFingerprint(photo, index).has_value());
}

// A record answered without a job gets what the job would give it; any doubt leaves the record and
// the index to the job.
TEST(ScanCacheTest, OnlyAnUnchangedFileWithAFingerprintOfItsSideIsAnsweredWithoutReading)
{
    const QString path = QStringLiteral("/p/a.jpg");
    const auto exif = std::make_shared<ExifInfo>();
    // File size, modification time, side of the cached fingerprint; the row says 0, 0, 64.
    const std::tuple<quint64, double, int> cases[]
        = { { 0, 0, 64 }, { 1, 0, 64 }, { 0, 1, 64 }, { 0, 0, 56 } };
    for (const auto &[size, modSeconds, side] : cases) {
        ScanCacheIndex index;
        const FingerprintVariants stored = variantsOfSide(side, 8, 3);
        index.dictFingerprint.setValue(path, stored);
        index.dictExif.setValue(path, exif);
        ImageFileInfo record;
        record.filePath = path;
        record.fileSize = size;
        record.modDate = CacheFormat::dateFromSecondsSince1970(modSeconds);
        record.resizeValue = 64;
        const bool answered = HashingStage::answerWithoutReading(record, index);
        EXPECT_EQ(answered, size == 0 && modSeconds == 0 && side == 64);
        EXPECT_EQ(record.arrHashOfRotateFlipImages, answered ? stored : FingerprintVariants());
        EXPECT_EQ(record.exifInfo, answered ? exif : nullptr);
        EXPECT_TRUE(record.isExifInfoUpdated == answered && !record.isHashUpdateReq);
        EXPECT_EQ(index.dictFingerprint.value(path), answered ? FingerprintVariants() : stored);
    }
}

TEST(ScanCacheTest, OnlyEightVariantsOfTheScansSideAreAFingerprint)
{
    EXPECT_TRUE(CacheFormat::isValidFingerprint(variantsOfSide(56, 8, 1), 56));
    EXPECT_FALSE(CacheFormat::isValidFingerprint(variantsOfSide(56, 8, 1), 64));
    EXPECT_FALSE(CacheFormat::isValidFingerprint(variantsOfSide(64, 7, 1), 64));
    EXPECT_FALSE(CacheFormat::isValidFingerprint(variantsOfSide(40, 8, 1), 40));
    EXPECT_FALSE(CacheFormat::isValidFingerprint(FingerprintVariants(), 64));
}

} // namespace
