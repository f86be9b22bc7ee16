// Privileged removal and rename: the helper runs handed to the runner (one per request), the paths
// refused, and the results reported; and the helper itself, run for real.
#include <atomic>
#include <memory>

#include <gtest/gtest.h>

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include "app/RemoveItem.h"
#include "app/RemoveItemFakeRunner.h"
#include "platform/AppFolders.h"
#include "platform/Dispatch.h"
#include "support/TestFiles.h"

namespace {

using Outcome = PrivilegedRunner::Outcome;
using Call = RemoveItemFakeRunner::Call;

class RemoveItemTest : public ::testing::Test
{
protected:
    std::shared_ptr<RemoveItemFakeRunner> runner = std::make_shared<RemoveItemFakeRunner>();
    const QString helper = runner->helperPath();
    QTemporaryDir temp;
};

} // namespace

TEST_F(RemoveItemTest, EachRequestIsOneHelperRunWithSeparateArguments)
{
    RemoveItem remover(runner);
    EXPECT_TRUE(remover.authenticated());
    const QString item = temp.path() + QStringLiteral("/a folder; rm -rf ~"), target = temp.path() + "/-n";
    EXPECT_TRUE(remover.removeMultipleItems({ item, target }));
    EXPECT_TRUE(remover.renameItem(item, target));
    const std::vector<Call> expected { { helper, { "remove", item, "remove", target } },
        { helper, { "rename", item, target } } };
    EXPECT_EQ(runner->calls(), expected);
}

TEST_F(RemoveItemTest, CancelledPromptStopsEveryLaterRequest)
{
    runner->queue(Outcome::Refused, 126);
    RemoveItem remover(runner);
    const QString item = temp.path() + QStringLiteral("/item");
    EXPECT_FALSE(remover.removeSingleItem(item));
    EXPECT_FALSE(remover.authenticated());
    EXPECT_EQ(remover.status(), RemoveItem::kStatusCanceled);
    EXPECT_FALSE(remover.renameItem(item, item + QStringLiteral("2")));
    EXPECT_FALSE(remover.removeMultipleItems({item}));
    EXPECT_EQ(runner->calls().size(), 1u);
}

struct FailureCase
{
    const char *name;
    Outcome outcome;
    int exitCode;
    int expectedStatus;
};

class RemoveItemFailureTest : public RemoveItemTest, public ::testing::WithParamInterface<FailureCase>
{
};

TEST_P(RemoveItemFailureTest, RemovalAndRenameReportTheRealResult)
{
    const FailureCase &c = GetParam();
    const QString item = temp.path() + QStringLiteral("/item");
    {
        RemoveItem remover(runner);
        runner->queue(c.outcome, c.exitCode);
        EXPECT_FALSE(remover.removeSingleItem(item));
        EXPECT_EQ(remover.status(), c.expectedStatus);
    }
    {
        RemoveItem remover(runner);
        runner->queue(c.outcome, c.exitCode);
        EXPECT_FALSE(remover.renameItem(item, item + QStringLiteral("2")));
        EXPECT_EQ(remover.status(), c.expectedStatus);
    }
}

INSTANTIATE_TEST_SUITE_P(Outcomes, RemoveItemFailureTest,
    ::testing::Values(FailureCase {"ExitedNonZero", Outcome::Finished, 1, 1},
        FailureCase {"Refused", Outcome::Refused, 126, RemoveItem::kStatusCanceled},
        FailureCase {"NotAuthorized", Outcome::Refused, 127, RemoveItem::kStatusCanceled},
        FailureCase {"NotStarted", Outcome::NotStarted, -1, RemoveItem::kStatusToolFailed},
        FailureCase {"Crashed", Outcome::Crashed, -1, RemoveItem::kStatusToolFailed}),
    [](const ::testing::TestParamInfo<FailureCase> &info) { return std::string(info.param.name); });

TEST_F(RemoveItemTest, ARefusedPathOrAMissingHelperRunsNothing)
{
    RemoveItem remover(runner);
    EXPECT_TRUE(remover.removeMultipleItems({}));
    EXPECT_FALSE(remover.removeMultipleItems({ temp.path() + QStringLiteral("/a"), QStringLiteral("/etc") }));
    runner->helper.clear();
    RemoveItem withoutHelper(runner);
    EXPECT_EQ(withoutHelper.status(), RemoveItem::kStatusToolFailed);
    EXPECT_FALSE(withoutHelper.removeSingleItem(temp.path() + QStringLiteral("/a")));
    EXPECT_TRUE(runner->calls().empty());
}

class RemoveItemRefusedPathTest : public RemoveItemTest, public ::testing::WithParamInterface<QString>
{
};

// The test home is only known once the tests run.
static QString resolveMarker(const QString &path)
{
    if (path == QLatin1String("<test home>"))
        return AppFolders::homeFolder();
    if (path == QLatin1String("<above test home>"))
        return QFileInfo(AppFolders::homeFolder()).path();
    return path;
}

TEST_P(RemoveItemRefusedPathTest, RunsNothingAndStaysAuthenticated)
{
    const QString path = resolveMarker(GetParam());
    const QString acceptable = temp.path() + QStringLiteral("/ok");
    RemoveItem remover(runner);
    EXPECT_FALSE(RemoveItem::isAcceptablePath(path));
    EXPECT_FALSE(remover.removeSingleItem(path));
    EXPECT_FALSE(remover.renameItem(path, acceptable));
    EXPECT_FALSE(remover.renameItem(acceptable, path));
    EXPECT_FALSE(remover.removeMultipleItems({path}));
    EXPECT_TRUE(runner->calls().empty());
    EXPECT_TRUE(remover.authenticated());
}

INSTANTIATE_TEST_SUITE_P(Paths, RemoveItemRefusedPathTest,
    ::testing::Values(QString(), QStringLiteral("relative/item"), QStringLiteral("./item"),
        QStringLiteral("~/item"), QStringLiteral(":/strings"), QStringLiteral("/"), QStringLiteral("//"),
        QStringLiteral("/usr"), QStringLiteral("/etc"), QStringLiteral("/home"), QStringLiteral("/root"),
        QStringLiteral("/opt"), QStringLiteral("/usr/lib"), QStringLiteral("/usr/local"),
        QStringLiteral("/usr/local/bin"), QStringLiteral("/var/lib"), QStringLiteral("/tmp/a/../b"),
        QStringLiteral("/tmp/a/"), QStringLiteral("/tmp//a"), QStringLiteral("/tmp/./a"),
        QStringLiteral("/tmp/a/.."), QStringLiteral("/tmp/a") + QChar(0) + QStringLiteral("/b"),
        QDir::homePath(), QStringLiteral("<test home>"), QStringLiteral("<above test home>")));

TEST_F(RemoveItemTest, RefusesAPathWhoseParentLinksToAProtectedFolder)
{
    const QString link = temp.path() + QStringLiteral("/root-link");
    ASSERT_TRUE(QFile::link(QStringLiteral("/"), link));
    const QString homeLink = temp.path() + QStringLiteral("/home-link");
    ASSERT_TRUE(QFile::link(QFileInfo(AppFolders::homeFolder()).path(), homeLink));
    RemoveItem remover(runner);
    EXPECT_FALSE(remover.removeSingleItem(link + QStringLiteral("/etc")));
    EXPECT_FALSE(remover.removeSingleItem(homeLink + QStringLiteral("/home")));
    EXPECT_TRUE(runner->calls().empty());
    // The link itself is an ordinary item: removing it never touches its target.
    EXPECT_TRUE(remover.removeSingleItem(link));
}

TEST_F(RemoveItemTest, TheHelperRemovesAndMovesExactlyThePath)
{
    auto real = std::make_shared<RemoveItemFakeRunner>(true);
    RemoveItem remover(real);
    ASSERT_TRUE(remover.authenticated());
    // The helper acts only inside the program's own folders.
    const QString own = AppFolders::cachesFolder();
    const QString folder = own + QStringLiteral("/-rf folder");
    const QString sibling = own + QStringLiteral("/-rf folder sibling");
    ASSERT_TRUE(TestFiles::write(folder + QStringLiteral("/inner/file.jpg")));
    ASSERT_TRUE(TestFiles::write(sibling));
    const QString moved = own + QStringLiteral("/moved");

    EXPECT_TRUE(remover.renameItem(folder, moved));
    EXPECT_TRUE(QFileInfo::exists(moved + QStringLiteral("/inner/file.jpg")));
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_FALSE(remover.renameItem(folder, moved + QStringLiteral("2")));
    EXPECT_GT(remover.status(), 0);

    EXPECT_TRUE(remover.removeSingleItem(moved));
    EXPECT_FALSE(QFileInfo::exists(moved));
    EXPECT_TRUE(remover.removeSingleItem(moved));
    EXPECT_TRUE(QFileInfo::exists(sibling));
}

TEST_F(RemoveItemTest, ACommandAskedForOnAWorkerThreadRunsOnTheMainThread)
{
    RemoveItem remover(runner);
    const QString item = temp.path() + QStringLiteral("/item");
    std::atomic<bool> removed {false};
    QEventLoop loop;
    Dispatch::global([&]() {
        removed = remover.removeSingleItem(item);
        Dispatch::main([&]() { loop.quit(); });
    });
    // Bounded: a deadlock fails the test instead of hanging it.
    QTimer::singleShot(10000, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_TRUE(removed);
    ASSERT_EQ(runner->calls().size(), 1u);
    EXPECT_EQ(runner->calls().back().second.last(), item);
    EXPECT_EQ(runner->mainThreadCalls(), 1);
}

// The helper checks its whole argument vector before it runs anything: an unknown word, a missing
// path or one refused path leaves "gone" in place.
TEST_F(RemoveItemTest, TheHelperChecksEveryArgumentBeforeRunningAny)
{
    const QString gone = AppFolders::cachesFolder() + QStringLiteral("/gone");
    const int done = PrivilegedBatch::kExitDone, refused = PrivilegedBatch::kExitRefused;
    const std::pair<QStringList, int> cases[]
        = { { { "remove", gone }, done }, { { "erase", gone }, refused },
              { { "remove", gone, "rename", gone }, refused }, { { "remove", gone, "remove", "/" }, refused },
              { { "remove", gone, "remove", QDir::homePath() }, refused },
              { { "remove", gone, "remove", "gone" }, refused } };
    for (const auto &[arguments, exit] : cases) {
        ASSERT_TRUE(TestFiles::write(gone));
        EXPECT_EQ(QProcess::execute(QStringLiteral(QNY_TEST_PRIVILEGED_HELPER),
                      QStringList { "--root-override", AppFolders::rootOverride() } + arguments),
            exit)
            << arguments.join(' ').toStdString();
        EXPECT_EQ(QFileInfo::exists(gone), exit != done);
    }
    // Started by pkexec (PKEXEC_UID set, readable or not), it never takes the tests' tree for ours.
    for (const char *uid : { "0", "1000x", "" }) {
        qputenv("PKEXEC_UID", uid);
        EXPECT_EQ(QProcess::execute(QStringLiteral(QNY_TEST_PRIVILEGED_HELPER),
                      { "--root-override", AppFolders::rootOverride(), "remove", gone }), refused) << uid;
        qunsetenv("PKEXEC_UID");
    }
    EXPECT_TRUE(QFileInfo::exists(gone));
}
