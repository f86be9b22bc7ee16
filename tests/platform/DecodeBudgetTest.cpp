// Large decodes share a part of the budget, and one larger than that part still runs alone.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
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

// A second large decode waits for its turn while the other threads keep decoding; once as many
// large ones wait as the budget lets join, one of them joins the first.
TEST(DecodeBudgetTest, ASecondLargeDecodeJoinsOnlyOnceEnoughOthersWait)
{
    constexpr std::int64_t kMiB = 1024 * 1024;
    DecodeBudget budget(512 * kMiB, 2);
    std::optional<DecodeBudget::Reservation> first;
    first.emplace(budget.reserve(48 * kMiB, QStringLiteral("large")));
    std::mutex mutex;
    std::condition_variable joined;
    int running = 1;
    const auto large = [&] {
        const DecodeBudget::Reservation reserved = budget.reserve(48 * kMiB, QStringLiteral("waiting"));
        {
            std::lock_guard<std::mutex> lock(mutex);
            ++running;
        }
        joined.notify_all();
    };
    std::vector<std::jthread> threads;
    threads.emplace_back(large);
    std::unique_lock<std::mutex> lock(mutex);
    EXPECT_FALSE(joined.wait_for(lock, std::chrono::milliseconds(200), [&] { return running > 1; }));
    lock.unlock();
    threads.emplace_back(large);
    lock.lock();
    EXPECT_TRUE(joined.wait_for(lock, std::chrono::seconds(30), [&] { return running > 1; }));
    // The one still waiting runs once the first is done.
    lock.unlock();
    first.reset();
}
