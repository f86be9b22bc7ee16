// Hashing threads decode into memory they keep from one picture to the next: what a picture leaves
// there must never show in the next one, nor may a picture lose its pixels when it outlives the
// thread that made it or is let go on another.
#include <gtest/gtest.h>

#include <atomic>
#include <barrier>
#include <cstdlib>
#include <thread>
#include <tuple>
#include <vector>

#include <QTemporaryDir>

#include <malloc.h>

#include "model/ImageProcessing.h"
#include "platform/DecodeBudget.h"
#include "platform/PictureBuffers.h"
#include "support/NaturalPhoto.h"

namespace
{

// Sizes decoded at different scales, one the JPEG reader rescales by a pixel, one too small to be
// kept, a grey one (true) and a PNG the reader decodes in full.
const std::tuple<QSize, const char *, bool> kSamples[]
    = { { { 1024, 768 }, "jpg", false }, { { 333, 777 }, "jpg", false }, { { 4000, 300 }, "jpg", false },
          { { 90, 60 }, "jpg", false }, { { 800, 600 }, "jpg", true }, { { 700, 500 }, "png", false } };

QImage greyThumbnail(const QString &path)
{
    return ImageProcessing::convertOriginalImageToBWImageWithOriginalImage(
        ImageProcessing::resizeImageWithFilePath(path, 64));
}

TEST(PictureBuffersTest, ReusedBuffersOnSeveralThreadsGiveWhatFreshOnesGive)
{
    QTemporaryDir dir;
    QStringList files;
    for (const auto &[size, suffix, grey] : kSamples) {
        QImage picture = NaturalPhoto::make(int(files.size()), size.width(), size.height());
        if (grey)
            picture = picture.convertToFormat(QImage::Format_Grayscale8);
        files << dir.filePath(QStringLiteral("p%1.%2").arg(files.size()).arg(QLatin1String(suffix)));
        ASSERT_TRUE(picture.save(files.back()));
    }
    // Each expected picture comes from a thread of its own, whose buffers are all new.
    std::vector<QImage> expected(size_t(files.size()));
    for (qsizetype i = 0; i < files.size(); ++i)
        std::thread([&] { expected[size_t(i)] = greyThumbnail(files[i]); }).join();
    std::vector<std::thread> threads;
    std::vector<int> mismatches(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (qsizetype n = 0; n < 3 * files.size(); ++n) {
                const qsizetype i = (n + t) % files.size();
                mismatches[size_t(t)] += greyThumbnail(files[i]) != expected[size_t(i)];
            }
        });
    for (std::thread &thread : threads)
        thread.join();
    for (qsizetype i = 0; i < files.size(); ++i)
        EXPECT_FALSE(expected[size_t(i)].isNull()) << files[i].toStdString();
    EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

TEST(PictureBuffersTest, PicturesLetGoElsewhereComeBackAndOutliveTheirThread)
{
    QImage last;
    int keptAfterFirst = 0, keptAtEnd = 0;
    std::thread maker([&] {
        for (int i = 0; i < 50; ++i) {
            QImage picture = PictureBuffers::image(QSize(400, 300), QImage::Format_RGB32);
            picture.fill(qRgb(i, 255 - i, 7));
            // The picture before is let go on another thread: its block is this thread's again.
            std::thread([before = std::move(last)]() mutable { before = QImage(); }).join();
            last = picture;
            if (i == 0)
                keptAfterFirst = PictureBuffers::keptBlocks();
        }
        keptAtEnd = PictureBuffers::keptBlocks();
    });
    maker.join();
    EXPECT_EQ(keptAfterFirst, 1);
    EXPECT_EQ(keptAtEnd, 2);
    EXPECT_EQ(last.pixel(399, 299), qRgb(49, 206, 7));
    last.setPixel(0, 0, qRgb(1, 2, 3));
    EXPECT_EQ(last.pixel(0, 0), qRgb(1, 2, 3));
}

// Threads that each hold several pictures at once keep no more than the bound together, and what
// they kept is all given back once their pictures and the threads are gone.
TEST(PictureBuffersTest, AllThreadsTogetherKeepNoMoreThanTheBoundAndGiveItBack)
{
    struct Case {
        int threads;
        int held;
        QSize size;
    };
    const Case cases[] = { { 8, 2, { 2000, 1500 } }, { 4, 8, { 800, 600 } }, { 2, 1, { 6000, 4000 } } };
    for (const auto &[threadCount, held, size] : cases) {
        std::atomic<std::size_t> mostKept { 0 };
        std::atomic<int> spoilt { 0 };
        std::barrier allHolding(threadCount);
        std::vector<std::thread> threads;
        for (int t = 0; t < threadCount; ++t)
            threads.emplace_back([&, t] {
                for (int round = 0; round < 3; ++round) {
                    std::vector<QImage> pictures;
                    for (int i = 0; i < held; ++i) {
                        pictures.push_back(PictureBuffers::image(size, QImage::Format_RGB32));
                        pictures.back().fill(qRgb(t, i, round));
                        mostKept = std::max(mostKept.load(), PictureBuffers::keptBytes());
                    }
                    allHolding.arrive_and_wait();
                    for (int i = 0; i < held; ++i)
                        spoilt += pictures[std::size_t(i)].pixel(size.width() - 1, size.height() - 1)
                            != qRgb(t, i, round);
                    pictures.clear();
                    allHolding.arrive_and_wait();
                }
            });
        for (std::thread &thread : threads)
            thread.join();
        EXPECT_LE(mostKept.load(), PictureBuffers::kKeptBytes) << threadCount;
        EXPECT_EQ(PictureBuffers::keptBytes(), 0u) << threadCount;
        EXPECT_EQ(spoilt.load(), 0) << threadCount;
    }
}

// A block a decoder takes from the heap and frees (libheif's planes, a full-size PNG) is given back
// to the system, not kept by the thread's heap for its next decodes.
TEST(PictureBuffersTest, LargeBlocksAPictureFreesAreNotKeptByTheHeap)
{
    ASSERT_GT(DecodeBudget::shared().capacity(), 0);
    std::thread([] {
        // Through volatile pointers, so that the compiler keeps every allocation.
        void *volatile freed = std::malloc(std::size_t(24) * 1024 * 1024);
        std::free(freed);
        const auto mapped = [] { return mallinfo2().hblks; };
        const std::size_t before = mapped();
        void *volatile plane = std::malloc(std::size_t(4) * 1024 * 1024);
        EXPECT_EQ(mapped(), before + 1);
        std::free(plane);
        EXPECT_EQ(mapped(), before);
    }).join();
}

} // namespace
