// The one-time set-up of the main window's texts, fonts and styles that its controller runs when
// the view loads.
#pragma once

struct MainWindowWidgets;

class MainWindowSetup
{
public:
    // Texts and per-language fonts of the cloud sign-in sheet.
    static void setupCloudSheetTexts(MainWindowWidgets &c);
    // Titles of the buttons, captions and menu items.
    static void setupTitles(MainWindowWidgets &c);
    static void styleCloudButtons(MainWindowWidgets &c);
    static void setupScanSourcePopup(MainWindowWidgets &c);
    static void setupProgressSheet(MainWindowWidgets &c);
};
