#include "scan/ui/MainWindowInterface.h"

#include <QAction>
#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTableView>
#include <QTreeView>

#include "app/ScanGlobals.h"
#include "controls/ControlStyles.h"
#include "controls/DefaultButtonKeys.h"
#include "controls/DoubleSlider.h"
#include "model/LibraryDateWindow.h"
#include "platform/ui/FrameGeometry.h"
#include "scan/ui/DragDropBox.h"
#include "scan/ui/MainWindowFrames.h"
#include "scan/ui/MainWindowWidgets.h"
#include "scan/ui/PopUpButton.h"

template <typename T> T *MainWindowInterface::make(const QString &name)
{
    QWidget *parent = m_widgets.value(MainWindowFrames::parentOf(name));
    auto *widget = new T(parent);
    registerWidget(widget, name);
    return widget;
}

QWidget *MainWindowInterface::registerWidget(QWidget *widget, const QString &name)
{
    widget->setObjectName(name);
    const QRectF frame = MainWindowFrames::frame(name);
    const QRectF container = MainWindowFrames::frame(MainWindowFrames::parentOf(name));
    widget->setGeometry(FrameGeometry::toTopLeft(frame, container.height()));
    m_widgets.insert(name, widget);
    return widget;
}

void MainWindowInterface::placeChildren(QWidget *container)
{
    for (const InterfaceFrame &entry : MainWindowFrames::children(container->objectName())) {
        if (auto *child = container->findChild<QWidget *>(entry.name, Qt::FindDirectChildrenOnly)) {
            const QRectF frame(child->x(), entry.frame.y(), child->width(), entry.frame.height());
            child->setGeometry(FrameGeometry::toTopLeft(frame, container->height()));
        }
    }
}

QWidget *MainWindowInterface::makeWindow(const QString &name)
{
    QWidget *view = m_widgets.value(QStringLiteral("view"));
    auto *window = new CustomWindowNag(view, Qt::Dialog | Qt::FramelessWindowHint);
    window->setObjectName(name);
    window->setFixedSize(MainWindowFrames::frame(name).size().toSize());
    window->setWindowModality(Qt::WindowModal);
    ControlStyles::applyWindowPalette(window);
    m_widgets.insert(name, window);
    return window;
}

QWidget *MainWindowInterface::load(MainWindowWidgets &controller)
{
    MainWindowInterface ui(controller);
    auto *view = new QWidget;
    view->setObjectName(QStringLiteral("view"));
    view->setFixedSize(MainWindowFrames::frame(QStringLiteral("view")).size().toSize());
    ui.m_widgets.insert(QStringLiteral("view"), view);
    ControlStyles::applyWindowPalette(view);
    ui.buildScanList();
    ui.buildOptions();
    ui.buildProgressSheet();
    ui.buildCloudSheets();
    ui.buildMenus();
    ui.setKeyboardOrder();
    return view;
}

void MainWindowInterface::buildScanList()
{
    MainWindowWidgets &c = m_controller;
    c.boxTop = make<QFrame>(QStringLiteral("boxTop"));
    c.boxLeft = make<QFrame>(QStringLiteral("boxLeft"));
    c.rightViewOfMainWindow = make<QWidget>(QStringLiteral("rightViewOfMainWindow"));
    ControlStyles::applyPanelPalette(c.rightViewOfMainWindow);
    c.boxFooter = make<GradientBox>(QStringLiteral("boxFooter"));
    c.btnCompare = make<IMGButton>(QStringLiteral("btnCompare"));
    c.lblFilePaths = make<QLabel>(QStringLiteral("lblFilePaths"));
    c.boxTableHeader = make<QFrame>(QStringLiteral("boxTableHeader"));
    c.boxAddWindow = make<DragDropBox>(QStringLiteral("boxAddWindow"));
    c.tvPath = make<CustomTableView>(QStringLiteral("tvPath"));
    c.tvPath->horizontalHeader()->hide();
    c.tvPath->verticalHeader()->hide();
    c.tvPath->setShowGrid(false);
    c.boxForHint = make<GradientBox>(QStringLiteral("boxForHint"));
    c.lblDragPhotosTitle = make<QLabel>(QStringLiteral("lblDragPhotosTitle"));
    c.lblDragPhotosTitle->setAlignment(Qt::AlignCenter);
    c.lblHintForDrag = make<QLabel>(QStringLiteral("lblHintForDrag"));
    c.lblHintForDrag->setAlignment(Qt::AlignCenter);
    c.lblHintForDrag->setWordWrap(true);
    c.btnAddPhotos = make<QPushButton>(QStringLiteral("btnAddPhotos"));
    c.btnAddPhotosLib = make<QPushButton>(QStringLiteral("btnAddPhotosLib"));
    c.btnAddFolder = make<QPushButton>(QStringLiteral("btnAddFolder"));
    c.btnAddPhotos->setProperty("tag", 0);
    c.btnAddPhotosLib->setProperty("tag", 1);
    c.btnAddFolder->setProperty("tag", 2);
    c.btnPopupForScanSelection = make<PopUpButton>(QStringLiteral("btnPopupForScanSelection"));
    for (int i = 0; i < 3; ++i)
        c.btnPopupForScanSelection->addItemWithTitle(QString());
    c.boxFilter = make<QFrame>(QStringLiteral("boxFilter"));
    c.btnScanLastImport = make<QCheckBox>(QStringLiteral("btnScanLastImport"));
    c.btnCaptureDate = make<PopUpButton>(QStringLiteral("btnCaptureDate"));
    c.btnCapturePeriod = make<PopUpButton>(QStringLiteral("btnCapturePeriod"));
    c.btnToolTip = make<QPushButton>(QStringLiteral("btnToolTip"));
    c.btnToolTip->setText(QStringLiteral("?"));
}

void MainWindowInterface::buildOptions()
{
    MainWindowWidgets &c = m_controller;
    c.boxRightPattern = make<QFrame>(QStringLiteral("boxRightPattern"));
    c.boxComparisonMethod = make<QFrame>(QStringLiteral("boxComparisonMethod"));
    c.btnExactMatch = make<QRadioButton>(QStringLiteral("btnExactMatch"));
    c.btnSimilarMatch = make<QRadioButton>(QStringLiteral("btnSimilarMatch"));
    c.imgViewFirst = make<QLabel>(QStringLiteral("imgViewFirst"));
    c.imgViewSecond = make<QLabel>(QStringLiteral("imgViewSecond"));
    c.boxMatchingLevel = make<QFrame>(QStringLiteral("boxMatchingLevel"));
    c.lblMatchingLevel = make<QLabel>(QStringLiteral("lblMatchingLevel"));
    c.sliderInitialMatching = make<DoubleSlider>(QStringLiteral("sliderInitialMatching"));
    c.lblPartialMatch = make<QLabel>(QStringLiteral("lblPartialMatch"));
    c.lblExactMatch = make<QLabel>(QStringLiteral("lblExactMatch"));
    c.boxBitmapSize = make<QFrame>(QStringLiteral("boxBitmapSize"));
    c.lblBitmapSizeHeading = make<QLabel>(QStringLiteral("lblBitmapSizeHeading"));
    c.lblBitMapSize = make<QLabel>(QStringLiteral("lblBitMapSize"));
    c.sliderBitMap = make<DoubleSlider>(QStringLiteral("sliderBitMap"));
    c.lblPerformance = make<QLabel>(QStringLiteral("lblPerformance"));
    c.lblQuality = make<QLabel>(QStringLiteral("lblQuality"));
    c.boxTimeInterval = make<QFrame>(QStringLiteral("boxTimeInterval"));
    c.lblTimeInterval = make<QLabel>(QStringLiteral("lblTimeInterval"));
    c.lblTimeIntervalValue = make<QLabel>(QStringLiteral("lblTimeIntervalValue"));
    c.sliderTimeInterval = make<DoubleSlider>(QStringLiteral("sliderTimeInterval"));
    c.lblMore = make<QLabel>(QStringLiteral("lblMore"));
    c.lblLess = make<QLabel>(QStringLiteral("lblLess"));
    c.boxGPS = make<QFrame>(QStringLiteral("boxGPS"));
    c.lblGPS = make<QLabel>(QStringLiteral("lblGPS"));
    c.lblGPSDistance = make<QLabel>(QStringLiteral("lblGPSDistance"));
    c.sliderGPSDistance = make<DoubleSlider>(QStringLiteral("sliderGPSDistance"));
    c.lblMoreGPS = make<QLabel>(QStringLiteral("lblMoreGPS"));
    c.lblLessGPS = make<QLabel>(QStringLiteral("lblLessGPS"));
    for (QLabel *right : { c.lblExactMatch.data(), c.lblBitMapSize.data(), c.lblQuality.data(),
             c.lblTimeIntervalValue.data(), c.lblLess.data(), c.lblGPSDistance.data(), c.lblLessGPS.data() })
        right->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    c.boxRotateFlip = make<QFrame>(QStringLiteral("boxRotateFlip"));
    c.btnIncludeRotateImages = make<QCheckBox>(QStringLiteral("btnIncludeRotateImages"));
    c.btnIncludeFlipImages = make<QCheckBox>(QStringLiteral("btnIncludeFlipImages"));
    c.btnLinkScanVideo = make<LinkButton>(QStringLiteral("btnLinkScanVideo"));
    c.btnScanVideo = make<QCheckBox>(QStringLiteral("btnScanVideo"));
    // Matching levels 1-8 (the minimum is the grouping threshold, below the first level), bitmap
    // sizes 0-6, GPS distances 0-6 and capture-time windows 0-18.
    c.sliderInitialMatching->setMaxValue(8);
    c.sliderInitialMatching->setMinValue(1);
    c.sliderBitMap->setMaxValue(6);
    c.sliderGPSDistance->setMaxValue(6);
    c.sliderTimeInterval->setMaxValue(18);
}

void MainWindowInterface::buildProgressSheet()
{
    MainWindowWidgets &c = m_controller;
    c.windowAddImages = static_cast<CustomWindowNag *>(makeWindow(QStringLiteral("windowAddImages")));
    c.boxMainWindowAdd = make<QFrame>(QStringLiteral("boxMainWindowAdd"));
    c.boxAddingPhotosHeader = make<GradientBox>(QStringLiteral("boxAddingPhotosHeader"));
    c.lblAddingPhotos = make<QLabel>(QStringLiteral("lblAddingPhotos"));
    c.lblPleaseBePatient = make<QLabel>(QStringLiteral("lblPleaseBePatient"));
    c.progressCircular = make<CircularProgressBarView>(QStringLiteral("progressCircular"));
    c.lblScanPer = make<QLabel>(QStringLiteral("lblScanPer"));
    c.lblScanPer->setAlignment(Qt::AlignCenter);
    c.lblAdd = make<QLabel>(QStringLiteral("lblAdd"));
    c.lblPhotosAdded = make<QLabel>(QStringLiteral("lblPhotosAdded"));
    c.lblPhotosAddedCount = make<QLabel>(QStringLiteral("lblPhotosAddedCount"));
    c.lblDiscSpaceToFree = make<QLabel>(QStringLiteral("lblDiscSpaceToFree"));
    c.lblDuplicatePhotosSize = make<QLabel>(QStringLiteral("lblDuplicatePhotosSize"));
    c.lblPhotosCompared = make<QLabel>(QStringLiteral("lblPhotosCompared"));
    c.lblPhotosComparedCount = make<QLabel>(QStringLiteral("lblPhotosComparedCount"));
    c.lblScanPath = make<QLabel>(QStringLiteral("lblScanPath"));
    c.lblScanPath->setTextFormat(Qt::PlainText);
    c.indProgressBar = make<QProgressBar>(QStringLiteral("indProgressBar"));
    c.indProgressBar->setTextVisible(false);
    c.btnStopAddingPhotos = make<CFMButton>(QStringLiteral("btnStopAddingPhotos"));
    c.windowAddImages->setCancelButton(c.btnStopAddingPhotos);
}

void MainWindowInterface::buildCloudSheets()
{
    MainWindowWidgets &c = m_controller;
    c.windowCloudAuthorization = makeWindow(QStringLiteral("windowCloudAuthorization"));
    c.boxForAuthorization = make<QFrame>(QStringLiteral("boxForAuthorization"));
    ControlStyles::applySheetEdge(c.boxForAuthorization);
    c.lblDriveInfoHeader = make<QLabel>(QStringLiteral("lblDriveInfoHeader"));
    c.lblDriveInfoSteps = make<QLabel>(QStringLiteral("lblDriveInfoSteps"));
    c.lblDriveInfoSteps1 = make<QLabel>(QStringLiteral("lblDriveInfoSteps1"));
    c.lblDriveInfoSteps1Sub = make<QLabel>(QStringLiteral("lblDriveInfoSteps1Sub"));
    c.lblDriveInfoSteps2 = make<QLabel>(QStringLiteral("lblDriveInfoSteps2"));
    c.lblDriveInfoSteps2Sub = make<QLabel>(QStringLiteral("lblDriveInfoSteps2Sub"));
    c.lblDriveInfoSteps3 = make<QLabel>(QStringLiteral("lblDriveInfoSteps3"));
    c.lblDriveInfoSteps3Sub = make<QLabel>(QStringLiteral("lblDriveInfoSteps3Sub"));
    // Made left to right, so Tab runs through the buttons as the Google Drive sheet's do.
    c.btnScanComputer = make<CFMButton>(QStringLiteral("btnScanComputer"));
    c.btnCancelCloudAuthorization = make<CFMButton>(QStringLiteral("btnCancelCloudAuthorization"));
    c.btnAllowPermission = make<CFMButton>(QStringLiteral("btnAllowPermission"));
    c.lblWaitingForBrowser = make<QLabel>(QStringLiteral("lblWaitingForBrowser"));
    c.lblWaitingForBrowser->setWordWrap(true);
    c.lblWaitingForBrowser->hide();
    c.indWaitingForBrowser = make<QProgressBar>(QStringLiteral("indWaitingForBrowser"));
    c.indWaitingForBrowser->setRange(0, 0);
    c.indWaitingForBrowser->setTextVisible(false);
    c.indWaitingForBrowser->hide();
    c.windowCloudFolderList = makeWindow(QStringLiteral("windowCloudFolderList"));
    c.boxCloudFolderList = make<QFrame>(QStringLiteral("boxCloudFolderList"));
    ControlStyles::applySheetEdge(c.boxCloudFolderList);
    c.lblIncludeToScan = make<QLabel>(QStringLiteral("lblIncludeToScan"));
    c.btnRefreshCloudScanFolderList = make<QPushButton>(QStringLiteral("btnRefreshCloudScanFolderList"));
    c.outlineCloudFolderList = make<QTreeView>(QStringLiteral("outlineCloudFolderList"));
    c.hudCloudFolderList = make<QProgressBar>(QStringLiteral("hudCloudFolderList"));
    c.hudCloudFolderList->setRange(0, 0);
    c.hudCloudFolderList->hide();
    c.btnCancelCloudFolderScan = make<CFMButton>(QStringLiteral("btnCancelCloudFolderScan"));
    c.btnAddFolderCloudScan = make<CFMButton>(QStringLiteral("btnAddFolderCloudScan"));
    static_cast<CustomWindowNag *>(c.windowCloudAuthorization.data())
        ->setKeyButtons(c.btnAllowPermission, c.btnCancelCloudAuthorization);
    static_cast<CustomWindowNag *>(c.windowCloudFolderList.data())
        ->setKeyButtons(c.btnAddFolderCloudScan, c.btnCancelCloudFolderScan);
}

void MainWindowInterface::setKeyboardOrder()
{
    MainWindowWidgets &c = m_controller;
    // The list, the ways of adding to it, the options in reading order, and last the Scan button,
    // which Return presses from anywhere in the window.
    const QList<QWidget *> order { c.tvPath, c.btnAddPhotos, c.btnAddPhotosLib, c.btnAddFolder,
        c.btnPopupForScanSelection, c.btnScanLastImport, c.btnCaptureDate, c.btnCapturePeriod, c.btnToolTip,
        c.btnExactMatch, c.btnSimilarMatch, c.sliderInitialMatching, c.sliderBitMap, c.sliderTimeInterval,
        c.sliderGPSDistance, c.btnIncludeRotateImages, c.btnIncludeFlipImages, c.btnLinkScanVideo,
        c.btnScanVideo, c.btnCompare };
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    c.btnCompare->setFocusPolicy(Qt::StrongFocus);
    c.tvPath->setFocus(Qt::OtherFocusReason);
    DefaultButtonKeys::install(m_widgets.value(QStringLiteral("view")), c.btnCompare);
}

void MainWindowInterface::buildMenus()
{
    MainWindowWidgets &c = m_controller;
    PopUpButton *period = c.btnCapturePeriod;
    for (QPointer<QAction> *item : { &c.menuItemToday, &c.menuItemYesterday, &c.menuItemLast7Days,
             &c.menuItemLast15Days, &c.menuItemLastMonth, &c.menuItemLastYear, &c.menuItemSinceBeginning })
        *item = period->addItemWithTitle(QString());
    // The date kinds in the order a user weighs them; each keeps the value it has always been
    // stored as, so a saved choice goes on filtering by the same date.
    PopUpButton *dateKind = c.btnCaptureDate;
    const std::pair<QPointer<QAction> *, int> kinds[]
        = { { &c.subMneuCaptured, LibraryDateWindow::kCaptureDate },
              { &c.subMenuCreated, LibraryDateWindow::kFileCreationDate },
              { &c.subMneuImported, LibraryDateWindow::kDateAdded },
              { &c.subMenuBoth, LibraryDateWindow::kCaptureOrAdded } };
    for (const auto &[item, stored] : kinds) {
        *item = dateKind->addItemWithTitle(QString());
        (*item)->setData(stored);
    }
    c.menuFilterImages = dateKind->itemMenu();

    c.menuScanList = new QMenu(c.tvPath);
    c.menuScanList->setObjectName(QStringLiteral("menuScanList"));
    for (QPointer<QAction> *item : { &c.menuItemRevealInFinder, &c.menuItemCheckAll, &c.menuItemUncheckAll,
             &c.menuItemRemoveFromScanList, &c.menuItemRemoveAllFromScanList })
        *item = c.menuScanList->addAction(QString());
    c.tvPath->setMenu(c.menuScanList);
    QObject::connect(c.menuScanList, &QMenu::aboutToShow, c.menuScanList,
        [item = c.menuItemRevealInFinder] { item->setEnabled(!isCloudSource(ScanGlobals::scanType.load())); });
}
