// Marking by hand in the results window: the context menu after a right click, the list's check
// boxes and Unmark All, each seen in the records, the counters and the footer.
#include <QFileInfo>
#include <QMenu>

#include "app/LocalizedString.h"
#include "controls/CustomCell.h"
#include "controls/MouseEvents.h"
#include "platform/BoundedLook.h"
#include "removal/ui/ResultContextMenu.h"
#include "removal/ui/ResultWindowMarking.h"
#include "results/ResultTexts.h"
#include "results/ui/MetadataTable.h"
#include "results/ui/OutlineList.h"
#include "results/ui/OutlineListDelegate.h"
#include "results/ui/OutlineListModel.h"
#include "results/ui/PreviewPane.h"
#include "results/ui/ResultGridFixture.h"
#include "results/ui/ResultWindowBuilder.h"
#include "support/DeadMount.h"

namespace
{

class ResultContextMenuTest : public ResultGridFixture
{
protected:
    void SetUp() override
    {
        ResultGridFixture::SetUp();
        marking = std::make_unique<ResultWindowMarking>(*controller);
        ASSERT_TRUE(marking->contextMenu());
        menu().isImmutable = [](const QString &) { return false; };
        QObject::connect(controller.get(), &ResultViewController::autoMarkAllItemsRequested, controller.get(),
            [this] { ++autoMarkRequests; });
    }

    void TearDown() override
    {
        marking.reset();
        ResultGridFixture::TearDown();
    }

    ResultContextMenu &menu() { return *marking->contextMenu(); }
    QMenu &contextMenu() { return *controller->menuForCollectionView; }
    QString footer() const { return controller->lblBottomMarked->text(); }

    // Opens the grid's menu with a right click on (section, item), then closes it.
    void rightClick(int section, int item)
    {
        MouseEvents::rightClick(grid().viewport(), centreOf(section, item));
        ASSERT_TRUE(contextMenu().isVisible());
        contextMenu().hide();
    }

    // Clicks the check box of the list row that shows `record`.
    void clickListBox(const std::shared_ptr<ImageFileInfo> &record)
    {
        OutlineList &list = *controller->outlineList;
        const QRect row = list.outlineDupliates()->visualRect(list.model().indexOfRecord(record.get()));
        const QPoint box = row.topLeft() + ListColumns::boxRect(row.height()).center();
        MouseEvents::press(list.outlineDupliates()->viewport(), box);
        MouseEvents::release(list.outlineDupliates()->viewport(), box);
    }

    std::unique_ptr<ResultWindowMarking> marking;
    int autoMarkRequests = 0;
};

TEST_F(ResultContextMenuTest, WithEveryFileSelectedMarkAutoMarksButARightClickNarrowsItToOneFile)
{
    enter({ photos("a", { 1.0f, 1.0f, 1.0f }), photos("b", { 1.0f, 1.0f }) });
    const QList<IndexPath> all { { 0, 0 }, { 0, 1 }, { 0, 2 }, { 1, 0 }, { 1, 1 } };
    grid().selectItemsAtIndexPaths(all, MyCollectionView::ScrollPosition::None);
    controller->currentSelectedIndexs = all;
    menu().validateMenu();
    menu().menuItemMarkUnmark->trigger();
    EXPECT_EQ(autoMarkRequests, 1);
    EXPECT_EQ(controller->countMarked, 0);

    rightClick(1, 1);
    EXPECT_EQ(controller->currentSelectedIndexs, QList<IndexPath> { IndexPath(1, 1) });
    EXPECT_EQ(
        menu().menuItemMarkUnmark->text(), QLatin1Char('&') + localizedString(QStringLiteral("ID_MARK")));
    EXPECT_TRUE(menu().menuItemMarkUnmark->isEnabled());
    menu().menuItemMarkUnmark->trigger();
    EXPECT_EQ(autoMarkRequests, 1);
    const auto b1 = controller->recordAt(1, 1);
    EXPECT_TRUE(b1->isMark);
    EXPECT_EQ(controller->countMarked, 1);
    EXPECT_EQ(controller->sizeMarked, b1->fileSize);
    EXPECT_EQ(footer(), ResultTexts::photosMarked(1));

    // The same file again: Unmark; then Lock, which the footer shows at once.
    rightClick(1, 1);
    EXPECT_EQ(menu().menuItemMarkUnmark->text().remove('&'), localizedString(QStringLiteral("ID_UNMARK")));
    const auto a0 = controller->recordAt(0, 0);
    controller->currentSelectedIndexs = { IndexPath(0, 0) };
    menu().validateMenu();
    menu().menuItemMarkUnmark->trigger();
    EXPECT_EQ(footer(), ResultTexts::photosMarked(2));
    menu().validateMenu();
    menu().menuItemLockUnLock->trigger();
    EXPECT_TRUE(a0->isLocked);
    EXPECT_FALSE(a0->isMark);
    EXPECT_EQ(controller->countMarked, 1);
    EXPECT_EQ(footer(), ResultTexts::photosMarked(1));
    EXPECT_TRUE(cell(0, 0)->btnCheckBox->isHidden());
    EXPECT_FALSE(cell(0, 0)->imgViewLock->isHidden());
    menu().validateMenu();
    EXPECT_EQ(menu().menuItemLockUnLock->text().remove('&'), localizedString(QStringLiteral("ID_UNLOCK")));
    EXPECT_FALSE(menu().menuItemMarkUnmark->isEnabled());
}

TEST_F(ResultContextMenuTest, ARefusedListCheckBoxIsOffAgainAndUnmarkAllRefreshesTheFooter)
{
    enter({ photos("a", { 1.0f, 1.0f }), photos("b", { 1.0f, 1.0f, 1.0f }) });
    controller->btnChangeListingType();
    ASSERT_FALSE(controller->isShowingThumbView);
    QCoreApplication::processEvents();
    const auto a0 = controller->recordAt(0, 0), a1 = controller->recordAt(0, 1),
               b0 = controller->recordAt(1, 0);
    clickListBox(a0);
    clickListBox(a1);
    clickListBox(b0);
    EXPECT_TRUE(a0->isMark);
    EXPECT_FALSE(a1->isMark) << "the pair keeps one unmarked file";
    OutlineList &list = *controller->outlineList;
    const int row = list.outlineDupliates()->visualRect(list.model().indexOfRecord(a1.get())).top()
        / OutlineListModel::kRowHeight;
    std::unique_ptr<CustomCell> refused(list.viewForRow(row));
    ASSERT_TRUE(refused);
    EXPECT_FALSE(refused->btnCheckBox()->isChecked());
    EXPECT_EQ(controller->countMarked, 2);
    EXPECT_EQ(footer(), ResultTexts::photosMarked(2));

    controller->btnUnmark->click();
    EXPECT_FALSE(a0->isMark);
    EXPECT_FALSE(b0->isMark);
    EXPECT_EQ(controller->countMarked, 0);
    EXPECT_EQ(controller->sizeMarked, 0u);
    EXPECT_EQ(footer(), ResultTexts::photosMarked(0));
}

TEST_F(ResultContextMenuTest, RemoveFromListDropsThePairAndClearsThePreview)
{
    enter({ photos("a", { 1.0f, 1.0f }), photos("b", { 1.0f, 1.0f, 1.0f }) });
    const auto a1 = controller->recordAt(0, 1);
    const auto b1 = controller->recordAt(1, 1);
    controller->currentSelectedIndexs = { IndexPath(1, 1) };
    menu().validateMenu();
    menu().menuItemMarkUnmark->trigger();
    ASSERT_TRUE(b1->isMark);
    rightClick(0, 1);
    previewed.clear();
    QList<QUrl> removed;
    QObject::connect(controller.get(), &ResultViewController::removedFromResults,
        [&removed](const QUrl &url) { removed.append(url); });
    controller->findChild<ResultWindowBuilder *>()->menuItemRemoveFromPhotoList->trigger();
    EXPECT_EQ(removed, QList<QUrl> { QUrl::fromLocalFile(a1->filePath) });
    ASSERT_EQ(controller->arrGroups.size(), 1u);
    EXPECT_EQ(controller->recordAt(0, 1), b1);
    EXPECT_EQ(controller->countMarked, 1);
    ASSERT_FALSE(previewed.empty());
    EXPECT_EQ(previewed.front(), nullptr);
    EXPECT_TRUE(QFileInfo::exists(a1->filePath)) << "the file on disk stays";
}

// A photo whose share stops answering after the scan: a right click on it opens the menu within
// the bound, offering only what keeps the file (the test below, run beside such a share).
TEST(DeadShareMenuTest, ARightClickBesideASilentShareOpensTheMenu)
{
    DeadMount::expectPassesBeside("ResultContextMenuTest.ARightClickOnAPhotoOfASilentShareOpensTheMenu");
}

TEST_F(ResultContextMenuTest, ARightClickOnAPhotoOfASilentShareOpensTheMenu)
{
    QNY_SKIP_UNLESS_BESIDE_A_SILENT_SHARE();
    const auto group = photos("a", { 1.0f, 1.0f });
    enter({ group });
    settle();
    menu().isImmutable = nullptr;
    BoundedLookTimes::setNotAnsweringAfter(std::chrono::milliseconds(300));
    group->children[1]->filePath = DeadMount::silentShare() + QStringLiteral("/a1.jpg");
    // The second time, the share is known as silent and not looked at again.
    for (int time = 0; time < 2; ++time) {
        rightClick(0, 1);
        EXPECT_FALSE(menu().menuItemMarkUnmark->isEnabled());
        EXPECT_TRUE(menu().menuItemLockUnLock->isEnabled());
    }
    EXPECT_EQ(DeadMount::threadsWaiting().size(), 1);
    EXPECT_TRUE(DeadMount::endServerAndWait(DeadMount::threadsWaiting(), 10000));
}

} // namespace
