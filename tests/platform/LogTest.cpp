// The log appends whole lines from any number of threads and never truncates.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include <QFile>

#include "platform/AppFolders.h"
#include "platform/Log.h"

TEST(Log, AppendsWholeLinesFromSeveralThreadsAndKeepsEarlierContent)
{
    QFile::remove(AppFolders::logFilePath());
    Log::line(QStringLiteral("earlier"));
    constexpr int kThreads = 8;
    constexpr int kLines = 200;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < kLines; ++i)
                Log::line(QStringLiteral("thread %1 line %2 ").arg(t).arg(i) + QString(40, QLatin1Char('x')));
        });
    }
    for (std::thread &thread : threads)
        thread.join();

    QFile file(AppFolders::logFilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    ASSERT_EQ(lines.size(), 1 + kThreads * kLines + 1); // the last element follows the final line feed
    EXPECT_EQ(lines.first(), "earlier");
    for (qsizetype i = 1; i < lines.size() - 1; ++i)
        EXPECT_TRUE(lines[i].startsWith("thread ") && lines[i].endsWith(QByteArray(40, 'x'))) << lines[i].constData();
}
