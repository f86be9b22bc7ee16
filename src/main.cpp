// Entry point of the Quennary application: one instance per user; a later launch hands its
// sign-in redirect URL to the running one and ends.
#include <QApplication>
#include <QIcon>
#include <QMainWindow>

#include "app/SingleInstance.h"
#include "app/ui/AppDelegate.h"
#include "platform/SilentOwnFolders.h"
#include "platform/ThreadsApart.h"

namespace
{

// The application's life, from the first window to Quit; its windows and work are gone when it
// returns.
int run(const QString &url)
{
    AppDelegate delegate;
    QObject::connect(qApp, &QGuiApplication::lastWindowClosed, &delegate,
        [&delegate] { delegate.applicationShouldTerminateAfterLastWindowClosed(); });
    delegate.launch();
    delegate.window->show();
    if (!url.isEmpty())
        delegate.handleGetURLEvent(url);
    return QApplication::exec();
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quennary"));
    QApplication::setApplicationVersion(QStringLiteral(QNY_VERSION));
    // Lets the desktop match the windows to the installed desktop entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("quennary"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("quennary")));
    // The delegate decides when closing a window ends the application.
    QApplication::setQuitOnLastWindowClosed(false);

    // Before anything reads or writes the program's own files: one on a share gone silent would hold
    // the program before its window appears.
    SilentOwnFolders::look();
    const QStringList arguments = QApplication::arguments();
    const QString url = arguments.size() > 1 ? arguments.at(1) : QString();
    if (SingleInstance().sendToRunningInstance(url))
        return 0;

    const int code = run(url);
    // A look left behind on a share that does not answer may wake at any moment.
    ThreadsApart::endProcessIfAnyRuns(code);
    return code;
}
