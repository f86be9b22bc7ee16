// The removal road in the results window: confirmation, Review, the suppressed question, progress
// with Stop, and the summary, on real files and the real Trash.
#include <atomic>
#include <semaphore>

#include <QCheckBox>
#include <QScopeGuard>

#include "platform/UserDefaults.h"
#include "removal/LocalTrashRoute.h"
#include "removal/RemovalFixture.h"
#include "removal/RemovalRoutes.h"
#include "removal/RemovalRun.h"
#include "removal/ui/RemovalSheets.h"
#include "results/ui/AfterTrashSummaryWindow.h"
#include "results/ui/ResultWindowFixture.h"

namespace
{

const QString kSuppressKey = QStringLiteral("doNotShowConfirmationDialogOnTrash");

class RemovalSheetsTest : public ResultWindowFixture
{
protected:
    void SetUp() override
    {
        ResultWindowFixture::SetUp();
        RemovalFixture::emptyTrash();
        UserDefaults::standard().removeObject(kSuppressKey);
        open();
        sheets = RemovalSheets::install(*controller);
        sheets->ensureSheets();
        connect();
    }

    void connect()
    {
        QObject::connect(sheets, &RemovalSheets::trashFinished, [this] { ++finished; });
    }

    // One group of three photos, the last two marked, shown in the window.
    void showThreeWithTwoMarked()
    {
        group = photos(QStringLiteral("g"), 3);
        group->children[1]->isMark = group->children[2]->isMark = true;
        controller->invokeCollectionView(std::vector { group }, scan);
        controller->updateFooterInfo();
        ASSERT_EQ(controller->countMarked, 2);
    }

    bool began(QWidget *sheet) const
    {
        const auto &all = presenter.sheetsBegun();
        return std::find(all.begin(), all.end(), sheet) != all.end();
    }

    void answerConfirmationWith(QAbstractButton *button, bool tickDontShow = false)
    {
        presenter.setModalHandler([this, button, tickDontShow](QWidget *window) {
            if (window != sheets->windowConfirmTrash)
                return;
            sheets->dontShowConfirmationDialogue->setChecked(tickDontShow);
            button->click();
        });
    }

    RemovalSheets *sheets = nullptr;
    std::shared_ptr<DuplicatesGroup> group;
    int finished = 0;
};

TEST_F(RemovalSheetsTest, ProceedMovesTheMarkedFilesAndShowsTheSummary)
{
    showThreeWithTwoMarked();
    answerConfirmationWith(sheets->btnTrash);
    controller->btnTrashMarked->click();
    ASSERT_TRUE(waitUntil([this] { return began(builder->afterTrash().windowAfterTrashFolderFIles); }));
    EXPECT_EQ(finished, 1);
    EXPECT_EQ(RemovalFixture::trashedNames(), QStringList({ "g1.jpg", "g2.jpg" }));
    EXPECT_TRUE(QFileInfo::exists(group->children.value(0)->filePath));
    EXPECT_TRUE(controller->arrGroups.empty());
    EXPECT_EQ(builder->afterTrash().lblTrashCountInFolderFile->text(), QStringLiteral("2"));
    EXPECT_TRUE(builder->afterTrash().lblRemovalProblems->isHidden());
    EXPECT_FALSE(presenter.isSheetOpen(sheets->windowTrash));
    EXPECT_FALSE(UserDefaults::standard().objectForKey(kSuppressKey).toBool());
}

TEST_F(RemovalSheetsTest, ReviewClosesTheQuestionAndChangesNothing)
{
    showThreeWithTwoMarked();
    answerConfirmationWith(sheets->btnReview);
    controller->btnTrashMarked->click();
    settle();
    EXPECT_FALSE(presenter.isSheetOpen(sheets->windowConfirmTrash));
    EXPECT_FALSE(began(sheets->windowTrash));
    EXPECT_EQ(controller->countMarked, 2);
    EXPECT_TRUE(group->children[1]->isMark && group->children[2]->isMark);
    EXPECT_TRUE(RemovalFixture::trashedNames().isEmpty());
    // Trash Marked may be pressed again at once.
    controller->btnTrashMarked->click();
    EXPECT_EQ(presenter.modalRunCount(sheets->windowConfirmTrash), 2);
}

TEST_F(RemovalSheetsTest, ProceedingWithTheBoxTickedStopsAsking)
{
    showThreeWithTwoMarked();
    answerConfirmationWith(sheets->btnTrash, true);
    controller->btnTrashMarked->click();
    ASSERT_TRUE(waitUntil([this] { return finished == 1; }));
    EXPECT_TRUE(UserDefaults::standard().objectForKey(kSuppressKey).toBool());
}

// The stored setting and whether the question is asked.
struct SuppressCase {
    const char *name;
    QVariant stored;
    bool asks;
};

class RemovalSuppressTest : public RemovalSheetsTest, public ::testing::WithParamInterface<SuppressCase>
{
};

TEST_P(RemovalSuppressTest, OnlyAStoredTrueSkipsTheQuestion)
{
    showThreeWithTwoMarked();
    UserDefaults::standard().setObject(kSuppressKey, GetParam().stored);
    answerConfirmationWith(sheets->btnReview);
    controller->btnTrashMarked->click();
    EXPECT_EQ(began(sheets->windowConfirmTrash), GetParam().asks);
    EXPECT_EQ(began(sheets->windowTrash), !GetParam().asks);
    ASSERT_TRUE(waitUntil([this] { return !sheets->run().isRunning(); }));
}

INSTANTIATE_TEST_SUITE_P(Removal, RemovalSuppressTest,
    ::testing::Values(SuppressCase { "True", true, false }, SuppressCase { "One", 1, false },
        SuppressCase { "False", false, true }, SuppressCase { "Text", QStringLiteral("yes"), true }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(RemovalSheetsTest, StopKeepsTheWindowBlockedUntilTheCurrentFileIsDone)
{
    group = photos(QStringLiteral("s"), 5);
    for (int i = 1; i < 5; ++i)
        group->children[i]->isMark = true;
    controller->invokeCollectionView(std::vector { group }, scan);
    controller->updateFooterInfo();
    std::counting_semaphore<8> release(0);
    // A failed check must not leave the worker waiting: the run waits for it when it goes.
    const auto unblock = qScopeGuard([&] { release.release(); });
    std::atomic<int> calls { 0 };
    sheets->routes().setRoute(RemovalRoutes::Kind::ThisComputer,
        std::make_shared<LocalTrashRoute>(LocalTrashRoute::Probes { [](const QString &) { return false; },
            [&](const ImageFileInfo &r, auto, QString *) {
                if (++calls == 1)
                    release.acquire();
                return Trash::moveToTrash(r.filePath);
            } }));
    UserDefaults::standard().setObject(kSuppressKey, true);
    controller->btnTrashMarked->click();
    ASSERT_TRUE(waitUntil([&] { return calls == 1; }));
    sheets->btnStopTrashing->click();
    // Trash Marked refuses while the run exists.
    controller->moveToTrash();
    EXPECT_EQ(
        std::count(presenter.sheetsBegun().begin(), presenter.sheetsBegun().end(), sheets->windowTrash), 1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(presenter.isSheetOpen(sheets->windowTrash));
    EXPECT_FALSE(sheets->btnStopTrashing->isEnabled());
    EXPECT_FALSE(sheets->indicatorStop->isHidden());
    release.release();
    ASSERT_TRUE(waitUntil([this] { return finished == 1; }));
    EXPECT_FALSE(presenter.isSheetOpen(sheets->windowTrash));
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(RemovalFixture::trashedNames().size(), 1);
    EXPECT_EQ(controller->countTrashed, 1);
    EXPECT_EQ(controller->countMarked, 3);
}

TEST_F(RemovalSheetsTest, ASkippedGroupIsToldAndNothingIsMoved)
{
    group = photos(QStringLiteral("k"), 2);
    group->children[0]->isMark = group->children[1]->isMark = true;
    controller->invokeCollectionView(std::vector { group }, scan);
    controller->updateFooterInfo();
    UserDefaults::standard().setObject(kSuppressKey, true);
    controller->btnTrashMarked->click();
    AfterTrashSummaryWindow &summary = builder->afterTrash();
    ASSERT_TRUE(waitUntil([&] { return presenter.isSheetOpen(summary.windowAfterTrashFolderFIles); }));
    EXPECT_EQ(summary.lblCleanupCompleted->text(), localizedString(QStringLiteral("ID_NOTHING_WAS_MOVED")));
    EXPECT_TRUE(
        summary.lblRemovalProblems->text().contains(QStringLiteral("1 group skipped: no copy would remain")))
        << qPrintable(summary.lblRemovalProblems->text());
    EXPECT_TRUE(
        QFileInfo::exists(group->children[0]->filePath) && QFileInfo::exists(group->children[1]->filePath));
}

} // namespace

// A question about two parts of a removal takes four lines or more: the sheet grows to show them.
// It shrinks back for one part, at the first change of its text as at any later one.
TEST_F(RemovalSheetsTest, ALongQuestionIsShownWhole)
{
    showThreeWithTwoMarked();
    QMap<bool, int> heights;
    presenter.setModalHandler([this, &heights](QWidget *window) {
        // The scan's summary may come up on its timer while the question is shown.
        if (window != sheets->windowConfirmTrash)
            return;
        window->show();
        QCoreApplication::processEvents();
        for (QLabel *label :
            { sheets->lblAreYouSureWantToDelete.data(), sheets->lblReviewPhotoBeforeTrash.data() })
            EXPECT_GE(label->height(), label->heightForWidth(label->width())) << label->text().toStdString();
        EXPECT_EQ(heights.value(group->children[1]->isPhotosNode, window->height()), window->height());
        heights.insert(group->children[1]->isPhotosNode, window->height());
        sheets->btnReview->click();
    });
    for (const bool library : { false, true, true, false, false }) {
        group->children[1]->isPhotosNode = library;
        sheets->confirmMoveToTrash();
    }
}
