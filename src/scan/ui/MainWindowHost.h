// What the main window's helpers ask of the window beyond its widgets and its scan list state: the
// view (built on first use), the sheets it opens and closes, the source controls' placement and
// the sibling helpers. MainViewController implements it; a helper takes it instead of the controller.
#pragma once

class CloudModeController;
class GoogleDriveScanSource;
class QRectF;
class QWidget;
class ScanListController;
class ScanRunController;

class MainWindowHost
{
public:
    virtual QWidget *view() = 0;
    virtual bool isViewLoaded() const = 0;
    virtual ScanListController &scanList() = 0;
    virtual ScanRunController &scanRun() = 0;
    virtual GoogleDriveScanSource &googleDrive() = 0;
    virtual CloudModeController &cloudMode() = 0;
    virtual void showAddingPhotosSheet() = 0;
    // Any thread: the sheet closes on the GUI thread.
    virtual void dismissAddingPhotosSheet() = 0;
    virtual void closeCloudAuthorizationSheet() = 0;
    virtual QRectF addFolderFrame() const = 0;
    virtual void placeSourceControls(const QRectF &addFolderHome) = 0;

protected:
    ~MainWindowHost() = default;
};
