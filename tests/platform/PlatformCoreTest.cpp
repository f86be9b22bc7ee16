// Text formatting, notifications and the operation queue.
#include <atomic>
#include <vector>

#include <gtest/gtest.h>

#include <QThread>

#include "platform/NotificationCenter.h"
#include "platform/OperationQueue.h"
#include "platform/TextFormat.h"

TEST(TextFormat, FillsPlaceholdersInOrderAndToleratesMismatchedArguments)
{
    EXPECT_EQ(formatText(QStringLiteral("%d of %@"), 3, QStringLiteral("five")), QStringLiteral("3 of five"));
    EXPECT_EQ(formatText(QStringLiteral("%d and %d"), 1), QStringLiteral("1 and "));
    EXPECT_EQ(formatText(QStringLiteral("only %@"), QStringLiteral("a"), 7), QStringLiteral("only a"));
    EXPECT_EQ(formatText(QStringLiteral("100%% %s %ld"), 9), QStringLiteral("100% %s 9"));
    // An argument holding a placeholder is inserted as it is, never formatted again.
    EXPECT_EQ(formatText(QStringLiteral("%@ %d"), QStringLiteral("%d"), 2), QStringLiteral("%d 2"));
}

TEST(NotificationCenter, DeliversToObserversOfTheNameUntilRemoved)
{
    NotificationCenter center;
    int owner = 0;
    QVariantMap received;
    int calls = 0;
    center.addObserver(&owner, QStringLiteral("FileDragDropNotification"), [&](const Notification &n) {
        received = n.userInfo;
        ++calls;
    });
    center.post(QStringLiteral("Other"));
    center.post(QStringLiteral("FileDragDropNotification"), {{QStringLiteral("paths"), QStringList{"/a"}}});
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(received.value(QStringLiteral("paths")).toStringList(), QStringList{"/a"});
    center.removeObserver(&owner);
    center.post(QStringLiteral("FileDragDropNotification"));
    EXPECT_EQ(calls, 1);
}

TEST(OperationQueue, NeverRunsMoreThanTheLimitAtOnce)
{
    OperationQueue queue(3);
    std::atomic<int> running{0};
    std::atomic<int> peak{0};
    for (int i = 0; i < 40; ++i) {
        queue.addOperation([&]() {
            const int now = ++running;
            int seen = peak.load();
            while (now > seen && !peak.compare_exchange_weak(seen, now)) {
            }
            QThread::usleep(500);
            --running;
        });
    }
    queue.waitUntilAllOperationsAreFinished();
    EXPECT_LE(peak.load(), 3);
    EXPECT_GE(peak.load(), 1);
    EXPECT_EQ(queue.operationCount(), 0);
}

TEST(OperationQueue, BatchCompletionRunsAfterItsJobsAndChainsTheNextBatch)
{
    OperationQueue queue(4);
    std::mutex m;
    std::vector<QString> events;
    auto record = [&](const QString &e) {
        std::lock_guard<std::mutex> lock(m);
        events.push_back(e);
    };
    std::atomic<int> doneFirst{0};
    std::vector<OperationQueue::Job> first;
    for (int i = 0; i < 10; ++i)
        first.push_back([&]() { ++doneFirst; });
    queue.addBatch(std::move(first), [&]() {
        record(QStringLiteral("first-complete:%1").arg(doneFirst.load()));
        std::vector<OperationQueue::Job> second{[&]() { record(QStringLiteral("second-job")); }};
        queue.addBatch(std::move(second), [&]() { record(QStringLiteral("second-complete")); });
    });
    queue.waitUntilAllOperationsAreFinished();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[0], QStringLiteral("first-complete:10"));
    EXPECT_EQ(events[1], QStringLiteral("second-job"));
    EXPECT_EQ(events[2], QStringLiteral("second-complete"));
}
