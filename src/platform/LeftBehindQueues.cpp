#include "platform/LeftBehindQueues.h"

#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/OperationQueue.h"

namespace
{

using Queues = std::vector<std::unique_ptr<OperationQueue>>;

struct Kept {
    std::mutex mutex;
    std::vector<Queues> groups;

    void dropIdle()
    {
        std::erase_if(groups, [](const Queues &queues) {
            return std::all_of(
                queues.begin(), queues.end(), [](const auto &q) { return q->operationCount() == 0; });
        });
    }
};

// Never destroyed: at exit a queue's thread may still wait in the kernel, and destroying the queue
// would wait for it for good.
Kept &kept()
{
    static Kept *const all = new Kept;
    return *all;
}

} // namespace

void LeftBehindQueues::keep(Queues queues)
{
    for (const auto &queue : queues)
        queue->cancelAllOperations();
    Kept &k = kept();
    std::lock_guard<std::mutex> lock(k.mutex);
    k.dropIdle();
    k.groups.push_back(std::move(queues));
}

int LeftBehindQueues::count()
{
    Kept &k = kept();
    std::lock_guard<std::mutex> lock(k.mutex);
    k.dropIdle();
    return int(k.groups.size());
}
