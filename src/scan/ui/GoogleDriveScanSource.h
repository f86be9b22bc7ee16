// The main window's Google Drive side: it makes the Drive controller, shows its sign-in sheet and
// folder window as sheets of the main window, takes the chosen folders into the scan list, and
// turns a scan's listed files into records for the hashing stage. The source switch and the Add
// button call the helpers below for their Drive branches. GUI thread only.
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

    // A Drive scan's listing of the checked scan-list folders; it ends in startHashingStage.
    void startCloudListing();

    void showCloudFolderAddResult(const std::shared_ptr<GDFoldersList> &folder) override;
    void scanThisComputer() override;
    void addGoogleDriveFile(const std::shared_ptr<GDFoldersList> &entry) override;
    void startHashingStage() override;

private:
    void showAddingProgress(const QString &path);

    MainWindowWidgets &c;
    ScanListState &state;
    MainWindowHost &host;
};
