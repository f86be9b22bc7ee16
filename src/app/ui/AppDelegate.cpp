#include "app/ui/AppDelegate.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QMainWindow>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

#include "app/AppStartup.h"
#include "app/CommonFunc.h"
#include "app/ExternalUserAgentSession.h"
#include "app/LocalizedString.h"
#include "app/OSVersionFlags.h"
#include "app/ScanGlobals.h"
#include "app/ScanWrapper.h"
#include "app/SettingsDefaults.h"
#include "app/SingleInstance.h"
#include "app/UpdaterController.h"
#include "app/ui/MainMenuInterface.h"
#include "app/ui/QuickLookPanel.h"
#include "app/ui/UninstallFlow.h"
#include "platform/AppFolders.h"
#include "platform/Log.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/FrameGeometry.h"
#include "removal/ui/RemovalSheets.h"
#include "removal/ui/ResultWindowMarking.h"
#include "results/ui/ResultViewController.h"
#include "scan/ui/MainViewController.h"

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
    delete window;
    if (g_delegate == this)
        g_delegate = nullptr;
}

AppDelegate *AppDelegate::shared()
{
    return g_delegate;
}

const std::vector<std::shared_ptr<PreferencePane>> &AppDelegate::preferences()
{
    return m_preferences;
}

PreferencesWindowController *AppDelegate::preferencesWindowController()
{
    if (!m_preferencesWindowController)
        m_preferencesWindowController
            = std::make_unique<PreferencesWindowController>(preferences(), preferencesStyle, true, true);
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
    // The preferences window opens on the pane it last showed until it can be told which pane.
    connect(results, &ResultViewController::preferencesPaneRequested, this,
        &AppDelegate::btnOpenPreferencesTapped);
}

void AppDelegate::launch()
{
    MainMenuInterface::load(*this);
    awakeFromNib();
    applicationWillFinishLaunching();
}

void AppDelegate::awakeFromNib()
{
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
    MainMenuInterface::applyTitles(*this, AppStartup::menuTitles(QCoreApplication::applicationName()));
    const QString cacheFolder = AppFolders::supportFolder();
    AppFolders::ensureFolder(cacheFolder);
    AppStartup::removeOldCacheDatabase(cacheFolder);
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
}

void AppDelegate::applyLightAppearance()
{
    // The windows are drawn for a light interface; a dark desktop theme must not reach them.
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion"))) {
        QApplication::setStyle(fusion);
        QApplication::setPalette(fusion->standardPalette());
    }
}

void AppDelegate::embedMainView()
{
    if (!window)
        return;
    QWidget *view = mainVC->view();
    window->setCentralWidget(view);
    window->setFixedSize(window->sizeHint());
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
    }
    m_urlEvents->listen();
}

void AppDelegate::handleGetURLEvent(const QString &text)
{
    const std::optional<QUrl> url = AppStartup::redirectUrl(text);
    if (!url)
        return;
    switch (ScanGlobals::scanType.load()) {
    case 2:
        if (DropboxClientsManager *manager = DropboxClientsManager::shared()) {
            manager->handleRedirectURL(*url,
                [this](const std::optional<DropboxOAuthResult> &result) { handleDropboxAuthResult(result); });
        }
        break;
    case 1:
        if (currentAuthorizationFlow)
            currentAuthorizationFlow->resumeExternalUserAgentFlowWithURL(*url);
        break;
    default:
        break;
    }
}

void AppDelegate::handleDropboxAuthResult(const std::optional<DropboxOAuthResult> &result)
{
    if (!result)
        return;
    const std::shared_ptr<ScanWrapper> wrapper = mainVC->scanWrapper;
    switch (result->kind) {
    case DropboxOAuthResult::Kind::success:
        stdoutLine(QStringLiteral("Success! User is logged into Dropbox."));
        if (wrapper)
            wrapper->isAuthorizedFromDrive = true;
        mainVC->closeCloudAuthorizationSheet();
        break;
    case DropboxOAuthResult::Kind::error:
        stdoutLine(QStringLiteral("Error: ") + result->errorDescription);
        if (wrapper)
            wrapper->isAuthorizedFromDrive = false;
        mainVC->closeCloudAuthorizationSheet();
        break;
    case DropboxOAuthResult::Kind::cancel:
        stdoutLine(QStringLiteral("Authorization flow was manually canceled by user!"));
        break;
    }
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
    preferencesWindowController()->dismissController();
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
    AlertSpec alert;
    alert.messageText = localizedString(QStringLiteral("ID_ERROR_OCCURED_ONLINE_HELP"));
    alert.informativeText = localizedString(QStringLiteral("ID_PLEASE_TRY_AGAIN_LATER"));
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
    PreferencesWindowController *controller = preferencesWindowController();
    if (!controller->tabViewController()->activeTab)
        controller->tabViewController()->setActiveTab(0, false);
    controller->showWindow();
    controller->restoreWindowPosition();
    controller->window()->activateWindow();
}

void AppDelegate::btnCheckForUpdateTapped()
{
    if (!updaterController)
        return;
    updaterController->startUpdater();
    updaterController->checkForUpdates();
}

void AppDelegate::btnUnInstallTapped()
{
    UninstallFlow flow(terminate);
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
