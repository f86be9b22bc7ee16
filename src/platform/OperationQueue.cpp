#include "platform/OperationQueue.h"

#include <QThreadPool>

OperationQueue::OperationQueue(int maxConcurrent)
    : m_pool(std::make_unique<QThreadPool>())
    , m_max(maxConcurrent < 1 ? 1 : maxConcurrent)
{
    m_pool->setMaxThreadCount(m_max);
    m_pool->setExpiryTimeout(30000);
}

OperationQueue::~OperationQueue()
{
    cancelAllOperations();
    waitUntilAllOperationsAreFinished();
    m_pool->waitForDone();
}

void OperationQueue::setMaxConcurrentOperationCount(int count)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_max = count < 1 ? 1 : count;
    m_pool->setMaxThreadCount(m_max);
}

int OperationQueue::maxConcurrentOperationCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_max;
}

void OperationQueue::addOperation(Job job)
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pending.push_back(std::move(job));
    }
    schedule();
}

void OperationQueue::addBatch(std::vector<Job> jobs, Job completion)
{
    if (jobs.empty()) {
        addOperation(std::move(completion));
        return;
    }
    auto remaining = std::make_shared<std::atomic<size_t>>(jobs.size());
    auto done = std::make_shared<Job>(std::move(completion));
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (Job &job : jobs) {
            // The completion is queued while the last job still counts as running, so a waiter
            // never sees the queue idle between a batch and its completion.
            m_pending.push_back([this, remaining, done, job = std::move(job)]() {
                job();
                if (remaining->fetch_sub(1) == 1)
                    addOperation(std::move(*done));
            });
        }
    }
    schedule();
}

void OperationQueue::cancelAllOperations()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pending.clear();
    if (m_running == 0)
        m_idle.notify_all();
}

void OperationQueue::waitUntilAllOperationsAreFinished()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_idle.wait(lock, [this]() { return m_pending.empty() && m_running == 0; });
}

bool OperationQueue::waitUntilAllOperationsAreFinished(std::chrono::milliseconds bound)
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_idle.wait_for(lock, bound, [this]() { return m_pending.empty() && m_running == 0; });
}

int OperationQueue::operationCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(m_pending.size()) + m_running;
}

void OperationQueue::schedule()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    while (m_running < m_max && !m_pending.empty()) {
        Job job = std::move(m_pending.front());
        m_pending.pop_front();
        ++m_running;
        m_pool->start([this, job = std::move(job)]() {
            job();
            finished();
        });
    }
}

void OperationQueue::finished()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        --m_running;
    }
    schedule();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_pending.empty() && m_running == 0)
        m_idle.notify_all();
}
