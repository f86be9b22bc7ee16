// Hashing threads decode into memory they keep from one picture to the next: what a picture leaves
// there must never show in the next one, nor may a picture lose its pixels when it outlives the
// thread that made it or is let go on another.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <barrier>
#include <cstring>
#include <thread>
#include <tuple>
#include <vector>

#include <QTemporaryDir>

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include "model/ImageProcessing.h"
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

// Threads that each hold two pictures keep no more than the bound together, and give it all back.
// Threads of tests before (this one among them) may keep blocks of their own meanwhile.
TEST(PictureBuffersTest, AllThreadsTogetherKeepNoMoreThanTheBoundAndGiveItBack)
{
    const std::size_t keptBefore = PictureBuffers::keptBytes();
    for (const auto &[threadCount, size] :
        { std::pair(8, QSize(2000, 1500)), std::pair(4, QSize(1600, 1200)) }) {
        std::atomic<std::size_t> mostKept { 0 };
        std::barrier allHolding(threadCount);
        std::vector<std::jthread> threads;
        for (int t = 0; t < threadCount; ++t)
            threads.emplace_back([&] {
                const QImage held[] = { PictureBuffers::image(size, QImage::Format_RGB32),
                    PictureBuffers::image(size, QImage::Format_RGB32) };
                allHolding.arrive_and_wait();
                mostKept = std::max(mostKept.load(), PictureBuffers::keptBytes());
            });
        threads.clear();
        EXPECT_LE(mostKept.load(), PictureBuffers::kKeptBytes) << threadCount;
        EXPECT_LE(PictureBuffers::keptBytes(), keptBefore) << threadCount;
    }
}

// Released while its thread lives on: a free block's pages go and it is lent again as before; a
// lent block keeps its contents.
TEST(PictureBuffersTest, ReleasedPagesOfFreeBlocksGoWhileLentBlocksKeepTheirs)
{
    constexpr std::size_t kBytes = std::size_t(1) << 20;
    const auto resident = [](const void *data) {
        std::vector<unsigned char> pages(kBytes / std::size_t(sysconf(_SC_PAGESIZE)));
        mincore(const_cast<void *>(data), kBytes, pages.data());
        return std::count_if(pages.begin(), pages.end(), [](unsigned char p) { return p & 1; });
    };
    std::barrier step(2);
    void *freed = nullptr, *lentAgain = nullptr;
    const unsigned char *lent = nullptr;
    std::jthread owner([&] {
        PictureBuffers::Lease held = PictureBuffers::lease(kBytes);
        lent = static_cast<const unsigned char *>(std::memset(held.data(), 0xa5, kBytes));
        freed = std::memset(PictureBuffers::lease(kBytes).data(), 0x5a, kBytes);
        step.arrive_and_wait(); // released meanwhile
        step.arrive_and_wait();
        lentAgain = PictureBuffers::lease(kBytes).data();
    });
    step.arrive_and_wait();
    EXPECT_EQ(std::size_t(resident(freed)) * std::size_t(sysconf(_SC_PAGESIZE)), kBytes);
    PictureBuffers::releaseFreePages();
    EXPECT_EQ(resident(freed), 0);
    EXPECT_EQ(std::count(lent, lent + kBytes, 0xa5), std::ptrdiff_t(kBytes));
    step.arrive_and_wait();
    owner.join();
    EXPECT_EQ(lentAgain, freed);
}

// A large block a decoder frees (libheif's planes, a full-size PNG) goes back to the system, not
// to the thread's heap for its next decodes.
TEST(PictureBuffersTest, LargeBlocksAPictureFreesAreNotKeptByTheHeap)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer's allocator stands in for the C library's heap here";
#endif
    std::jthread([] {
        // Volatile, so that the compiler keeps both allocations.
        void *volatile freed = std::malloc(std::size_t(24) * 1024 * 1024);
        std::free(freed);
        const std::size_t before = mallinfo2().arena;
        void *volatile plane = std::malloc(std::size_t(4) * 1024 * 1024);
        std::free(plane);
        EXPECT_LE(mallinfo2().arena, before + 1024 * 1024);
    });
}

} // namespace
