// The single-instance socket: a name held by anything but a running instance of ours receives
// nothing and never stops a start, whatever the length of its path; a folder or lock that is not
// this user's alone never holds a start and is left as it was; the lock goes with its instance.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

#include <QDirIterator>
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
QString shortTemporaryFolder()
{
    return QStringLiteral("/tmp/quennary-test-XXXXXX");
}

bool giveToAnotherUser(const QString &path)
{
    return ::lchown(QFile::encodeName(path).constData(), ::geteuid() + 4242, ::getegid()) == 0;
}

// Every entry below `root`, links not followed, with its type, one a line.
std::string entriesBelow(const QString &root)
{
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
        QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info = it.nextFileInfo();
        entries << info.filePath() + (info.isSymLink() ? " link" : info.isDir() ? " folder" : " other");
    }
    entries.sort();
    return entries.join(u'\n').toStdString();
}

// What a second launch's hand-over gave, asked on a thread of its own: an open that waits for ever
// is let go (a fifo opened for writing) and counted as a failure.
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
    struct Row {
        const char *what;
        // Plants what the row is about for the socket folder `folder`.
        std::function<bool(const QString &folder, const QString &lock)> plant;
    };
    const auto fifo
        = [](const QString &lock) { return ::mkfifo(QFile::encodeName(lock).constData(), 0666) == 0; };
    const Row rows[] = {
        { "a fifo at the lock's name", [&](const QString &, const QString &lock) { return fifo(lock); } },
        { "another user's file at the lock's name",
            [](const QString &, const QString &lock) {
                return TestFiles::write(lock) && giveToAnotherUser(lock);
            } },
        { "a link to a private folder of ours in the folder's place",
            [](const QString &folder, const QString &) {
                return QDir().rmdir(folder) && PrivateFiles::makeFolder(folder + "-aim")
                    && QFile::link(folder + "-aim", folder);
            } },
        { "another user's folder with a fifo at the lock's name",
            [&](const QString &folder, const QString &lock) {
                return fifo(lock) && giveToAnotherUser(lock) && giveToAnotherUser(folder);
            } },
    };
    for (const Row &row : rows) {
        QTemporaryDir root(shortTemporaryFolder());
        const QString folder = root.filePath(QStringLiteral("run"));
        const QString name = folder + QStringLiteral("/quennary-test"), lock = name + QStringLiteral(".lock");
        ASSERT_TRUE(PrivateFiles::makeFolder(folder));
        if (!row.plant(folder, lock)) {
            ADD_FAILURE() << row.what << ": cannot be planted here";
            continue;
        }
        const std::string planted = entriesBelow(root.path());
        const qint64 logged = QFileInfo(AppFolders::logFilePath()).size();

        EXPECT_FALSE(sendWithinBound(name, lock)) << row.what;
        EXPECT_FALSE(SingleInstance(name).listen()) << row.what;

        EXPECT_EQ(entriesBelow(root.path()), planted) << row.what;
        EXPECT_TRUE(TestFiles::read(AppFolders::logFilePath()).mid(logged).contains(QFile::encodeName(lock)))
            << row.what;
    }
}

// The lock goes when its instance ends. A launch that takes it the moment it is let go keeps its
// socket: the ending instance's server is gone by then and cannot remove the new one's.
TEST(SingleInstance, TheLockGoesWithItsInstanceAndTheNextOneKeepsItsSocket)
{
    QTemporaryDir folder(shortTemporaryFolder());
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
