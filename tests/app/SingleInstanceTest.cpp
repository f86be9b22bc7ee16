// The single-instance socket: a name held by anything but a running instance of ours receives
// nothing and never stops a start, whatever the length of its path; a folder or lock that is not
// this user's alone never holds a start and is left as it was; the lock goes with its instance.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <future>
#include <sys/stat.h>

#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QTemporaryDir>

#include "app/SingleInstance.h"
#include "platform/AppFolders.h"
#include "platform/PrivateFiles.h"
#include "support/TestEvents.h"
#include "support/TestFiles.h"

namespace
{

// In /tmp, whatever TMPDIR says: the socket's path is to fit where the test plants things.
const QString kShortFolder = QStringLiteral("/tmp/quennary-instance-XXXXXX");

// What `folder` holds, through a link in its place.
QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
}

// A second launch's hand-over, on a thread of its own: an open that waits for ever is let go (the
// fifo opened for writing) and counted as a failure.
bool sendWithinBound(const QString &name, const QString &lockPath)
{
    auto sent
        = std::async(std::launch::async, [name] { return SingleInstance(name).sendToRunningInstance("x"); });
    if (sent.wait_for(std::chrono::seconds(10)) == std::future_status::ready)
        return sent.get();
    ADD_FAILURE() << "the hand-over waits on " << lockPath.toStdString();
    const int writer = ::open(QFile::encodeName(lockPath).constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    sent.wait();
    ::close(writer);
    return sent.get();
}

} // namespace

// How many characters the name reaches past its folder: a socket path has room for 107 bytes.
class SingleInstanceNames : public ::testing::TestWithParam<int>
{
};

TEST_P(SingleInstanceNames, ANameHeldByAListenerThatIsNotAnInstanceReceivesNothing)
{
    QTemporaryDir folder;
    const QString name = folder.filePath(QStringLiteral("quennary-test") + QString(GetParam(), u'n'));
    SingleInstance launch(name);
    ASSERT_TRUE(PrivateFiles::makeFolder(QFileInfo(launch.serverName()).path()));
    QLocalServer other;
    ASSERT_TRUE(other.listen(launch.serverName()));

    EXPECT_FALSE(launch.sendToRunningInstance(QStringLiteral("com.quennary.app:/oauth?code=42&state=s")));
    QStringList received;
    QObject::connect(&launch, &SingleInstance::messageReceived, [&](const QString &m) { received << m; });
    ASSERT_TRUE(launch.listen());
    EXPECT_FALSE(SingleInstance(name).listen());

    EXPECT_TRUE(SingleInstance(name).sendToRunningInstance(QStringLiteral("second")));
    ASSERT_TRUE(TestEvents::waitFor([&] { return !received.isEmpty(); }, 5000));
    EXPECT_EQ(received, QStringList { QStringLiteral("second") });
    EXPECT_FALSE(other.hasPendingConnections());
}

INSTANTIATE_TEST_SUITE_P(Lengths, SingleInstanceNames, ::testing::Values(0, 120));

// Another user's folder or lock, or a link in the folder's place, neither holds a launch nor is
// written to: the launch runs on its own and says so in the log.
TEST(SingleInstance, AFolderOrLockNotThisUsersAloneIsLeftAsItIsAndNeverHoldsAStart)
{
    const auto fifo
        = [](const QString &path) { return ::mkfifo(QFile::encodeName(path).constData(), 0666) == 0; };
    const auto others = [](const QString &path) {
        return ::lchown(QFile::encodeName(path).constData(), ::geteuid() + 4242, ::getegid()) == 0;
    };
    // What each row plants for the socket's folder and lock.
    const std::pair<const char *, std::function<bool(const QString &, const QString &)>> rows[] = {
        { "a fifo at the lock's name", [&](const QString &, const QString &lock) { return fifo(lock); } },
        { "another user's file at the lock's name",
            [&](const QString &, const QString &lock) { return TestFiles::write(lock) && others(lock); } },
        { "a link to a private folder of ours in the folder's place",
            [](const QString &folder, const QString &) {
                return QDir().rmdir(folder) && PrivateFiles::makeFolder(folder + "-aim")
                    && QFile::link(folder + "-aim", folder);
            } },
        { "another user's folder with a fifo at the lock's name",
            [&](const QString &folder, const QString &lock) {
                return fifo(lock) && others(lock) && others(folder);
            } },
    };
    for (const auto &[what, plant] : rows) {
        QTemporaryDir root(kShortFolder);
        const QString folder = root.filePath(QStringLiteral("run")),
                      lock = folder + QStringLiteral("/i.lock");
        ASSERT_TRUE(PrivateFiles::makeFolder(folder) && plant(folder, lock)) << what;
        const QStringList planted = entriesOf(folder);
        const qint64 logged = QFileInfo(AppFolders::logFilePath()).size();

        EXPECT_FALSE(sendWithinBound(folder + QStringLiteral("/i"), lock)) << what;
        EXPECT_FALSE(SingleInstance(folder + QStringLiteral("/i")).listen()) << what;
        EXPECT_EQ(entriesOf(folder), planted) << what;
        EXPECT_TRUE(TestFiles::read(AppFolders::logFilePath()).mid(logged).contains(QFile::encodeName(lock)))
            << what;
    }
}

// The lock goes when its instance ends. A launch that takes it the moment it is let go keeps its
// socket: the ending instance's server is gone by then and cannot remove the new one's.
TEST(SingleInstance, TheLockGoesWithItsInstanceAndTheNextOneKeepsItsSocket)
{
    QTemporaryDir folder(kShortFolder);
    const QString name = folder.filePath(QStringLiteral("quennary-test"));
    auto next = std::make_unique<SingleInstance>(name);
    QStringList received;
    QObject::connect(next.get(), &SingleInstance::messageReceived, [&](const QString &m) { received << m; });
    auto first = std::make_unique<SingleInstance>(name);
    // Destroyed with the first instance, once its own destructor has run.
    QObject::connect(new QObject(first.get()), &QObject::destroyed, [&] { EXPECT_TRUE(next->listen()); });
    ASSERT_TRUE(first->listen());
    ASSERT_TRUE(QFileInfo::exists(name + ".lock"));

    first.reset();
    EXPECT_TRUE(SingleInstance(name).sendToRunningInstance(QStringLiteral("after")));
    EXPECT_TRUE(TestEvents::waitFor([&] { return !received.isEmpty(); }, 5000));

    next.reset();
    EXPECT_FALSE(QFileInfo::exists(name + ".lock"));
}
