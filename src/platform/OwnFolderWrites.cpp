#include "platform/OwnFolderWrites.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <system_error>
#include <thread>

#include <QHash>

#include "platform/AppFolders.h"
#include "platform/BoundedLook.h"
#include "platform/Log.h"
#include "platform/SilentOwnFolders.h"

namespace
{

// A queue's thread ends after this long without work, and is made again for the next write.
constexpr std::chrono::seconds kIdleEnd { 2 };

struct Queue;

// Trivially destroyed: a thread left behind may count itself out while the process ends.
std::atomic<int> g_busy { 0 };
// The queue whose thread runs here: a write that writes in its own folder again does it at once.
thread_local Queue *t_queue = nullptr;

} // namespace

struct OwnFolderWrites::Ticket {
    std::function<bool()> write;
    QString key;
    // Null for a write made on the caller's thread or never queued.
    Queue *queue = nullptr;
    bool ended = false;
    bool answer = false;
};

namespace
{

using Ticket = OwnFolderWrites::Ticket;
using Clock = std::chrono::steady_clock;

struct Queue {
    QString folder;
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::shared_ptr<Ticket>> waiting;
    bool hasThread = false;
    bool underWay = false;
    // When the write under way began, or last said it goes on (stillAnswering).
    std::atomic<Clock::rep> lastSign { 0 };
    // A write under way has run past the bound: nobody waits here until it ends.
    bool notAnswering = false;
};

// One queue per own folder, never freed: a thread left behind still holds its own.
Queue &queueFor(const QString &folder)
{
    static std::mutex &mutex = *new std::mutex;
    static auto &queues = *new QHash<QString, Queue *>;
    std::lock_guard<std::mutex> lock(mutex);
    Queue *&queue = queues[folder];
    if (!queue) {
        queue = new Queue;
        queue->folder = folder;
    }
    return *queue;
}

std::shared_ptr<Ticket> endedTicket(bool answer)
{
    auto ticket = std::make_shared<Ticket>();
    ticket->ended = true;
    ticket->answer = answer;
    return ticket;
}

// Holding the queue's lock: ends `ticket` with `answer` and lets go of what its write owned.
void end(Ticket &ticket, bool answer)
{
    ticket.ended = true;
    ticket.answer = answer;
    ticket.write = nullptr;
}

// Holding the queue's lock: the folder answers again, or has stopped answering. Said on standard
// error, since the log may be the folder; the log hears of it once the lock is let go.
QString setNotAnswering(Queue &queue, bool notAnswering)
{
    queue.notAnswering = notAnswering;
    SilentOwnFolders::setStoppedAnswering(queue.folder, notAnswering);
    const QString line = notAnswering
        ? QStringLiteral(
            "The program's folder %1 stopped answering: nothing is written there until it answers")
              .arg(queue.folder)
        : QStringLiteral("The program's folder %1 answers again").arg(queue.folder);
    systemLogLine(line);
    return line;
}

void work(Queue &queue)
{
    t_queue = &queue;
    std::unique_lock<std::mutex> lock(queue.mutex);
    for (;;) {
        if (!queue.changed.wait_for(lock, kIdleEnd, [&queue]() { return !queue.waiting.empty(); })) {
            queue.hasThread = false;
            return;
        }
        const std::shared_ptr<Ticket> ticket = std::move(queue.waiting.front());
        queue.waiting.pop_front();
        queue.underWay = true;
        queue.lastSign.store(Clock::now().time_since_epoch().count());
        g_busy.fetch_add(1);
        std::function<bool()> write = std::move(ticket->write);
        lock.unlock();
        const bool answer = write();
        write = nullptr;
        lock.lock();
        end(*ticket, answer);
        queue.underWay = false;
        g_busy.fetch_sub(1);
        QString said;
        if (queue.notAnswering)
            said = setNotAnswering(queue, false);
        queue.changed.notify_all();
        if (!said.isEmpty()) {
            lock.unlock();
            Log::line(said);
            lock.lock();
        }
    }
}

// Holding the queue's lock: a thread for the queue when it has none; false when none can be made.
bool ensureThread(Queue &queue)
{
    if (queue.hasThread)
        return true;
    try {
        std::thread([&queue]() { work(queue); }).detach();
    } catch (const std::system_error &) {
        return false;
    }
    queue.hasThread = true;
    return true;
}

// Holding the queue's lock, for a folder not answering: `ticket` takes the place of a waiting write
// with its key, whose waiter has been told it was not made.
void replaceKept(Queue &queue, const std::shared_ptr<Ticket> &ticket)
{
    for (std::shared_ptr<Ticket> &waiting : queue.waiting) {
        if (waiting->key == ticket->key) {
            end(*waiting, false);
            waiting = ticket;
            return;
        }
    }
    queue.waiting.push_back(ticket);
}

} // namespace

std::shared_ptr<Ticket> OwnFolderWrites::post(
    const QString &path, std::function<bool()> write, WhileSilent whileSilent, const QString &key)
{
    const QString folder = AppFolders::ownFolderHolding(path);
    if (folder.isEmpty() || (t_queue && t_queue->folder == folder))
        return endedTicket(write());
    Queue &queue = queueFor(folder);
    auto ticket = std::make_shared<Ticket>();
    ticket->write = std::move(write);
    ticket->key = key;
    ticket->queue = &queue;
    std::lock_guard<std::mutex> lock(queue.mutex);
    if (queue.notAnswering) {
        if (whileSilent == WhileSilent::Drop)
            return endedTicket(false);
        replaceKept(queue, ticket);
    } else {
        queue.waiting.push_back(ticket);
    }
    if (!ensureThread(queue)) {
        queue.waiting.erase(std::find(queue.waiting.begin(), queue.waiting.end(), ticket));
        systemLogLine(QStringLiteral("No thread to write in %1: nothing is written there now").arg(folder));
        return endedTicket(false);
    }
    queue.changed.notify_all();
    return ticket;
}

bool OwnFolderWrites::wait(const std::shared_ptr<Ticket> &ticket, const std::atomic<bool> *stop)
{
    if (!ticket->queue)
        return ticket->answer;
    Queue &queue = *ticket->queue;
    std::unique_lock<std::mutex> lock(queue.mutex);
    const auto bound = BoundedLookTimes::notAnsweringAfter();
    while (!ticket->ended) {
        if ((stop && stop->load()) || queue.notAnswering)
            return false;
        // Each write has the whole bound from its own start, however many waited before it, and
        // again from each sign that it goes on.
        const Clock::time_point lastSign { Clock::duration(queue.lastSign.load()) };
        if (queue.underWay && Clock::now() - lastSign >= bound) {
            const QString said = setNotAnswering(queue, true);
            lock.unlock();
            Log::line(said);
            return false;
        }
        queue.changed.wait_until(lock, Clock::now() + BoundedLookTimes::kStopCheck);
    }
    return ticket->answer;
}

bool OwnFolderWrites::run(const QString &path, std::function<bool()> write, const std::atomic<bool> *stop)
{
    return wait(post(path, std::move(write)), stop);
}

void OwnFolderWrites::stillAnswering()
{
    if (t_queue)
        t_queue->lastSign.store(Clock::now().time_since_epoch().count(), std::memory_order_relaxed);
}

int OwnFolderWrites::busy()
{
    return g_busy.load();
}
