// The one-time set-up of the main window's texts, fonts and styles that its controller runs when
// the view loads.
#pragma once

class MainViewController;

class MainWindowSetup
{
public:
    // Texts and per-language fonts of the cloud sign-in sheet.
    static void setupCloudSheetTexts(MainViewController &c);
    // Titles of the buttons, captions and menu items.
    static void setupTitles(MainViewController &c);
    static void styleCloudButtons(MainViewController &c);
    static void setupScanSourcePopup(MainViewController &c);
    static void setupProgressSheet(MainViewController &c);
};
