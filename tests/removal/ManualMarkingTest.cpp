// Marking by hand on the results' state: the one-unmarked rule, locking, unmark-all against the
// match filter, and dropping files, each checked against a recount of the flags.
#include <gtest/gtest.h>

#include "removal/ManualMarking.h"
#include "results/ResultState.h"
#include "results/ResultsTestRecords.h"

namespace
{

using ResultsTestRecords::chainMatches;
using ResultsTestRecords::group;
using ResultsTestRecords::record;

class ManualMarkingModel : public ::testing::Test
{
protected:
    // Shows `groups` at `level` as the results window does.
    void show(const ResultState::GroupList &groups, float level = 0.5f)
    {
        for (const auto &g : groups)
            chainMatches(g);
        state.enterGroups(groups);
        state.applyLevel(level);
    }

    // The counters must equal what the flags say after every step.
    void expectCountersMatchARecount()
    {
        const int count = state.countMarked;
        const std::uint64_t size = state.sizeMarked;
        state.recountTotals();
        EXPECT_EQ(count, state.countMarked);
        EXPECT_EQ(size, state.sizeMarked);
    }

    ResultState state;
    ManualMarking marking { state };
};

TEST_F(ManualMarkingModel, InAPairTheSecondMarkIsRefused)
{
    auto a = record("a.jpg", 1.0f, 100), b = record("b.jpg", 1.0f, 200);
    show({ group({ a, b }) });
    EXPECT_TRUE(marking.toggleMark(*a));
    EXPECT_FALSE(marking.toggleMark(*b));
    EXPECT_FALSE(b->isMark);
    EXPECT_EQ(ManualMarking::refusal(*b, nullptr), ManualMarking::Refusal::LastUnmarked) << "and says why";
    EXPECT_EQ(state.countMarked, 1);
    EXPECT_EQ(state.sizeMarked, 100u);
    EXPECT_FALSE(marking.toggleMark(*a)) << "a second click unmarks";
    EXPECT_EQ(state.countMarked, 0);
    EXPECT_EQ(state.sizeMarked, 0u);
    marking.unmark(*a);
    EXPECT_EQ(state.countMarked, 0) << "never below zero";
}

TEST_F(ManualMarkingModel, ALockedFileIsTheOneAGroupOfThreeKeeps)
{
    auto a = record("a.jpg", 1.0f), b = record("b.jpg", 1.0f), c = record("c.jpg", 1.0f);
    c->isLocked = true;
    show({ group({ a, b, c }) });
    EXPECT_TRUE(marking.mark(*a));
    EXPECT_TRUE(marking.mark(*b));
    EXPECT_FALSE(marking.mark(*c)) << "a locked file is never marked";
    EXPECT_EQ(ManualMarking::refusal(*c, nullptr), ManualMarking::Refusal::Locked);
    expectCountersMatchARecount();
}

TEST_F(ManualMarkingModel, LockingAMarkedFileUnmarksAndCountsItDown)
{
    auto a = record("a.jpg", 1.0f, 300), b = record("b.jpg", 1.0f, 50), c = record("c.jpg", 1.0f, 7);
    show({ group({ a, b, c }) });
    marking.mark(*a);
    marking.mark(*b);
    marking.lockUnLock(*a, true);
    EXPECT_TRUE(a->isLocked);
    EXPECT_FALSE(a->isMark);
    EXPECT_EQ(state.countMarked, 1);
    EXPECT_EQ(state.sizeMarked, 50u);
    marking.lockUnLock(*a, false);
    EXPECT_FALSE(a->isLocked);
    EXPECT_FALSE(a->isMark);
    expectCountersMatchARecount();
}

TEST_F(ManualMarkingModel, UnmarkAllLeavesHiddenGroupsMarkedUntilTheFilterBringsThemBack)
{
    auto a = record("a.jpg", 1.0f, 10), b = record("b.jpg", 1.0f, 20);
    auto x = record("x.jpg", 0.8f, 400), y = record("y.jpg", 0.8f, 500);
    show({ group({ a, b }), group({ x, y }) });
    marking.mark(*a);
    marking.mark(*y);
    state.applyLevel(0.9f);
    ASSERT_EQ(state.arrGroups.size(), 1u);
    marking.btnMarkUnmarkClicked();
    EXPECT_FALSE(a->isMark);
    EXPECT_EQ(state.countMarked, 0);
    EXPECT_TRUE(y->isMark);
    state.applyLevel(0.5f);
    EXPECT_EQ(state.countMarked, 1);
    EXPECT_EQ(state.sizeMarked, 500u);
}

TEST_F(ManualMarkingModel, DroppingOneFileOfAPairRemovesTheGroupAndTheCountersFollow)
{
    auto a = record("a.jpg", 1.0f, 10), b = record("b.jpg", 1.0f, 20);
    auto c = record("c.jpg", 1.0f, 30), d = record("d.jpg", 1.0f, 40), e = record("e.jpg", 1.0f, 50);
    show({ group({ a, b }), group({ c, d, e }) });
    marking.mark(*a);
    marking.mark(*d);
    EXPECT_TRUE(marking.removeFromPhotoList(b));
    state.applyLevel(0.5f);
    ASSERT_EQ(state.arrGroups.size(), 1u);
    EXPECT_EQ(state.arrGroups.front()->filterChildren.size(), 3);
    EXPECT_EQ(state.countMarked, 1);
    EXPECT_EQ(state.sizeMarked, 40u);
    EXPECT_FALSE(marking.removeFromPhotoList(b)) << "no group shows it any more";
}

TEST_F(ManualMarkingModel, AFileInTwoGroupsLeavesBoth)
{
    auto shared = record("s.jpg", 1.0f);
    auto a = record("a.jpg", 1.0f), b = record("b.jpg", 1.0f), c = record("c.jpg", 1.0f),
         d = record("d.jpg", 1.0f);
    auto first = group({ a, shared, b });
    auto second = group({ c, shared, d });
    show({ first, second });
    ASSERT_EQ(state.arrGroups.size(), 2u);
    EXPECT_TRUE(marking.removeFromPhotoList(shared));
    for (const auto &g : { first, second }) {
        EXPECT_FALSE(g->children.contains(shared));
        EXPECT_FALSE(g->filterChildren.contains(shared));
        EXPECT_EQ(g->children.size(), 2);
    }
}

} // namespace
