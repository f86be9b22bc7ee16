// The results grid's right click: single selection and the "cellselection" notification.
#include <gtest/gtest.h>

#include <QScrollBar>

#include "MouseEvents.h"
#include "controls/MyCollectionView.h"
#include "platform/NotificationCenter.h"

namespace
{

// Two sections of four 50 x 50 items in a row, 10 apart.
std::vector<std::vector<QRectF>> twoRows()
{
    std::vector<std::vector<QRectF>> frames(2);
    for (int s = 0; s < 2; ++s) {
        for (int i = 0; i < 4; ++i)
            frames[s].emplace_back(10 + i * 60, 10 + s * 70, 50, 50);
    }
    return frames;
}

struct Grid {
    MyCollectionView view;
    QMenu menu;
    std::vector<IndexPath> posted;
    std::vector<IndexPath> signalled;
    Grid()
    {
        view.resize(300, 200);
        view.setItemFrames(twoRows());
        view.setMenu(&menu);
        NotificationCenter::defaultCenter().addObserver(
            this, QStringLiteral("cellselection"), [this](const Notification &n) {
                posted.push_back(n.userInfo.value(QStringLiteral("indexpath")).value<IndexPath>());
            });
        QObject::connect(&view, &MyCollectionView::rightClickSelected,
            [this](const IndexPath &p) { signalled.push_back(p); });
    }
    ~Grid() { NotificationCenter::defaultCenter().removeObserver(this); }
};

} // namespace

TEST(MyCollectionView, RightClickOnAnItemMakesItTheOnlySelectionAndAnnouncesIt)
{
    Grid g;
    g.view.selectItemsAtIndexPaths({ { 0, 0 }, { 0, 1 }, { 1, 2 } }, MyCollectionView::ScrollPosition::None);
    MouseEvents::rightClick(g.view.viewport(), QPoint(10 + 3 * 60 + 25, 35));
    EXPECT_EQ(g.view.selectionIndexPaths(), (QList<IndexPath> { { 0, 3 } }));
    ASSERT_EQ(g.posted.size(), 1u);
    EXPECT_EQ(g.posted.front(), (IndexPath { 0, 3 }));
    EXPECT_EQ(g.signalled, (std::vector<IndexPath> { { 0, 3 } }));
    EXPECT_EQ(g.view.menuForEvent(QPoint(35, 105)), &g.menu);
}

TEST(MyCollectionView, RightClickBetweenItemsChangesNothing)
{
    Grid g;
    g.view.selectItemsAtIndexPaths({ { 1, 1 } }, MyCollectionView::ScrollPosition::None);
    MouseEvents::rightClick(g.view.viewport(), QPoint(65, 35)); // the gap between items 0 and 1
    MouseEvents::rightClick(g.view.viewport(), QPoint(35, 65)); // the gap between the sections
    EXPECT_EQ(g.view.selectionIndexPaths(), (QList<IndexPath> { { 1, 1 } }));
    EXPECT_TRUE(g.posted.empty());
    EXPECT_EQ(g.view.menuForEvent(QPoint(65, 35)), nullptr);
}

struct HitCase {
    QPoint point;
    std::optional<IndexPath> hit;
};

class MyCollectionViewHits : public ::testing::TestWithParam<HitCase>
{
};

TEST_P(MyCollectionViewHits, LeftAndTopEdgesBelongToTheItem)
{
    MyCollectionView view;
    view.resize(300, 200);
    view.setItemFrames(twoRows());
    EXPECT_EQ(view.indexPathForItemAtPoint(GetParam().point), GetParam().hit);
}

INSTANTIATE_TEST_SUITE_P(Edges, MyCollectionViewHits,
    ::testing::Values(HitCase { { 10, 10 }, IndexPath { 0, 0 } }, HitCase { { 59, 59 }, IndexPath { 0, 0 } },
        HitCase { { 60, 10 }, std::nullopt }, HitCase { { 70, 80 }, IndexPath { 1, 1 } },
        HitCase { { 10, 60 }, std::nullopt }, HitCase { { 0, 0 }, std::nullopt }));

TEST(MyCollectionView, EmptyGridNeverAnnounces)
{
    Grid g;
    g.view.setItemFrames({});
    MouseEvents::rightClick(g.view.viewport(), QPoint(35, 35));
    g.view.setItemFrames({ {}, {} });
    MouseEvents::rightClick(g.view.viewport(), QPoint(35, 35));
    EXPECT_TRUE(g.posted.empty());
    EXPECT_TRUE(g.view.selectionIndexPaths().isEmpty());
}

TEST(MyCollectionView, HitTestFollowsScrolling)
{
    MyCollectionView view;
    view.resize(120, 60);
    view.setItemFrames(twoRows());
    view.scrollToItem({ 1, 0 }, MyCollectionView::ScrollPosition::Top);
    const int scrolled = view.verticalScrollBar()->value();
    ASSERT_GT(scrolled, 0);
    EXPECT_EQ(view.indexPathForItemAtPoint(QPoint(15, 80 - scrolled + 5)), (IndexPath { 1, 0 }));
}
