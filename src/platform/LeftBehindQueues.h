// Queues whose jobs did not return when their work was given up: a job stuck in the kernel on a
// share whose server has gone silent cannot be stopped or joined. Such queues are kept here, never
// destroyed while a job of them runs, so a job that wakes late still finds the queues it queues
// on; queues kept together are let go together, once all of them have gone idle.
#pragma once

#include <memory>
#include <vector>

class OperationQueue;

class LeftBehindQueues
{
public:
    // Any thread. Keeps `queues`, whose jobs not yet begun are dropped, and lets go of those kept
    // before that have gone idle.
    static void keep(std::vector<std::unique_ptr<OperationQueue>> queues);
    // Groups of queues kept and still busy.
    static int count();
};
