// Start-up, menus, URL events, quitting and the Quick Look list of the application delegate.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QProcess>
#include <QRadioButton>
#include <QScreen>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/AppStartup.h"
#include "app/LocalizedString.h"
#include "app/MenuMnemonics.h"
#include "app/ScanGlobals.h"
#include "app/ScanWrapper.h"
#include "app/SettingsDefaults.h"
#include "app/SingleInstance.h"
#include "app/Uninstaller.h"
#include "app/UpdaterController.h"
#include "app/ui/AppDelegate.h"
#include "app/ui/QuickLookPanel.h"
#include "cloud/DropBoxHandler.h"
#include "platform/AppFolders.h"
#include "platform/PropertyList.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"
#include "platform/ui/ScriptedAlertPresenter.h"
#include "preferences/ui/GeneralViewController.h"
#include "preferences/ui/PreferencePane.h"
#include "preferences/ui/PreferencesWindowController.h"
#include "preferences/ui/UserInteractionPausableWindow.h"
#include "results/ui/ResultViewController.h"
#include "scan/ui/CloudModeController.h"
#include "scan/ui/MainViewController.h"
#include "support/DeadMount.h"
#include "support/HeicFiles.h"
#include "support/TestEvents.h"
#include "support/TestFiles.h"

namespace
{

// A menu title as shown, without its mnemonic mark.
QString shown(const QAction *item)
{
    return MenuMnemonics::plain(item->text());
}

class FakeDropbox : public DropboxClientsManager
{
public:
    void handleRedirectURL(const QUrl &url, Completion completion) override
    {
        redirects.append(url);
        completion(result);
    }
    bool isWaitingForRedirect() const override { return waiting; }
    bool waiting = false;
    void unlinkClients() override { ++unlinks; }
    void resetClients() override { ++resets; }
    std::optional<DropboxOAuthResult> result;
    QList<QUrl> redirects;
    int unlinks = 0;
    int resets = 0;
};

class AppDelegateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UserDefaults::standard().resetAll();
        ScanGlobals::resetToInitialValues();
        QFile::remove(AppFolders::logFilePath());
    }
    void TearDown() override
    {
        Localization::setPreferredLanguagesOverride({});
        Localization::setTableFolderOverride(QString());
        Localization::reset();
        ScanGlobals::resetToInitialValues();
    }
    // A launched delegate whose quitting is only counted.
    std::unique_ptr<AppDelegate> launch()
    {
        auto delegate = std::make_unique<AppDelegate>();
        delegate->terminate = [this] { ++terminations; };
        delegate->launch();
        return delegate;
    }
    static QString logText()
    {
        QFile file(AppFolders::logFilePath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    int terminations = 0;
    ScriptedAlertPresenter alerts;
};

TEST_F(AppDelegateTest, StartUpWritesBannerStartLineAndOsVersion)
{
    testing::internal::CaptureStdout();
    auto delegate = launch();
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed.rfind("Quennary\n", 0), 0u) << printed;
    const QString log = logText();
    EXPECT_TRUE(log.startsWith(QStringLiteral("\n\n") + QString(42, QLatin1Char('=')) + QLatin1Char('\n')));
    EXPECT_EQ(AppStartup::bannerText().size(), 44);
    EXPECT_TRUE(log.contains(QStringLiteral("Quennary start ")));
    EXPECT_TRUE(log.contains(QStringLiteral("System: ") + QSysInfo::prettyProductName()));
    EXPECT_TRUE(log.contains(QSysInfo::kernelVersion()));
}

TEST_F(AppDelegateTest, StartUpRegistersDefaultsAndMigratesImageTypesOnce)
{
    auto first = launch();
    UserDefaults &defaults = UserDefaults::standard();
    EXPECT_EQ(defaults.objectForKey(QStringLiteral("setInitialMatching")).toInt(), 4);
    EXPECT_TRUE(defaults.hasUserValue(QStringLiteral("allowedExtensions")));
    EXPECT_EQ(
        defaults.arrayForKey(QStringLiteral("allowedExtensions")), SettingsDefaults::defaultImageTypes());
    EXPECT_EQ(defaults.objectForKey(QStringLiteral("rawFilesExtensionAdded")), QVariant(true));
    first.reset();

    const QVariantList chosen = SettingsDefaults::defaultImageTypes().mid(0, 2);
    defaults.setObject(QStringLiteral("allowedExtensions"), chosen);
    auto second = launch();
    EXPECT_EQ(defaults.arrayForKey(QStringLiteral("allowedExtensions")), chosen);
}

TEST_F(AppDelegateTest, MarkerThatIsNotABooleanCountsAsUnset)
{
    UserDefaults &defaults = UserDefaults::standard();
    defaults.setObject(QStringLiteral("rawFilesExtensionAdded"), QStringLiteral("YES"));
    defaults.setObject(QStringLiteral("allowedExtensions"), QVariantList {});
    EXPECT_TRUE(AppStartup::applyImageTypeMigration(defaults));
    EXPECT_EQ(defaults.objectForKey(QStringLiteral("rawFilesExtensionAdded")), QVariant(true));
    EXPECT_EQ(
        defaults.arrayForKey(QStringLiteral("allowedExtensions")), SettingsDefaults::defaultImageTypes());
    EXPECT_FALSE(AppStartup::applyImageTypeMigration(defaults));
}

TEST_F(AppDelegateTest, FirstLaunchLeavesUpdaterIdleSecondStartsIt)
{
    auto first = launch();
    ASSERT_TRUE(first->updaterController);
    EXPECT_FALSE(first->updaterController->isStarted());
    EXPECT_EQ(first->updaterController->backgroundChecks(), 0);
    EXPECT_TRUE(UserDefaults::standard().boolForKey(QStringLiteral("isFirstLaunchDone")));
    first.reset();

    auto second = launch();
    EXPECT_TRUE(second->updaterController->isStarted());
    EXPECT_EQ(second->updaterController->backgroundChecks(), 1);
    second->menuItemCheckForUpdate->trigger();
    EXPECT_EQ(second->updaterController->userChecks(), 1);
    ASSERT_EQ(alerts.alerts().size(), 1u);
    EXPECT_EQ(alerts.alerts()[0].messageText, UpdaterController::packageUpdateNote());
}

TEST_F(AppDelegateTest, MenuTitlesComeFromTheStringTable)
{
    auto delegate = launch();
    const QString name = QCoreApplication::applicationName();
    EXPECT_FALSE(localizedString(QStringLiteral("ID_ABOUT")).isEmpty());
    EXPECT_EQ(shown(delegate->menuItemAbout), formatText(localizedString(QStringLiteral("ID_ABOUT")), name));
    EXPECT_EQ(shown(delegate->menuItemPreferences),
        formatText(localizedString(QStringLiteral("ID_PREFERENCES")), name));
    EXPECT_EQ(
        shown(delegate->menuItemCheckForUpdate), localizedString(QStringLiteral("ID_CHECK_FOR_UPDATE")));
    EXPECT_EQ(shown(delegate->menuItemQuit), formatText(localizedString(QStringLiteral("ID_QUIT")), name));
    EXPECT_EQ(
        shown(delegate->menuItemHelp), name + QLatin1Char(' ') + localizedString(QStringLiteral("ID_HELP")));
    EXPECT_EQ(shown(delegate->menuItemHelpHeader), localizedString(QStringLiteral("ID_HELP")));
    EXPECT_EQ(shown(delegate->menuItemUnInstall),
        formatText(localizedString(QStringLiteral("ID_UNINSTALL")), name));
    EXPECT_TRUE(delegate->menuItemUninstall->isVisible());
    EXPECT_EQ(QKeySequence::mnemonic(delegate->menuItemHelpHeader->text()), QKeySequence(Qt::ALT | Qt::Key_H));
    EXPECT_TRUE(delegate->menuItemPreferences->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Comma)));
    EXPECT_EQ(delegate->window->windowTitle(), name);
    EXPECT_EQ(
        ScanGlobals::markedPhotosAlbumName(), localizedString(QStringLiteral("ID_DUPLICATE_MARKED_PHOTOS")));
}

TEST_F(AppDelegateTest, MenuTitlesFollowTheInterfaceLanguage)
{
    QTemporaryDir tables;
    QVariantMap german { { QStringLiteral("ID_ABOUT"), QStringLiteral("Über DONOT_TRANSLATE_STRING_VALUE") },
        { QStringLiteral("ID_HELP"), QStringLiteral("Hilfe") } };
    ASSERT_TRUE(PropertyList::writeFile(tables.path() + QStringLiteral("/QNY_de.plist"), german));
    ASSERT_TRUE(PropertyList::writeFile(tables.path() + QStringLiteral("/QNY_en.plist"), QVariantMap {}));
    Localization::setTableFolderOverride(tables.path());
    Localization::setPreferredLanguagesOverride({ QStringLiteral("de-DE") });
    Localization::reset();

    auto delegate = launch();
    const QString name = QCoreApplication::applicationName();
    EXPECT_EQ(shown(delegate->menuItemAbout), QStringLiteral("Über ") + name);
    EXPECT_EQ(shown(delegate->menuItemHelp), name + QStringLiteral(" Hilfe"));
    EXPECT_EQ(shown(delegate->menuItemHelpHeader), QStringLiteral("Hilfe"));
}

// Menu mnemonics: one free letter per title, word starts first, "&" in a title kept as text.
TEST(MenuMnemonics, EachTitleGetsAFreeLetterAndReadsAsBefore)
{
    const std::pair<QStringList, QStringList> cases[] = {
        { { "About Quennary", "Preferences…", "Quit Quennary" }, { "&About Quennary", "&Preferences…", "&Quit Quennary" } },
        { { "Quennary Help", "Quit Quennary" }, { "&Quennary Help", "Q&uit Quennary" } },
        { { "Tom & Jerry", "Take Over" }, { "&Tom && Jerry", "Take &Over" } },
        { { "help", "Hide", "H", "" }, { "&help", "H&ide", "H", "" } },
        { { "Über", "Установки" }, { "&Über", "&Установки" } },
    };
    for (const auto &[titles, marked] : cases) {
        EXPECT_EQ(MenuMnemonics::assign(titles), marked);
        for (qsizetype index = 0; index < marked.size(); ++index)
            EXPECT_EQ(MenuMnemonics::plain(marked.at(index)), titles.at(index));
    }
}

TEST_F(AppDelegateTest, OldCacheDatabaseIsRemovedAtStart)
{
    const QString old = AppFolders::supportFolder() + QStringLiteral("/Qny.db");
    AppFolders::ensureFolder(AppFolders::supportFolder());
    QFile file(old);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    auto delegate = launch();
    EXPECT_FALSE(QFile::exists(old));
}

// Folders and files an older release left open to everyone (cache and its journal, log, settings,
// downloaded copies) are the user's alone after a start.
TEST_F(AppDelegateTest, FilesOfOursAreNarrowedAtStart)
{
    const QString support = AppFolders::supportFolder();
    for (const QString &path : { support + "/quennary.db", support + "/quennary.db-journal",
             AppFolders::thumbnailsFolder() + "/1_a.jpg", AppFolders::logFilePath(),
             AppFolders::settingsFilePath() }) {
        ASSERT_TRUE(TestFiles::write(path));
        QFile::setPermissions(path, QFile::Permissions(0x6644));
        QFile::setPermissions(QFileInfo(path).absolutePath(), QFile::Permissions(0x7755));
    }
    auto delegate = launch();
    EXPECT_EQ(TestFiles::openToOthers(AppFolders::ownFolders()), QStringList());
}

// A home Trash on a share whose server never answers (the test below, run beside such a share in a
// process of its own): start-up waits one bound for it, once.
TEST(SilentHomeTrashTest, StartUpGoesOnBesideASilentHomeTrash)
{
    DeadMount::expectPassesBeside("AppDelegateTest.StartUpGoesOnWhileTheHomeTrashDoesNotAnswer");
}

TEST_F(AppDelegateTest, StartUpGoesOnWhileTheHomeTrashDoesNotAnswer)
{
    QNY_SKIP_UNLESS_BESIDE_A_SILENT_SHARE();
    const QString share = DeadMount::silentShare();
    QTemporaryDir data;
    ASSERT_TRUE(QFile::link(share, data.filePath("Trash")));
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    auto delegate = launch();
    // The check of the folders it writes in comes once the window shows.
    QCoreApplication::processEvents();
    const QStringList waiting = DeadMount::threadsWaiting();
    EXPECT_EQ(waiting.size(), 1);
    EXPECT_TRUE(DeadMount::endServerAndWait(waiting, 60000));
}

// Start-up names the program's folders, and the home Trash, that nothing is written in because they
// are not this user's alone, and a scan cache it cannot use (a link, a folder, another user's file).
TEST(RefusedFolders, EachRefusedFolderIsNamedInTheStartUpNote)
{
    using Use = OwnFoldersCheck::Use;
    // A shell line run in the data folder on the cache $C, folders made writable by all, and what is refused.
    const std::tuple<const char *, QStringList, std::vector<Use>> rows[]
        = { { "touch $C", {}, {} }, { "true", { "config" }, { Use::Settings } },
              { "true", { "state/Quennary", "data/Trash" }, { Use::Log, Use::Trash } },
              { "ln -s $C.x $C", {}, { Use::ScanCache } }, { "mkdir $C", {}, { Use::ScanCache } },
              { "touch $C && chown 4242 $C", {}, { Use::ScanCache } },
              { "ln -s $C.x $C && chmod 777 .", {}, { Use::Support } } };
    const QString root = AppFolders::rootOverride();
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    for (const auto &[prepare, spoiled, expected] : rows) {
        QTemporaryDir dir;
        AppFolders::setRootOverride(dir.path());
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path() + QStringLiteral("/data")));
        const QString support = AppFolders::supportFolder(),
                      line = "mkdir -p '%1' && cd '%1' && C=quennary.db && %2";
        QProcess::execute("sh", { "-c", line.arg(support, prepare) });
        for (const QString &folder : spoiled) {
            const QString path = dir.path() + QLatin1Char('/') + folder;
            ASSERT_TRUE(QDir().mkpath(path) && QFile::setPermissions(path, QFile::Permissions(0x7777)));
        }
        const auto refused = OwnFoldersCheck::refusals({ support + "/quennary.db" });
        const std::optional<RefusedFoldersNote> note = AppStartup::refusedFoldersNote(refused);
        ASSERT_EQ(note.has_value(), !expected.empty());
        std::vector<Use> uses;
        for (const OwnFoldersCheck::Refusal &refusal : refused) {
            uses.push_back(refusal.use);
            EXPECT_TRUE(note->details.contains(refusal.path)) << note->details.toStdString();
        }
        EXPECT_EQ(uses, expected) << spoiled.join(' ').toStdString();
    }
    AppFolders::setRootOverride(root);
    qputenv("XDG_DATA_HOME", dataHome);
}

// The window's Dropbox source, signing in through `manager`.
std::shared_ptr<DropBoxHandler> installDropbox(AppDelegate &delegate, FakeDropbox &manager)
{
    DropboxClientsManager::setShared(&manager);
    DropBoxHandler::Options options;
    options.bases = { QUrl(QStringLiteral("http://127.0.0.1:1")), QUrl(QStringLiteral("http://127.0.0.1:1")) };
    auto handler = std::make_shared<DropBoxHandler>(options);
    delegate.mainVC->cloudMode().setDropboxHandler(handler);
    return handler;
}

TEST_F(AppDelegateTest, UrlHandedToASecondInstanceReachesTheFirst)
{
    auto delegate = launch();
    FakeDropbox dropbox;
    dropbox.waiting = true;
    installDropbox(*delegate, dropbox);
    ASSERT_NE(delegate->urlEventSource(), nullptr);
    ASSERT_TRUE(delegate->urlEventSource()->isListening());

    SingleInstance secondLaunch(delegate->urlEventSource()->serverName());
    ASSERT_TRUE(secondLaunch.sendToRunningInstance(QStringLiteral("com.quennary.app:/oauth?code=42")));
    ASSERT_TRUE(TestEvents::waitFor([&] { return !dropbox.redirects.isEmpty(); }, 5000));
    EXPECT_EQ(dropbox.redirects.first(), QUrl(QStringLiteral("com.quennary.app:/oauth?code=42")));
    DropboxClientsManager::setShared(nullptr);
}

// Whatever source the window shows, a redirect goes to the sign-in that waits for one, and only
// then; its ending sets the source's sign-in flag (a cancel leaves it).
TEST_F(AppDelegateTest, UrlEventsGoToTheSignInThatWaits)
{
    auto delegate = launch();
    FakeDropbox dropbox;
    const auto handler = installDropbox(*delegate, dropbox);
    const QString url = QStringLiteral("db-key://2/token#access_token=x");

    delegate->handleGetURLEvent(url);
    dropbox.waiting = true;
    delegate->handleGetURLEvent(QString());
    delegate->handleGetURLEvent(QStringLiteral("not a url"));
    EXPECT_TRUE(dropbox.redirects.isEmpty());

    struct Step {
        DropboxOAuthResult::Kind kind;
        bool signedIn;
    };
    const Step steps[] = { { DropboxOAuthResult::Kind::success, true },
        { DropboxOAuthResult::Kind::cancel, true }, { DropboxOAuthResult::Kind::error, false } };
    for (const Step &step : steps) {
        ScanGlobals::scanType = ScanSource::thisComputer;
        dropbox.result = DropboxOAuthResult { step.kind, QStringLiteral("why") };
        delegate->handleGetURLEvent(url);
        EXPECT_EQ(handler->isAuthorizedFromDrive.load(), step.signedIn);
    }
    EXPECT_EQ(dropbox.redirects.size(), 3);
    DropboxClientsManager::setShared(nullptr);
}

TEST_F(AppDelegateTest, ClosingThePreferencesWindowDoesNotQuitClosingTheMainWindowDoes)
{
    auto delegate = launch();
    FakeDropbox dropbox;
    DropboxClientsManager::setShared(&dropbox);
    AppFolders::ensureFolder(AppFolders::thumbnailsFolder());

    delegate->btnOpenPreferencesTapped();
    EXPECT_EQ(delegate->preferencesWindowController()->tabViewController()->activeTab, std::optional<int>(0));
    delegate->preferencesWindowController()->window()->close();
    EXPECT_EQ(terminations, 0);
    EXPECT_TRUE(QDir(AppFolders::thumbnailsFolder()).exists());

    delegate->window->show();
    delegate->window->close();
    EXPECT_EQ(terminations, 1);
    EXPECT_EQ(dropbox.unlinks, 1);
    EXPECT_EQ(dropbox.resets, 1);
    EXPECT_FALSE(QDir(AppFolders::thumbnailsFolder()).exists());
    DropboxClientsManager::setShared(nullptr);
}

TEST_F(AppDelegateTest, PreferencesOfferTheFourPanesInOrderAndOpenOnTheFirst)
{
    auto delegate = launch();
    QStringList identifiers, titles;
    for (const auto &pane : delegate->preferences()) {
        identifiers.append(pane->toolbarItemIdentifier());
        titles.append(pane->preferencePaneTitle());
    }
    EXPECT_EQ(identifiers, QStringList({ "general", "exclude", "automark", "filter" }));
    EXPECT_EQ(titles,
        QStringList({ localizedString("ID_GENERAL"), localizedString("ID_EXCLUSIONS"),
            localizedString("ID_AUTO_MARK"), localizedString("ID_FILTER_SORT") }));

    delegate->btnOpenPreferencesTapped();
    PreferencesWindowController *controller = delegate->preferencesWindowController();
    EXPECT_TRUE(controller->window()->isVisible());
    EXPECT_EQ(controller->window()->title(), localizedString("ID_GENERAL"));
    controller->show(Preferences::PaneIdentifier("filter"));
    delegate->btnOpenPreferencesTapped();
    EXPECT_EQ(controller->tabViewController()->activeTab, std::optional<int>(3));
}

TEST_F(AppDelegateTest, ResetInTheGeneralPaneReloadsTheMainWindow)
{
    auto delegate = launch();
    MainViewController &main = *delegate->mainVC;
    main.btnExactMatch->click();
    ASSERT_EQ(main.compareType, GlobalObjects::CompareType::ctMD5);
    auto general = std::dynamic_pointer_cast<GeneralViewController>(delegate->preferences().front());
    ASSERT_TRUE(general);
    general->view();
    general->btnResetDefault->click();
    EXPECT_TRUE(
        TestEvents::waitFor([&] { return main.compareType == GlobalObjects::CompareType::ctHash; }, 10000));
}

TEST_F(AppDelegateTest, QuitMenuItemEndsTheApplicationAfterItsCleanUp)
{
    auto delegate = launch();
    AppFolders::ensureFolder(AppFolders::thumbnailsFolder());
    delegate->window->show();
    delegate->menuItemQuit->trigger();
    EXPECT_EQ(terminations, 1);
    EXPECT_FALSE(QDir(AppFolders::thumbnailsFolder()).exists());
    EXPECT_TRUE(delegate->applicationShouldTerminateAfterLastWindowClosed());
    EXPECT_EQ(terminations, 2);
}

// The quit as the program runs it: the event loop ends, then the delegate and its windows go.
TEST_F(AppDelegateTest, AfterAnUninstallTheQuitBringsBackNoneOfTheUserFiles)
{
    auto delegate = std::make_unique<AppDelegate>();
    delegate->launch();
    delegate->window->show();
    ASSERT_TRUE(QFile::exists(UserDefaults::standard().filePath()));
    alerts.queueAnswer(AlertPresenter::kFirstButton + 1);
    QTimer::singleShot(0, delegate.get(), [&delegate] { delegate->menuItemUninstall->trigger(); });
    QApplication::exec();
    delegate.reset();
    for (const QString &path : Uninstaller::userPaths())
        EXPECT_FALSE(QFileInfo::exists(path)) << qPrintable(path);
    UserDefaults::standard().setFilePath(AppFolders::settingsFilePath());
}

TEST_F(AppDelegateTest, QuickLookShowsOnlyTheLastItem)
{
    auto delegate = launch();
    EXPECT_EQ(delegate->numberOfPreviewItemsInPreviewPanel(), 1);
    EXPECT_FALSE(delegate->previewItemAtIndex(0).has_value());
    delegate->showQuickLookPreview(QStringLiteral("/tmp/a.jpg"));
    delegate->showQuickLookPreview(QStringLiteral("/tmp/b.jpg"));
    EXPECT_EQ(delegate->arrUrlPreview.size(), 1);
    EXPECT_EQ(delegate->previewItemAtIndex(7),
        std::optional<QUrl>(QUrl::fromLocalFile(QStringLiteral("/tmp/b.jpg"))));
}

TEST_F(AppDelegateTest, QuickLookClosesWhenItsFileLeavesTheResults)
{
    auto delegate = launch();
    delegate->showQuickLookPreview(QStringLiteral("/tmp/a.jpg"));
    QPointer<QWidget> panel = QuickLookPanel::sharedPreviewPanel().window();
    ASSERT_TRUE(panel && panel->isVisible());
    emit delegate->mainVC->result->removedFromResults(QUrl::fromLocalFile(QStringLiteral("/tmp/a.jpg")));
    EXPECT_TRUE(!panel || !panel->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(AppDelegateTest, QuickLookIsTitledByItsFileAndClosesWithEscapeOrSpace)
{
    auto delegate = launch();
    for (const Qt::Key key : { Qt::Key_Escape, Qt::Key_Space }) {
        delegate->showQuickLookPreview(QStringLiteral("/tmp/holiday.jpg"));
        QWidget *panel = QuickLookPanel::sharedPreviewPanel().window();
        ASSERT_NE(panel, nullptr);
        EXPECT_TRUE(panel->isVisible());
        EXPECT_EQ(panel->windowTitle(), QStringLiteral("holiday.jpg"));
        panel->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(panel));
        QTest::keyClick(panel, key);
        EXPECT_FALSE(panel->isVisible()) << key;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// Quick Look shows the picture of every type the scan reads, HEIC included, not a file icon.
TEST_F(AppDelegateTest, QuickLookPreviewsAHeicPicture)
{
    if (!HeicFiles::canWrite())
        GTEST_SKIP() << "this libheif has no HEVC encoder, so no HEIC file can be made here";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("beach.heic"));
    QImage picture(400, 300, QImage::Format_RGB32);
    picture.fill(QColor(200, 40, 40));
    ASSERT_TRUE(HeicFiles::writeHeic(path, picture));
    auto delegate = launch();
    delegate->showQuickLookPreview(path);
    QWidget *panel = QuickLookPanel::sharedPreviewPanel().window();
    ASSERT_NE(panel, nullptr);
    const auto *image = panel->findChild<QLabel *>(QStringLiteral("quickLookImage"));
    ASSERT_NE(image, nullptr);
    const QImage shown = image->pixmap().toImage();
    EXPECT_EQ(shown.size(), picture.size());
    EXPECT_GT(qRed(shown.pixel(200, 150)), 150);
    panel->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST_F(AppDelegateTest, WindowStartsAtTheMainViewsSizeAsFarAsTheScreenAllowsAndCanGrow)
{
    auto delegate = launch();
    QMainWindow *window = delegate->window;
    QWidget *mainView = delegate->mainVC->view();
    const QSize room = window->screen()->availableGeometry().size();
    const QSize designed = mainView->size() + QSize(0, window->menuBar()->sizeHint().height());
    EXPECT_EQ(window->minimumSize(), designed.boundedTo(room));
    EXPECT_EQ(window->size(), designed.boundedTo(room));
    EXPECT_GT(window->maximumWidth(), window->minimumWidth());
    window->resize(window->size() + QSize(300, 0));
    QCoreApplication::processEvents();
    // The fixed main view stays whole, centred, never pushed off the top left.
    const int spare = window->centralWidget()->width() - mainView->width();
    EXPECT_EQ(mainView->x(), std::max(0, spare / 2));
}

// The windows ask by signal; the delegate that made them answers the same signals the tests emit.
TEST_F(AppDelegateTest, WindowRequestsReachTheDelegate)
{
    auto delegate = launch();
    ResultViewController *results = delegate->mainVC->result.get();

    const QList<QUrl> urls { QUrl::fromLocalFile(QStringLiteral("/tmp/c.jpg")) };
    emit results->quickLookRequested(urls);
    EXPECT_EQ(delegate->arrUrlPreview, urls);

    delegate->mainVC->view()->hide();
    delegate->mainVC->btnCompare->setState(IMGButton::OffState);
    emit results->returnToMainRequested();
    EXPECT_FALSE(delegate->mainVC->view()->isHidden());
    EXPECT_EQ(delegate->mainVC->btnCompare->state(), IMGButton::OnState);

    emit delegate->mainVC->preferencesRequested();
    EXPECT_TRUE(delegate->preferencesWindowController()->window()->isVisible());
    delegate->preferencesWindowController()->window()->close();
    emit results->preferencesPaneRequested(QStringLiteral("automark"));
    EXPECT_TRUE(delegate->preferencesWindowController()->window()->isVisible());
    EXPECT_EQ(delegate->preferencesWindowController()->tabViewController()->activeTab, std::optional<int>(2));
    delegate->preferencesWindowController()->window()->close();
    if (QWidget *panel = QuickLookPanel::sharedPreviewPanel().window())
        panel->close();
}

TEST_F(AppDelegateTest, SupportPageCarriesTheLanguageCode)
{
    EXPECT_EQ(AppStartup::supportPageUrl(QStringLiteral("de")).toString(),
        QStringLiteral("https://www.quennary.app/support/?langcode=de"));
    EXPECT_TRUE(
        AppStartup::supportPageUrl(QStringLiteral("de")).path().endsWith(QStringLiteral("/support/")));
}

} // namespace
