// The thumbnail grid: cells, check boxes, clicks, right clicks, stale notifications, thumbnail
// loading and virtualisation.
#include "results/ui/ResultGridFixture.h"

#include <functional>

#include <QMenu>
#include <QTest>
#include <QToolTip>

#include "controls/MouseEvents.h"
#include "platform/NotificationCenter.h"
#include "removal/ManualMarking.h"
#include "results/ui/OutlineList.h"
#include "results/ui/ResultGridSource.h"

using namespace ResultsTestRecords;

namespace {

QVariantMap at(int section, int item)
{
    return {{QStringLiteral("indexpath"), QVariant::fromValue(IndexPath{section, item})}};
}

std::vector<std::shared_ptr<DuplicatesGroup>> groupsOfThree(int count)
{
    std::vector<std::shared_ptr<DuplicatesGroup>> groups;
    for (int i = 0; i < count; ++i)
        groups.push_back(group({record(QStringLiteral("r%1a").arg(i), 1.0f), record(QStringLiteral("r%1b").arg(i), 1.0f),
                                record(QStringLiteral("r%1c").arg(i), 1.0f)}));
    return groups;
}

} // namespace

TEST_F(ResultGridFixture, CheckBoxMarksButNeverTheLastUnmarkedFileOfAGroup)
{
    auto pair = photos("a", {1.0f, 1.0f});
    enter({pair});
    CollectionViewItem *first = cell(0, 0);
    CollectionViewItem *second = cell(0, 1);
    ASSERT_TRUE(first && second);
    first->btnCheckBox->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(pair->children[0]->isMark);
    EXPECT_EQ(controller->countMarked, 1);
    EXPECT_EQ(controller->sizeMarked, pair->children[0]->fileSize);
    EXPECT_EQ(first->boxBottomForItem->bgImage(), "red_strip.png");
    EXPECT_TRUE(controller->btnTrashMarked->isEnabled());
    EXPECT_EQ(controller->lblBottomMarked->text(), "1 marked");
    second->btnCheckBox->click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(pair->children[1]->isMark) << "a group keeps one unmarked file";
    EXPECT_FALSE(second->btnCheckBox->isChecked());
    EXPECT_EQ(QToolTip::text(), ManualMarking::refusalText(ManualMarking::Refusal::LastUnmarked))
        << "the refusal says why";
    EXPECT_EQ(controller->countMarked, 1);
    EXPECT_EQ(grid().selectionIndexPaths(), (QList<IndexPath>{{0, 1}}));
    EXPECT_EQ(controller->currentSelectedIndexs, (QList<IndexPath>{{0, 1}}));
    EXPECT_EQ(controller->countSelected, 1);
    first->btnCheckBox->click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(pair->children[0]->isMark);
    EXPECT_EQ(controller->countMarked, 0);
    EXPECT_FALSE(controller->btnTrashMarked->isEnabled());
}

TEST_F(ResultGridFixture, CellsShowMarkLockAndLibraryState)
{
    auto g = photos("a", {1.0f, 1.0f, 1.0f});
    g->children[0]->isMark = true;
    g->children[0]->isLocked = true;
    g->children[1]->isLocked = true;
    g->children[2]->isPhotosNode = true;
    g->children[2]->createDate = QDateTime();
    enter({g});
    CollectionViewItem *marked = cell(0, 0), *locked = cell(0, 1), *library = cell(0, 2);
    ASSERT_TRUE(marked && locked && library);
    EXPECT_EQ(marked->boxBottomForItem->bgImage(), "red_strip.png");
    EXPECT_TRUE(marked->btnCheckBox->isChecked());
    EXPECT_TRUE(marked->imgViewLock->isHidden());
    EXPECT_TRUE(locked->btnCheckBox->isHidden());
    EXPECT_FALSE(locked->imgViewLock->isHidden());
    EXPECT_EQ(locked->boxBottomForItem->bgImage(), "grey_strip.png");
    EXPECT_EQ(library->boxBottomForItem->bgImage(), "gree_strip.png");
    EXPECT_FALSE(library->imgViewiPhoto->isHidden());
    EXPECT_TRUE(marked->imgViewiPhoto->isHidden());
    EXPECT_TRUE(library->lblImageInfo->text().startsWith(' '));
}

TEST_F(ResultGridFixture, RecordWithoutAddressKeepsItsCell)
{
    auto g = photos("a", {1.0f, 1.0f});
    g->children[1]->filePathUrl = QUrl();
    auto h = photos("b", {1.0f, 1.0f});
    enter({g, h});
    EXPECT_EQ(controller->numberOfItemsInSection(0), 2);
    EXPECT_EQ(controller->numberOfItemsInSection(1), 2);
    ASSERT_TRUE(cell(1, 1));
    EXPECT_EQ(cell(1, 1)->lblName->text(), "b1.jpg");
}

// A name wider than its card keeps its start and its extension, with "…" between them.
TEST_F(ResultGridFixture, ALongNameKeepsItsStartAndExtensionOnItsCard)
{
    const QString name
        = QStringLiteral("holiday-at-the-seaside-with-the-whole-family-summer-1-IMG_20190714_15301");
    enter({ ResultsTestRecords::group({ photo(name, 1.0f), photo(QStringLiteral("short"), 1.0f) }) });
    ASSERT_TRUE(cell(0, 0) && cell(0, 1));
    const QLabel *caption = cell(0, 0)->lblName;
    EXPECT_TRUE(caption->text().startsWith(QStringLiteral("holiday-"))
        && caption->text().endsWith(QStringLiteral(".jpg")) && caption->text().contains(QChar(0x2026)))
        << caption->text().toStdString();
    EXPECT_LE(caption->fontMetrics().horizontalAdvance(caption->text()), caption->contentsRect().width());
    EXPECT_EQ(cell(0, 1)->lblName->text(), QStringLiteral("short.jpg"));
}

TEST_F(ResultGridFixture, ClicksSelectAndPreviewOnlyOneFile)
{
    enter({photos("a", {1.0f, 1.0f, 1.0f}), photos("b", {1.0f, 1.0f})});
    previewed.clear();
    MouseEvents::press(grid().viewport(), centreOf(0, 2));
    EXPECT_EQ(grid().selectionIndexPaths(), (QList<IndexPath>{{0, 2}}));
    EXPECT_EQ(controller->currentSelectedIndexs, (QList<IndexPath>{{0, 2}}));
    ASSERT_EQ(previewed.size(), 1u);
    EXPECT_EQ(previewed.back()->fileName, "a2.jpg");
    EXPECT_TRUE(cell(0, 2)->isSelected());
    EXPECT_FALSE(cell(0, 0)->isSelected());
    QMouseEvent shift(QEvent::MouseButtonPress, centreOf(1, 0), grid().viewport()->mapToGlobal(centreOf(1, 0)),
                      Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(grid().viewport(), &shift);
    EXPECT_EQ(grid().selectionIndexPaths().size(), 2);
    EXPECT_EQ(previewed.size(), 2u) << "several new cells preview one file";
}

TEST_F(ResultGridFixture, RightClickMakesTheClickedItemTheOnlySelectionAndPreviewsIt)
{
    enter({photos("a", {1.0f, 1.0f, 1.0f}), photos("b", {1.0f, 1.0f})});
    grid().selectItemsAtIndexPaths({{0, 0}, {0, 1}, {0, 2}}, MyCollectionView::ScrollPosition::None);
    controller->currentSelectedIndexs = {{0, 0}, {0, 1}, {0, 2}};
    previewed.clear();
    MouseEvents::rightClick(grid().viewport(), centreOf(1, 1));
    EXPECT_EQ(grid().selectionIndexPaths(), (QList<IndexPath>{{1, 1}}));
    EXPECT_EQ(controller->currentSelectedIndexs, (QList<IndexPath>{{1, 1}}));
    // The notification is moved to the GUI thread, which then queues the preview.
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    ASSERT_FALSE(previewed.empty());
    EXPECT_EQ(previewed.back()->fileName, "b1.jpg");
}

TEST_F(ResultGridFixture, NotificationsNamingAPositionThatNoLongerExistsAreIgnored)
{
    auto g = photos("a", {0.95f, 0.95f, 0.91f});
    enter({g});
    // Queued before the slider removes the third file; delivered after.
    NotificationCenter::defaultCenter().post(QStringLiteral("SelectUnselectPhoto"), at(0, 2));
    NotificationCenter::defaultCenter().post(QStringLiteral("cellselection"), at(0, 2));
    NotificationCenter::defaultCenter().post(QStringLiteral("cellselection"), at(7, 0));
    NotificationCenter::defaultCenter().post(QStringLiteral("SelectUnselectPhoto"), {});
    controller->setMatchingLevelAndApply(0.93);
    previewed.clear();
    reloadNow();
    for (const auto &record : g->children)
        EXPECT_FALSE(record->isMark);
    EXPECT_EQ(controller->countMarked, 0);
    for (const auto &record : previewed)
        ASSERT_TRUE(!record || record->fileName != "a2.jpg") << "the stale right click previewed a removed file";
}

TEST_F(ResultGridFixture, NotificationWhosePositionNowNamesAnotherFileIsIgnored)
{
    auto weak = photos("x", {0.92f, 0.92f, 0.92f});
    auto strong = photos("y", {0.99f, 0.99f, 0.99f});
    enter({weak, strong});
    NotificationCenter::defaultCenter().post(QStringLiteral("SelectUnselectPhoto"), at(0, 1));
    NotificationCenter::defaultCenter().post(QStringLiteral("cellselection"), at(0, 1));
    // The weak group goes; (0, 1) now names y1.
    controller->setMatchingLevelAndApply(0.95);
    previewed.clear();
    reloadNow();
    ASSERT_EQ(controller->recordAt(0, 1)->fileName, "y1.jpg");
    for (const auto &record : strong->children)
        EXPECT_FALSE(record->isMark);
    for (const auto &record : weak->children)
        EXPECT_FALSE(record->isMark);
    for (const auto &record : previewed)
        ASSERT_TRUE(!record || record->fileName != "y1.jpg") << "the stale right click previewed another file";
}

// Moving the matching slider keeps the photo the user was on while it is still shown; one that the
// new level hides hands the selection to the first photo.
TEST_F(ResultGridFixture, TheMatchingSliderKeepsThePhotoTheUserWasOn)
{
    struct Row {
        IndexPath clicked;
        const char *shownAfter;
        IndexPath selectedAfter;
    };
    for (const Row &row : { Row{{1, 2}, "y2.jpg", {0, 2}}, Row{{0, 1}, "y0.jpg", {0, 0}} }) {
        enter({photos("x", {0.92f, 0.92f, 0.92f}), photos("y", {0.99f, 0.99f, 0.99f})});
        MouseEvents::press(grid().viewport(), centreOf(row.clicked.section, row.clicked.item));
        controller->sliderMatchingLevel->setDoubleValue(0.95);
        controller->sliderMatchingValue(controller->sliderMatchingLevel);
        reloadNow();
        ASSERT_TRUE(controller->previewedRecord());
        EXPECT_EQ(controller->previewedRecord()->fileName, row.shownAfter);
        EXPECT_EQ(grid().selectionIndexPaths(), (QList<IndexPath>{row.selectedAfter})) << row.shownAfter;
        EXPECT_EQ(controller->currentSelectedIndexs, (QList<IndexPath>{row.selectedAfter}));
        settle();
    }
}

TEST_F(ResultGridFixture, FirstThreeCellsLoadAtOnceTheRestAfterTheViewSettles)
{
    enter({photos("a", {1.0f, 1.0f, 1.0f}), photos("b", {1.0f, 1.0f, 1.0f})});
    settle();
    int loaded = 0;
    for (const auto &record : controller->arrImageContent)
        loaded += record->imgThumbnail.isNull() ? 0 : 1;
    EXPECT_GE(loaded, 3);
    controller->thumbnailLoader().changeCellViewControllerInCollectionView();
    settle();
    for (CollectionViewItem *item : grid().visibleItems()) {
        const auto record = controller->recordAt(item->indexpathForCell->section, item->indexpathForCell->item);
        ASSERT_FALSE(record->imgThumbnail.isNull());
        EXPECT_EQ(item->imageItem->image(), record->imgThumbnail);
        EXPECT_EQ(record->imgThumbnail.size(), QSize(248, 244));
    }
}

TEST_F(ResultGridFixture, LateLoadLeavesACellThatNowShowsAnotherFile)
{
    enter({photos("a", {1.0f, 1.0f})});
    settle();
    CollectionViewItem *item = cell(0, 0);
    ASSERT_TRUE(item);
    auto stranger = record("stranger", 1.0f);
    stranger->imgThumbnail = QImage(10, 10, QImage::Format_RGB32);
    const QImage shown = item->imageItem->image();
    ThumbnailLoader::setItemThumbnailRedraw(item, *stranger);
    EXPECT_EQ(item->imageItem->image(), shown);
    controller->thumbnailLoader().loadThumbnailForCell(stranger, item);
    settle();
    EXPECT_EQ(item->imageItem->image(), shown);
}

TEST_F(ResultGridFixture, VideoWithoutFrameShowsTheVideoArtwork)
{
    auto clips = group({photo("v0", 1.0f, true), photo("v1", 1.0f, true)});
    enter({clips});
    settle();
    ASSERT_TRUE(cell(0, 0));
    EXPECT_EQ(cell(0, 0)->imageItem->imageName(), "video_thumbnail.png");
}

TEST_F(ResultGridFixture, ManyGroupsMakeOnlyAScreenfulOfCells)
{
    enter(groupsOfThree(2000));
    EXPECT_EQ(controller->numberOfSections(), 2000);
    const int before = grid().cellCount();
    EXPECT_LT(before, 40);
    grid().scrollToOffset(int(grid().layout().sectionFrame(1500).top()));
    QCoreApplication::processEvents();
    EXPECT_LE(grid().cellCount(), before + 12);
    ASSERT_FALSE(grid().visibleItems().isEmpty());
    EXPECT_EQ(grid().visibleItems().first()->indexpathForCell->section, 1500);
    EXPECT_EQ(grid().visibleItems().first()->lblName->text(), "r1500a");
    EXPECT_TRUE(controller->thumbnailLoader().isSettlePending()) << "scrolling arms one delayed visible pass";
}

TEST_F(ResultGridFixture, SpaceTicksTheCurrentPhotosBoxAndTheFocusMarkFollowsTheKeys)
{
    auto pair = photos("a", {1.0f, 1.0f});
    enter({pair, photos("b", {1.0f, 1.0f})});
    grid().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(grid().window()));
    grid().setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(cell(0, 0)->showsFocusMark()) << "the grid shows where its keys act once it has the focus";
    // Space on each photo of the pair: the first is marked, the last unmarked one is refused.
    for (const auto &[item, marks] : {std::pair{0, true}, std::pair{1, false}}) {
        QTest::keyClick(&grid(), Qt::Key_Space);
        QCoreApplication::processEvents();
        EXPECT_EQ(pair->children[item]->isMark, marks);
        EXPECT_EQ(cell(0, item)->btnCheckBox->isChecked(), marks);
        EXPECT_EQ(controller->countMarked, 1);
        QTest::keyClick(&grid(), Qt::Key_Right);
        EXPECT_FALSE(cell(0, item)->showsFocusMark());
    }
    grid().clearFocus();
    EXPECT_FALSE(cell(1, 0)->showsFocusMark());
}

TEST_F(ResultGridFixture, MenuKeysOpenTheCurrentPhotosMenuWithItAloneSelected)
{
    enter({photos("a", {1.0f, 1.0f, 1.0f}), photos("b", {1.0f, 1.0f})});
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(0, 0), grid().mapToGlobal(QPoint(0, 0)));
    const std::function<void()> keys[] = {[&] { QTest::keyClick(&grid(), Qt::Key_F10, Qt::ShiftModifier); },
                                          [&] { QApplication::sendEvent(&grid(), &menuKey); }};
    for (const auto &press : keys) {
        MouseEvents::press(grid().viewport(), centreOf(0, 2));
        grid().selectItemsAtIndexPaths({{0, 0}, {0, 1}}, MyCollectionView::ScrollPosition::None);
        press();
        QMenu *menu = controller->menuForCollectionView;
        ASSERT_TRUE(menu && menu->isVisible());
        EXPECT_EQ(menu->activeAction(), menu->actions().first());
        EXPECT_TRUE(grid().viewport()->rect().contains(grid().viewport()->mapFromGlobal(menu->pos())));
        menu->close();
        EXPECT_EQ(grid().selectionIndexPaths(), (QList<IndexPath>{{0, 2}}));
        EXPECT_EQ(controller->currentSelectedIndexs, (QList<IndexPath>{{0, 2}}));
    }
}

// Whatever was clicked before, a click on a photo or on its box makes it the one Space toggles.
TEST_F(ResultGridFixture, EveryClickMovesTheKeysToTheClickedPhoto)
{
    // A click, then one on another group's photo: on its picture (false) or on its box, which marks.
    const std::pair<IndexPath, bool> rows[][2] = { { { { 0, 0 }, false }, { { 1, 1 }, true } },
        { { { 1, 1 }, true }, { { 0, 2 }, true } }, { { { 1, 0 }, true }, { { 0, 1 }, false } } };
    for (const auto &clicks : rows) {
        const std::vector groups { photos("a", { 1.0f, 1.0f, 1.0f }), photos("b", { 1.0f, 1.0f, 1.0f }) };
        enter(groups);
        for (const auto &[at, onBox] : clicks) {
            QWidget *target = onBox ? cell(at.section, at.item)->btnCheckBox : grid().viewport();
            const QPoint pos = onBox ? target->rect().center() : centreOf(at.section, at.item);
            MouseEvents::press(target, pos);
            MouseEvents::release(target, pos);
            QCoreApplication::processEvents();
        }
        QTest::keyClick(&grid(), Qt::Key_Space);
        QCoreApplication::processEvents();
        for (const auto &[at, onBox] : clicks)
            EXPECT_EQ(groups[at.section]->children[at.item]->isMark, onBox != (at == clicks[1].first));
        EXPECT_EQ(grid().selectionIndexPaths(), QList<IndexPath> { clicks[1].first });
        EXPECT_TRUE(grid().hasFocus());
    }
}

// PgDn and PgUp take the current photo a page on with the view, so Space never marks one off
// screen; End and Home go to the last and the first photo.
TEST_F(ResultGridFixture, PageHomeAndEndKeysKeepTheCurrentPhotoOnScreen)
{
    enter(groupsOfThree(12));
    const QScrollBar *bar = grid().verticalScrollBar();
    // Key, the photo it reaches, in at most that many presses.
    const std::tuple<Qt::Key, IndexPath, int> rows[] = { { Qt::Key_End, { 11, 2 }, 1 },
        { Qt::Key_Home, { 0, 0 }, 1 }, { Qt::Key_PageDown, { 11, 2 }, 40 }, { Qt::Key_PageUp, { 0, 0 }, 40 } };
    for (const auto &[key, end, most] : rows) {
        for (int presses = 0; presses < most && grid().currentIndexPath() != end; ++presses) {
            const auto before = grid().currentIndexPath();
            QTest::keyClick(&grid(), key);
            const QRectF frame = *grid().layoutAttributesForItemAtIndexPath(*grid().currentIndexPath());
            EXPECT_NE(grid().currentIndexPath(), before) << key;
            EXPECT_TRUE(frame.top() >= bar->value() && frame.bottom() <= bar->value() + grid().viewport()->height());
        }
        EXPECT_EQ(grid().currentIndexPath(), end) << key;
    }
    QTest::keyClick(&grid(), Qt::Key_Home);
    EXPECT_EQ(bar->value(), 0) << "the first group's title shows in its place";
}

// Whatever selects a photo, the list's choice brought to the grid or a reload that moves it to
// another place, Space marks that photo and the arrows go on from it.
TEST_F(ResultGridFixture, SpaceAndTheArrowsActOnThePhotoTheWindowSelected)
{
    const auto listing = [this](int item) {
        controller->menuListType->triggered(controller->menuListType->actions().at(item));
    };
    const std::function<void(const ImageFileInfo *)> ways[] = {
        [&](const ImageFileInfo *chosen) {
            listing(0);
            controller->outlineList->selectRecord(chosen);
            listing(1);
        },
        [this](const ImageFileInfo *) {
            MouseEvents::press(grid().viewport(), centreOf(1, 1));
            controller->sliderMatchingLevel->setDoubleValue(0.98);
            controller->sliderMatchingValue(controller->sliderMatchingLevel);
            reloadNow();
        },
    };
    for (const auto &select : ways) {
        const std::vector groups { photos("a", { 0.95f, 0.95f }), photos("b", { 0.99f, 0.99f, 0.99f }) };
        enter(groups);
        MouseEvents::press(grid().viewport(), centreOf(0, 1));
        const std::shared_ptr<ImageFileInfo> chosen = groups[1]->children[1];
        select(chosen.get());
        const IndexPath at = controller->indexPathOf(chosen.get()).value_or(IndexPath {});
        QTest::keyClick(&grid(), Qt::Key_Space);
        QCoreApplication::processEvents();
        EXPECT_TRUE(chosen->isMark);
        EXPECT_EQ(controller->countMarked, 1);
        QTest::keyClick(&grid(), Qt::Key_Right);
        EXPECT_EQ(grid().selectionIndexPaths(), (QList<IndexPath> { { at.section, at.item + 1 } }));
    }
}
