// Large decodes share a part of the budget, and one larger than that part still runs alone.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/DecodeBudget.h"

TEST(DecodeBudgetTest, LargeDecodesHoldTheirShareAtMostYetOneAlwaysRuns)
{
    constexpr std::int64_t kMiB = 1024 * 1024;
    DecodeBudget budget(512 * kMiB);
    for (const std::int64_t bytes : { 2 * kMiB, 48 * kMiB, 100 * kMiB }) {
        std::atomic<std::int64_t> held { 0 }, mostHeld { 0 };
        std::vector<std::jthread> threads;
        for (int t = 0; t < 8; ++t)
            threads.emplace_back([&] {
                for (int i = 0; i < 50; ++i) {
                    const DecodeBudget::Reservation reserved = budget.reserve(bytes, QStringLiteral("p"));
                    mostHeld = std::max(mostHeld.load(), held += bytes);
                    std::this_thread::yield();
                    held -= bytes;
                }
            });
        threads.clear();
        EXPECT_LE(mostHeld.load(), std::max(DecodeBudget::kLargeDecodesShare, 8 * 2 * kMiB)) << bytes;
    }
    EXPECT_TRUE(budget.reserve(400 * kMiB, QStringLiteral("alone")).isValid());
}
