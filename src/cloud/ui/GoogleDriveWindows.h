// Builds the two windows of the Google Drive controller: the sign-in sheet (instructions, Allow,
// Scan This Computer, a close box) and the folder window (caption, refresh, outline, busy
// indicator, Cancel and Add). Frames are the windows' own, top-left based.
#pragma once

class GoogleDriveAccessVC;
class QWidget;

class GoogleDriveWindows
{
public:
    static constexpr int kSignInWidth = 540;
    static constexpr int kSignInHeight = 380;
    static constexpr int kFolderWidth = 440;
    static constexpr int kFolderHeight = 440;

    // Fills the controller's widget fields; returns the sign-in sheet. Both windows start hidden
    // and without a parent; the sheet presenter places them over the main window.
    static QWidget *build(GoogleDriveAccessVC &c);

private:
    static QWidget *buildSignInSheet(GoogleDriveAccessVC &c);
    static QWidget *buildFolderWindow(GoogleDriveAccessVC &c);
};
