// The main window's Google Drive side: it makes the Drive controller, shows its sign-in sheet and
// folder window as sheets of the main window and takes the chosen folders into the scan list. The
// source switch and the Add button call the helpers below for their Drive branches. GUI thread
// only.
#pragma once

#include <memory>

#include <QString>

#include "cloud/GoogleDriveAccessDelegate.h"

class GDFoldersList;
class MainWindowHost;
struct MainWindowWidgets;
struct ScanListState;
class QWidget;

class GoogleDriveScanSource : public GoogleDriveAccessDelegate
{
public:
    GoogleDriveScanSource(MainWindowWidgets &widgets, ScanListState &state, MainWindowHost &host);

    // Makes `gDriveAccessVC` with this object as its delegate (when the view loads).
    void makeController();
    bool isSignedIn() const;

    // The Drive part of switching the window to Google Drive: the kept scan list when signed in,
    // the sign-in sheet otherwise.
    void switchToGoogleDrive();
    // The Add button in Drive mode: the folder window when signed in, the sign-in sheet otherwise.
    void addFolderTapped();
    void showGoogleDriveSignInSheet();
    // Lists the root first when there is no tree yet, then shows the folder window.
    void getFolderList();

    void showCloudFolderAddResult(const std::shared_ptr<GDFoldersList> &folder) override;
    void scanThisComputer() override;
    void signInLeft() override;

private:
    MainWindowWidgets &c;
    ScanListState &state;
    MainWindowHost &host;
};
