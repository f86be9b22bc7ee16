// Large decodes share a part of the budget, and one larger than that part still runs alone; while
// fewer of them wait than may join one, they run one at a time.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <thread>
#include <vector>

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
