#include "app/ui/MainMenuInterface.h"

#include <QAction>
#include <QCoreApplication>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

#include "app/AppStartup.h"
#include "app/MenuMnemonics.h"
#include "app/ui/AppDelegate.h"

namespace
{

QAction *addItem(QMenu *menu, const QString &name, const QList<QKeySequence> &shortcuts)
{
    QAction *action = menu->addAction(QString());
    action->setObjectName(name);
    action->setShortcuts(shortcuts);
    return action;
}

} // namespace

void MainMenuInterface::load(AppDelegate &delegate)
{
    auto *window = new QMainWindow;
    window->setObjectName(QStringLiteral("mainWindow"));
    delegate.window = window;
    QMenuBar *bar = window->menuBar();

    QMenu *appMenu = bar->addMenu(QCoreApplication::applicationName());
    appMenu->setObjectName(QStringLiteral("menuAppName"));
    delegate.menuAppName = appMenu->menuAction();
    delegate.menuItemAbout = addItem(appMenu, QStringLiteral("menuItemAbout"), {});
    delegate.menuAbout = delegate.menuItemAbout;
    appMenu->addSeparator();
    // Ctrl+Comma, as in most desktop applications, besides the platform's own key if it has one.
    QList<QKeySequence> preferencesKeys { QKeySequence(Qt::CTRL | Qt::Key_Comma) };
    preferencesKeys += QKeySequence::keyBindings(QKeySequence::Preferences);
    delegate.menuItemPreferences = addItem(appMenu, QStringLiteral("menuItemPreferences"), preferencesKeys);
    delegate.menuItemCheckForUpdate = addItem(appMenu, QStringLiteral("menuItemCheckForUpdate"), {});
    appMenu->addSeparator();
    delegate.menuItemUnInstall = addItem(appMenu, QStringLiteral("menuItemUnInstall"), {});
    delegate.menuItemUninstall = delegate.menuItemUnInstall;
    delegate.menuItemUninstall->setVisible(false);
    appMenu->addSeparator();
    delegate.menuItemQuit
        = addItem(appMenu, QStringLiteral("menuItemQuit"), QKeySequence::keyBindings(QKeySequence::Quit));
    // Quit's keys work in every window (Preferences, a summary over the results), not the main one alone.
    delegate.menuItemQuit->setShortcutContext(Qt::ApplicationShortcut);

    QMenu *helpMenu = bar->addMenu(QString());
    helpMenu->setObjectName(QStringLiteral("menuHelp"));
    delegate.menuItemHelpHeader = helpMenu->menuAction();
    delegate.menuItemHelp = addItem(
        helpMenu, QStringLiteral("menuItemHelp"), QKeySequence::keyBindings(QKeySequence::HelpContents));

    AppDelegate *target = &delegate;
    QObject::connect(delegate.menuItemAbout, &QAction::triggered, target, &AppDelegate::showAbout);
    QObject::connect(
        delegate.menuItemPreferences, &QAction::triggered, target, &AppDelegate::btnOpenPreferencesTapped);
    QObject::connect(
        delegate.menuItemCheckForUpdate, &QAction::triggered, target, &AppDelegate::btnCheckForUpdateTapped);
    QObject::connect(
        delegate.menuItemUnInstall, &QAction::triggered, target, &AppDelegate::btnUnInstallTapped);
    QObject::connect(delegate.menuItemHelp, &QAction::triggered, target, &AppDelegate::showHelp);
    // Quitting from the menu closes the main window, which runs the same clean-up as closing it.
    QObject::connect(delegate.menuItemQuit, &QAction::triggered, window, &QWidget::close);
}

void MainMenuInterface::applyTitles(AppDelegate &delegate, const MenuTitles &titles)
{
    const auto set = [](QAction *item, const QString &title) {
        if (item)
            item->setText(title);
    };
    set(delegate.menuItemAbout, titles.about);
    set(delegate.menuItemPreferences, titles.preferences);
    set(delegate.menuItemCheckForUpdate, titles.checkForUpdate);
    set(delegate.menuItemQuit, titles.quit);
    set(delegate.menuItemHelp, titles.help);
    set(delegate.menuItemHelpHeader, titles.helpHeader);
    set(delegate.menuItemUnInstall, titles.unInstall);
    if (!delegate.window)
        return;
    QMenuBar *bar = delegate.window->menuBar();
    MenuMnemonics::applyTo(bar->actions());
    for (QAction *title : bar->actions()) {
        if (QMenu *menu = title->menu())
            MenuMnemonics::applyTo(menu->actions());
    }
}
