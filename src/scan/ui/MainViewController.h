// The controller of the main window: the scan list, the comparison options, the sheets of a running
// scan and the state a scan fills. One instance lives as long as the application.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include <QAction>
#include <QHash>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QProgressBar>
#include <QStringList>

#include "app/GlobalObjects.h"
#include "model/FilePathNode.h"
#include "platform/OperationQueue.h"
#include "scan/ui/MainWindowHost.h"
#include "scan/ui/MainWindowLayout.h"
#include "scan/ui/MainWindowWidgets.h"
#include "scan/ui/ScanListState.h"

class CloudModeController;
class CloudScanFoldersList;
class DoubleSlider;
class DuplicatesGroup;
class ExclusionMatcher;
class GoogleDriveAccessVC;
class GoogleDriveScanSource;
class ImageFileInfo;
class OptionPopover;
class PopUpButton;
class QCheckBox;
class QLabel;
class QRadioButton;
class QTableView;
class QTreeView;
class ResultViewController;
class ScanListController;
class ScanRunController;
class ScanWrapper;
struct Notification;

class MainViewController : public QObject, public MainWindowWidgets, public ScanListState, public MainWindowHost
{
    Q_OBJECT
public:
    explicit MainViewController(QObject *parent = nullptr);
    ~MainViewController() override;

    // The main view; the first call builds it and runs viewDidLoad().
    QWidget *view() override;
    bool isViewLoaded() const override { return !m_view.isNull(); }

    // The results view a finished scan hands its groups to.
    std::unique_ptr<ResultViewController> result;

    void viewDidLoad();
    void configurePhotosLibraryAvailability();
    void adjustLayoutForWidth();
    // The Add controls and the source popup for the current source; `addFolderHome` is the folder
    // button's frame for this computer (bottom-left coordinates).
    void placeSourceControls(const QRectF &addFolderHome) override;
    QRectF addFolderFrame() const override;
    void layoutMainWindow();
    void btnScanAllImagesCheckBoxTapped(QCheckBox *sender);
    // The date filter's check box and pop-ups from the settings.
    void restoreDateFilter();

    // Comparison options.
    void setupButtonStyles();
    void refreshSliderLabels();
    void selectComparisonMethod(QObject *sender);
    void btnSliderMatchingLevel();
    void btnSliderBitMapSize();
    void btnSliderTimeInterval();
    void btnSliderGpsDistance();
    void applyMatchingLevelThresholds();
    void updateDefaultSetting();
    void updateDefaultSetting_Main();
    void btnScanVideoLinkButtonTapped();
    void showToolTipInfo();
    // The help popover last shown (null before the first click).
    OptionPopover *optionPopover() const { return m_optionPopover.get(); }

    // Scan list.
    ScanListController &scanList() override { return *m_scanList; }
    void addNotificationObservers();
    bool addPathNode(const QString &path, GlobalObjects::NodeType type);
    void btnAddPathToScan(int tag);
    void saveScanList();
    void restoreScanList();
    void updatePathTableToolTip();
    void btnShowMenuList();
    void menuItemSelected(int tag);
    void removeFromScanList();
    void removeAllFromScanList();
    void checkAllInScanList();
    void uncheckAllInScanList();
    void revealInFinder();
    void handleFileDragDropNotification(const Notification &notification);

    // Scan.
    void btnStartScanTapped();
    void btnStopAddPhotosTapped();
    // The scan's start, progress, stop and hand-over to the results view.
    ScanRunController &scanRun() override { return *m_scanRun; }
    // The Google Drive side: sign-in sheet, folder window, scan list entries and listing.
    GoogleDriveScanSource &googleDrive() override { return *m_googleDrive; }
    // The cloud modes: the Dropbox source and the cloud listings' hand-over to the scan.
    CloudModeController &cloudMode() override { return *m_cloudMode; }
    void showAddingPhotosSheet() override;
    // Any thread: the sheet closes on the GUI thread.
    void dismissAddingPhotosSheet() override;
    void closeCloudAuthorizationSheet() override;
    // The scan view again, with the Scan button on, after the results view went away.
    void returnFromResults();

signals:
    // The scan list asks for the preferences window (an added path is excluded from scanning).
    void preferencesRequested();

private:
    void setupAddMenuButton();
    // The window's controls to this controller's actions.
    void connectActions();
    QHash<QString, QWidget *> layoutWidgets() const;
    MainWindowGeometry currentGeometry() const;
    void applyGeometry(const MainWindowGeometry &geometry);

    QPointer<QWidget> m_view;
    std::unique_ptr<OptionPopover> m_optionPopover;
    std::unique_ptr<ScanListController> m_scanList;
    std::unique_ptr<ScanRunController> m_scanRun;
    std::unique_ptr<GoogleDriveScanSource> m_googleDrive;
    std::unique_ptr<CloudModeController> m_cloudMode;
};
