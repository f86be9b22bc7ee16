// Looks at the paths a user chose: resolved one part at a time, and never into a mount that was
// named as not answering, until the look left behind on it answers.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <future>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/PathLook.h"
#include "support/TestEvents.h"
#include "support/TestFiles.h"

namespace
{

struct FindRow {
    const char *name;
    const char *path; // below the folder of the test
    const char *real; // where it resolves to, below the same folder
    int error;
};

class PathLookFindTest : public ::testing::TestWithParam<FindRow>
{
};

TEST_P(PathLookFindTest, LinksResolveAsTheKernelWouldFollowThem)
{
    QTemporaryDir dir;
    const QString base = QDir(dir.path()).canonicalPath();
    ASSERT_TRUE(TestFiles::write(base + "/a/b/f.jpg", "f"));
    const std::pair<const char *, const char *> links[] = { { "rel", "a/b" }, { "abs", "" },
        { "gone", "none/x" }, { "loop1", "loop2" }, { "loop2", "loop1" } };
    for (const auto &[link, target] : links)
        ASSERT_TRUE(QFile::link(*target ? QString(target) : base + "/a", base + "/" + link));
    const PathLook::Result<PathLook::Found> found
        = PathLook::current().find(base + "/" + GetParam().path, nullptr);
    ASSERT_TRUE(found.answer);
    EXPECT_EQ(found.answer->error, GetParam().error);
    EXPECT_EQ(found.answer->facts.has_value(), GetParam().error == 0);
    if (*GetParam().real) {
        EXPECT_EQ(found.answer->real, base + "/" + GetParam().real);
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, PathLookFindTest,
    ::testing::Values(FindRow { "Plain", "a/b/f.jpg", "a/b/f.jpg", 0 },
        FindRow { "RelativeLink", "rel/f.jpg", "a/b/f.jpg", 0 },
        // Up from where a link led, not from where it lies.
        FindRow { "UpAfterAnAbsoluteLink", "abs/b/../b/./f.jpg", "a/b/f.jpg", 0 },
        FindRow { "UpAfterARelativeLink", "rel/..", "a", 0 },
        FindRow { "Missing", "a/none/f.jpg", "a/none/f.jpg", ENOENT },
        FindRow { "ThroughADanglingLink", "gone/f.jpg", "none/x/f.jpg", ENOENT },
        FindRow { "LinkLoop", "loop1/f.jpg", "", ELOOP },
        FindRow { "FileInTheMiddle", "a/b/f.jpg/x", "", ENOTDIR }),
    [](const ::testing::TestParamInfo<FindRow> &info) { return std::string(info.param.name); });

// What a look at `path` that waits for `open`, past the bound, names as not answering.
QString silentMountOfAHeldLook(
    const PathLook &look, const QString &path, const std::shared_future<void> &open)
{
    return look
        .look<int>(
            path, [open] { return open.wait(), 1; }, nullptr)
        .silentMount;
}

TEST(PathLookTest, AMountThatDoesNotAnswerIsPassedOverUntilItsLookAnswers)
{
    QTemporaryDir dir;
    const QString quiet = QDir(dir.path()).canonicalPath() + "/quiet";
    ASSERT_TRUE(QDir().mkpath(quiet));
    BoundedLookTimes::setNotAnsweringAfter(std::chrono::milliseconds(100));
    const PathLook look({ { "0:1", "/", "/" }, { "0:99", "/", quiet } });
    std::promise<void> gate;
    const std::shared_future<void> open = gate.get_future().share();
    EXPECT_EQ(silentMountOfAHeldLook(look, quiet + "/a", open), quiet);
    // Named: nothing on it is looked at again, not even through a path resolved to it.
    auto ran = std::make_shared<std::atomic<bool>>(false);
    const PathLook::Result<int> passed = look.look<int>(
        quiet + "/b", [ran] { return *ran = true, 2; }, nullptr);
    EXPECT_EQ(passed.silentMount, quiet);
    EXPECT_FALSE(passed.answer);
    EXPECT_EQ(look.find(quiet + "/c", nullptr).silentMount, quiet);
    EXPECT_EQ(look.look<int>(
                      dir.path(), [] { return 3; }, nullptr)
                  .answer,
        3);
    // A stopped look names nothing.
    const std::atomic<bool> stop { true };
    std::promise<void> never;
    EXPECT_TRUE(look.look<int>(
                        dir.path(), [f = never.get_future().share()] { return f.wait(), 4; }, &stop)
                    .silentMount.isEmpty());
    never.set_value();
    gate.set_value();
    EXPECT_TRUE(TestEvents::waitFor([&] { return look.silentMountOf(quiet + "/a").isEmpty(); }, 5000));
    EXPECT_EQ(look.look<int>(
                      quiet + "/b", [] { return 2; }, nullptr)
                  .answer,
        2);
    EXPECT_FALSE(*ran);
    BoundedLookTimes::setNotAnsweringAfter(BoundedLookTimes::kNotAnsweringAfter);
}

TEST(PathLookTest, LooksInTurnAndLooksTogetherShareTheMountsNamedAsNotAnswering)
{
    QTemporaryDir dir;
    const QString base = QDir(dir.path()).canonicalPath();
    const QString named = base + "/named", namedInTurn = base + "/inturn";
    BoundedLookTimes::setNotAnsweringAfter(std::chrono::milliseconds(100));
    const PathLook look({ { "0:1", "/", "/" }, { "0:98", "/", named }, { "0:99", "/", namedInTurn } });
    std::promise<void> gate;
    const std::shared_future<void> open = gate.get_future().share();
    ASSERT_EQ(silentMountOfAHeldLook(look, named + "/a", open), named);
    // Looked at in turn: the mount named by the look apart is passed over, and the one whose look
    // does not answer here is named for every other look, until each look left behind answers.
    auto ran = std::make_shared<std::atomic<int>>(0);
    const std::vector<std::optional<int>> answers = look.lookInTurn<int>(
        { named + "/b", namedInTurn + "/c", namedInTurn + "/d", base + "/e" },
        [open, ran](qsizetype i) {
            if (i == 1)
                open.wait();
            return ++*ran, int(i);
        },
        nullptr);
    EXPECT_EQ(answers, (std::vector<std::optional<int>> { std::nullopt, std::nullopt, std::nullopt, 3 }));
    EXPECT_EQ(*ran, 1);
    EXPECT_EQ(look.find(namedInTurn + "/f", nullptr).silentMount, namedInTurn);
    gate.set_value();
    EXPECT_TRUE(TestEvents::waitFor([&] { return look.silentMountOf(named + "/a").isEmpty(); }, 5000));
    EXPECT_TRUE(TestEvents::waitFor([&] { return look.silentMountOf(namedInTurn + "/c").isEmpty(); }, 5000));
    EXPECT_EQ(look.lookInTurn<int>(
                      { namedInTurn + "/d" }, [](qsizetype) { return 7; }, nullptr)
                  .front(),
        7);
    BoundedLookTimes::setNotAnsweringAfter(BoundedLookTimes::kNotAnsweringAfter);
}

// A share mounted after the look's table was read: the look that does not answer there names it, not
// the mount under it, and the table read before passes over what lies on it, not what lies beside it.
TEST(PathLookTest, AMountAddedAfterTheTableWasReadIsTheOneNamed)
{
    QTemporaryDir dir;
    const QString base = QDir(dir.path()).canonicalPath();
    const QString added = base + "/added";
    BoundedLookTimes::setNotAnsweringAfter(std::chrono::milliseconds(100));
    const std::vector<PathLook::Mount> before { { "0:1", "/", "/" } };
    std::vector<PathLook::Mount> now = before;
    now.push_back({ "0:97", "/", added });
    const PathLook look(before, [now] { return now; });
    std::promise<void> gate;
    const std::shared_future<void> open = gate.get_future().share();
    EXPECT_EQ(silentMountOfAHeldLook(look, added + "/a", open), added);
    EXPECT_EQ(look.lookInTurn<int>(
                  { added + "/b", base + "/c" }, [](qsizetype i) { return int(i); }, nullptr),
        (std::vector<std::optional<int>> { std::nullopt, 1 }));
    gate.set_value();
    EXPECT_TRUE(TestEvents::waitFor([&] { return look.silentMountOf(added + "/a").isEmpty(); }, 5000));
    BoundedLookTimes::setNotAnsweringAfter(BoundedLookTimes::kNotAnsweringAfter);
}

// A share that answers each lookup slowly but within the bound: a look that makes many of them,
// together past the bound, answers, both among looks made together and among looks made in turn.
TEST(PathLookTest, EachStepOfALookHasTheWholeBound)
{
    QTemporaryDir dir;
    const QString slow = QDir(dir.path()).canonicalPath() + "/slow";
    constexpr auto kBound = std::chrono::milliseconds(1000), kStep = std::chrono::milliseconds(200);
    BoundedLookTimes::setNotAnsweringAfter(kBound);
    const PathLook look({ { "0:1", "/", "/" }, { "0:96", "/", slow } });
    const auto steps = [slow, kStep](PathLook::Where &where) {
        for (int i = 0; i < 8; ++i) {
            where.set(slow + "/step" + QString::number(i));
            std::this_thread::sleep_for(kStep);
        }
        return 1;
    };
    for (const bool inTurn : { false, true }) {
        std::optional<int> answer;
        if (inTurn) {
            answer = look.lookInTurn<int>(
                             { slow + "/x" },
                             [steps](qsizetype, PathLook::Where &where) { return steps(where); }, nullptr)
                         .front();
        } else {
            std::vector<PathLook::Job<int>> jobs;
            jobs.push_back({ slow, steps });
            answer = look.lookAll(std::move(jobs), nullptr).front().answer;
        }
        EXPECT_EQ(answer, 1) << inTurn;
        EXPECT_TRUE(look.silentMountOf(slow + "/x").isEmpty()) << inTurn;
    }
    BoundedLookTimes::setNotAnsweringAfter(BoundedLookTimes::kNotAnsweringAfter);
}

} // namespace
