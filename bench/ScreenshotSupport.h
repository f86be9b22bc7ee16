// What the screenshot tools share: starting the application as a user would and writing the whole
// screen to a file, with a line saying so.
#pragma once

#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

#include "platform/AppFolders.h"
#include "platform/UserDefaults.h"

namespace ScreenshotSupport
{

// The application as a user starts it: named, and ended by its delegate rather than by its last
// window closing. Call right after the QApplication is made.
inline void configureApplication()
{
    QGuiApplication::setApplicationName(QStringLiteral("Quennary"));
    QGuiApplication::setQuitOnLastWindowClosed(false);
}

// Settings, caches and the log of a screenshot run live in a temporary home; true once set.
inline bool useHome(const QTemporaryDir &home)
{
    AppFolders::setRootOverride(home.path());
    return true;
}

// One screenshot run: its temporary home (set before the application starts, so every folder
// resolves inside it), the application as a user starts it, and the settings file in that home.
struct Session {
    Session(int &argc, char **argv)
        : app(argc, argv)
    {
        configureApplication();
        UserDefaults::standard().setFilePath(AppFolders::settingsFilePath());
    }

    QTemporaryDir home;
    const bool homeInUse = useHome(home);
    QApplication app;
};

// Whether the program got at least `count` arguments (OUTDIR first); otherwise prints `usage`.
inline bool hasArguments(int count, const char *usage)
{
    if (QGuiApplication::arguments().size() > count)
        return true;
    std::fprintf(stderr, "usage: %s\n", usage);
    return false;
}

// Runs the event loop for `ms` milliseconds, so windows, sheets and timers settle before a picture.
inline void settle(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The folder the screenshots go to, made when missing.
inline QString outputFolder(const QString &argument)
{
    const QString folder = QDir(argument).absolutePath();
    QDir().mkpath(folder);
    return folder;
}

// Writes the primary screen to OUTDIR/`fileName`; false when there is no screen or no file.
inline bool grabScreen(const QString &folder, const QString &fileName)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    const QString path = QDir(folder).filePath(fileName);
    const bool saved = screen && screen->grabWindow(0).save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

} // namespace ScreenshotSupport
