// Match and file-type filters, counts and the groups shown at opening.
#include <gtest/gtest.h>

#include <limits>

#include <QFile>

#include "platform/AppFolders.h"
#include "support/TestFiles.h"

#include "results/ResultState.h"
#include "results/ShownGroups.h"
#include "results/ResultsTestRecords.h"

using namespace ResultsTestRecords;
using GT = GlobalObjects::TypeSupport;

namespace {

QStringList shownNames(const ResultState &state)
{
    QStringList all;
    for (const auto &g : state.arrGroups)
        all.append(names(g->filterChildren).join(QLatin1Char(',')));
    return all;
}

} // namespace

TEST(ResultFilter, MovingTheLevelUpAndBackDownDropsAndRestoresAGroup)
{
    ResultState state;
    auto g = group({record("a", 0.95f), record("b", 0.86f), record("c", 0.97f)});
    state.enterGroups({g});
    state.applyLevel(0.90f);
    EXPECT_EQ(shownNames(state), QStringList{"a,c"});
    state.applyLevel(0.96f);
    EXPECT_TRUE(state.arrGroups.empty());
    EXPECT_TRUE(g->filterChildren.isEmpty());
    EXPECT_EQ(g->children.size(), 3) << "filters never change the scan's groups";
    state.applyLevel(0.90f);
    EXPECT_EQ(shownNames(state), QStringList{"a,c"});
}

TEST(ResultFilter, BestMatchIsPulledForwardAndEarlierOnesStay)
{
    auto a = record("a", 0.95f), b = record("b", 0.95f), c = record("c", 0.95f), d = record("d", 0.80f);
    a->matchesWithNode = c;
    b->matchesWithNode = a;
    c->matchesWithNode = d;
    const auto result = ResultState::groupMatchesAllowedLevel({a, b, c, d}, 0.9f);
    EXPECT_EQ(names(result), (QStringList{"a", "c", "b"}));
}

TEST(ResultFilter, ScoreThatIsNotANumberNeverPasses)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const auto result = ResultState::groupMatchesAllowedLevel({record("a", nan), record("b", 1.0f)}, 0.0f);
    EXPECT_EQ(names(result), QStringList{"b"});
}

struct TypeCase
{
    GT type;
    bool firstIsVideo;
    bool shown;
};

class FileTypeFilter : public ::testing::TestWithParam<TypeCase>
{
};

TEST_P(FileTypeFilter, OnlyTheFirstMemberDecides)
{
    const TypeCase c = GetParam();
    ResultState state;
    auto g = group({record("a", 1.0f, 10, c.firstIsVideo), record("b", 1.0f, 10, !c.firstIsVideo)});
    g->filterChildren = {g->children.first()};
    state.typeSupport = c.type;
    state.allowedMatch = 0.9f;
    EXPECT_EQ(state.filterGroupByFileType(*g), c.shown);
    if (!c.shown) {
        EXPECT_EQ(g->filterChildren.size(), 1) << "a group dropped by its type keeps its earlier members";
    }
}

INSTANTIATE_TEST_SUITE_P(Types, FileTypeFilter,
                         ::testing::Values(TypeCase{GT::ONLYVIDEO, true, true}, TypeCase{GT::ONLYVIDEO, false, false},
                                           TypeCase{GT::ONLYIMAGES, true, false},
                                           TypeCase{GT::ONLYIMAGES, false, true}, TypeCase{GT::ALLFILES, true, true},
                                           TypeCase{GT::ALLFILES, false, true}));

TEST(ResultCounts, DuplicatesCountEveryShownMemberAndSpaceIsTheOtherMembersSizes)
{
    ResultState state;
    auto big = group({record("a", 1.0f, 1000000), record("b", 1.0f, 300), record("c", 1.0f, 500)});
    auto pair = group({record("d", 1.0f, 7000), record("e", 1.0f, 9000)});
    pair->children[1]->isMark = true;
    pair->children[1]->isiPhotoNode = true;
    state.enterGroups({big, pair});
    state.applyLevel(0.9f);
    EXPECT_EQ(state.cDup, 5);
    EXPECT_EQ(state.sizeToClean, 800u + 9000u);
    EXPECT_EQ(state.countTotal, 5);
    EXPECT_EQ(state.arrImageContent.size(), 5u);
    std::uint64_t sum = 0;
    for (const auto &r : state.arrImageContent)
        sum += r->fileSize;
    EXPECT_EQ(state.sizeTotal, sum);
    EXPECT_EQ(state.countMarked, 1);
    EXPECT_EQ(state.sizeMarked, 9000u);
    EXPECT_EQ(state.countiPhotoMarked, 1);
}

TEST(ResultCounts, TheLogCountsOneGroupInTheSingular)
{
    QFile::remove(AppFolders::logFilePath());
    ResultState state;
    state.enterGroups({ group({ record("a", 1.0f), record("b", 1.0f) }) });
    state.applyLevel(0.9f);
    EXPECT_TRUE(TestFiles::read(AppFolders::logFilePath()).contains("Results shown: 1 group, 2 duplicates"));
}

TEST(ResultCounts, LastUnmarkedMemberOfAGroupIsProtected)
{
    auto g = group({record("a", 1.0f), record("b", 1.0f), record("c", 1.0f)});
    g->filterChildren = g->children;
    EXPECT_FALSE(ResultState::isLastUnmarkedInGroup(*g));
    g->children[0]->isMark = true;
    EXPECT_FALSE(ResultState::isLastUnmarkedInGroup(*g));
    g->children[1]->isMark = true;
    EXPECT_TRUE(ResultState::isLastUnmarkedInGroup(*g));
}

TEST(ResultSections, SectionsFollowTheGroupsEvenForRecordsWithoutAnAddress)
{
    ResultState state;
    auto first = group({record("a", 1.0f), record("b", 1.0f)});
    auto second = group({record("c", 1.0f), record("d", 1.0f), record("e", 1.0f)});
    first->children[1]->filePathUrl = QUrl();
    state.enterGroups({first, second});
    state.applyLevel(0.9f);
    state.rebuildContentArrays();
    ASSERT_EQ(state.numberOfSections(), 2);
    EXPECT_EQ(state.numberOfItemsInSection(0), 2);
    EXPECT_EQ(state.numberOfItemsInSection(1), 3);
    EXPECT_EQ(state.recordAt(1, 2)->fileName, "e");
    EXPECT_EQ(state.recordAt(1, 3), nullptr);
    EXPECT_EQ(state.recordAt(2, 0), nullptr);
}

TEST(ShownGroupsAtOpening, SingleMembersAreNotHandedOverAndAnEmptyLevelRetriesAtTheMinimum)
{
    ScanGlobalsSnapshot scan;
    scan.compareType = GlobalObjects::CompareType::ctHash;
    scan.matchThreshold = 0.96;
    scan.minimumMatchThreshold = 0.90;
    auto lonely = group({record("x", 1.0f)});
    auto weak = group({record("a", 0.92f), record("b", 0.93f)});
    auto strong = group({record("c", 0.99f), record("d", 0.97f), record("e", 0.91f)});
    auto shown = ShownGroups::afterOpening({lonely, weak, strong}, scan);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(names(shown[0]->filterChildren), (QStringList{"c", "d"}));

    shown = ShownGroups::afterOpening({lonely, weak}, scan);
    ASSERT_EQ(shown.size(), 1u) << "nothing at 0.96, so the window retries at 0.90";
    EXPECT_EQ(names(shown[0]->filterChildren), (QStringList{"a", "b"}));

    scan.compareType = GlobalObjects::CompareType::ctMD5;
    scan.matchThreshold = 0.99;
    EXPECT_TRUE(ShownGroups::afterOpening({weak}, scan).empty()) << "exact scans never retry";
}
