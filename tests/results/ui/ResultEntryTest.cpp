// Entry after a scan, filters at several levels, counts and texts, the file-type menu and the way
// back to the main window.
#include "results/ui/ResultGridFixture.h"

#include <algorithm>

#include <QAction>
#include <QPushButton>

#include "platform/UserDefaults.h"
#include "results/ui/OutlineList.h"

using namespace ResultsTestRecords;

namespace {

QStringList sectionNames(const ResultViewController &c)
{
    QStringList sections;
    for (int s = 0; s < c.numberOfSections(); ++s) {
        QStringList items;
        for (int i = 0; i < c.numberOfItemsInSection(s); ++i)
            items.append(c.recordAt(s, i)->fileName);
        sections.append(items.join(QLatin1Char(',')));
    }
    return sections;
}

} // namespace

TEST_F(ResultGridFixture, SimilarScanOpensAtItsThresholdWithGridCountsAndTexts)
{
    auto first = photos("a", {0.95f, 0.86f, 0.97f});
    auto second = photos("b", {1.0f, 1.0f});
    enter({first, second});
    EXPECT_TRUE(controller->sliderMatchingLevel->isVisibleTo(controller->view()));
    EXPECT_DOUBLE_EQ(controller->sliderMatchingLevel->minValue(), 0.85);
    EXPECT_FLOAT_EQ(controller->allowedMatch, 0.90f);
    EXPECT_EQ(sectionNames(*controller), (QStringList{"a0.jpg,a2.jpg", "b0.jpg,b1.jpg"}));
    EXPECT_EQ(controller->cDup, 4);
    EXPECT_EQ(controller->countTotal, 4);
    EXPECT_EQ(controller->sizeToClean, first->children[2]->fileSize + second->children[1]->fileSize);
    EXPECT_EQ(controller->lblBottomDuplicateGroups->text(), "4 duplicates in 2 groups");
    EXPECT_EQ(controller->lblBottomDuplicateGroups->toolTip(), controller->lblBottomDuplicateGroups->text());
    EXPECT_EQ(controller->lblBottomMarked->text(), "0 marked");
    EXPECT_FALSE(controller->btnTrashMarked->isEnabled());
    EXPECT_FALSE(controller->btnAutoMark->isHidden());
    const QList<HeaderView *> headers = grid().visibleHeaders();
    ASSERT_GE(headers.size(), 2);
    EXPECT_EQ(headers[0]->sectionTitle()->text(), "Duplicate Group 1");
    EXPECT_EQ(headers[0]->imageCount()->text(), "2 Photos");
    ASSERT_TRUE(cell(0, 1));
    EXPECT_EQ(cell(0, 1)->lblName->text(), "a2.jpg");
    EXPECT_EQ(controller->currentSelectedIndexs, (QList<IndexPath>{{0, 0}}));
    EXPECT_EQ(grid().selectionIndexPaths(), (QList<IndexPath>{{0, 0}}));
    ASSERT_FALSE(previewed.empty());
    EXPECT_EQ(previewed.back()->fileName, "a0.jpg");
}

TEST_F(ResultGridFixture, MovingTheSliderRefiltersFromTheFullSetAndReloadSelectsTheFirstItem)
{
    auto first = photos("a", {0.95f, 0.86f, 0.97f});
    auto second = photos("b", {0.99f, 0.99f});
    enter({first, second});
    controller->sliderMatchingLevel->setDoubleValue(0.98);
    controller->sliderMatchingValue(controller->sliderMatchingLevel);
    reloadNow();
    EXPECT_DOUBLE_EQ(controller->sliderForMatch->doubleValue(), 0.98);
    EXPECT_EQ(sectionNames(*controller), QStringList{"b0.jpg,b1.jpg"});
    EXPECT_EQ(controller->currentSelectedIndexs, (QList<IndexPath>{{0, 0}}));
    controller->sliderMatchingLevel->setDoubleValue(0.86);
    controller->sliderMatchingValue(controller->sliderMatchingLevel);
    reloadNow();
    EXPECT_EQ(sectionNames(*controller), (QStringList{"a0.jpg,a1.jpg,a2.jpg", "b0.jpg,b1.jpg"}));
    EXPECT_EQ(controller->cDup, 5);
}

TEST_F(ResultGridFixture, NothingAtTheThresholdRetriesAtTheMinimumAndMovesBothSliders)
{
    scan.matchThreshold = 0.97;
    auto weak = photos("w", {0.90f, 0.91f});
    enter({weak});
    EXPECT_DOUBLE_EQ(controller->sliderMatchingLevel->doubleValue(), 0.85);
    EXPECT_DOUBLE_EQ(controller->sliderForMatch->doubleValue(), 0.85);
    EXPECT_FLOAT_EQ(controller->allowedMatch, 0.85f);
    EXPECT_EQ(sectionNames(*controller), QStringList{"w0.jpg,w1.jpg"});
    EXPECT_EQ(controller->cDup, 2) << "the counts describe the groups the grid shows";
    EXPECT_FALSE(controller->boxHintPartialMatch->isHidden());
}

TEST_F(ResultGridFixture, ExactScanHidesTheSliderAndFiltersAtItsThreshold)
{
    scan.compareType = GlobalObjects::CompareType::ctMD5;
    scan.matchThreshold = 0.99;
    enter({photos("e", {1.0f, 1.0f})});
    EXPECT_TRUE(controller->sliderMatchingLevel->isHidden());
    EXPECT_TRUE(controller->lblMatchingLabel->isHidden());
    EXPECT_FLOAT_EQ(controller->allowedMatch, 0.99f);
    EXPECT_EQ(controller->numberOfSections(), 1);
}

TEST_F(ResultGridFixture, VideosOnlyWithoutVideoGroupsAlertsAndFallsBackToAllFiles)
{
    enter({photos("a", {1.0f, 1.0f})});
    const QString before = controller->btnFileTypeMenu->text();
    controller->selectFileType(controller->menuItemOnlyVideo);
    ASSERT_EQ(presenter.alerts().size(), 1u);
    EXPECT_EQ(presenter.alerts()[0].messageText, "No duplicate videos found.");
    EXPECT_EQ(presenter.alerts()[0].informativeText, "Please select another location to find duplicate videos.");
    EXPECT_EQ(controller->typeSupport, GlobalObjects::TypeSupport::ALLFILES);
    EXPECT_EQ(controller->arrGroups.size(), 1u);
    EXPECT_EQ(controller->btnFileTypeMenu->text(), before);
    reloadNow();
}

TEST_F(ResultGridFixture, ImagesOnlyKeepsPhotoGroupsAndDropsVideoGroups)
{
    auto pictures = photos("p", {1.0f, 1.0f});
    auto clips = group({photo("v0", 1.0f, true), photo("v1", 1.0f, true)});
    enter({clips, pictures});
    EXPECT_EQ(grid().visibleHeaders().first()->imageCount()->text(), "2 Videos");
    controller->selectFileType(controller->menuItemOnlyImage);
    reloadNow();
    EXPECT_TRUE(presenter.alerts().empty());
    EXPECT_EQ(sectionNames(*controller), QStringList{"p0.jpg,p1.jpg"});
    EXPECT_EQ(controller->typeSupport, GlobalObjects::TypeSupport::ONLYIMAGES);
    // The menu ticks the shown choice, and switching the listing keeps the button's look.
    EXPECT_TRUE(controller->menuItemOnlyImage->isChecked());
    EXPECT_FALSE(controller->menuItemAllFile->isChecked());
    const QFont font = controller->btnFileTypeMenu->font();
    controller->showListingTypeView(false);
    EXPECT_EQ(controller->btnFileTypeMenu->font(), font);
    EXPECT_FALSE(controller->btnFileTypeMenu->icon().isNull());
    EXPECT_EQ(controller->btnFileTypeMenu->font().pixelSize(), controller->btnAutoMark->font().pixelSize());
}

TEST_F(ResultGridFixture, SliderAboveEveryGroupHidesGridAndToolbarAndClearsThePreview)
{
    enter({photos("a", {0.92f, 0.92f})});
    controller->sliderMatchingLevel->setDoubleValue(0.99);
    controller->sliderMatchingValue(controller->sliderMatchingLevel);
    reloadNow();
    EXPECT_TRUE(controller->arrGroups.empty());
    EXPECT_TRUE(controller->scrollCollectionView->isHidden());
    EXPECT_TRUE(controller->btnFileTypeMenu->isHidden());
    EXPECT_TRUE(controller->btnAutoMark->isHidden());
    EXPECT_EQ(previewed.back(), nullptr);
    // The footer tells what is shown now, never the counts of the groups that were hidden.
    EXPECT_EQ(controller->lblBottomDuplicateGroups->text(), "0 duplicates in 0 groups");
    EXPECT_EQ(controller->numberOfSections(), 1);
    EXPECT_EQ(controller->numberOfItemsInSection(0), 0);
}

TEST_F(ResultGridFixture, BackToMainAsksFirstAndCancelKeepsTheResults)
{
    enter({photos("a", {1.0f, 1.0f})});
    UserDefaults::standard().setObject(QStringLiteral("doNotShowConfirmationDialogOnReturnToMainView"), false);
    controller->backToMainWindow();
    // The scan-complete sheet may have shown on its own timer meanwhile; only the question counts here.
    const auto &begun = presenter.sheetsBegun();
    EXPECT_EQ(std::count(begun.begin(), begun.end(), controller->windowOnMovesBack.data()), 1);
    EXPECT_TRUE(presenter.isSheetOpen(controller->windowOnMovesBack));
    controller->btnCanelOnMoveBackWindow->click();
    EXPECT_EQ(returnedToMain, 0);
    EXPECT_FALSE(presenter.isSheetOpen(controller->windowOnMovesBack));
    controller->backToMainWindow();
    controller->btnDontShowAgainOnMoveBackWindow->setChecked(true);
    controller->btnOkMoveBackWindow->click();
    EXPECT_EQ(returnedToMain, 1);
    EXPECT_TRUE(controller->view()->isHidden());
    EXPECT_EQ(previewed.back(), nullptr);
    EXPECT_TRUE(UserDefaults::standard().boolForKey(QStringLiteral("doNotShowConfirmationDialogOnReturnToMainView")));
    controller->view()->show();
    controller->backToMainWindow();
    EXPECT_EQ(returnedToMain, 2) << "no second question once it was turned off";
    UserDefaults::standard().removeObject(QStringLiteral("doNotShowConfirmationDialogOnReturnToMainView"));
}

TEST_F(ResultGridFixture, ListingSwitchShowsOneViewAndTheFileTypeTitle)
{
    enter({photos("a", {1.0f, 1.0f})});
    controller->btnChangeListingType();
    EXPECT_FALSE(controller->isShowingThumbView);
    EXPECT_TRUE(controller->viewThumbnailView->isHidden());
    EXPECT_FALSE(controller->viewListView->isHidden());
    EXPECT_EQ(controller->btnTypeListing->text(), "List View");
    controller->btnChangeListingType();
    EXPECT_TRUE(controller->viewListView->isHidden());
    EXPECT_EQ(controller->btnFileTypeMenu->text(), "All Items");
}

TEST_F(ResultGridFixture, SwitchingListingsKeepsTheCurrentFile)
{
    enter({photos("a", {1.0f, 1.0f}), photos("b", {1.0f, 1.0f, 1.0f})});
    controller->selectItemAtIndexPath({1, 2});
    ASSERT_EQ(controller->previewedRecord()->fileName, "b2.jpg");
    controller->btnChangeListingType();
    ASSERT_TRUE(controller->outlineList);
    ASSERT_TRUE(controller->outlineList->selectedRecord());
    EXPECT_EQ(controller->outlineList->selectedRecord()->fileName, "b2.jpg");
    controller->btnChangeListingType();
    EXPECT_EQ(grid().selectionIndexPaths(), (QList<IndexPath>{{1, 2}}));
    EXPECT_EQ(controller->currentSelectedIndexs, (QList<IndexPath>{{1, 2}}));
}
