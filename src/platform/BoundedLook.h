// A look at the file system that may never come back: a network share whose server has gone silent
// holds whoever stats or opens anything on it in the kernel, where no stop reaches. The look runs on
// a thread of its own and its caller waits a bounded time; a look that has not answered by then is
// left behind. It owns what it reads and writes its answer into a box it shares with its caller, so
// it never touches the caller's state, however late it wakes.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/ThreadsApart.h"

namespace BoundedLookTimes
{
// How long a mount may take to answer before the scan goes on without it: a live share answers
// in well under a second, even a slow one waking its disks.
inline constexpr std::chrono::seconds kNotAnsweringAfter { 4 };
// How often a waiter looks at its stop flag.
inline constexpr std::chrono::milliseconds kStopCheck { 25 };

// The bound in force: kNotAnsweringAfter, unless a test has set a shorter one.
inline std::atomic<std::chrono::milliseconds::rep> &boundMs()
{
    static std::atomic<std::chrono::milliseconds::rep> ms {
        std::chrono::duration_cast<std::chrono::milliseconds>(kNotAnsweringAfter).count()
    };
    return ms;
}
inline std::chrono::milliseconds notAnsweringAfter()
{
    return std::chrono::milliseconds(boundMs().load());
}
inline void setNotAnsweringAfter(std::chrono::milliseconds bound)
{
    boundMs().store(bound.count());
}
} // namespace BoundedLookTimes

template <typename Answer> class BoundedLook
{
public:
    // Starts `look` at once; it must own everything it uses (copies, shared pointers).
    explicit BoundedLook(std::function<Answer()> look)
        : m_box(std::make_shared<Box>())
    {
        // Without a thread to spare the look is not made, and counts as not answering.
        ThreadsApart::start([box = m_box, look = std::move(look)]() {
            Answer answer = look();
            std::lock_guard<std::mutex> lock(box->mutex);
            box->answer = std::move(answer);
            box->answered.notify_all();
        });
    }

    // The answer, waiting for it until `deadline` at most, or until `stop` is set; nothing when it
    // has not come by then.
    std::optional<Answer> wait(
        std::chrono::steady_clock::time_point deadline, const std::atomic<bool> *stop) const
    {
        std::unique_lock<std::mutex> lock(m_box->mutex);
        while (!m_box->answer && std::chrono::steady_clock::now() < deadline && !(stop && stop->load())) {
            const auto next
                = std::min(deadline, std::chrono::steady_clock::now() + BoundedLookTimes::kStopCheck);
            m_box->answered.wait_until(lock, next);
        }
        return m_box->answer;
    }

    // The answer within the usual bound.
    std::optional<Answer> wait(const std::atomic<bool> *stop) const
    {
        return wait(std::chrono::steady_clock::now() + BoundedLookTimes::notAnsweringAfter(), stop);
    }

    // True once the look has answered, however late; never waits.
    bool hasAnswered() const
    {
        std::lock_guard<std::mutex> lock(m_box->mutex);
        return m_box->answer.has_value();
    }

private:
    struct Box {
        std::mutex mutex;
        std::condition_variable answered;
        std::optional<Answer> answer;
    };
    std::shared_ptr<Box> m_box;
};
