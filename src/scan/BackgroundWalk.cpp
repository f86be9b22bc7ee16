#include "scan/BackgroundWalk.h"

#include <condition_variable>
#include <mutex>

#include "platform/BoundedLook.h"
#include "platform/Log.h"
#include "platform/ThreadsApart.h"

namespace
{

struct Box {
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<SourceEnumerator::Walked> walked;
    // The last record made, not yet reported.
    std::optional<std::pair<QString, int>> added;
};

void walk(const std::shared_ptr<Box> &box, const std::shared_ptr<const ScanSession> &session,
    const std::vector<FilePathNode> &sources)
{
    SourceEnumerator enumerator(*session, sources, [&box](const QString &path, int records) {
        std::lock_guard<std::mutex> lock(box->mutex);
        box->added.emplace(path, records);
    });
    SourceEnumerator::Walked walked = enumerator.run();
    std::lock_guard<std::mutex> lock(box->mutex);
    box->walked = std::move(walked);
    box->changed.notify_all();
}

} // namespace

std::optional<SourceEnumerator::Walked> BackgroundWalk::run(const std::shared_ptr<const ScanSession> &session,
    const std::vector<FilePathNode> &sources,
    const std::function<void(const QString &path, int records)> &progress)
{
    auto box = std::make_shared<Box>();
    if (!ThreadsApart::start([box, session, sources]() { walk(box, session, sources); })) {
        Log::line(QStringLiteral("No thread for the walk: it runs on the scan's own"));
        walk(box, session, sources);
    }
    using Clock = std::chrono::steady_clock;
    std::optional<Clock::time_point> stoppedAt;
    std::unique_lock<std::mutex> lock(box->mutex);
    for (;;) {
        box->changed.wait_for(lock, BoundedLookTimes::kStopCheck, [&box] { return box->walked.has_value(); });
        if (std::optional<std::pair<QString, int>> added = std::exchange(box->added, std::nullopt)) {
            lock.unlock();
            progress(added->first, added->second);
            lock.lock();
        }
        if (box->walked)
            return std::move(box->walked);
        if (!session->stopped())
            continue;
        if (!stoppedAt)
            stoppedAt = Clock::now();
        else if (Clock::now() - *stoppedAt >= kStopGrace) {
            Log::line(
                QStringLiteral("The walk did not end at the stop (a folder not answering?); left behind"));
            return std::nullopt;
        }
    }
}
