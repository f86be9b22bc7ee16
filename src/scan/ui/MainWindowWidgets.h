// The main window's widgets, filled by MainWindowInterface, MainWindowSetup and the controller's
// view(); null until the view is loaded. A public base of MainViewController; the window's helpers
// take it instead of the controller.
#pragma once

#include <QAction>
#include <QMenu>
#include <QPointer>
#include <QProgressBar>

#include "scan/ui/ScanControls.h"

class DoubleSlider;
class PopUpButton;
class QCheckBox;
class QLabel;
class QRadioButton;
class QTreeView;

struct MainWindowWidgets
{
    QPointer<QPushButton> customButtonForMenu;
    QPointer<CustomWindowNag> windowAddImages;
    QPointer<QWidget> windowCloudAuthorization;
    QPointer<QWidget> windowCloudFolderList;

    // Scan list and sources.
    QPointer<QFrame> boxLeft;
    QPointer<CustomTableView> tvPath;
    QPointer<QLabel> lblFilePaths;
    QPointer<QPushButton> btnAddPhotos, btnAddPhotosLib, btnAddFolder;
    QPointer<PopUpButton> btnPopupForScanSelection;
    QPointer<QLabel> lblDragPhotosTitle, lblHintForDrag;
    QPointer<QAction> menuItemRevealInFinder, menuItemCheckAll, menuItemUncheckAll,
        menuItemRemoveFromScanList, menuItemRemoveAllFromScanList;
    QPointer<IMGButton> btnCompare;

    // Comparison options and date filter.
    QPointer<QFrame> boxComparisonMethod;
    QPointer<QRadioButton> btnExactMatch, btnSimilarMatch;
    QPointer<QLabel> imgViewFirst, imgViewSecond;
    QPointer<QFrame> boxMatchingLevel;
    QPointer<QLabel> lblMatchingLevel, lblPartialMatch, lblExactMatch;
    QPointer<DoubleSlider> sliderInitialMatching;
    QPointer<QFrame> boxBitmapSize;
    QPointer<QLabel> lblBitmapSizeHeading, lblPerformance, lblQuality, lblBitMapSize;
    QPointer<DoubleSlider> sliderBitMap;
    QPointer<QFrame> boxTimeInterval;
    QPointer<QLabel> lblTimeInterval, lblMore, lblLess, lblTimeIntervalValue;
    QPointer<DoubleSlider> sliderTimeInterval;
    QPointer<QFrame> boxGPS;
    QPointer<QLabel> lblGPS, lblMoreGPS, lblLessGPS, lblGPSDistance;
    QPointer<DoubleSlider> sliderGPSDistance;
    QPointer<QFrame> boxRotateFlip;
    QPointer<QCheckBox> btnIncludeRotateImages, btnIncludeFlipImages;
    QPointer<QCheckBox> btnScanVideo;
    QPointer<LinkButton> btnLinkScanVideo;
    QPointer<QPushButton> btnToolTip;
    QPointer<QCheckBox> btnScanLastImport;
    QPointer<PopUpButton> btnCapturePeriod, btnCaptureDate;
    QPointer<QAction> menuItemToday, menuItemYesterday, menuItemLast7Days, menuItemLast15Days,
        menuItemLastMonth, menuItemLastYear, menuItemSinceBeginning;
    QPointer<QAction> subMenuCreated, subMneuCaptured, subMneuImported, subMenuBoth;

    // Adding and progress sheet.
    QPointer<QFrame> boxMainWindowAdd;
    QPointer<GradientBox> boxAddingPhotosHeader;
    QPointer<QLabel> lblAddingPhotos, lblPleaseBePatient, lblPhotosAdded, lblPhotosAddedCount, lblScanPath;
    QPointer<QProgressBar> indProgressBar;
    QPointer<CircularProgressBarView> progressCircular;
    QPointer<QLabel> lblScanPer, lblAdd, lblPhotosCompared, lblDuplicatePhotosSize, lblDiscSpaceToFree;
    // How many records the comparison has placed, beside lblPhotosCompared.
    QPointer<QLabel> lblPhotosComparedCount;
    QPointer<CFMButton> btnStopAddingPhotos;

    // Cloud sheets.
    QPointer<QFrame> boxForAuthorization;
    QPointer<QLabel> lblDriveInfoHeader, lblDriveInfoSteps, lblDriveInfoSteps1, lblDriveInfoSteps1Sub,
        lblDriveInfoSteps2, lblDriveInfoSteps2Sub, lblDriveInfoSteps3, lblDriveInfoSteps3Sub;
    QPointer<CFMButton> btnAllowPermission, btnScanComputer, btnCancelCloudAuthorization;
    // Shown while the browser has the sign-in.
    QPointer<QLabel> lblWaitingForBrowser;
    QPointer<QProgressBar> indWaitingForBrowser;
    QPointer<QFrame> boxCloudFolderList;
    QPointer<QTreeView> outlineCloudFolderList;
    QPointer<QLabel> lblIncludeToScan;
    QPointer<CFMButton> btnAddFolderCloudScan, btnCancelCloudFolderScan;
    QPointer<QPushButton> btnRefreshCloudScanFolderList;
    QPointer<QProgressBar> hudCloudFolderList;

    // Decoration.
    QPointer<GradientBox> boxForHint, boxFooter;
    QPointer<QFrame> boxAddWindow, boxTableHeader, boxRightPattern, boxTop, boxFilter;
    QPointer<QWidget> rightViewOfMainWindow;
    QPointer<QMenu> menuFilterImages;
    QPointer<QMenu> menuScanList;
};
