// Writes in the program's own folders while one of them stops answering: a write held in the kernel
// (here: one that waits for the test to let it go) is waited for no longer than the bound, its folder
// is named once and passed over, and what was kept is written once it answers.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include <QFile>

#include "platform/AppFolders.h"
#include "platform/BoundedLook.h"
#include "platform/OwnFolderWrites.h"
#include "platform/PropertyList.h"
#include "platform/SilentOwnFolders.h"
#include "platform/UserDefaults.h"
#include "support/TestEvents.h"
#include "support/TestFiles.h"

namespace
{

using namespace std::chrono_literals;

// A write that does not answer until it is let go, as one on a share whose server has gone silent.
class HeldWrite
{
public:
    std::function<bool()> write()
    {
        return [this]() {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_let.wait(lock, [this] { return m_gone; });
            return true;
        };
    }
    void letGo()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_gone = true;
        m_let.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_let;
    bool m_gone = false;
};

class OwnFolderWritesTest : public ::testing::Test
{
protected:
    void SetUp() override { BoundedLookTimes::setNotAnsweringAfter(300ms); }
    void TearDown() override
    {
        held.letGo();
        EXPECT_TRUE(
            TestEvents::waitFor([] { return SilentOwnFolders::stoppedAnswering().isEmpty(); }, 30000));
        BoundedLookTimes::setNotAnsweringAfter(BoundedLookTimes::kNotAnsweringAfter);
    }
    static int timesSaid(const QByteArray &line)
    {
        return int(TestFiles::read(AppFolders::logFilePath()).count(line));
    }

    HeldWrite held;
};

TEST_F(OwnFolderWritesTest, AFolderThatStopsAnsweringIsNamedOncePassedOverAndUsedAgainOnceItAnswers)
{
    const QString support = AppFolders::supportFolder(), caches = AppFolders::cachesFolder();
    const QByteArray named = "The program's folder " + support.toUtf8() + " stopped answering";
    const int namedBefore = timesSaid(named);
    // The writer behind the write that does not answer goes on too.
    std::atomic<bool> behindRan { false };
    const auto first = OwnFolderWrites::post(support + "/a", held.write());
    const auto behind = OwnFolderWrites::post(support + "/b", [&behindRan] { return behindRan = true; });
    EXPECT_FALSE(OwnFolderWrites::wait(first));
    EXPECT_FALSE(OwnFolderWrites::wait(behind));
    EXPECT_EQ(SilentOwnFolders::stoppedAnswering(), QStringList { support });
    EXPECT_TRUE(SilentOwnFolders::holds(AppFolders::thumbnailsFolder() + "/x.jpg"));
    EXPECT_FALSE(SilentOwnFolders::holds(caches + "/x"));
    EXPECT_EQ(timesSaid(named), namedBefore + 1);

    // Nobody waits there now: a write that is not kept is passed over, the other folders answer.
    std::atomic<bool> droppedRan { false };
    EXPECT_FALSE(OwnFolderWrites::run(support + "/c", [&droppedRan] { return droppedRan = true; }));
    EXPECT_TRUE(OwnFolderWrites::run(caches + "/d", [] { return true; }));

    held.letGo();
    ASSERT_TRUE(TestEvents::waitFor([] { return SilentOwnFolders::stoppedAnswering().isEmpty(); }, 30000));
    EXPECT_TRUE(TestEvents::waitFor([&behindRan] { return behindRan.load(); }, 30000));
    EXPECT_FALSE(droppedRan);
    EXPECT_TRUE(OwnFolderWrites::run(support + "/e", [] { return true; }));
}

// Kept while their folder does not answer, the last values are written once it does; unless saving
// stopped meanwhile (an uninstall removed the file), when nothing is written there again.
TEST_F(OwnFolderWritesTest, SettingsAreKeptWhileTheirFolderDoesNotAnswerAndTheLastAreWrittenOnceItDoes)
{
    const QString file = AppFolders::settingsFilePath();
    // Read past the program's own refusal to read a folder it holds as silent.
    const auto written
        = [&file] { return PropertyList::fromBytes(TestFiles::read(file)).value_or(QVariant()).toMap(); };
    for (const bool stopped : { false, true }) {
        HeldWrite holding;
        UserDefaults settings(file);
        settings.setObject("before", 1);
        EXPECT_FALSE(OwnFolderWrites::run(AppFolders::settingsFolder() + "/held", holding.write()));
        settings.setObject("during", 2);
        settings.setObject("during", 3);
        settings.removeObject("before");
        EXPECT_EQ(settings.integerForKey("during"), 3);
        EXPECT_FALSE(settings.hasUserValue("before"));
        EXPECT_EQ(written(), (QVariantMap { { "before", qlonglong(1) } }));
        if (stopped) {
            settings.stopSaving();
            QFile::remove(file);
        }
        holding.letGo();
        // Made after whatever was kept.
        ASSERT_TRUE(TestEvents::waitFor(
            [] { return OwnFolderWrites::run(AppFolders::settingsFolder() + "/after", [] { return true; }); },
            30000));
        EXPECT_EQ(written(), (stopped ? QVariantMap() : QVariantMap { { "during", qlonglong(3) } })) << stopped;
        settings.resetAll();
    }
}

TEST_F(OwnFolderWritesTest, AWriteThatSaysItGoesOnIsWaitedForPastTheBoundAndOneInsideItsQueueIsMadeAtOnce)
{
    const QString caches = AppFolders::cachesFolder();
    const auto longWrite = [&caches] {
        // A write inside the folder's own queue writes there again without waiting for itself.
        bool inner = false;
        for (int i = 0; i < 60; ++i) {
            std::this_thread::sleep_for(15ms);
            OwnFolderWrites::stillAnswering();
            inner = OwnFolderWrites::run(caches + "/inner", [] { return true; });
        }
        return inner;
    };
    EXPECT_TRUE(OwnFolderWrites::run(caches + "/long", longWrite));
    EXPECT_TRUE(SilentOwnFolders::stoppedAnswering().isEmpty());
}

} // namespace
