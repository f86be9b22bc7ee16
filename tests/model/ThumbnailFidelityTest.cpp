// Fingerprints of generated natural photos against those of their copies (half size, re-encoded,
// PNG, turned, mirrored): the copies stay within the strictest level's budget, unrelated photos
// stay far outside the default level's.
#include <bit>
#include <cstdio>
#include <map>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "model/ImageFileInfo.h"
#include "support/NaturalPhoto.h"

namespace
{

constexpr int kPhotos = 10;
constexpr int kWidth = 1600;
constexpr int kHeight = 1200;
// Bits a copy may differ by at the strictest level (0.99) and at the default one (0.92).
int budget(int n, float level)
{
    return int((1.0f - level) * float(n * n));
}

class ThumbnailFidelityTest : public ::testing::TestWithParam<int>
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        for (int seed = 0; seed < kPhotos; ++seed) {
            const QImage picture = NaturalPhoto::make(seed, kWidth, kHeight);
            const QString original = path(seed, "original", "jpg");
            ASSERT_TRUE(picture.save(original, "JPEG", NaturalPhoto::kCameraQuality));
            for (NaturalPhoto::Copy copy : NaturalPhoto::kCopies)
                ASSERT_TRUE(NaturalPhoto::writeCopy(
                    picture, copy, path(seed, NaturalPhoto::copyName(copy), NaturalPhoto::copySuffix(copy))));
        }
    }
    static void TearDownTestSuite() { s_dir.reset(); }

    static QString path(int seed, const char *name, const char *suffix)
    {
        return s_dir->filePath(
            QStringLiteral("%1-%2.%3").arg(seed).arg(QLatin1String(name), QLatin1String(suffix)));
    }

    static std::shared_ptr<ImageFileInfo> fingerprint(const QString &file, int n)
    {
        auto record = ImageFileInfo::initWithPathForFile(file, RecordSettings { n, 0, ScanSource::thisComputer, 4 });
        if (!record)
            return nullptr;
        record->computeFileHash();
        return record->arrHashOfRotateFlipImages.count() == 8 ? record : nullptr;
    }

    // As a scan with turns and mirrors compares: the copy upright against every variant.
    static int distance(const ImageFileInfo &copy, const ImageFileInfo &original)
    {
        const auto upright = copy.arrHashOfRotateFlipImages.variant(0);
        int best = INT_MAX;
        for (int v = 0; v < 8; ++v) {
            const auto other = original.arrHashOfRotateFlipImages.variant(v);
            int d = 0;
            for (size_t i = 0; i < upright.size(); ++i)
                d += std::popcount(unsigned(upright[i] ^ other[i]));
            best = std::min(best, d);
        }
        return best;
    }

    static inline std::unique_ptr<QTemporaryDir> s_dir;
};

TEST_P(ThumbnailFidelityTest, CopiesStayWithinTheStrictBudgetAndStrangersFarApart)
{
    const int n = GetParam();
    const int strict = budget(n, 0.99f);
    std::vector<std::shared_ptr<ImageFileInfo>> originals;
    for (int seed = 0; seed < kPhotos; ++seed) {
        originals.push_back(fingerprint(path(seed, "original", "jpg"), n));
        ASSERT_TRUE(originals.back()) << seed;
    }

    int found = 0;
    int total = 0;
    for (NaturalPhoto::Copy copy : NaturalPhoto::kCopies) {
        int foundOfKind = 0;
        std::vector<int> distances;
        for (int seed = 0; seed < kPhotos; ++seed) {
            const auto record
                = fingerprint(path(seed, NaturalPhoto::copyName(copy), NaturalPhoto::copySuffix(copy)), n);
            ASSERT_TRUE(record) << NaturalPhoto::copyName(copy) << " " << seed;
            distances.push_back(distance(*record, *originals[size_t(seed)]));
            foundOfKind += distances.back() <= strict ? 1 : 0;
        }
        std::sort(distances.begin(), distances.end());
        std::printf("N=%d %-10s within %d bits: %d of %d; median %d, worst %d\n", n,
            NaturalPhoto::copyName(copy), strict, foundOfKind, kPhotos, distances[distances.size() / 2],
            distances.back());
        // Every kind of copy is found for at least half the photos...
        EXPECT_GE(foundOfKind * 2, kPhotos) << NaturalPhoto::copyName(copy);
        found += foundOfKind;
        total += kPhotos;
    }
    // ...and at least four copies in five overall.
    EXPECT_GE(found * 5, total * 4);

    int closest = INT_MAX;
    for (int a = 0; a < kPhotos; ++a)
        for (int b = a + 1; b < kPhotos; ++b)
            closest = std::min(closest, distance(*originals[size_t(a)], *originals[size_t(b)]));
    std::printf("N=%d closest unrelated pair: %d bits\n", n, closest);
    EXPECT_GT(closest, 2 * budget(n, 0.92f));
}

// 64 is the default side, 80 the one exact mode uses.
INSTANTIATE_TEST_SUITE_P(Sides, ThumbnailFidelityTest, ::testing::Values(64, 80));

} // namespace
