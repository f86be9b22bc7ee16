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

// While as many decodes as the busy count run, a second large one waits for its turn; once fewer
// run (the other threads wait too), it joins the first.
TEST(DecodeBudgetTest, ASecondLargeDecodeWaitsWhileOthersKeepTheCoresBusy)
{
    constexpr std::int64_t kMiB = 1024 * 1024;
    DecodeBudget budget(512 * kMiB, 2);
    const DecodeBudget::Reservation first = budget.reserve(48 * kMiB, QStringLiteral("large"));
    std::optional<DecodeBudget::Reservation> small;
    small.emplace(budget.reserve(kMiB, QStringLiteral("small")));
    std::mutex mutex;
    std::condition_variable joined;
    bool second = false;
    std::jthread thread([&] {
        const DecodeBudget::Reservation reserved = budget.reserve(48 * kMiB, QStringLiteral("second"));
        {
            std::lock_guard<std::mutex> lock(mutex);
            second = true;
        }
        joined.notify_all();
    });
    std::unique_lock<std::mutex> lock(mutex);
    EXPECT_FALSE(joined.wait_for(lock, std::chrono::milliseconds(200), [&] { return second; }));
    lock.unlock();
    small.reset();
    lock.lock();
    EXPECT_TRUE(joined.wait_for(lock, std::chrono::seconds(30), [&] { return second; }));
}
