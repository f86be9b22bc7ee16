#include "platform/ThreadsApart.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <system_error>
#include <thread>

#include "platform/LeftBehindQueues.h"
#include "platform/Log.h"
#include "platform/OwnFolderWrites.h"

namespace
{

// Trivially destroyed: a thread may count itself out while the process ends.
std::atomic<int> g_running { 0 };

} // namespace

bool ThreadsApart::start(std::function<void()> body)
{
    // Counted before the thread exists, so that an end in between sees it.
    g_running.fetch_add(1);
    try {
        std::thread([body = std::move(body)]() mutable {
            body();
            // What the look owned goes while it is still counted.
            body = nullptr;
            g_running.fetch_sub(1);
        }).detach();
        return true;
    } catch (const std::system_error &) {
        g_running.fetch_sub(1);
        return false;
    }
}

int ThreadsApart::running()
{
    return g_running.load() + LeftBehindQueues::count() + OwnFolderWrites::busy();
}

void ThreadsApart::endProcessIfAnyRuns(int code)
{
    const int left = running();
    if (left == 0)
        return;
    Log::line(Log::counted(left, "thread", "threads")
        + QStringLiteral(
            " left behind still running (a look at a share not answering?): the program ends at once"));
    std::fflush(nullptr);
    ::_exit(code);
}
