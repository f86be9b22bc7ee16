// The application's hub: runs the start-up sequence, owns the main window and its controller, the
// preferences window, the updater and the Quick Look list, handles sign-in redirects and quits the
// application when the main window closes.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include <QList>
#include <QObject>
#include <QPointer>
#include <QUrl>

#include "app/DropboxClientsManager.h"
#include "preferences/PreferencesStyle.h"

class ExternalUserAgentSession;
class MainViewController;
class ResultWindowMarking;
class PreferencePane;
class PreferencesWindowController;
class QAction;
class QMainWindow;
class QThread;
class SingleInstance;
class UpdaterController;

class AppDelegate : public QObject
{
    Q_OBJECT
public:
    explicit AppDelegate(QObject *parent = nullptr);
    ~AppDelegate() override;

    // The one delegate of the process (null before it is made).
    static AppDelegate *shared();

    QPointer<QAction> menuItemHelpHeader;
    QPointer<QAction> menuItemUnInstall;
    QPointer<QAction> menuItemHelp;
    QPointer<QAction> menuItemQuit;
    QPointer<QAction> menuItemCheckForUpdate;
    QPointer<QAction> menuItemPreferences;
    QPointer<QAction> menuItemAbout;
    QPointer<QMainWindow> window;
    std::unique_ptr<MainViewController> mainVC;
    // The results window's marking parts; declared after mainVC so they go first.
    std::unique_ptr<ResultWindowMarking> resultMarking;
    std::unique_ptr<UpdaterController> updaterController;
    QList<QUrl> arrUrlPreview;
    Preferences::Style preferencesStyle = Preferences::Style::toolbarItems;
    QPointer<QAction> menuAbout;
    QPointer<QAction> menuAppName;
    QPointer<QAction> menuItemUninstall;

    const std::vector<std::shared_ptr<PreferencePane>> &preferences();
    PreferencesWindowController *preferencesWindowController();

    // Loads the main window and menu, then runs awakeFromNib() and applicationWillFinishLaunching().
    void launch();
    void awakeFromNib();
    void applicationWillFinishLaunching();

    // A URL event's text: completes the cloud sign-in that waits for its redirect.
    void handleGetURLEvent(const QString &text);

    void windowWillClose(QObject *closingWindow);
    bool applicationShouldTerminateAfterLastWindowClosed();

    // Menu actions.
    void showHelp();
    void showAbout();
    void btnOpenPreferencesTapped();
    void btnCheckForUpdateTapped();
    void btnUnInstallTapped();

    void showQuickLookPreview(const QList<QUrl> &urls);
    void showQuickLookPreview(const QString &filePath);
    // A file left the results: it is no longer previewed.
    void forgetPreviewItem(const QUrl &url);
    int numberOfPreviewItemsInPreviewPanel() const;
    std::optional<QUrl> previewItemAtIndex(int index) const;
    void resizePreferencesWindowToContent();

    // Ends the application; replaceable so tests can watch it without leaving their event loop.
    std::function<void()> terminate;
    // The listener that receives URL events from later launches (null until start-up installed it).
    SingleInstance *urlEventSource() const { return m_urlEvents; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void openSupportPage();
    void commonCleanUp();
    void installURLEventHandler();
    void applyLightAppearance();
    void embedMainView();
    // One alert over the main window naming the folders nothing is written in, when there are any.
    void showRefusedFolders();
    // The windows ask by signal; the delegate, which owns them, answers.
    void connectWindows();
    // The web-page addresses are built on a thread of their own: the work may block for minutes.
    void startWebPageSettings();
    void stopWebPageSettings();

    std::vector<std::shared_ptr<PreferencePane>> m_preferences;
    std::unique_ptr<PreferencesWindowController> m_preferencesWindowController;
    SingleInstance *m_urlEvents = nullptr;
    QThread *m_webPageSettings = nullptr;
};
