// Saves a picture of the launched main window when QNY_SCREENSHOT names a PNG file; run it under a
// real X server (for example xvfb-run with QT_QPA_PLATFORM=xcb) to look at the window.
#include <gtest/gtest.h>

#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMainWindow>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include "app/ui/AppDelegate.h"
#include "platform/AppFolders.h"
#include "platform/UserDefaults.h"

TEST(MainWindowScreenshotTest, SavesTheLaunchedWindow)
{
    const QString path = qEnvironmentVariable("QNY_SCREENSHOT");
    if (path.isEmpty())
        GTEST_SKIP() << "QNY_SCREENSHOT not set";
    UserDefaults::standard().resetAll();
    // A short scan list, so the picture shows rows as well.
    QVariantList saved;
    for (const QString &name : {QStringLiteral("Pictures"), QStringLiteral("Camera Uploads")}) {
        const QString folder = AppFolders::homeFolder() + QLatin1Char('/') + name;
        QDir().mkpath(folder);
        saved.append(QVariantMap{{QStringLiteral("path"), folder.toUtf8()}, {QStringLiteral("state"), 1}});
    }
    UserDefaults::standard().setObject(QStringLiteral("savedPaths"), saved);
    AppDelegate delegate;
    delegate.terminate = [] {};
    delegate.launch();
    delegate.window->show();
    QEventLoop loop;
    QTimer::singleShot(1500, &loop, &QEventLoop::quit);
    loop.exec();
    QScreen *screen = QGuiApplication::primaryScreen();
    QPixmap picture = screen ? screen->grabWindow(0) : QPixmap();
    if (picture.isNull())
        picture = delegate.window->grab();
    EXPECT_TRUE(picture.save(path));
}
