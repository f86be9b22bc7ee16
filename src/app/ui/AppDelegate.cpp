#include "app/ui/AppDelegate.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QMainWindow>
#include <QPalette>
#include <QScreen>
#include <QStyle>
#include <QStyleFactory>
#include <QThread>
#include <QTimer>

#include "app/AppStartup.h"
#include "app/CommonFunc.h"
#include "app/LocalizedString.h"
#include "app/OpenFailureTexts.h"
#include "app/OSVersionFlags.h"
#include "app/ScanGlobals.h"
#include "app/ScanWrapper.h"
#include "app/SettingsDefaults.h"
#include "app/SingleInstance.h"
#include "app/UpdaterController.h"
#include "app/ui/MainMenuInterface.h"
#include "app/ui/QuickLookPanel.h"
#include "app/ui/UninstallFlow.h"
#include "cloud/CloudSource.h"
#include "cloud/GoogleSignIn.h"
#include "cloud/ui/GoogleDriveAccessVC.h"
#include "controls/ControlStyles.h"
#include "controls/FocusMarkStyle.h"
#include "controls/PageHost.h"
#include "model/SqliteDBOperations.h"
#include "platform/AppFolders.h"
#include "platform/ExternalUserAgentSession.h"
#include "platform/Log.h"
#include "platform/OAuthCodeFlow.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/FrameGeometry.h"
#include "platform/ui/WindowFrameAutosave.h"
#include "preferences/ui/AutoMarkViewController.h"
#include "preferences/ui/ExcludeViewController.h"
#include "preferences/ui/FilterViewController.h"
#include "preferences/ui/GeneralViewController.h"
#include "preferences/ui/PreferencesWindowController.h"
#include "removal/ui/RemovalSheets.h"
#include "removal/ui/ResultWindowMarking.h"
#include "results/ui/ResultViewController.h"
#include "scan/ui/CloudModeController.h"
#include "scan/ui/MainViewController.h"
#include "webpages/UrlSetting.h"

namespace
{

AppDelegate *g_delegate = nullptr;

} // namespace

AppDelegate::AppDelegate(QObject *parent)
    : QObject(parent)
    , mainVC(std::make_unique<MainViewController>())
    , resultMarking(std::make_unique<ResultWindowMarking>(*mainVC->result))
    , terminate([] { QCoreApplication::quit(); })
{
    g_delegate = this;
    // The removal road lives as a child of the results window's controller.
    RemovalSheets::install(*mainVC->result);
    connectWindows();
}

AppDelegate::~AppDelegate()
{
    if (qApp)
        qApp->removeEventFilter(this);
    stopWebPageSettings();
    delete window;
    if (g_delegate == this) {
        g_delegate = nullptr;
        OAuthCodeFlow::setUrlEventHandler({});
    }
}

AppDelegate *AppDelegate::shared()
{
    return g_delegate;
}

const std::vector<std::shared_ptr<PreferencePane>> &AppDelegate::preferences()
{
    if (m_preferences.empty()) {
        auto exclude = std::make_shared<ExcludeViewController>();
        exclude->setScanListProvider([this] { return mainVC->dictPathAdded.keys(); });
        m_preferences = { std::make_shared<GeneralViewController>(), exclude,
            std::make_shared<AutoMarkViewController>(), std::make_shared<FilterViewController>() };
        for (const auto &pane : m_preferences)
            connect(pane.get(), &PreferencePane::viewWillAppear, this,
                &AppDelegate::resizePreferencesWindowToContent);
    }
    return m_preferences;
}

PreferencesWindowController *AppDelegate::preferencesWindowController()
{
    if (!m_preferencesWindowController)
        m_preferencesWindowController = std::make_unique<PreferencesWindowController>(
            std::vector<std::shared_ptr<PreferencePaneConvertible>>(
                preferences().begin(), preferences().end()),
            preferencesStyle, true, true);
    return m_preferencesWindowController.get();
}

void AppDelegate::connectWindows()
{
    MainViewController *main = mainVC.get();
    ResultViewController *results = main->result.get();
    connect(main, &MainViewController::preferencesRequested, this, &AppDelegate::btnOpenPreferencesTapped);
    connect(
        results, &ResultViewController::returnToMainRequested, main, &MainViewController::returnFromResults);
    connect(results, &ResultViewController::quickLookRequested, this,
        qOverload<const QList<QUrl> &>(&AppDelegate::showQuickLookPreview));
    connect(results, &ResultViewController::removedFromResults, this, &AppDelegate::forgetPreviewItem);
    connect(
        results, &ResultViewController::preferencesPaneRequested, this, [this](const QString &identifier) {
            preferencesWindowController()->show(Preferences::PaneIdentifier(identifier));
        });
}

void AppDelegate::launch()
{
    MainMenuInterface::load(*this);
    awakeFromNib();
    applicationWillFinishLaunching();
}

void AppDelegate::awakeFromNib()
{
    AppStartup::narrowPrivateFolders();
    AppStartup::writeStartBanner();
    OSVersionFlags::detectOSVersion();
    SettingsDefaults::registerDefaultSettings();
    ScanGlobals::setMarkedPhotosAlbumName(localizedString(QStringLiteral("ID_DUPLICATE_MARKED_PHOTOS")));
    AppStartup::applyImageTypeMigration(UserDefaults::standard());
    if (window)
        window->setWindowTitle(QCoreApplication::applicationName());
    // Every window's closing passes through eventFilter(); windowWillClose() picks the main window.
    qApp->installEventFilter(this);
    if (menuItemUninstall)
        menuItemUninstall->setVisible(true);
    startWebPageSettings();
    MainMenuInterface::applyTitles(*this, AppStartup::menuTitles(QCoreApplication::applicationName()));
    const QString cacheFolder = AppFolders::supportFolder();
    AppFolders::ensureFolder(cacheFolder);
    AppStartup::removeOldCacheDatabase(cacheFolder);
}

void AppDelegate::startWebPageSettings()
{
    if (m_webPageSettings)
        return;
    m_webPageSettings = QThread::create([] {
        UrlSetting &settings = UrlSetting::shared();
        settings.init();
        settings.setupUrlSettings();
    });
    m_webPageSettings->setObjectName(QStringLiteral("Web page settings"));
    m_webPageSettings->start(QThread::LowPriority);
}

// Quitting never waits for the work: its pause wakes and its read is cut short.
void AppDelegate::stopWebPageSettings()
{
    if (!m_webPageSettings)
        return;
    UrlSetting::shared().stop();
    m_webPageSettings->wait();
    delete m_webPageSettings;
    m_webPageSettings = nullptr;
}

void AppDelegate::applicationWillFinishLaunching()
{
    applyLightAppearance();
    embedMainView();
    const bool firstLaunchDone = AppStartup::takeFirstLaunchDone(UserDefaults::standard());
    updaterController = std::make_unique<UpdaterController>(firstLaunchDone);
    if (firstLaunchDone) {
        updaterController->startUpdater();
        updaterController->checkForUpdatesInBackground();
    }
    installURLEventHandler();
    // Once the main window is on the screen, so the alert stands over it.
    QTimer::singleShot(0, this, &AppDelegate::showRefusedFolders);
}

void AppDelegate::showRefusedFolders()
{
    QStringList caches;
    for (const ScanSource source : { ScanSource::thisComputer, ScanSource::googleDrive, ScanSource::dropbox })
        caches << SqliteDBOperations::getDbPathInLibrary(SqliteDBOperations::cacheFileNameForScanType(source));
    const std::optional<RefusedFoldersNote> note = AppStartup::refusedFoldersNote(OwnFoldersCheck::refusals(caches));
    if (!note)
        return;
    AlertSpec alert;
    alert.messageText = note->message;
    alert.informativeText = note->details;
    alert.buttons = { localizedString(QStringLiteral("ID_OK_CAPS")) };
    AlertPresenter::current().runAlert(alert, window);
}

void AppDelegate::applyLightAppearance()
{
    // The windows are drawn for a light interface; a dark desktop theme must not reach them.
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        auto *style = new FocusMarkStyle(fusion);
        QApplication::setStyle(style);
        QApplication::setPalette(style->standardPalette());
    }
}

void AppDelegate::embedMainView()
{
    if (!window)
        return;
    auto *host = new PageHost(window);
    ControlStyles::applyWindowPalette(host);
    mainVC->view()->setParent(host);
    window->setCentralWidget(host);
    // The main view's own size is the window's first and smallest size, as far as the screen has
    // room for it; the window may grow (the results re-flow) and keeps its frame between runs.
    const QSize designed = window->sizeHint();
    const QSize room = window->screen() ? window->screen()->availableGeometry().size() : designed;
    window->setMinimumSize(designed.boundedTo(room));
    window->resize(designed.boundedTo(room));
    auto *frame = new WindowFrameAutosave(window, QStringLiteral("mainWindowFrame"));
    frame->restore();
}

void AppDelegate::installURLEventHandler()
{
    if (!m_urlEvents) {
        m_urlEvents = new SingleInstance(SingleInstance::defaultServerName(), this);
        connect(m_urlEvents, &SingleInstance::messageReceived, this, [this](const QString &message) {
            if (message.isEmpty()) {
                if (window) {
                    window->raise();
                    window->activateWindow();
                }
                return;
            }
            handleGetURLEvent(message);
        });
        // Redirects caught by a sign-in's loopback listener are routed like those of a later launch.
        OAuthCodeFlow::setUrlEventHandler([this](const QString &url) { handleGetURLEvent(url); });
    }
    m_urlEvents->listen();
}

void AppDelegate::handleGetURLEvent(const QString &text)
{
    const std::optional<QUrl> url = AppStartup::redirectUrl(text);
    if (!url)
        return;
    // The redirect belongs to the sign-in that waits for one, whichever source the window shows.
    if (mainVC) {
        for (const std::shared_ptr<CloudSource> &source : mainVC->cloudMode().sources()) {
            if (source->takeRedirect(*url))
                return;
        }
    }
    Log::line(QStringLiteral("A sign-in redirect came while no sign-in waits for one"));
}

bool AppDelegate::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close && watched->isWidgetType()) {
        auto *widget = static_cast<QWidget *>(watched);
        if (widget->isWindow() && event->isAccepted())
            windowWillClose(widget);
    }
    return QObject::eventFilter(watched, event);
}

void AppDelegate::windowWillClose(QObject *closingWindow)
{
    if (closingWindow != static_cast<QObject *>(window.data()))
        return;
    if (m_preferencesWindowController)
        m_preferencesWindowController->dismissController();
    commonCleanUp();
    terminate();
}

bool AppDelegate::applicationShouldTerminateAfterLastWindowClosed()
{
    commonCleanUp();
    terminate();
    return true;
}

void AppDelegate::commonCleanUp()
{
    if (DropboxClientsManager *manager = DropboxClientsManager::shared()) {
        manager->unlinkClients();
        manager->resetClients();
    }
    CommonFunc::removeThumbnailsFolder();
}

void AppDelegate::showHelp()
{
    openSupportPage();
}

void AppDelegate::openSupportPage()
{
    const QUrl url = AppStartup::supportPageUrl(Localization::currentLanguageCode());
    if (!url.isValid())
        return;
    if (QDesktopServices::openUrl(url))
        return;
    const OpenFailureText failure = OpenFailureTexts::forHelpPage(url);
    AlertSpec alert;
    alert.messageText = failure.message;
    alert.informativeText = failure.informative;
    alert.buttons = { localizedString(QStringLiteral("ID_OK_CAPS")) };
    AlertPresenter::current().runAlert(alert, window);
}

void AppDelegate::showAbout()
{
    AlertSpec alert;
    alert.style = AlertSpec::Style::Informational;
    alert.messageText = QCoreApplication::applicationName();
    alert.informativeText = formatText(localizedString(QStringLiteral("ID_ABOUT_VERSION")),
                                QCoreApplication::applicationVersion())
        + QStringLiteral("\n\n") + localizedString(QStringLiteral("ID_ABOUT_DESCRIPTION"));
    AlertPresenter::current().runAlert(alert, window);
}

void AppDelegate::btnOpenPreferencesTapped()
{
    preferencesWindowController()->show(std::nullopt);
}

// The package manager updates the program; the command says so instead of ending in silence.
void AppDelegate::btnCheckForUpdateTapped()
{
    if (updaterController) {
        updaterController->startUpdater();
        updaterController->checkForUpdates();
    }
    AlertSpec alert;
    alert.style = AlertSpec::Style::Informational;
    alert.messageText = UpdaterController::packageUpdateNote();
    alert.buttons = { localizedString(QStringLiteral("ID_OK_CAPS")) };
    AlertPresenter::current().runAlert(alert, window);
}

void AppDelegate::btnUnInstallTapped()
{
    auto uninstaller = std::make_unique<Uninstaller>();
    uninstaller->setSecretNames({ QString::fromLatin1(GoogleSignIn::kSecretName) });
    UninstallFlow flow(terminate, std::move(uninstaller));
    // The addresses as far as the start-up work has built them; never waits for it.
    flow.setAfterUninstallAddress([] { return UrlSetting::shared().urlAfterUnInstall(); });
    flow.run(window);
}

void AppDelegate::showQuickLookPreview(const QString &filePath)
{
    showQuickLookPreview(QList<QUrl> { QUrl::fromLocalFile(filePath) });
}

void AppDelegate::showQuickLookPreview(const QList<QUrl> &urls)
{
    if (urls.isEmpty())
        return;
    arrUrlPreview = urls;
    QuickLookPanel::sharedPreviewPanel().setDataSource(this);
    QuickLookPanel::sharedPreviewPanel().makeKeyAndOrderFront();
}

void AppDelegate::forgetPreviewItem(const QUrl &url)
{
    if (arrUrlPreview.removeAll(url) > 0)
        QuickLookPanel::sharedPreviewPanel().refresh();
}

int AppDelegate::numberOfPreviewItemsInPreviewPanel() const
{
    return 1;
}

std::optional<QUrl> AppDelegate::previewItemAtIndex(int) const
{
    if (arrUrlPreview.isEmpty())
        return std::nullopt;
    return arrUrlPreview.last();
}

void AppDelegate::resizePreferencesWindowToContent()
{
    QWidget *content = preferencesWindowController()->contentView();
    if (!content)
        return;
    const QRectF frame = FrameGeometry::frameInBottomLeft(content);
    if (static_cast<int>(frame.y()) < 0)
        FrameGeometry::setFrameFromBottomLeft(content, QRectF(0, 0, frame.width(), frame.height()));
}
