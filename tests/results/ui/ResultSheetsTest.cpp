// Each sheet of the results window opens and closes with a scripted answer; the Photos steps
// machine; the summaries after a removal run; the way back's confirmation.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

#include "controls/ControlStyles.h"
#include "controls/ElidingLabel.h"
#include "controls/LinkButton.h"
#include "platform/AppFolders.h"
#include "platform/LocalAlbumStore.h"
#include "platform/UserDefaults.h"
#include "platform/ui/GuiAlertPresenter.h"
#include "results/AfterTrashSummary.h"
#include "results/ResultTexts.h"
#include "results/ui/AfterTrashSummaryWindow.h"
#include "results/ui/AlbumFileNote.h"
#include "results/ui/ResultSheets.h"
#include "results/ui/ResultWindowFixture.h"

namespace
{

using Step = GlobalObjects::StepNumberForPhotos;

class ResultSheetsTest : public ResultWindowFixture
{
protected:
    void SetUp() override
    {
        ResultWindowFixture::SetUp();
        open();
        sheets().showPhotosStepsWindow = [this] { ++redraws; };
        sheets().trashFileAfterConfirmation = [this] { ++removals; };
        sheets().isPhotosApplicationRunning = [this] { return photosRunning; };
    }

    ResultSheets &sheets() { return builder->sheets(); }
    AfterTrashSummaryWindow &summary() { return builder->afterTrash(); }
    QWidget *view() { return controller->view(); }

    // Opens the steps window as the removal flow does: a sheet with a modal loop, at step one.
    void openSteps()
    {
        controller->stepNumber = Step::stepNumberOneForPhotos;
        presenter.beginSheet(sheets().windowForPhotosApp, view());
    }

    int redraws = 0;
    int removals = 0;
    bool photosRunning = false;
    std::vector<QUrl> opened;
};

// The sheet and the guide's last step name the album file; Show reveals it and keeps the sheet.
TEST_F(ResultSheetsTest, PermissionSheetShowsTheAlbumFileAndOkClosesIt)
{
    presenter.beginSheet(sheets().windowAuthorization, view());
    AlbumFileNote &note = *sheets().boxAuthorizationAlbumFile;
    note.revealUrl = [this](const QUrl &url) { opened.push_back(url); };
    note.btnShowAlbumFile->click();
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened.front(), QUrl::fromLocalFile(LocalAlbumStore::defaultFilePath()));
    EXPECT_TRUE(presenter.isSheetOpen(sheets().windowAuthorization));
    sheets().btnOkAuthorization->click();
    EXPECT_FALSE(presenter.isSheetOpen(sheets().windowAuthorization));
}

// The scan-complete sheet asks about the results alone: they take no input while it is up, but the
// window is not held, so its close button quits, and so do Ctrl+Q and Alt+Q with the menu's Quit.
TEST_F(ResultSheetsTest, QuitWorksWhileTheScanCompleteSheetAsks)
{
    enter({ photos(QStringLiteral("a"), 2) });
    // The scan's own sheet, on its timer, answered by the scripted presenter.
    ASSERT_TRUE(waitUntil([this] { return presenter.modalRunCount(controller->windowScanComplete) > 0; }));
    GuiAlertPresenter gui;
    ScopedInstall<AlertPresenter> onScreen(&gui);
    QMainWindow window;
    window.setCentralWidget(view());
    QAction *quit
        = window.menuBar()->addMenu(QStringLiteral("&Quennary"))->addAction(QStringLiteral("&Quit"));
    quit->setShortcut(Qt::CTRL | Qt::Key_Q);
    quit->setShortcutContext(Qt::ApplicationShortcut);
    // Quitting closes the window and ends every modal run.
    QObject::connect(quit, &QAction::triggered, [&] {
        window.close();
        gui.stopModal();
    });
    CustomWindowNag *sheet = controller->windowScanComplete;
    const std::function<void()> ways[] = { [&] { QTest::keyClick(sheet, Qt::Key_Q, Qt::ControlModifier); },
        [&] {
            QTest::keyClick(sheet, Qt::Key_Q, Qt::AltModifier);
            if (QWidget *menu = QApplication::activePopupWidget())
                QTest::keyClick(menu, Qt::Key_Q);
        } };
    for (const auto &press : ways) {
        window.show();
        bool free = false;
        QTimer::singleShot(0, sheet, [&] {
            // A window held by a modal one drops the request of its close button.
            free = QTest::qWaitForWindowActive(sheet) && !view()->isEnabled()
                && !QApplication::activeModalWidget();
            press();
        });
        QTimer giveUp;
        QObject::connect(&giveUp, &QTimer::timeout, [&] { gui.stopModal(); });
        giveUp.start(5000);
        controller->showScanCompleteWindow();
        EXPECT_TRUE(free);
        EXPECT_FALSE(window.isVisible());
        EXPECT_TRUE(view()->isEnabled());
    }
    // The view and its sheet stay the controller's.
    sheet->setParent(view(), sheet->windowFlags());
    view()->setParent(nullptr);
}

TEST_F(ResultSheetsTest, RetryAndCancelOfTheiPhotoCheckBothEndItsModalRun)
{
    for (QPushButton *answer : { sheets().btnRetryForTrash.data(), sheets().btnCancelTrashProcess.data() }) {
        presenter.beginSheet(sheets().windowiPhotoCheck, view());
        presenter.setModalHandler([answer](QWidget *) { answer->click(); });
        EXPECT_EQ(
            presenter.runModalForWindow(sheets().windowiPhotoCheck), AlertPresenter::kModalResponseStop);
        EXPECT_FALSE(presenter.isSheetOpen(sheets().windowiPhotoCheck));
    }
    EXPECT_EQ(removals, 0);
}

TEST_F(ResultSheetsTest, NextAtStepOneAsksToOpenPhotosAndStays)
{
    openSteps();
    presenter.queueAnswer(AlertPresenter::kFirstButton);
    sheets().btnNextForPhotosApp->click();
    ASSERT_EQ(presenter.alerts().size(), 1u);
    // What is wrong and where: the album file's folder cannot be written.
    EXPECT_EQ(presenter.alerts().front().messageText,
        ResultTexts::albumFolderNotWritable(LocalAlbumStore::defaultFilePath()));
    EXPECT_TRUE(presenter.alerts().front().messageText.contains(AppFolders::supportFolder()));
    EXPECT_EQ(controller->stepNumber, Step::stepNumberOneForPhotos);
    EXPECT_EQ(redraws, 0);
}

TEST_F(ResultSheetsTest, StepsWalkForwardBackAndContinueToTheRemoval)
{
    photosRunning = true;
    openSteps();
    sheets().previousStepForPhotosApp();
    EXPECT_EQ(controller->stepNumber, Step::stepNumberOneForPhotos);
    EXPECT_EQ(redraws, 1);
    sheets().nextStepForPhotosApp();
    EXPECT_EQ(controller->stepNumber, Step::stepNumberTwoForPhotos);
    sheets().continueToMovePhotosToAlbum();
    EXPECT_EQ(controller->stepNumber, Step::stepNumberThreeForPhotos);
    EXPECT_TRUE(presenter.isSheetOpen(sheets().windowForPhotosApp));
    sheets().nextStepForPhotosApp();
    EXPECT_EQ(controller->stepNumber, Step::stepNumberFourForPhotos);
    const int before = redraws;
    sheets().nextStepForPhotosApp();
    EXPECT_EQ(redraws, before);
    sheets().btnPreviousForPhotosApp->click();
    EXPECT_EQ(controller->stepNumber, Step::stepNumberThreeForPhotos) << "Previous leaves the last step";
    sheets().nextStepForPhotosApp();
    sheets().continueToMovePhotosToAlbum();
    EXPECT_FALSE(presenter.isSheetOpen(sheets().windowForPhotosApp));
    EXPECT_EQ(controller->stepNumber, Step::stepNumberOneForPhotos);
    EXPECT_EQ(removals, 1);
}

TEST_F(ResultSheetsTest, ClosingAtStepThreeReopensAtStepOneWithoutRemoving)
{
    photosRunning = true;
    openSteps();
    sheets().nextStepForPhotosApp();
    sheets().nextStepForPhotosApp();
    ASSERT_EQ(controller->stepNumber, Step::stepNumberThreeForPhotos);
    sheets().btnCancelForPhotosApp->click();
    EXPECT_FALSE(presenter.isSheetOpen(sheets().windowForPhotosApp));
    EXPECT_EQ(controller->stepNumber, Step::stepNumberOneForPhotos);
    EXPECT_EQ(removals, 0);
}

// There is no store to rate the program in: the summary asks nothing, its one button closes it.
TEST_F(ResultSheetsTest, TheTrashSummaryAsksNoRatingAndItsOneButtonClosesIt)
{
    controller->countTrashed = 2;
    summary().showWindowAfterTrash_Main();
    ASSERT_TRUE(presenter.isSheetOpen(summary().windowAfterTrashFolderFIles));
    for (QAbstractButton *button : summary().windowAfterTrashFolderFIles->findChildren<QAbstractButton *>())
        EXPECT_TRUE(button->isHidden() || button == summary().btnOkOnAfterTrash) << qPrintable(button->text());
    EXPECT_GE(ControlStyles::contrastRatio(summary().btnOkOnAfterTrash->titleColor(),
                  summary().windowAfterTrashFolderFIles->palette().color(QPalette::Window)), 4.5);
    summary().btnOkOnAfterTrash->click();
    EXPECT_FALSE(presenter.isSheetOpen(summary().windowAfterTrashFolderFIles));
}

TEST_F(ResultSheetsTest, RunThatMovedEverythingShowsTheTrashSummaryAndBackLeavesTheResults)
{
    controller->countTrashed = 3;
    controller->sizeTrashed = 3000000;
    controller->deletedFileTypes = GlobalObjects::TypeSupport::ONLYIMAGES;
    summary().showWindowAfterTrash_Main();
    EXPECT_TRUE(controller->isAllTrashed);
    ASSERT_TRUE(presenter.isSheetOpen(summary().windowAfterTrashFolderFIles));
    const TrashSummaryTexts expected = AfterTrashSummary::trashSummaryTexts(summary().currentInput());
    EXPECT_EQ(summary().lblTotalDupsCleaned->text(), expected.totalDupsCleaned);
    EXPECT_EQ(summary().lblTrashedSizeInFileFolder->text(), "3 MB");
    EXPECT_FALSE(summary().lblInCaseAnyMistake->text().isEmpty());
    summary().btnOkOnAfterTrash->click();
    EXPECT_FALSE(presenter.isSheetOpen(summary().windowAfterTrashFolderFIles));
    EXPECT_EQ(returnedToMain, 1);
}

// Back keeps results with groups, also a lower level's that came back when the run emptied its own.
TEST_F(ResultSheetsTest, RunThatMovedPartKeepsTheResults)
{
    scan.matchThreshold = 0.97;
    enter({ ResultGridFixture::photos(QStringLiteral("k"), { 0.90f, 0.91f }) });
    controller->countTrashed = 1;
    for (const double level : { 0.85, 0.97 }) {
        controller->sliderMatchingLevel->setDoubleValue(level);
        controller->sliderMatchingValue(controller->sliderMatchingLevel);
        summary().showWindowAfterTrash_Main();
        EXPECT_FALSE(controller->isAllTrashed) << level;
        ASSERT_TRUE(presenter.isSheetOpen(summary().windowAfterTrashFolderFIles));
        summary().btnOkOnAfterTrash->click();
        EXPECT_EQ(returnedToMain, 0);
    }
}

// The summary says where the moved files can be got back, in the wording of their source; its "may
// still appear" note shows only while a moved file is shown; in a short window it stands above the
// bottom bar.
TEST_F(ResultSheetsTest, TheSummaryNamesTheBinNotesFilesStillShownAndStaysAboveTheBottomBar)
{
    enter({ photos(QStringLiteral("k"), 3) });
    view()->setGeometry(0, 200, 1024, 560);
    controller->countTrashed = controller->removalFailedFiles = 1;
    // Source, whether the results held library items, the wording, and whether a moved file is shown.
    const std::tuple<ScanSource, bool, const char *, bool> cases[]
        = { { ScanSource::thisComputer, false, "the Trash.", false },
              { ScanSource::thisComputer, true, "photo library stay", true },
              { ScanSource::dropbox, false, "deleted files of your Dropbox", true },
              { ScanSource::googleDrive, false, "Google Drive trash", false } };
    for (const auto &[source, library, where, stillShown] : cases) {
        std::tie(controller->scanSource, controller->isPhotosLibAdded) = std::tuple(source, library);
        controller->arrGroups.front()->filterChildren.front()->isTrashed = stillShown;
        summary().showWindowAfterTrash_Main();
        QLabel *line = summary().lblInCaseAnyMistakeFolderFiles;
        EXPECT_TRUE(summary().windowAfterTrashFolderFIles->isAncestorOf(line) && !line->isHidden());
        EXPECT_TRUE(line->text().contains(QLatin1String(where))) << qPrintable(line->text());
        EXPECT_EQ(summary().lblDeletedImagesWillAppearLater->isHidden(), !stillShown);
    }
    const QRect frame = summary().windowAfterTrashFolderFIles->frameGeometry();
    EXPECT_LE(frame.bottom(), controller->boxBottom->mapToGlobal(QPoint(0, 0)).y());
    EXPECT_GE(frame.top(), view()->mapToGlobal(QPoint(0, 0)).y());
}

// Nothing moved: the Trash summary without its counts, in either outcome, with the files listed as
// the summary lists them; a later run that moved files shows the counts again.
TEST_F(ResultSheetsTest, RunThatMovedNothingShowsTheSameMessageForBothOutcomes)
{
    AfterTrashSummaryWindow &s = summary();
    for (bool photosAlbum : { false, true }) {
        controller->countTrashed = 0;
        controller->isPhotosLibrayMarkedForTrash = photosAlbum;
        s.showWindowAfterTrash_Main();
        EXPECT_TRUE(presenter.isSheetOpen(s.windowAfterTrashFolderFIles));
        EXPECT_EQ(s.lblCleanupCompleted->text(), AfterTrashSummary::nothingMovedMessage({}));
        EXPECT_TRUE(s.boxFigures->isHidden() && s.lblInCaseAnyMistakeFolderFiles->isHidden());
        s.btnOkOnAfterTrash->click();
    }
    EXPECT_TRUE(presenter.alerts().empty());
    EXPECT_FALSE(presenter.isSheetOpen(s.windowAfterTrash));
    std::tie(controller->countTrashed, controller->isPhotosLibrayMarkedForTrash) = std::tuple(1, false);
    s.showWindowAfterTrash_Main();
    EXPECT_FALSE(s.boxFigures->isHidden() || s.lblInCaseAnyMistakeFolderFiles->isHidden());
}

TEST_F(ResultSheetsTest, PhotosAlbumRunShowsTheStepsSummaryAndItsCloseButtonEndsIt)
{
    controller->countTrashed = 2;
    controller->isPhotosLibrayMarkedForTrash = true;
    controller->deletedFileTypes = GlobalObjects::TypeSupport::ONLYIMAGES;
    summary().showWindowAfterTrash_Main();
    ASSERT_TRUE(presenter.isSheetOpen(summary().windowAfterTrash));
    EXPECT_EQ(
        summary().lblNumOfPhotosTrashed->text(), AfterTrashSummary::movedCountText(summary().currentInput()));
    EXPECT_FALSE(summary().lblAfterTrashStep1->text().isEmpty());
    summary().btnClosePhotoInstruction->click();
    EXPECT_FALSE(presenter.isSheetOpen(summary().windowAfterTrash));
}

TEST_F(ResultSheetsTest, TheLibrarySummaryKeepsALongAlbumPathWithinTheScreen)
{
    controller->countTrashed = 1;
    controller->isPhotosLibrayMarkedForTrash = true;
    summary().boxAlbumFile->setPath(QStringLiteral("/home/me") + QStringLiteral("/A folder of marked albums").repeated(10)
        + QStringLiteral("/albums.plist"));
    summary().showWindowAfterTrash_Main();
    ASSERT_TRUE(presenter.isSheetOpen(summary().windowAfterTrash));
    EXPECT_LE(summary().windowAfterTrash->width(), view()->screen()->availableGeometry().width());
    EXPECT_TRUE(summary().boxAlbumFile->lblAlbumFile->text().contains(QChar(0x2026)));
}

TEST_F(ResultSheetsTest, ConfirmedWayBackRemembersTheDontShowAgainBox)
{
    UserDefaults::standard().removeObject(QStringLiteral("doNotShowConfirmationDialogOnReturnToMainView"));
    enter({ photos(QStringLiteral("w"), 2) });
    controller->backToMainWindow();
    ASSERT_TRUE(presenter.isSheetOpen(controller->windowOnMovesBack));
    controller->btnDontShowAgainOnMoveBackWindow->setChecked(true);
    controller->btnOkMoveBackWindow->click();
    EXPECT_FALSE(presenter.isSheetOpen(controller->windowOnMovesBack));
    EXPECT_TRUE(
        UserDefaults::standard().boolForKey(QStringLiteral("doNotShowConfirmationDialogOnReturnToMainView")));
    EXPECT_EQ(returnedToMain, 1);
}

// Files left in place with long names: the summary keeps its three figures whole, names every file
// on a line of its own under its reason (whole, or shortened in its middle so that its name's end
// shows), and stays inside the results, scrolling what does not fit there.
TEST_F(ResultSheetsTest, TheSummaryHoldsTheFilesLeftInPlaceAndScrollsWhatDoesNotFit)
{
    enter({ photos(QStringLiteral("k"), 3) });
    const QString deep
        = QStringLiteral("/home/me/") + QStringLiteral("An_archive_folder_nobody_can_change/").repeated(5);
    struct Case {
        int windowHeight;
        int files;
        int reasons;
        bool scrolls;
    };
    const Case cases[] = { { 900, 1, 1, false }, { 900, 3, 2, false }, { 900, 20, 1, false },
        { 600, 20, 4, true }, { 900, 40, 7, true }, { 760, 2, 1, false } };
    QWidget *sheet = summary().windowAfterTrashFolderFIles;
    sheet->show();
    for (const Case &c : cases) {
        view()->setGeometry(0, 40, 1024, c.windowHeight);
        controller->countTrashed = 1;
        controller->removalFailedFiles = c.files;
        controller->removalLeftInPlace.clear();
        QStringList paths;
        for (int i = 0; i < c.files; ++i) {
            paths << deep + QStringLiteral("holiday_at_the_seaside_with_the_family_%1_IMG_%1.jpg").arg(i);
            controller->removalLeftInPlace.emplace_back(
                paths.back(), QStringLiteral("Left in place: reason number %1.").arg(i % c.reasons));
        }
        summary().showWindowAfterTrash_Main();
        settle();
        const std::string at = std::to_string(c.files) + " files";
        for (QLabel *figure : { summary().lblTrashCountInFolderFile.data(),
                 summary().lblTrashedSizeInFileFolder.data(), summary().lblUniquePhotoFilesFolder.data() })
            EXPECT_GE(figure->height(), figure->sizeHint().height()) << at;
        const QList<ElidingLabel *> named = summary().boxLeftInPlace->findChildren<ElidingLabel *>();
        ASSERT_EQ(named.size(), c.files) << at;
        for (const ElidingLabel *file : named) {
            EXPECT_TRUE(paths.contains(file->wholeText())) << at;
            EXPECT_TRUE(file->text() == file->wholeText()
                || (file->text().contains(QChar(0x2026))
                    && file->text().endsWith(QStringLiteral("_IMG_") + file->wholeText().section('_', -1))))
                << file->text().toStdString();
            EXPECT_LE(file->geometry().right(), summary().boxLeftInPlace->width()) << at;
        }
        EXPECT_EQ(summary().scrollAfterTrashFolderFiles->verticalScrollBar()->maximum() > 0, c.scrolls) << at;
        const QRect frame = sheet->frameGeometry();
        EXPECT_LE(frame.bottom(), controller->boxBottom->mapToGlobal(QPoint(0, 0)).y()) << at;
        EXPECT_GE(frame.top(), view()->mapToGlobal(QPoint(0, 0)).y()) << at;
        summary().btnOkOnAfterTrash->click();
    }
}

// The question shows the setting as it is each time: a tick left from before, the setting turned
// off since, never comes back ticked (its OK would turn the setting on again unasked).
TEST_F(ResultSheetsTest, TheWayBackQuestionShowsTheSettingAsItIsEachTime)
{
    const QString key = QStringLiteral("doNotShowConfirmationDialogOnReturnToMainView");
    QAbstractButton *cancel = controller->btnCanelOnMoveBackWindow, *ok = controller->btnOkMoveBackWindow;
    // Ticked and cancelled, ticked and confirmed, then left unticked: each time after the setting was
    // turned off (in Preferences or by Reset to Defaults) the box shows it off.
    for (QAbstractButton *answer : { cancel, ok, ok }) {
        UserDefaults::standard().setObject(key, false);
        enter({ photos(QStringLiteral("w"), 2) });
        controller->backToMainWindow();
        ASSERT_TRUE(presenter.isSheetOpen(controller->windowOnMovesBack));
        EXPECT_FALSE(controller->btnDontShowAgainOnMoveBackWindow->isChecked());
        controller->btnDontShowAgainOnMoveBackWindow->setChecked(answer != ok || returnedToMain == 0);
        answer->click();
    }
    EXPECT_FALSE(UserDefaults::standard().boolForKey(key));
    UserDefaults::standard().removeObject(key);
}

// The toolbar's Back while a summary of the last run is open closes that summary first: it never
// stays over the main window, and Cancel on the question leaves the results without it.
TEST_F(ResultSheetsTest, TheToolbarsBackClosesAnOpenSummary)
{
    UserDefaults::standard().removeObject(QStringLiteral("doNotShowConfirmationDialogOnReturnToMainView"));
    for (const bool library : { false, true }) {
        enter({ photos(QStringLiteral("w"), 2) });
        controller->countTrashed = 1;
        controller->isPhotosLibrayMarkedForTrash = library;
        summary().showWindowAfterTrash_Main();
        QWidget *open
            = library ? summary().windowAfterTrash.data() : summary().windowAfterTrashFolderFIles.data();
        ASSERT_TRUE(presenter.isSheetOpen(open)) << library;
        controller->btnBackToSetUp->click();
        EXPECT_FALSE(presenter.isSheetOpen(open)) << library;
        ASSERT_TRUE(presenter.isSheetOpen(controller->windowOnMovesBack));
        controller->btnCanelOnMoveBackWindow->click();
        EXPECT_EQ(returnedToMain, 0);
    }
}

} // namespace
