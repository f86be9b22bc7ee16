// Large decodes share a part of the budget, and one larger than that part still runs alone; while
// fewer of them wait than may join one, they run one at a time. The memory a large decode freed
// goes back to the system when it ends.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <thread>
#include <vector>

#include <unistd.h>

#include "platform/DecodeBudget.h"

TEST(DecodeBudgetTest, LargeDecodesHoldTheirShareAtMostYetOneAlwaysRuns)
{
    constexpr std::int64_t kMiB = 1024 * 1024;
    DecodeBudget budget(512 * kMiB, 5);
    const std::int64_t share = DecodeBudget::kLargeDecodesShare;
    const std::array<std::int64_t, 3> cases[] = { { 8, 2 * kMiB, 16 * kMiB }, { 8, 48 * kMiB, share },
        { 8, 100 * kMiB, share }, { 4, 48 * kMiB, 48 * kMiB } };
    for (const auto &[threadCount, bytes, most] : cases) {
        std::atomic<std::int64_t> held { 0 }, mostHeld { 0 };
        std::vector<std::jthread> threads;
        for (int t = 0; t < threadCount; ++t)
            threads.emplace_back([&] {
                for (int i = 0; i < 50; ++i) {
                    const DecodeBudget::Reservation reserved = budget.reserve(bytes, QStringLiteral("p"));
                    mostHeld = std::max(mostHeld.load(), held += bytes);
                    std::this_thread::yield();
                    held -= bytes;
                }
            });
        threads.clear();
        EXPECT_LE(mostHeld.load(), most) << bytes;
    }
    EXPECT_TRUE(budget.reserve(400 * kMiB, QStringLiteral("alone")).isValid());
}

namespace
{

std::int64_t residentBytes()
{
    std::ifstream statm("/proc/self/statm");
    std::int64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// Memory written through a pointer the compiler cannot see through: neither the block nor its
// writes are left out.
void *touched(std::size_t bytes)
{
    void *block = std::malloc(bytes);
    std::memset(block, 1, bytes);
    asm volatile("" : : "r"(block) : "memory");
    return block;
}

} // namespace

// Decoders free their planes into the allocator, which keeps them for the thread that made them;
// once a large decode ends they go back to the system, while a small one leaves them to be reused.
TEST(DecodeBudgetTest, MemoryFreedByTheDecodersGoesBackWhenALargeDecodeEnds)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer's allocator stands in for the C library's heap here";
#endif
    constexpr std::size_t kMiB = 1024 * 1024;
    constexpr int kBlocks = 16;
    constexpr std::size_t kPlane = 2 * kMiB;
    // Blocks of this size come from the allocator's heaps once one of them was freed, whatever the
    // allocator's settings.
    std::free(touched(24 * kMiB));
    DecodeBudget budget(512 * kMiB, 2);
    for (const bool largeDecode : { false, true }) {
        std::vector<void *> planes;
        for (int i = 0; i < kBlocks; ++i)
            planes.push_back(touched(kPlane));
        // Every other plane is freed: those still held keep the freed ones from being the top of
        // the heap, which the allocator gives back by itself.
        for (int i = 0; i < kBlocks; i += 2)
            std::free(planes[size_t(i)]);
        const std::int64_t before = residentBytes();
        {
            const std::int64_t bytes = largeDecode ? DecodeBudget::kLargeDecodeBytes : std::int64_t(kMiB);
            const DecodeBudget::Reservation reserved = budget.reserve(bytes, QStringLiteral("p"));
            ASSERT_TRUE(reserved.isValid());
        }
        const std::int64_t returned = before - residentBytes();
        const std::int64_t half = std::int64_t(kBlocks / 2 * kPlane / 2);
        if (largeDecode)
            EXPECT_GE(returned, half);
        else
            EXPECT_LT(returned, half);
        for (int i = 1; i < kBlocks; i += 2)
            std::free(planes[size_t(i)]);
    }
}
