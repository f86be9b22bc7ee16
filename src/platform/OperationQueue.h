// A queue of jobs run by a pool of at most `maxConcurrent` threads, with batches whose completion
// job runs after every job of the batch has finished. It can be waited on from any thread that is
// not one of its own workers, and drained in tests.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

class QThreadPool;

class OperationQueue
{
public:
    using Job = std::function<void()>;

    explicit OperationQueue(int maxConcurrent = 16);
    ~OperationQueue();
    OperationQueue(const OperationQueue &) = delete;
    OperationQueue &operator=(const OperationQueue &) = delete;

    void setMaxConcurrentOperationCount(int count);
    int maxConcurrentOperationCount() const;

    void addOperation(Job job);
    // Queues `jobs`; `completion` is queued once the last of them has finished. An empty batch
    // queues the completion at once. Cancelled batches never run their completion.
    void addBatch(std::vector<Job> jobs, Job completion);

    // Drops every job that has not started yet (running jobs finish).
    void cancelAllOperations();
    // Blocks until no job is queued or running, including jobs queued meanwhile by completions.
    void waitUntilAllOperationsAreFinished();
    // The same for `bound` at most; true when the queue went idle.
    bool waitUntilAllOperationsAreFinished(std::chrono::milliseconds bound);
    // Jobs queued or running.
    int operationCount() const;

private:
    void schedule();
    void finished();

    std::unique_ptr<QThreadPool> m_pool;
    mutable std::mutex m_mutex;
    std::condition_variable m_idle;
    std::deque<Job> m_pending;
    int m_running = 0;
    int m_max;
};
