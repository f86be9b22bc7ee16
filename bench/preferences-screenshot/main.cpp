// quennary-preferences-screenshot OUTDIR [PANE...]: starts the application as a user would, opens
// the preferences window on each pane named (all four when none is) and writes a screenshot of
// the screen for each to OUTDIR/<pane>.png. Settings, caches and the log go to a temporary home.
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QMainWindow>
#include <QTimer>

#include "ScreenshotSupport.h"
#include "app/ui/AppDelegate.h"
#include "preferences/ui/PreferencesWindowController.h"

namespace
{

constexpr int kSettleMs = 600;

} // namespace

int main(int argc, char **argv)
{
    ScreenshotSupport::Session session(argc, argv);
    if (!ScreenshotSupport::hasArguments(1, "quennary-preferences-screenshot OUTDIR [PANE...]"))
        return 2;
    const QStringList arguments = QApplication::arguments();
    const QString out = ScreenshotSupport::outputFolder(arguments.at(1));
    QStringList paneNames = arguments.mid(2);
    if (paneNames.isEmpty())
        paneNames = { "general", "exclude", "automark", "filter" };

    AppDelegate delegate;
    delegate.launch();
    delegate.window->show();
    ScreenshotSupport::settle(kSettleMs);
    bool allSaved = true;
    for (const QString &pane : paneNames) {
        delegate.preferencesWindowController()->show(Preferences::PaneIdentifier(pane));
        ScreenshotSupport::settle(kSettleMs);
        allSaved = ScreenshotSupport::grabScreen(out, pane + QStringLiteral(".png")) && allSaved;
    }
    return allSaved ? 0 : 1;
}
