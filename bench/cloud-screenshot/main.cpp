// quennary-cloud-screenshot OUTDIR: starts the application as a user would, switches the main window
// to Dropbox and writes screenshots of the screen to OUTDIR: the authorization sheet (auth.png), the
// window in Dropbox mode with two chosen folders (dropbox.png), the folder sheet over a small
// listed tree (folders.png) and the alert of a scan whose listing failed (listing-failed.png; run
// it with QUENNARY_DROPBOX_API_BASE pointing where nothing answers). Nothing is sent anywhere else:
// the tree is laid out in memory. Settings, caches and the log go to a temporary home.
#include <cstdio>

#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QTimer>
#include <QTreeView>

#include "ScreenshotSupport.h"
#include "app/ui/AppDelegate.h"
#include "cloud/DropBoxHandler.h"
#include "model/CloudScanFoldersList.h"
#include "platform/StaticTokenSource.h"
#include "scan/ui/CloudFolderSheet.h"
#include "scan/ui/CloudModeController.h"
#include "scan/ui/MainViewController.h"
#include "scan/ui/PopUpButton.h"

namespace
{

std::shared_ptr<CloudScanFoldersList> folder(
    const std::shared_ptr<CloudScanFoldersList> &parent, const QString &name, bool listed)
{
    auto node = std::make_shared<CloudScanFoldersList>();
    node->folderName = name;
    node->folderPath = parent->folderPath + QLatin1Char('/') + name;
    node->isAllFilesFetched = listed;
    node->parentNodeDropBoxList = parent;
    parent->arrChildren.append(node);
    return node;
}

} // namespace

int main(int argc, char **argv)
{
    ScreenshotSupport::Session session(argc, argv);
    if (!ScreenshotSupport::hasArguments(1, "quennary-cloud-screenshot OUTDIR"))
        return 2;
    const QString out = ScreenshotSupport::outputFolder(QApplication::arguments().at(1));

    AppDelegate delegate;
    delegate.launch();
    delegate.window->show();
    MainViewController &main = *delegate.mainVC;
    ScreenshotSupport::settle(300);

    main.btnPopupForScanSelection->selectItemAtIndex(2);
    main.cloudMode().btnScanTypeTapped(2);
    ScreenshotSupport::settle(300);
    ScreenshotSupport::grabScreen(out, QStringLiteral("auth.png"));
    main.closeCloudAuthorizationSheet();

    // Signed in with a token nobody checks: the window only shows it.
    DropBoxHandler::Options options;
    options.bases = DropboxApi::configuredBases();
    options.tokens = std::make_shared<StaticTokenSource>(QStringLiteral("screenshot"), QList<QUrl>());
    main.cloudMode().setDropboxHandler(std::make_shared<DropBoxHandler>(options));
    auto root = std::make_shared<CloudScanFoldersList>();
    root->folderName = QStringLiteral("Dropbox");
    root->folderPath = QStringLiteral("Dropbox");
    root->isAllFilesFetched = true;
    const auto camera = folder(root, QStringLiteral("Camera Uploads"), true);
    folder(camera, QStringLiteral("2023"), false);
    folder(camera, QStringLiteral("2024"), false);
    const auto trips = folder(root, QStringLiteral("Trips"), false);
    folder(root, QStringLiteral("Family Photos"), false);
    main.cloudRootObj = root;
    main.cloudMode().folderSheet().resetModel();
    for (const auto &chosen : { camera, trips }) {
        main.lastSelectedCloudPath = chosen;
        main.cloudMode().folderSheet().btnAddFolderCloudScanTapped();
    }
    ScreenshotSupport::settle(300);
    ScreenshotSupport::grabScreen(out, QStringLiteral("dropbox.png"));

    main.cloudMode().getFolderList();
    main.outlineCloudFolderList->expandAll();
    main.outlineCloudFolderList->setCurrentIndex(main.outlineCloudFolderList->model()->index(0, 0));
    ScreenshotSupport::settle(300);
    ScreenshotSupport::grabScreen(out, QStringLiteral("folders.png"));

    // The alert is modal: it is grabbed and answered from a timer while it runs.
    main.cloudMode().folderSheet().btnCloseCloudScanFolderList();
    QEventLoop waiting;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        auto *alert = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!alert)
            return;
        poll.stop();
        ScreenshotSupport::settle(300);
        ScreenshotSupport::grabScreen(out, QStringLiteral("listing-failed.png"));
        alert->buttons().front()->click();
        waiting.quit();
    });
    poll.start(200);
    QTimer::singleShot(60000, &waiting, &QEventLoop::quit);
    main.btnStartScanTapped();
    waiting.exec();
    return 0;
}
