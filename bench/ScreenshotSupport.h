// What the screenshot tools share: starting the application as a user would and writing the whole
// screen to a file, with a line saying so.
#pragma once

#include <cstdio>

#include <QDir>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QString>

namespace ScreenshotSupport
{

// The application as a user starts it: named, and ended by its delegate rather than by its last
// window closing. Call right after the QApplication is made.
inline void configureApplication()
{
    QGuiApplication::setApplicationName(QStringLiteral("Quennary"));
    QGuiApplication::setQuitOnLastWindowClosed(false);
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
