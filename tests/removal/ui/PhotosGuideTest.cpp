// The library guide and the library end of a removal in the results window, with a scripted
// photo-library application: the step layouts, Next refused while it is closed, Close, Continue,
// and the endings (application closed, permission refused).
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>

#include "app/ScanGlobals.h"
#include "model/PhotosNode.h"
#include "platform/LocalAlbumStore.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"
#include "removal/FakePhotosBridge.h"
#include "removal/LibraryAlbumRoute.h"
#include "removal/PhotosAlbum.h"
#include "removal/RemovalRun.h"
#include "removal/ui/PhotosGuide.h"
#include "removal/ui/RemovalSheets.h"
#include "results/ResultTexts.h"
#include "results/ui/AfterTrashSummaryWindow.h"
#include "results/ui/AlbumFileNote.h"
#include "results/ui/ResultSheets.h"
#include "results/ui/ResultWindowFixture.h"

namespace
{

using Step = GlobalObjects::StepNumberForPhotos;
const QString kLibrary = QStringLiteral("/home/u/Pictures/Photos Library.photoslibrary");

class PhotosGuideTest : public ResultWindowFixture
{
protected:
    void SetUp() override
    {
        ResultWindowFixture::SetUp();
        UserDefaults::standard().setObject(QStringLiteral("doNotShowConfirmationDialogOnTrash"), true);
        open();
        removal = RemovalSheets::install(*controller);
        removal->ensureSheets();
        bridge->containers = QStringList { ScanGlobals::markedPhotosAlbumName() };
        removal->setPhotosBridge(bridge);
        removal->libraryRoute().waitBeforeScript = [] {};
        removal->guide()->openDelayMs = 0;
        QObject::connect(removal, &RemovalSheets::trashFinished, [this] { ++finished; });
    }

    void TearDown() override
    {
        UserDefaults::standard().removeObject(QStringLiteral("doNotShowConfirmationDialogOnTrash"));
        ResultWindowFixture::TearDown();
    }

    ResultSheets &sheets() { return builder->sheets(); }

    // One group of three library items, the last two marked.
    void showLibraryGroup()
    {
        group = photos(QStringLiteral("lib"), 3);
        int n = 0;
        for (const auto &item : group->children) {
            item->isPhotosNode = true;
            item->libraryPath = kLibrary;
            item->photosInfo = std::make_shared<PhotosNode>();
            item->photosInfo->uuIDRkVersion = QStringLiteral("uuid-%1").arg(n++);
        }
        group->children[1]->isMark = group->children[2]->isMark = true;
        controller->invokeCollectionView(std::vector { group }, scan);
        controller->updateFooterInfo();
        ASSERT_TRUE(controller->isPhotosLibAdded);
    }

    bool began(QWidget *sheet) const
    {
        const auto &all = presenter.sheetsBegun();
        return std::find(all.begin(), all.end(), sheet) != all.end();
    }

    // Trash Marked; the guide's modal run is answered by `answer`.
    void trashMarkedAnsweringGuide(const std::function<void()> &answer)
    {
        presenter.setModalHandler([this, answer](QWidget *window) {
            if (window == sheets().windowForPhotosApp)
                answer();
        });
        controller->btnTrashMarked->click();
        ASSERT_TRUE(waitUntil([this] { return presenter.modalRunCount(sheets().windowForPhotosApp) > 0; }));
    }

    void continueAtStepThree()
    {
        controller->stepNumber = Step::stepNumberThreeForPhotos;
        sheets().btnCountinueForPhotosApp->click();
    }

    std::shared_ptr<FakePhotosBridge> bridge = std::make_shared<FakePhotosBridge>();
    RemovalSheets *removal = nullptr;
    std::shared_ptr<DuplicatesGroup> group;
    int finished = 0;
};

// Buttons shown at each step, the default one, and the instruction.
struct LayoutCase {
    int step;
    bool next, previous, proceed;
    bool nextIsDefault;
    const char *instructionKey;
};

class PhotosGuideLayoutTest : public PhotosGuideTest, public ::testing::WithParamInterface<LayoutCase>
{
};

TEST_P(PhotosGuideLayoutTest, LaysOutTheStep)
{
    const LayoutCase &c = GetParam();
    // Steps are reached in order, as the buttons would, so what a step keeps from the one before holds.
    for (int step = 1; step <= c.step; ++step) {
        controller->stepNumber = GlobalObjects::stepNumberForPhotosFromRaw(step);
        removal->guide()->showPhotosStepsWindow();
    }
    EXPECT_EQ(!sheets().btnNextForPhotosApp->isHidden(), c.next);
    EXPECT_EQ(!sheets().btnPreviousForPhotosApp->isHidden(), c.previous);
    EXPECT_EQ(!sheets().btnCountinueForPhotosApp->isHidden(), c.proceed);
    EXPECT_EQ(sheets().btnNextForPhotosApp->isDefault(), c.nextIsDefault);
    EXPECT_EQ(sheets().btnCountinueForPhotosApp->isDefault(), !c.nextIsDefault);
    const QString instruction = localizedString(QString::fromLatin1(c.instructionKey));
    EXPECT_EQ(sheets().lblStepText->text(), formatText(instruction, ScanGlobals::markedPhotosAlbumName()));
    // The steps that speak of the album file say where it is kept.
    EXPECT_EQ(!sheets().boxPhotosSyncInfo->isHidden(), c.step == 2 || c.step == 4);
    const QList<QWidget *> views { sheets().viewStepOne, sheets().viewStepTwo, sheets().viewStepThree,
        sheets().viewStepFour };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(!views[i]->isHidden(), i + 1 == c.step) << i;
}

INSTANTIATE_TEST_SUITE_P(Removal, PhotosGuideLayoutTest,
    ::testing::Values(LayoutCase { 1, true, false, false, true, "ID_LIBRARY_STEP1_NOT_CHANGED_HERE" },
        LayoutCase { 2, true, true, false, true, "ID_LIBRARY_STEP2_ALBUM_FILE" },
        LayoutCase { 3, false, true, true, false, "ID_LIBRARY_STEP3_AFTER_CONTINUE" },
        LayoutCase { 4, false, true, true, false, "ID_LIBRARY_STEP4_DELETE_IN_LIBRARY_PROGRAM" }));

TEST_F(PhotosGuideTest, NextIsRefusedWhileTheApplicationIsClosed)
{
    bridge->running = false;
    controller->stepNumber = Step::stepNumberOneForPhotos;
    sheets().btnNextForPhotosApp->click();
    EXPECT_EQ(controller->stepNumber, Step::stepNumberOneForPhotos);
    ASSERT_EQ(presenter.alerts().size(), 1u);
    EXPECT_EQ(presenter.alerts().front().messageText,
        ResultTexts::albumFolderNotWritable(LocalAlbumStore::defaultFilePath()));
    bridge->running = true;
    sheets().btnNextForPhotosApp->click();
    EXPECT_EQ(controller->stepNumber, Step::stepNumberTwoForPhotos);
}

// Reached by Next from step one, each step's shown texts lie uncut in the sheet laid out at its
// size; the album path is whole, or elided in the middle where it is too wide for the screen.
TEST_F(PhotosGuideTest, EachStepIsLaidOutAtItsOwnSizeWithItsTextsWhole)
{
    QTemporaryDir home;
    // A path short enough for any screen, wherever the temporary folder lies.
    QTemporaryDir near(QStringLiteral("/tmp/qny-XXXXXX"));
    const QString longPath
        = home.filePath(QString(130, 'd') + "/" + QString(130, 'e') + "/Marked Photos.album");
    for (const QString &path : { near.filePath(QStringLiteral("albums.plist")), longPath }) {
        removal->setPhotosBridge(std::make_shared<LocalAlbumStore>(path));
        QWidget *sheet = sheets().windowForPhotosApp;
        controller->stepNumber = Step::stepNumberOneForPhotos;
        removal->guide()->showPhotosStepsWindow();
        for (int step = 1; step <= 4; ++step) {
            if (step > 1)
                sheets().btnNextForPhotosApp->click();
            ASSERT_EQ(controller->stepNumber, GlobalObjects::stepNumberForPhotosFromRaw(step));
            for (QWidget *w : QList<QWidget *> { sheet } + sheet->findChildren<QWidget *>())
                if (w->layout())
                    w->layout()->setGeometry(w->rect());
            for (QLabel *label : sheet->findChildren<QLabel *>()) {
                if (label->isVisibleTo(sheet) && !label->text().isEmpty()) {
                    EXPECT_TRUE(sheet->rect().contains(QRect(label->mapTo(sheet, QPoint()), label->size()))
                        && (label->wordWrap() ? label->height() >= label->heightForWidth(label->width())
                                              : label->width() >= label->sizeHint().width()))
                        << step << ": " << label->text().toStdString();
                }
            }
            EXPECT_LE(sheet->width(), controller->view()->screen()->availableGeometry().width());
        }
        const QString shown = sheets().boxPhotosSyncInfo->lblAlbumFile->text();
        EXPECT_EQ(shown.contains(path), path != longPath) << shown.toStdString();
        EXPECT_EQ(shown.contains("…") && shown.endsWith(" Photos.album"), path == longPath);
    }
}

TEST_F(PhotosGuideTest, CloseRemovesNothing)
{
    showLibraryGroup();
    trashMarkedAnsweringGuide([this] { sheets().btnCancelForPhotosApp->click(); });
    settle();
    EXPECT_EQ(bridge->opened, QStringList({ kLibrary }));
    EXPECT_FALSE(began(removal->windowTrash));
    EXPECT_TRUE(bridge->batches.empty());
    EXPECT_EQ(controller->countMarked, 2);
    EXPECT_EQ(controller->stepNumber, Step::stepNumberOneForPhotos);
}

TEST_F(PhotosGuideTest, ContinueAtStepThreeMovesTheItemsIntoTheAlbum)
{
    showLibraryGroup();
    trashMarkedAnsweringGuide([this] { continueAtStepThree(); });
    ASSERT_TRUE(waitUntil([this] { return began(builder->afterTrash().windowAfterTrash); }));
    ASSERT_EQ(bridge->batches.size(), 1u);
    EXPECT_EQ(bridge->batches.front(), QStringList({ "ref-uuid-1", "ref-uuid-2" }));
    EXPECT_EQ(controller->countTrashed, 2);
    EXPECT_TRUE(controller->arrGroups.empty());
}

TEST_F(PhotosGuideTest, AClosedApplicationEndsWithItsAlertAndNoSummary)
{
    showLibraryGroup();
    bridge->running = false;
    trashMarkedAnsweringGuide([this] { continueAtStepThree(); });
    ASSERT_TRUE(waitUntil([this] { return finished == 1; }));
    settle();
    ASSERT_FALSE(presenter.alerts().empty());
    EXPECT_EQ(presenter.alerts().back().messageText,
        localizedString(QStringLiteral("ID_UNABLE_TO_MARK_DUPLICATES")));
    EXPECT_FALSE(began(builder->afterTrash().windowAfterTrash));
    EXPECT_FALSE(began(builder->afterTrash().windowAfterTrashFolderFIles));
    EXPECT_EQ(controller->countMarked, 2);
    EXPECT_TRUE(controller->btnTrashMarked->isEnabled());
    EXPECT_EQ(controller->arrGroups.size(), 1u);
}

TEST_F(PhotosGuideTest, ARefusedPermissionShowsItsSheetAfterTheRun)
{
    showLibraryGroup();
    bridge->containers = QStringList();
    bridge->createError = PhotosAlbum::kNotAuthorized;
    trashMarkedAnsweringGuide([this] { continueAtStepThree(); });
    ASSERT_TRUE(waitUntil([this] { return finished == 1; }));
    EXPECT_TRUE(controller->isAppAutharizedToMoveDups);
    EXPECT_TRUE(began(sheets().windowAuthorization));
    EXPECT_EQ(controller->countTrashed, 0);
    EXPECT_EQ(controller->countMarked, 2);
}

} // namespace
