// The main window and its menu bar, made in code and connected to the application delegate.
#pragma once

struct MenuTitles;
class AppDelegate;

class MainMenuInterface
{
public:
    // Makes the main window with the menus, connects the delegate's outlets and actions.
    static void load(AppDelegate &delegate);
    // Puts the localised titles on the connected menu items.
    static void applyTitles(AppDelegate &delegate, const MenuTitles &titles);
};
