// quennary-drive-screenshot OUTDIR: starts the application, shows the Google Drive sign-in sheet
// (signin.png), then the folder window with a few folders listed from a Drive stand-in on
// 127.0.0.1, one of them opened and selected, the list holding the keys (folders.png). Settings and caches go
// to a temporary home.
#include <cstdio>

#include <QApplication>
#include <QMainWindow>
#include <QTimer>
#include <QTreeView>

#include "ScreenshotSupport.h"
#include "app/ui/AppDelegate.h"
#include "cloud/FakeDrive.h"
#include "cloud/ui/GoogleDriveAccessVC.h"
#include "platform/ui/AlertPresenter.h"
#include "scan/ui/GoogleDriveScanSource.h"
#include "scan/ui/MainViewController.h"

namespace
{

constexpr int kSettleMs = 700;

void fillDrive(FakeDrive &drive)
{
    const QStringList top = { QStringLiteral("Camera Uploads"), QStringLiteral("Family"),
        QStringLiteral("Holidays 2024"), QStringLiteral("Scans"), QStringLiteral("Work") };
    for (int i = 0; i < top.size(); ++i)
        drive.addFolder(QStringLiteral("root"), QStringLiteral("t%1").arg(i), top.at(i));
    for (const char *name : { "Italy", "Norway", "Weekend at the lake" })
        drive.addFolder(QStringLiteral("t2"), QString::fromLatin1(name), QString::fromLatin1(name));
}

} // namespace

int main(int argc, char **argv)
{
    ScreenshotSupport::Session session(argc, argv);
    QApplication &app = session.app;
    if (!ScreenshotSupport::hasArguments(1, "quennary-drive-screenshot OUTDIR"))
        return 2;
    const QString out = ScreenshotSupport::outputFolder(QApplication::arguments().at(1));
    FakeHttpServer server;
    FakeDrive drive(server);
    fillDrive(drive);
    qputenv("QUENNARY_GOOGLE_API_BASE", server.base().toUtf8());

    AppDelegate delegate;
    delegate.launch();
    delegate.window->show();
    MainViewController &main = *delegate.mainVC;
    GoogleDriveAccessVC &vc = *main.gDriveAccessVC;
    int status = 0;
    QTimer::singleShot(kSettleMs, &app, [&] { main.googleDrive().showGoogleDriveSignInSheet(); });
    QTimer::singleShot(kSettleMs * 2, &app, [&] {
        status |= ScreenshotSupport::grabScreen(out, QStringLiteral("signin.png")) ? 0 : 1;
        vc.btnClosePermissionSheet();
        main.googleDrive().getFolderList();
    });
    QTimer::singleShot(kSettleMs * 4, &app, [&] {
        QTreeView *outline = vc.outlineGDFolderList;
        const QModelIndex root = outline->model()->index(0, 0);
        outline->expand(root);
        outline->expand(outline->model()->index(2, 0, root));
    });
    QTimer::singleShot(kSettleMs * 6, &app, [&] {
        QTreeView *outline = vc.outlineGDFolderList;
        const QModelIndex holidays = outline->model()->index(2, 0, outline->model()->index(0, 0));
        outline->setFocus(Qt::TabFocusReason);
        outline->selectionModel()->setCurrentIndex(outline->model()->index(1, 0, holidays),
            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    });
    QTimer::singleShot(kSettleMs * 7, &app, [&] {
        status |= ScreenshotSupport::grabScreen(out, QStringLiteral("folders.png")) ? 0 : 1;
        QCoreApplication::exit(status);
    });
    return app.exec();
}
