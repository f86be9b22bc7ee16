// Runs the items of a loop on several threads (the calling one among them), each thread taking
// the next item not yet taken; once `stopped` turns true the items left are skipped.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

template <typename Stopped, typename Work>
void runOnThreads(std::int64_t count, int threads, const Stopped &stopped, const Work &work)
{
    std::atomic<std::int64_t> next { 0 };
    const auto run = [&] {
        for (std::int64_t i = next++; i < count && !stopped(); i = next++)
            work(i);
    };
    std::vector<std::jthread> helpers;
    for (std::int64_t t = 1; t < std::min<std::int64_t>(threads, count); ++t)
        helpers.emplace_back(run);
    run();
}
