// The auto-mark command of the results window with scripted sheets: when the dialog shows and what
// each of its buttons does, the progress sheet's Cancel between slices, and the texts of an empty run.
#include "removal/ui/AutoMarkSheets.h"
#include "app/LocalizedString.h"
#include "app/SettingsDefaults.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"
#include "removal/ui/ResultWindowMarking.h"
#include "results/ResultTexts.h"
#include "results/ui/ResultGridFixture.h"
#include "support/TestEvents.h"

namespace
{

const QString kDoNotShowKey = QStringLiteral("doNotShowAutoMarkDialog");

class AutoMarkSheetsTest : public ResultGridFixture
{
protected:
    void SetUp() override
    {
        ResultGridFixture::SetUp();
        UserDefaults::standard().setObject(
            QStringLiteral("autoMarkRules"), SettingsDefaults::defaultAutoMarkRules());
        UserDefaults::standard().setObject(kDoNotShowKey, false);
        marking = std::make_unique<ResultWindowMarking>(*controller);
        ASSERT_TRUE(marking->autoMarkSheets());
        watchRuns();
    }

    void TearDown() override
    {
        presenter.setModalHandler({});
        marking.reset();
        ResultGridFixture::TearDown();
    }

    AutoMarkSheets &sheets() { return *marking->autoMarkSheets(); }

    // Groups of two photos each.
    void enterPairs(int count)
    {
        std::vector<std::shared_ptr<DuplicatesGroup>> groups;
        for (int i = 0; i < count; ++i)
            groups.push_back(photos(QStringLiteral("g%1_").arg(i), { 1.0f, 1.0f }));
        enter(groups);
    }

    // The dialog's modal run answers with `button`; other modal runs (the scan-complete sheet shows
    // on a timer after the results arrive) are left alone.
    void answerDialogWith(QAbstractButton *button)
    {
        presenter.setModalHandler([dialog = sheets().windowAutoMark.data(), button](QWidget *window) {
            if (window == dialog)
                button->click();
        });
    }

    int markedFiles() const
    {
        int n = 0;
        for (const auto &g : controller->arrGroups)
            for (const auto &r : g->filterChildren)
                n += r->isMark ? 1 : 0;
        return n;
    }

    // Counts the runs that end and remembers whether the last one was stopped.
    void watchRuns()
    {
        QObject::connect(&sheets(), &AutoMarkSheets::autoMarkFinished, &sheets(), [this](bool stopped) {
            ++runsFinished;
            lastRunStopped = stopped;
        });
    }
    bool waitForRun()
    {
        return TestEvents::waitFor([this] { return runsFinished > 0; }, 10000);
    }

    int runsFinished = 0;
    bool lastRunStopped = false;

    std::unique_ptr<ResultWindowMarking> marking;
};

struct SuppressionCase {
    const char *name;
    QVariant value;
    bool dialogShown;
};

class AutoMarkDialogSuppression : public AutoMarkSheetsTest,
                                  public ::testing::WithParamInterface<SuppressionCase>
{
};

TEST_P(AutoMarkDialogSuppression, DialogShowsUnlessTheSettingIsANumberReadingTrue)
{
    enterPairs(2);
    UserDefaults::standard().setObject(kDoNotShowKey, GetParam().value);
    answerDialogWith(sheets().btnContinueOnAutoMark);
    controller->btnAutoMark->click();
    ASSERT_TRUE(waitForRun());
    EXPECT_EQ(presenter.modalRunCount(sheets().windowAutoMark), GetParam().dialogShown ? 1 : 0);
    EXPECT_FALSE(presenter.isSheetOpen(sheets().windowAutoMark));
    EXPECT_EQ(controller->countMarked, 2);
    EXPECT_EQ(markedFiles(), 2);
}

INSTANTIATE_TEST_SUITE_P(Values, AutoMarkDialogSuppression,
    ::testing::Values(SuppressionCase { "BoolTrue", true, false }, SuppressionCase { "IntegerOne", 1, false },
        SuppressionCase { "BoolFalse", false, true },
        SuppressionCase { "TextOne", QStringLiteral("1"), true }),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(AutoMarkSheetsTest, CancelAndShowPreferencesMarkNothing)
{
    enterPairs(2);
    const auto &byHand = controller->arrGroups.front()->filterChildren.front();
    byHand->isMark = true;
    controller->countMarked = 1;
    controller->sizeMarked = byHand->fileSize;
    QStringList panes;
    QObject::connect(controller.get(), &ResultViewController::preferencesPaneRequested, controller.get(),
        [&](const QString &identifier) { panes.append(identifier); });
    for (QAbstractButton *button : { static_cast<QAbstractButton *>(sheets().btnCancelOnAutoMark),
             static_cast<QAbstractButton *>(sheets().btnShowPrefrencesAutoMark) }) {
        answerDialogWith(button);
        controller->autoMarkAllItems();
        QCoreApplication::processEvents();
        EXPECT_FALSE(presenter.isSheetOpen(sheets().windowAutoMark));
        EXPECT_FALSE(sheets().run().isRunning());
        EXPECT_EQ(markedFiles(), 1);
        EXPECT_TRUE(byHand->isMark);
        EXPECT_EQ(controller->countMarked, 1);
        EXPECT_EQ(controller->sizeMarked, byHand->fileSize);
    }
    EXPECT_EQ(std::count(presenter.sheetsBegun().begin(), presenter.sheetsBegun().end(),
                  sheets().windowAutoMarking.data()),
        0);
    EXPECT_EQ(panes, QStringList { QStringLiteral("automark") });
}

TEST_F(AutoMarkSheetsTest, ContinueClosesTheScanCompleteSheetAndSelectsTheFirstGridItemInListView)
{
    enterPairs(3);
    controller->showListingTypeView(false);
    presenter.beginSheet(controller->windowScanComplete, controller->view());
    bool stacked = true;
    presenter.setModalHandler([this, &stacked](QWidget *window) {
        if (window != sheets().windowAutoMark)
            return;
        // The dialog never opens over the scan-complete sheet.
        stacked = presenter.isSheetOpen(controller->windowScanComplete);
        sheets().btnContinueOnAutoMark->click();
    });
    controller->btnAutoMarkPhotos->click();
    ASSERT_TRUE(waitForRun());
    EXPECT_FALSE(stacked);
    EXPECT_FALSE(presenter.isSheetOpen(controller->windowScanComplete));
    EXPECT_TRUE(presenter.isSheetOpen(sheets().windowAutoMarking));
    EXPECT_EQ(controller->countMarked, 3);
    // The bar counts groups, so a finished run fills it whatever share of the files it marked.
    EXPECT_EQ(sheets().progressBarAutoMarking->maximum(), int(controller->arrGroups.size()));
    EXPECT_EQ(sheets().progressBarAutoMarking->value(), sheets().progressBarAutoMarking->maximum());
    EXPECT_EQ(sheets().lblNumberPhotosMarked->text(),
        formatText(localizedString(QStringLiteral("ID_COUNT_PHOTOS_AUTOMARKED")), 3));
    EXPECT_EQ(controller->currentSelectedIndexs, QList<IndexPath> { IndexPath(0, 0) });
    EXPECT_EQ(controller->lblBottomMarked->text(), ResultTexts::photosMarked(3));
}

TEST_F(AutoMarkSheetsTest, CancelOnTheProgressSheetStopsBetweenSlicesWithCountersInAgreement)
{
    enterPairs(8);
    // A mark made by hand in the last group, which the stopped run never reaches.
    const auto &lastGroup = controller->arrGroups.back()->filterChildren;
    lastGroup.front()->isMark = true;
    UserDefaults::standard().setObject(kDoNotShowKey, true);
    sheets().run().setSliceBudget(std::chrono::milliseconds(0));
    QObject::connect(&sheets().run(), &AutoMarkRun::progress, &sheets(), [this] {
        if (!controller->bAbortAutoMark)
            sheets().btnCancelAutoMark->click();
    });
    controller->autoMarkAllItems();
    ASSERT_TRUE(waitForRun());
    EXPECT_TRUE(lastRunStopped);
    EXPECT_FALSE(presenter.isSheetOpen(sheets().windowAutoMarking));
    EXPECT_TRUE(lastGroup.front()->isMark);
    EXPECT_LT(markedFiles(), 8);
    std::uint64_t size = 0;
    for (const auto &g : controller->arrGroups)
        for (const auto &r : g->filterChildren)
            size += r->isMark ? r->fileSize : 0;
    EXPECT_EQ(controller->countMarked, markedFiles());
    EXPECT_EQ(controller->sizeMarked, size);
}

TEST_F(AutoMarkSheetsTest, ARunOverNoGroupsShowsTheSingularLabelWithZero)
{
    UserDefaults::standard().setObject(kDoNotShowKey, true);
    controller->autoMarkAllItems();
    ASSERT_TRUE(waitForRun());
    EXPECT_EQ(controller->countMarked, 0);
    EXPECT_EQ(sheets().lblNumberPhotosMarked->text(),
        formatText(localizedString(QStringLiteral("ID_COUNT_PHOTO_AUTOMARKED")), 0));
}

} // namespace
