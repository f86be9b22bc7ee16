// The grid-mean fingerprint: sizes, bit order and packing, grid cells, stored form and the
// early-stopping distance.
#include <random>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include <QImage>

#include "model/CacheFormat.h"
#include "model/FingerprintTurns.h"
#include "model/FingerprintVariants.h"
#include "model/FingerprintWords.h"
#include "model/GridHash.h"
#include "model/ImageFileInfo.h"
#include "support/NoisePicture.h"

namespace
{

QImage uniformGrey(int n, uchar value)
{
    QImage image(n, n, QImage::Format_Grayscale8);
    image.fill(value);
    return image;
}

std::shared_ptr<ImageFileInfo> recordWithSide(int n)
{
    auto r = std::make_shared<ImageFileInfo>();
    r->resizeValue = n;
    return r;
}

TEST(Fingerprint, SizesForN80)
{
    EXPECT_EQ(FingerprintVariants::bytesPerVariant(80), 800u);
    EXPECT_EQ(FingerprintVariants::wordsPerVariant(80), 100u);
    const auto r = recordWithSide(80);
    QList<QImage> images;
    for (int i = 0; i < 8; ++i)
        images.append(uniformGrey(80, static_cast<uchar>(i * 20)));
    r->updateImageHashForRotateImages(images, 4, 4);
    ASSERT_EQ(r->arrHashOfRotateFlipImages.count(), 8);
    EXPECT_EQ(r->arrHashOfRotateFlipImages.storedForm().size(), 6400);
    EXPECT_EQ(r->arrHashOfRotateFlipImages.variant(7).size(), 800u);
    EXPECT_EQ(r->arrHashOfRotateFlipImages.words(7).size(), 100u);
}

// A 16 x 16 image in a 4 x 4 grid: cell j holds one bright pixel, the j-th of the cell in its
// row-by-row order, on a dark ground. So bit 17j is set for j = 0..15 and nothing else.
TEST(Fingerprint, BitOrderAndPackingOfHandComputedExample)
{
    QImage image(16, 16, QImage::Format_Grayscale8);
    image.fill(10);
    for (int j = 0; j < 16; ++j) {
        const int cellRow = j / 4, cellColumn = j % 4;
        image.scanLine(cellRow * 4 + j / 4)[cellColumn * 4 + j % 4] = 200;
    }
    const auto r = recordWithSide(16);
    r->updateImageHashForRotateImages({ image }, 4, 4);
    ASSERT_EQ(r->arrHashOfRotateFlipImages.count(), 1);
    const std::vector<uint8_t> expected = { 0x80, 0, 0x40, 0, 0x20, 0, 0x10, 0, 0x08, 0, 0x04, 0, 0x02, 0,
        0x01, 0, 0, 0x80, 0, 0x40, 0, 0x20, 0, 0x10, 0, 0x08, 0, 0x04, 0, 0x02, 0, 0x01 };
    const auto packed = r->arrHashOfRotateFlipImages.variant(0);
    EXPECT_EQ(std::vector<uint8_t>(packed.begin(), packed.end()), expected);
    const auto words = r->arrHashOfRotateFlipImages.words(0);
    ASSERT_EQ(words.size(), 4u);
    EXPECT_EQ(words[0], 0x8000400020001000ull);
    EXPECT_EQ(words[3], 0x0008000400020001ull);
    EXPECT_EQ(r->convertByteArrayToLongArrayForRotateImages(packed)[1], 0x0800040002000100ull);
}

TEST(Fingerprint, PixelValueIsMeanOfRedGreenBlueRoundedDown)
{
    QImage image(2, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, qRgb(255, 0, 1));
    image.setPixel(1, 0, qRgb(10, 11, 13));
    EXPECT_EQ(GridHash::pixelValues(image), (std::vector<uint8_t> { 85, 11 }));
}

// Layout 3 with N = 80: 3 rows of 26 pixels and 4 columns of 20, so rows 78 and 79 are in no cell.
TEST(Fingerprint, Layout3CellsAndUnusedRows)
{
    QImage image = uniformGrey(80, 50);
    image.scanLine(25)[0] = 200; // last row of cell 0: bit 25 * 20
    image.scanLine(0)[20] = 200; // first pixel of cell 1: bit 520
    image.scanLine(26)[79] = 200; // first row of cell 7, last column: bit 7 * 520 + 19
    const auto r = recordWithSide(80);
    r->updateImageHash(image, 3, 4);
    ASSERT_EQ(r->hash.size(), 800);
    const std::vector<uint8_t> bits = GridHash::gridBits(image, 3, 4, 80);
    std::vector<int> set;
    for (int k = 0; k < 6400; ++k)
        if (bits[k])
            set.push_back(k);
    EXPECT_EQ(set, (std::vector<int> { 500, 520, 7 * 520 + 19 }));

    QImage noisyTail = image;
    for (int y = 78; y < 80; ++y)
        for (int x = 0; x < 80; ++x)
            noisyTail.scanLine(y)[x] = static_cast<uchar>(x * 3);
    const auto other = recordWithSide(80);
    other->updateImageHash(noisyTail, 3, 4);
    EXPECT_EQ(other->hash, r->hash);
}

TEST(Fingerprint, UniformImageGivesAllZeroVariants)
{
    const auto r = recordWithSide(64);
    QList<QImage> images(8, uniformGrey(64, 137));
    r->updateImageHashForRotateImages(images, 4, 4);
    ASSERT_EQ(r->arrHashOfRotateFlipImages.count(), 8);
    const QByteArray stored = r->arrHashOfRotateFlipImages.storedForm();
    EXPECT_EQ(stored, QByteArray(8 * 512, '\0'));
}

TEST(Fingerprint, CellSmallerThanOnePixelGivesNoVariants)
{
    const auto r = recordWithSide(64);
    r->updateImageHashForRotateImages({ uniformGrey(64, 1), QImage(3, 3, QImage::Format_Grayscale8) }, 4, 4);
    EXPECT_TRUE(r->arrHashOfRotateFlipImages.isEmpty());
}

struct StoredCase {
    int blockBytes;
    int variants;
};
class StoredFormTest : public ::testing::TestWithParam<StoredCase>
{
};

TEST_P(StoredFormTest, SplitsIntoWholeVariants)
{
    QByteArray block(GetParam().blockBytes, '\0');
    for (int i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(i * 31 + i / 800);
    const auto r = recordWithSide(80);
    r->addHashInarrHashOfRotateFlipImages(block);
    ASSERT_EQ(r->arrHashOfRotateFlipImages.count(), GetParam().variants);
    EXPECT_EQ(r->arrHashOfRotateFlipImages.storedForm(), block.left(GetParam().variants * 800));
    for (int i = 0; i < GetParam().variants; ++i) {
        const auto words = r->arrHashOfRotateFlipImages.words(i);
        EXPECT_EQ(std::vector<uint64_t>(words.begin(), words.end()),
            FingerprintWords::wordView(r->arrHashOfRotateFlipImages.variant(i)));
    }
}
INSTANTIATE_TEST_SUITE_P(Blocks, StoredFormTest,
    ::testing::Values(StoredCase { 6400, 8 }, StoredCase { 6401, 8 }, StoredCase { 799, 0 },
        StoredCase { 800, 1 }, StoredCase { 0, 0 }));

// Only the word view is kept: a side whose bitmap is not a whole number of words (50 x 50 bits:
// 39 words and one byte) must still give back every stored byte, variant by variant.
TEST(Fingerprint, StoredFormKeepsTheBytesPastTheLastWholeWord)
{
    QByteArray block(3 * 313 + 5, '\0');
    for (int i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(i * 37 + 11);
    const auto r = recordWithSide(50);
    r->addHashInarrHashOfRotateFlipImages(block);
    ASSERT_EQ(r->arrHashOfRotateFlipImages.count(), 3);
    EXPECT_EQ(r->arrHashOfRotateFlipImages.storedForm(), block.left(3 * 313));
    const auto second = r->arrHashOfRotateFlipImages.variant(1);
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(second.data()), qsizetype(second.size())),
        block.mid(313, 313));
    EXPECT_EQ(r->arrHashOfRotateFlipImages.words(2).size(), 39u);
}

TEST(Fingerprint, VariantsOfAnotherLengthAreRefused)
{
    FingerprintVariants variants;
    EXPECT_TRUE(variants.append(std::vector<uint8_t>(512, 1)));
    EXPECT_FALSE(variants.append(std::vector<uint8_t>(800, 1)));
    EXPECT_EQ(variants.count(), 1);
}

std::vector<uint64_t> fingerprintWords(const QImage &picture, int n)
{
    return FingerprintWords::wordView(GridHash::pack(GridHash::gridBits(picture, 4, 4, n), n));
}

// Turns rebuilt from the first variant are bit for bit the fingerprints of the turned and mirrored
// pictures at every side a scan offers (noise, so a misplaced bit shows); sides whose cells or
// words are not whole have no turns.
TEST(Fingerprint, TurnsRebuiltFromTheFirstVariantAreThoseOfTheTurnedPictures)
{
    std::mt19937 random(3);
    for (int n = 48; n <= 96; n += 8) {
        const FingerprintTurns *turns = FingerprintTurns::forSide(n);
        ASSERT_NE(turns, nullptr) << n;
        QImage picture(n, n, QImage::Format_Grayscale8);
        for (int y = 0; y < n; ++y)
            for (int x = 0; x < n; ++x)
                picture.scanLine(y)[x] = uchar(random());
        const QList<QImage> pictures = FingerprintTurns::variantPictures(picture);
        const std::vector<uint64_t> first = fingerprintWords(pictures[0], n);
        for (int v = 1; v < FingerprintTurns::kVariants; ++v) {
            std::vector<uint64_t> rebuilt;
            turns->appendVariant(first, v, rebuilt);
            EXPECT_EQ(rebuilt, fingerprintWords(pictures[v], n)) << n << " " << v;
        }
    }
    for (const int n : { 0, 36, 50, 60 })
        EXPECT_EQ(FingerprintTurns::forSide(n), nullptr) << n;
}

// A cached fingerprint read without its turns still counts as whole, but never stores a block the
// cache would take; one whose turns are rebuilt stores all eight. Nothing is appended after them.
TEST(Fingerprint, VariantsLeftOutCountButOnlyRebuiltOnesAreStored)
{
    QByteArray block(8 * 512, '\0');
    for (int i = 0; i < block.size(); ++i)
        block[i] = static_cast<char>(i * 31 + 7);
    FingerprintVariants read;
    EXPECT_EQ(read.appendStoredForm(QByteArrayView(block), 64, 1), 8);
    EXPECT_EQ(read.count(), 1);
    EXPECT_EQ(read.fullCount(), 8);
    EXPECT_TRUE(CacheFormat::isValidFingerprint(read, 64));
    EXPECT_FALSE(CacheFormat::isValidFingerprint(read.storedForm(), 64));
    EXPECT_FALSE(read.append(std::vector<uint8_t>(512, 1)));

    FingerprintVariants rebuilt;
    rebuilt.appendStoredForm(QByteArrayView(block).first(512), 64);
    rebuilt.leaveOut(7, true);
    const QByteArray stored = rebuilt.storedForm();
    EXPECT_TRUE(CacheFormat::isValidFingerprint(stored, 64));
    EXPECT_EQ(stored.left(512), block.left(512));
}

// A fingerprint whose variants are its first one's turns holds the first alone until they are
// given back, bit for bit, and stores the same block meanwhile; any other keeps what it holds.
TEST(Fingerprint, TurnsLeftOutAreGivenBackBitForBit)
{
    const auto noise = [](int n) {
        return NoisePicture::make({ n, n }, 5).convertToFormat(QImage::Format_Grayscale8);
    };
    const std::tuple<int, QList<QImage>, bool> cases[]
        = { { 48, FingerprintTurns::variantPictures(noise(48)), true },
              { 96, FingerprintTurns::variantPictures(noise(96)), true },
              { 64, QList<QImage>(8, noise(64)), false }, { 64, { noise(64) }, false },
              { 60, FingerprintTurns::variantPictures(noise(60)), false } };
    for (const auto &[n, pictures, turns] : cases) {
        const auto r = recordWithSide(n);
        r->updateImageHashForRotateImages(pictures, 4, 4);
        const FingerprintVariants whole = r->arrHashOfRotateFlipImages;
        EXPECT_EQ(r->arrHashOfRotateFlipImages.leaveOutTurns(), turns) << n;
        EXPECT_EQ(r->arrHashOfRotateFlipImages.count(), turns ? 1 : whole.count()) << n;
        EXPECT_EQ(r->arrHashOfRotateFlipImages.storedForm(), whole.storedForm()) << n;
        r->arrHashOfRotateFlipImages.restoreTurns();
        EXPECT_EQ(r->arrHashOfRotateFlipImages, whole) << n;
    }
}

// The blocked distance loop must stop at exactly the word where a word-by-word loop stops.
TEST(Fingerprint, BoundedDistanceMatchesWordByWordReference)
{
    std::mt19937_64 random(7);
    for (int round = 0; round < 2000; ++round) {
        const size_t words = 1 + random() % 150;
        std::vector<uint64_t> a(words), b(words);
        for (size_t k = 0; k < words; ++k) {
            a[k] = random();
            b[k] = (random() % 3 == 0) ? a[k] : a[k] ^ (random() & random());
        }
        const int64_t allowed = static_cast<int64_t>(random() % (words * 40 + 1));
        int64_t expected = 0;
        for (size_t k = 0; k < words; ++k) {
            expected += FingerprintWords::numberOfSetBits(a[k] ^ b[k]);
            if (expected > allowed)
                break;
        }
        ASSERT_EQ(FingerprintWords::boundedDistance(a.data(), b.data(), words, allowed), expected);
    }
}

} // namespace
