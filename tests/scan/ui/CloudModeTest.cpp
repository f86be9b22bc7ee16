// The main window's cloud modes against a fake Dropbox account on 127.0.0.1 with a scripted
// presenter: the source switch, the authorization sheet, the folder sheet and the Dropbox scan.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTreeView>
#include <QUrlQuery>

#include "MainWindowTestSupport.h"
#include "app/DropboxClientsManager.h"
#include "app/LocalizedString.h"
#include "cloud/DriveService.h"
#include "cloud/DropBoxHandler.h"
#include "cloud/DropboxAuth.h"
#include "cloud/ui/GoogleDriveAccessVC.h"
#include "controls/IMGButton.h"
#include "model/CloudScanFoldersList.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/PropertyList.h"
#include "platform/StaticTokenSource.h"
#include "platform/ui/ScriptedAlertPresenter.h"
#include "results/ui/ResultViewController.h"
#include "scan/ui/CloudFolderSheet.h"
#include "scan/ui/CloudModeController.h"
#include "scan/ui/MainViewController.h"
#include "scan/ui/PopUpButton.h"
#include "scan/ui/ScanListController.h"
#include "scan/ui/ScanRunController.h"
#include "support/FakeBrowser.h"
#include "support/FakeDropbox.h"
#include "support/FakeHttpServer.h"
#include "support/FakeOAuthProvider.h"
#include "support/NaturalPhoto.h"
#include "support/TestEvents.h"

namespace
{

constexpr int kBoundMs = 60000;

QByteArray jpeg(int seed)
{
    return NaturalPhoto::jpegBytes(seed, 640, 480, 90);
}

class CloudModeTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        UserDefaults::standard().setObject(QStringLiteral("minimumFileSize"), 0);
        c.view();
        c.scanRun().setResultsDelay(0.0);
    }
    void TearDown() override
    {
        Localization::setPreferredLanguagesOverride({});
        Localization::setTableFolderOverride(QString());
        Localization::reset();
        MainWindowTest::TearDown();
    }
    std::shared_ptr<DropBoxHandler> useDropbox(const QString &token = QStringLiteral("token-1"))
    {
        DropBoxHandler::Options options;
        options.bases = { account.base(), account.base() };
        options.tokens = std::make_shared<StaticTokenSource>(token, QList<QUrl> { account.base() });
        options.transferTimeoutMs = 10000;
        auto handler = std::make_shared<DropBoxHandler>(options);
        c.cloudMode().setDropboxHandler(handler);
        return handler;
    }
    // The window's Drive controller, signed in at a fake provider.
    void signInToDrive()
    {
        GoogleSignIn::Settings settings;
        settings.issuer = oauth.issuer();
        settings.clientId = QStringLiteral("client");
        settings.secretBackend = SecretStore::Backend::fileOnly;
        c.gDriveAccessVC = std::make_shared<GoogleDriveAccessVC>(DriveService::shared(), settings);
        c.gDriveAccessVC->signIn().setBrowserOpener(browser.opener());
        c.gDriveAccessVC->signIn().start();
        ASSERT_TRUE(TestEvents::waitFor([this] { return bool(c.gDriveAccessVC->authorization()); }, kBoundMs));
    }
    QStringList scanListPaths() const
    {
        QStringList paths;
        for (const FilePathNode &node : c.arrPathNodeGoogleDrive)
            paths.append(node.filePath.value_or(QString()));
        return paths;
    }
    bool sheetOpen(QWidget *sheet) const { return alerts.isSheetOpen(sheet); }
    // Opens the folder sheet and waits until its listing has ended.
    bool openFolderSheet()
    {
        c.cloudMode().getFolderList();
        return TestEvents::waitFor([this] { return !c.cloudMode().folderSheet().isListing(); }, kBoundMs);
    }
    void addFolder(const QString &programPath)
    {
        auto node = std::make_shared<CloudScanFoldersList>();
        node->folderPath = programPath;
        node->folderName = programPath.section(QLatin1Char('/'), -1);
        c.lastSelectedCloudPath = node;
        c.cloudMode().folderSheet().btnAddFolderCloudScanTapped();
    }

    FakeHttpServer server;
    FakeDropbox account { server };
    FakeOAuthProvider oauth { server };
    FakeBrowser browser;
    ScriptedAlertPresenter alerts;
    MainViewController c;
};

TEST_F(CloudModeTest, EachSourceKeepsItsOwnListAndReChoosingTheCurrentOneChangesNothing)
{
    const auto handler = useDropbox();
    FilePathNode local;
    local.filePath = QStringLiteral("/home/me/Pictures");
    local.state = 1;
    c.arrPathNodes.push_back(local);

    c.cloudMode().btnScanTypeTapped(2);
    addFolder(QStringLiteral("Dropbox/Camera"));
    EXPECT_EQ(scanListPaths(), QStringList { QStringLiteral("Dropbox/Camera") });
    EXPECT_TRUE(c.btnCompare->isEnabled());
    EXPECT_TRUE(c.btnAddPhotos->isHidden());
    EXPECT_FALSE(c.btnAddFolder->isHidden());
    EXPECT_FALSE(c.btnCapturePeriod->isEnabled());
    c.cloudMode().btnScanTypeTapped(2);
    EXPECT_EQ(scanListPaths(), QStringList { QStringLiteral("Dropbox/Camera") });

    // Drive while signed out: an empty list and its sign-in sheet.
    c.cloudMode().btnScanTypeTapped(1);
    EXPECT_EQ(scanListPaths(), QStringList());
    EXPECT_EQ(alerts.sheetsBegun().size(), 1u);
    c.cloudMode().btnScanTypeTapped(2);
    EXPECT_EQ(scanListPaths(), QStringList { QStringLiteral("Dropbox/Camera") });
    c.cloudMode().btnScanTypeTapped(0);
    ASSERT_EQ(c.arrPathNodes.size(), 1u);
    EXPECT_FALSE(c.btnAddPhotos->isHidden());
    EXPECT_FALSE(c.btnCapturePeriod->isEnabled());
    EXPECT_EQ(c.btnAddFolder->x(), c.btnAddPhotosLib->geometry().right() + 1 + 8);
    EXPECT_EQ(alerts.sheetsBegun().size(), 1u);
}

// The source's own folder list takes every change of the shown rows: a switch and back keeps them.
TEST_F(CloudModeTest, ChangedCloudRowsStayChangedAfterASwitchOfSource)
{
    const auto handler = useDropbox();
    signInToDrive();
    ScanListController &list = c.scanList();
    const std::vector<std::pair<std::function<void()>, QStringList>> changes {
        { [&list] { list.removeScanListEntry(0); }, { "B1" } }, { [&list] { list.removeAllFromScanList(); }, {} },
        { [&list] { list.btnCheckUnCheckTapped(0, false); }, { "A0", "B1" } } };
    for (const int source : { 1, 2 }) {
        for (const auto &[change, expected] : changes) {
            std::vector<FilePathNode> rows(2);
            for (size_t i = 0; i < rows.size(); ++i)
                rows[i] = { QString(QChar(u'A' + int(i))), 1, GlobalObjects::NodeType::nodeTypeDropBox };
            (source == 2 ? handler->arrPathNodesCloudScan : c.gDriveAccessVC->arrPathNodesToScan) = rows;
            c.cloudMode().btnScanTypeTapped(source);
            change();
            c.cloudMode().btnScanTypeTapped(0);
            c.cloudMode().btnScanTypeTapped(source);
            QStringList shown;
            for (const FilePathNode &node : c.arrPathNodeGoogleDrive)
                shown.append(node.filePath.value_or(QString()) + QString::number(node.state));
            EXPECT_EQ(shown, expected) << source;
            c.cloudMode().btnScanTypeTapped(0);
        }
    }
}

// The "?" that explains the date choices is greyed with them on a cloud, its tool tip saying why.
TEST_F(CloudModeTest, BackOnThisComputerTheDateChoicesFollowTheirBox)
{
    useDropbox();
    for (const bool ticked : { false, true }) {
        c.btnScanLastImport->setChecked(ticked);
        c.cloudMode().btnScanTypeTapped(2);
        EXPECT_FALSE(c.btnToolTip->isEnabled());
        EXPECT_FALSE(c.btnToolTip->toolTip().isEmpty());
        c.cloudMode().btnScanTypeTapped(0);
        EXPECT_EQ(c.btnCaptureDate->isEnabled() + c.btnCapturePeriod->isEnabled(), ticked ? 2 : 0);
        EXPECT_TRUE(c.btnToolTip->isEnabled());
    }
}

TEST_F(CloudModeTest, BackToThisComputerShowsTheMenuButtonInGermanAndTheTwoButtonsInEnglish)
{
    QTemporaryDir tables;
    ASSERT_TRUE(PropertyList::writeFile(tables.path() + QStringLiteral("/QNY_de.plist"),
        QVariantMap { { QStringLiteral("ID_ADD_FOLDER"), QStringLiteral("Ordner") } }));
    Localization::setTableFolderOverride(tables.path());
    for (const char *language : { "de", "en" }) {
        Localization::setPreferredLanguagesOverride({ QString::fromLatin1(language) });
        Localization::reset();
        MainViewController window;
        window.view();
        window.cloudMode().btnScanTypeTapped(2);
        window.closeCloudAuthorizationSheet();
        EXPECT_FALSE(window.btnAddFolder->isHidden()) << language;
        EXPECT_TRUE(window.customButtonForMenu->isHidden()) << language;
        window.cloudMode().btnScanTypeTapped(0);
        const bool german = QLatin1String(language) == QLatin1String("de");
        EXPECT_EQ(window.customButtonForMenu->isHidden(), !german) << language;
        EXPECT_EQ(window.btnAddFolder->isHidden(), german) << language;
        EXPECT_EQ(window.btnAddPhotos->isHidden(), german) << language;
    }
}

TEST_F(CloudModeTest, TheAuthorizationSheetShowsWithoutAClientAndItsButtonsCloseIt)
{
    useDropbox(QString());
    c.cloudMode().btnScanTypeTapped(2);
    EXPECT_TRUE(sheetOpen(c.windowCloudAuthorization));
    c.closeCloudAuthorizationSheet();
    EXPECT_FALSE(sheetOpen(c.windowCloudAuthorization));

    // Add without a client asks to sign in again; cancel stays in Dropbox mode with an empty list.
    c.btnAddPathToScan(2);
    EXPECT_TRUE(sheetOpen(c.windowCloudAuthorization));
    c.btnCancelCloudAuthorization->click();
    EXPECT_FALSE(sheetOpen(c.windowCloudAuthorization));
    EXPECT_EQ(ScanGlobals::scanType.load(), ScanSource::dropbox);
    EXPECT_TRUE(c.arrPathNodeGoogleDrive.empty());
    EXPECT_FALSE(c.btnCompare->isEnabled());

    c.btnAddPathToScan(2);
    c.cloudMode().btnScanComputerTapped();
    EXPECT_FALSE(sheetOpen(c.windowCloudAuthorization));
    EXPECT_EQ(ScanGlobals::scanType.load(), ScanSource::thisComputer);
    EXPECT_EQ(c.btnPopupForScanSelection->indexOfSelectedItem(), 0);
}

// Both sign-in sheets have Cancel (no glyph button), and Escape on either goes back to this computer.
TEST_F(CloudModeTest, BothSignInSheetsHaveCancelAndEscapeGoesBackToThisComputer)
{
    useDropbox(QString());
    for (const int source : { 1, 2 }) {
        c.cloudMode().btnScanTypeTapped(source);
        QWidget *sheet = source == 1 ? c.gDriveAccessVC->window() : c.windowCloudAuthorization.data();
        const auto buttons = sheet->findChildren<QAbstractButton *>();
        EXPECT_EQ(buttons.size(), 3);
        EXPECT_TRUE(std::any_of(buttons.begin(), buttons.end(), [](auto *b) { return b->text() == localizedString("ID_CANCEL"); }));
        QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(sheet, &escape);
        EXPECT_EQ(c.btnPopupForScanSelection->indexOfSelectedItem(), 0) << source;
    }
}

TEST_F(CloudModeTest, CancelAndAFailedSignInGoBackToTheSourceShownBefore)
{
    useDropbox(QString());
    const std::function<void()> ways[] = { [this] { c.btnCancelCloudAuthorization->click(); },
        [this] { c.cloudMode().dropboxSignInEnded({ DropboxOAuthResult::Kind::error, QString() }); },
        [this] { c.gDriveAccessVC->btnCancelPermission->click(); },
        [this] { emit c.gDriveAccessVC->signIn().signInFailed(QString()); } };
    for (int way = 0; way < 4; ++way) {
        c.cloudMode().btnScanTypeTapped(way < 2 ? 2 : 1);
        EXPECT_NE(c.lblDragPhotosTitle->text(), text("ID_DRAG_DROP_PHOTOS")) << way;
        ways[way]();
        EXPECT_EQ(c.btnPopupForScanSelection->indexOfSelectedItem(), 0) << way;
        EXPECT_EQ(c.lblDragPhotosTitle->text(), text("ID_DRAG_DROP_PHOTOS")) << way;
    }
}

// The default build has no client identifier for either service: Allow cannot start a sign-in, and
// both sheets end it alike: the sheet closes, the window goes back to this computer and an alert
// says why. Both sheets' Tab order runs left to right.
TEST_F(CloudModeTest, BothSignInSheetsFailAlikeAndTabLeftToRight)
{
    useDropbox(QString());
    struct Row {
        int source;
        const char *reason;
    };
    for (const Row &row : { Row { 2, "ID_DROPBOX_NO_CLIENT_ID" }, Row { 1, "ID_GOOGLE_DRIVE_NO_CLIENT_ID" } }) {
        c.cloudMode().btnScanTypeTapped(row.source);
        const bool drive = row.source == 1;
        QWidget *sheet = drive ? c.gDriveAccessVC->window() : c.windowCloudAuthorization.data();
        ASSERT_TRUE(sheetOpen(sheet)) << row.reason;
        QList<QAbstractButton *> buttons = sheet->findChildren<QAbstractButton *>();
        std::sort(buttons.begin(), buttons.end(), [](auto *a, auto *b) { return a->x() < b->x(); });
        QList<QAbstractButton *> chain;
        for (QWidget *w = buttons.front()->nextInFocusChain(); chain.size() < 2; w = w->nextInFocusChain())
            if (auto *button = qobject_cast<QAbstractButton *>(w); buttons.contains(button))
                chain.append(button);
        EXPECT_EQ(chain, buttons.mid(1)) << row.reason;

        const size_t before = alerts.alerts().size();
        (drive ? c.gDriveAccessVC->btnAllowPermission : c.btnAllowPermission)->click();
        ASSERT_TRUE(TestEvents::waitFor([&] { return alerts.alerts().size() > before; }, kBoundMs));
        EXPECT_EQ(alerts.alerts().back().informativeText, localizedString(row.reason));
        EXPECT_FALSE(sheetOpen(sheet)) << row.reason;
        EXPECT_EQ(c.btnPopupForScanSelection->indexOfSelectedItem(), 0) << row.reason;
    }
}

// While the browser has the Dropbox sign-in the sheet says so and leaves Cancel as the way out:
// Cancel ends the wait with the sheet, and a sign-in declined in the browser leaves it for Allow.
TEST_F(CloudModeTest, TheDropboxSheetTellsThatItWaitsForTheBrowser)
{
    UserDefaults::standard().setObject(QStringLiteral("cloudDropboxAppKey"), QStringLiteral("key"));
    QUrlQuery asked;
    DropboxAuth *auth = DropboxAuth::sharedAuth();
    auth->setBrowserOpener([&asked](const QUrl &url) {
        asked = QUrlQuery(url);
        return true;
    });
    const auto handler = useDropbox(QString());
    const auto decline = [&] {
        QUrl back(asked.queryItemValue(QStringLiteral("redirect_uri"), QUrl::FullyDecoded));
        back.setQuery(
            QStringLiteral("error=access_denied&state=") + asked.queryItemValue(QStringLiteral("state")));
        handler->takeRedirect(back);
    };
    // How the wait ends, and whether the sheet stays open after it.
    const std::pair<std::function<void()>, bool> rows[]
        = { { [this] { c.btnCancelCloudAuthorization->click(); }, false }, { decline, true } };
    for (const auto &[end, stays] : rows) {
        c.cloudMode().btnScanTypeTapped(2);
        c.btnAllowPermission->click();
        EXPECT_TRUE(auth->isWaitingForRedirect() && !c.lblWaitingForBrowser->isHidden()
            && !c.btnAllowPermission->isEnabled());
        end();
        EXPECT_TRUE(TestEvents::waitFor([auth] { return !auth->isWaitingForRedirect(); }, kBoundMs));
        EXPECT_TRUE(c.lblWaitingForBrowser->isHidden() && c.btnAllowPermission->isEnabled());
        EXPECT_EQ(sheetOpen(c.windowCloudAuthorization), stays);
    }
    auth->setBrowserOpener({});
}

TEST_F(CloudModeTest, TheFolderSheetListsTheRootOnceAndAgainOnlyAfterDeletions)
{
    const auto handler = useDropbox();
    account.addFile(QStringLiteral("/Trips/a.jpg"), "a");
    account.addFolder(QStringLiteral("/Work"));
    c.cloudMode().btnScanTypeTapped(2);

    ASSERT_TRUE(openFolderSheet());
    EXPECT_TRUE(sheetOpen(c.windowCloudFolderList));
    EXPECT_TRUE(c.hudCloudFolderList->isHidden());
    QStandardItemModel *model = c.cloudMode().folderSheet().model();
    ASSERT_EQ(model->rowCount(), 1);
    EXPECT_EQ(model->item(0)->text(), QStringLiteral("Dropbox"));
    EXPECT_EQ(model->item(0)->rowCount(), 2);
    c.cloudMode().folderSheet().btnCloseCloudScanFolderList();
    ASSERT_TRUE(openFolderSheet());
    EXPECT_EQ(account.listedPaths(), QStringList { QString() });

    handler->isFileDeletedFromCloudDrive = true;
    c.cloudMode().folderSheet().btnCloseCloudScanFolderList();
    ASSERT_TRUE(openFolderSheet());
    EXPECT_EQ(account.listedPaths(), (QStringList { QString(), QString() }));
    EXPECT_FALSE(handler->isFileDeletedFromCloudDrive.load());

    // Refresh leaves one collapsed, unlisted root; expanding it lists the top level.
    c.cloudMode().folderSheet().btnRefreshCloudScanFolderListTapped();
    ASSERT_EQ(model->rowCount(), 1);
    EXPECT_EQ(model->item(0)->rowCount(), 0);
    EXPECT_TRUE(model->hasChildren(model->index(0, 0)));
    EXPECT_EQ(account.listedPaths().size(), 2);
    c.outlineCloudFolderList->expand(model->index(0, 0));
    ASSERT_TRUE(TestEvents::waitFor([&] { return model->item(0)->rowCount() == 2; }, kBoundMs));
    EXPECT_EQ(account.listedPaths().size(), 3);

    // Selecting a folder enables Add; a case variant of a listed path is refused.
    c.outlineCloudFolderList->setCurrentIndex(model->index(0, 0, model->index(0, 0)));
    EXPECT_TRUE(c.btnAddFolderCloudScan->isEnabled());
    c.cloudMode().folderSheet().btnAddFolderCloudScanTapped();
    EXPECT_EQ(scanListPaths(), QStringList { QStringLiteral("Dropbox/Trips") });
    addFolder(QStringLiteral("Dropbox/TRIPS"));
    EXPECT_EQ(scanListPaths(), QStringList { QStringLiteral("Dropbox/Trips") });
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_EQ(alerts.alerts().front().messageText, text("ID_ITEMS_CANT_ADDED"));
}

class CloudScanTest : public CloudModeTest
{
protected:
    std::optional<ScanEngine::Outcome> scan()
    {
        std::optional<ScanEngine::Outcome> ended;
        QObject::connect(&c.scanRun(), &ScanRunController::scanEnded,
            [&ended](ScanEngine::Outcome outcome) { ended = outcome; });
        c.btnStartScanTapped();
        TestEvents::waitFor([&] { return ended.has_value(); }, kBoundMs);
        return ended;
    }
};

TEST_F(CloudScanTest, TwoFoldersHoldingEqualPhotosReachTheResultsAsOneGroup)
{
    useDropbox();
    const QByteArray photo = jpeg(3);
    account.addFile(QStringLiteral("/A/one.jpg"), photo);
    account.addFile(QStringLiteral("/A/other.jpg"), jpeg(4));
    account.addFile(QStringLiteral("/B/copy.JPG"), photo);
    c.selectComparisonMethod(c.btnExactMatch);
    c.cloudMode().btnScanTypeTapped(2);
    addFolder(QStringLiteral("Dropbox/A"));
    addFolder(QStringLiteral("Dropbox/B"));

    EXPECT_EQ(scan(), ScanEngine::Outcome::Results);
    const auto session = c.scanRun().engine().session();
    ASSERT_TRUE(session);
    EXPECT_EQ(session->arrImagesContent.size(), 3);
    const auto groups = ScanEngine::groupsToShow(session->arrAllFilesGrouping);
    ASSERT_EQ(groups.size(), 1);
    QStringList members;
    for (const auto &record : groups.first()->children)
        members.append(record->filePath);
    members.sort();
    EXPECT_EQ(members, (QStringList { "Dropbox/A/one.jpg", "Dropbox/B/copy.JPG" }));
}

TEST_F(CloudScanTest, StopDuringTheListingEndsWithoutHashingAndClosesTheSheet)
{
    const auto handler = useDropbox();
    account.setPageSize(1);
    for (int i = 0; i < 30; ++i)
        account.addFile(QStringLiteral("/A/p%1.jpg").arg(i), "x");
    c.cloudMode().btnScanTypeTapped(2);
    addFolder(QStringLiteral("Dropbox/A"));
    c.btnStartScanTapped();
    ASSERT_TRUE(sheetOpen(c.windowAddImages));
    c.btnStopAddPhotosTapped();
    EXPECT_TRUE(handler->isAbortScanning.load());
    ASSERT_TRUE(TestEvents::waitFor([&] { return !sheetOpen(c.windowAddImages); }, kBoundMs));
    EXPECT_FALSE(c.scanRun().engine().session());
    EXPECT_LT(account.pageSizes().size(), 30);
}

// Downloads the server refuses leave their files out of the comparison: the end of the scan says
// how many and why, and the empty results never say "no duplicates" alone.
TEST_F(CloudScanTest, FilesThatCouldNotBeFetchedAreToldAtTheEnd)
{
    useDropbox();
    account.addFile(QStringLiteral("/A/one.jpg"), jpeg(3));
    account.addFile(QStringLiteral("/A/two.jpg"), jpeg(3));
    account.shapeDownloads([](FakeResponse &answer) {
        answer.status = 500;
        answer.body = "{\"error_summary\": \"internal/\"}";
    });
    c.selectComparisonMethod(c.btnExactMatch);
    c.cloudMode().btnScanTypeTapped(2);
    addFolder(QStringLiteral("Dropbox/A"));

    EXPECT_EQ(scan(), ScanEngine::Outcome::Results);
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_EQ(alerts.alerts().front().messageText, localizedString(QStringLiteral("ID_SOME_FILES_WERE_NOT_COMPARED")));
    const QString told = alerts.alerts().front().informativeText;
    EXPECT_TRUE(told.startsWith(QStringLiteral("2 files could not be fetched")) && told.contains(QStringLiteral("500"))
        && told.contains(QStringLiteral("Dropbox/A/")))
        << told.toStdString();
    EXPECT_TRUE(c.result->lblMatchingLevelHint->isVisibleTo(c.result->view()));
    EXPECT_TRUE(c.result->lblMatchingLevelHint->text().contains(QStringLiteral("2 files could not be fetched")))
        << c.result->lblMatchingLevelHint->text().toStdString();
}

// The date controls are greyed in a cloud mode: the stored period does not hide an old file.
TEST_F(CloudScanTest, AFileOutsideTheStoredPeriodIsStillAddedInACloudMode)
{
    useDropbox();
    UserDefaults &defaults = UserDefaults::standard();
    defaults.setObject(QStringLiteral("allowPhotosLibScanInTimePeriod"), true);
    defaults.setObject(QStringLiteral("scanPhotosFrom"), qlonglong(2));
    defaults.setObject(QStringLiteral("scanFilesFromDate"), qlonglong(2));
    account.addFile(QStringLiteral("/Old/old.jpg"), jpeg(5));
    c.cloudMode().btnScanTypeTapped(2);
    addFolder(QStringLiteral("Dropbox/Old"));

    EXPECT_EQ(scan(), ScanEngine::Outcome::OnePhoto);
    EXPECT_EQ(c.lblPhotosAddedCount->text(), QStringLiteral("1"));
    EXPECT_FALSE(sheetOpen(c.windowAddImages));
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("scanPhotosFrom")), 2);
}

} // namespace
