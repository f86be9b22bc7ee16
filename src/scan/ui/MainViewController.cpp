#include "scan/ui/MainViewController.h"

#include <QAction>
#include <QCheckBox>
#include <QCursor>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTableView>
#include <QTreeView>

#include "app/CommonFunc.h"
#include "app/LocalizedString.h"
#include "app/OSVersionFlags.h"
#include "app/ScanGlobals.h"
#include "controls/ControlFonts.h"
#include "platform/Dispatch.h"
#include "platform/NotificationCenter.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/BundleImage.h"
#include "platform/ui/FrameGeometry.h"
#include "results/ui/ResultViewController.h"
#include "scan/ScanThresholds.h"
#include "scan/ui/ComparisonOptionsView.h"
#include "scan/ui/DoubleSlider.h"
#include "scan/ui/MainWindowFrames.h"
#include "scan/ui/MainWindowInterface.h"
#include "scan/ui/MainWindowLayout.h"
#include "scan/ui/MainWindowStyles.h"
#include "scan/ui/OptionPopover.h"
#include "scan/ui/PopUpButton.h"
#include "scan/ui/ScanListController.h"

namespace {

constexpr int kHashQueueLimit = 16;
const QString kCloudName = QStringLiteral("DropBox");
const QString kProductName = QStringLiteral("Quennary");

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

QFont systemFont(const LayoutFont &font)
{
    return ControlFonts::systemFont(font.pointSize, font.semibold ? QFont::DemiBold : QFont::Normal);
}

} // namespace

MainViewController::MainViewController(QObject *parent)
    : QObject(parent),
      arrVideoExtn{"MPEG", "MP4", "DIVX", "MOV", "XVID", "MPG", "AVI",    "WEBM",   "DV",
                   "3GP",  "M4V", "3GPP", "3PP2", "MPEG-2", "MPEG-1", "MPA", "FLV", "WMX"},
      result(std::make_unique<ResultViewController>()), hashOperationQueue(std::make_unique<OperationQueue>()),
      m_scanList(std::make_unique<ScanListController>(*this))
{
}

MainViewController::~MainViewController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    if (m_view && !m_view->parent())
        delete m_view;
}

QWidget *MainViewController::view()
{
    if (!m_view) {
        m_view = MainWindowInterface::load(*this);
        viewDidLoad();
    }
    return m_view;
}

void MainViewController::viewDidLoad()
{
    setupAddMenuButton();
    setupCloudSheetTexts();
    setupTitles();
    QPalette quiet = tvPath->palette();
    quiet.setColor(QPalette::Highlight, Qt::transparent);
    quiet.setColor(QPalette::HighlightedText, quiet.color(QPalette::Text));
    tvPath->setPalette(quiet);
    hashOperationQueue->setMaxConcurrentOperationCount(kHashQueueLimit);
    setupButtonStyles();
    addNotificationObservers();
    sliderInitialMatching->setMinValue(ScanThresholds::kSliderMinValue);
    lblBitMapSize->setText(formatText(QStringLiteral("%dx%d %@"), 48, 48, text("ID_PIXELS")));
    sliderInitialMatching->setDoubleValue(UserDefaults::standard().doubleForKey(QStringLiteral("setInitialMatching")));
    lblDragPhotosTitle->setText(text("ID_DRAG_DROP_PHOTOS"));
    refreshSliderLabels();
    restoreScanList();
    applyMatchingLevelThresholds();
    updatePathTableToolTip();
    if (OSVersionFlags::isOS1015 || OSVersionFlags::isOS11OrLater)
        subMenuCreated->setVisible(false);
    configurePhotosLibraryAvailability();
    styleCloudButtons();
    setupScanSourcePopup();
    ScanGlobals::scanType = 0;
    setupProgressSheet();
    restoreDateFilter();
    btnScanAllImagesCheckBoxTapped(btnScanLastImport);
}

void MainViewController::setupAddMenuButton()
{
    customButtonForMenu = new QPushButton(m_view);
    customButtonForMenu->setObjectName(QStringLiteral("customButtonForMenu"));
    customButtonForMenu->setGeometry(FrameGeometry::toTopLeft(
        MainWindowFrames::frame(QStringLiteral("customButtonForMenu")), m_view->height()));
    customButtonForMenu->setIcon(QIcon(BundleImage::named(QStringLiteral("folder_icon.png")).pixmap(QSize(16, 16))));
    customButtonForMenu->setText(text("ID_ADD_FOLDER"));
    customButtonForMenu->setFont(ControlFonts::systemFont(11));
    connect(customButtonForMenu, &QPushButton::clicked, this, &MainViewController::btnShowMenuList);
    customButtonForMenu->hide();
}

void MainViewController::setupCloudSheetTexts()
{
    lblDriveInfoHeader->setText(formatText(text("ID_QNY_DRIVE_INFO_HEADER"), kProductName, kCloudName));
    lblDriveInfoSteps->setText(formatText(text("ID_QNY_DRIVE_INFO_STEPS_HEADER"), kProductName, kCloudName));
    lblDriveInfoSteps1->setText(text("ID_QNY_DRIVE_INFO_STEP1"));
    lblDriveInfoSteps1Sub->setText(formatText(text("ID_QNY_DRIVE_INFO_STEP1_SUB"), kCloudName));
    lblDriveInfoSteps2->setText(text("ID_QNY_DRIVE_INFO_STEP2"));
    lblDriveInfoSteps2Sub->setText(formatText(text("ID_QNY_DRIVE_INFO_STEP2_SUB"), kCloudName));
    lblDriveInfoSteps3->setText(formatText(text("ID_QNY_DRIVE_INFO_STEP3"), kCloudName));
    lblDriveInfoSteps3Sub->setText(formatText(text("ID_QNY_DRIVE_INFO_STEP3_SUB"), kCloudName));
    btnScanComputer->setText(text("ID_QNY_SCAN_COMPUTER"));
    btnAllowPermission->setText(text("ID_QNY_DRIVE_INFO_ALLOW"));
    btnCancelCloudFolderScan->setText(text("ID_CANCEL"));
    btnAddFolderCloudScan->setText(text("ID_ADD"));

    const QString language = Localization::currentLanguageCode();
    if (language == QLatin1String("ru")) {
        lblDriveInfoSteps->setFont(ControlFonts::systemFont(10, QFont::DemiBold));
        lblDriveInfoSteps1->setFont(ControlFonts::systemFont(12));
    } else if (language == QLatin1String("nl")) {
        lblDriveInfoSteps->setFont(ControlFonts::systemFont(10, QFont::DemiBold));
    } else if (language == QLatin1String("de") || language == QLatin1String("sv")) {
        lblDriveInfoSteps->setFont(ControlFonts::systemFont(11, QFont::DemiBold));
    }
}

void MainViewController::setupTitles()
{
    const QList<std::pair<QWidget *, const char *>> titles = {
        {btnStopAddingPhotos, "ID_STOP"},
        {lblPartialMatch, "ID_LOW"},
        {lblExactMatch, "ID_HIGH"},
        {lblPerformance, "ID_PERFORMANCE"},
        {lblQuality, "ID_QUALITY"},
        {lblMore, "ID_MORE"},
        {lblLess, "ID_LESS"},
        {lblMoreGPS, "ID_MORE"},
        {lblLessGPS, "ID_LESS"},
        {lblPleaseBePatient, "ID_PATIENT_WHILE_SCAN_DUPLICATES"},
        {lblMatchingLevel, "ID_MATCHING_LEVEL"},
        {lblBitmapSizeHeading, "ID_BITMAP_SIZE"},
        {lblTimeInterval, "ID_TIME_INTERVEL"},
        {lblGPS, "ID_GPS"},
        {btnCompare, "ID_SCAN_DUPLICATES"},
        {btnAddPhotos, "ID_ADD_PHOTOS"},
        {btnAddPhotosLib, "ID_ADD_PHOTOS_LIBRARY"},
        {btnAddFolder, "ID_ADD_FOLDER"},
        {lblFilePaths, "ID_FILE_PATH"},
    };
    for (const auto &[widget, key] : titles) {
        if (auto *label = qobject_cast<QLabel *>(widget))
            label->setText(text(key));
        else if (auto *button = qobject_cast<QAbstractButton *>(widget))
            button->setText(text(key));
    }
    const QList<std::pair<QAction *, QString>> items = {
        {menuItemToday, text("ID_TODAY")},
        {menuItemYesterday, text("ID_YESTERDAY")},
        {menuItemLast7Days, formatText(text("ID_WITHIN_LAST_DAYS"), 7)},
        {menuItemLast15Days, formatText(text("ID_WITHIN_LAST_DAYS"), 15)},
        {menuItemLastMonth, text("ID_LAST_MONTH")},
        {menuItemLastYear, text("ID_LAST_YEAR")},
        {menuItemSinceBeginning, text("ID_SINCE_BEGINNING")},
        {menuItemRevealInFinder, text("ID_REVEAL_IN_FINDER")},
        {menuItemCheckAll, text("ID_CHECK_ALL")},
        {menuItemUncheckAll, text("ID_UNCHECK_ALL")},
        {menuItemRemoveFromScanList, text("ID_REMOVE_FROM_SCAN_LIST")},
        {menuItemRemoveAllFromScanList, text("ID_REMOVE_ALL_FROM_SCAN_LIST")},
        {subMenuCreated, text("ID_CREATED")},
        {subMneuCaptured, text("ID_CAPTUREED")},
        {subMneuImported, text("ID_IMPORTED")},
        {subMenuBoth, text("ID_BOTH")},
    };
    for (const auto &[item, title] : items)
        item->setText(title);
    MainWindowStyles::styleScanButtonTitle(btnCompare);
}

void MainViewController::styleCloudButtons()
{
    MainWindowStyles::styleFlatButton(btnScanComputer, MainWindowStyles::scanComputerStyle());
    MainWindowStyles::styleFlatButton(btnAllowPermission, MainWindowStyles::allowPermissionStyle());
    MainWindowStyles::styleFlatButton(btnAddFolderCloudScan, MainWindowStyles::addFolderCloudScanStyle());
    MainWindowStyles::styleFlatButton(btnCancelCloudFolderScan, MainWindowStyles::cancelCloudFolderScanStyle());
    lblIncludeToScan->setText(text("ID_INCLUDE_TO_SCAN"));
    btnCancelCloudFolderScan->setText(text("ID_CANCEL"));
    btnAddFolderCloudScan->setText(text("ID_ADD"));
    MainWindowStyles::styleFlatButton(btnStopAddingPhotos, MainWindowStyles::stopAddingPhotosStyle());
}

void MainViewController::setupScanSourcePopup()
{
    const QList<std::pair<const char *, const char *>> sources = {
        {"ID_FINDER", "file-explorer"}, {"ID_GOOGLE_DRIVE", "google-drive-icon"}, {"ID_DROPBOX", "dropbox_icon"}};
    for (int i = 0; i < int(sources.size()); ++i) {
        QAction *item = btnPopupForScanSelection->itemAtIndex(i);
        if (!item)
            continue;
        item->setText(text(sources.at(i).first));
        item->setIcon(QIcon(BundleImage::named(QString::fromLatin1(sources.at(i).second)).pixmap(QSize(16, 16))));
    }
    btnPopupForScanSelection->setToolTip(text("ID_FINDER"));
}

void MainViewController::setupProgressSheet()
{
    const double radius = OSVersionFlags::isOS11OrLater ? 0 : 5;
    MainWindowStyles::setCornerRadius(boxMainWindowAdd, radius);
    MainWindowStyles::setCornerRadius(boxAddingPhotosHeader, radius);
    MainWindowStyles::setBackgroundImages(boxAddingPhotosHeader, QStringLiteral("box_header_left"),
                                          QStringLiteral("box_header_mid"), QStringLiteral("box_header_right"));
    lblDiscSpaceToFree->setText(text("ID_DISK_SPACE_TO_FREE_UP"));
    lblPhotosAdded->setText(text("ID_PHOTOS_ADDED"));
}

void MainViewController::restoreDateFilter()
{
    UserDefaults &defaults = UserDefaults::standard();
    const auto storedIndex = [&defaults](const QString &key) {
        const QVariant value = defaults.objectForKey(key);
        return ScanThresholds::holdsNumber(value) ? int(value.toLongLong()) : 0;
    };
    const QVariant allow = defaults.objectForKey(QStringLiteral("allowPhotosLibScanInTimePeriod"));
    btnScanLastImport->setChecked(ScanThresholds::holdsNumber(allow) && allow.toBool());
    btnCaptureDate->selectItemAtIndex(storedIndex(QStringLiteral("scanFilesFromDate")));
    btnCapturePeriod->selectItemAtIndex(storedIndex(QStringLiteral("scanPhotosFrom")));
}

void MainViewController::btnScanAllImagesCheckBoxTapped(QCheckBox *sender)
{
    const bool on = sender && sender->checkState() != Qt::Unchecked;
    btnCaptureDate->setEnabled(on);
    btnCapturePeriod->setEnabled(on);
}

void MainViewController::configurePhotosLibraryAvailability()
{
    if (QFileInfo::exists(QStringLiteral("/Applications/Photos.app")) || OSVersionFlags::isOS1015 ||
        OSVersionFlags::isOS11OrLater)
        lblHintForDrag->setText(text("ID_HINT_DRAG_FOLDERS_PHOTOS"));
    layoutMainWindow();
    adjustLayoutForWidth();
}

QHash<QString, QWidget *> MainViewController::layoutWidgets() const
{
    QHash<QString, QWidget *> widgets;
    for (const QString &name : MainWindowLayout::controls()) {
        QWidget *widget = m_view->findChild<QWidget *>(name);
        if (!widget && windowAddImages)
            widget = windowAddImages->findChild<QWidget *>(name);
        if (widget)
            widgets.insert(name, widget);
    }
    return widgets;
}

MainWindowGeometry MainViewController::currentGeometry() const
{
    MainWindowGeometry geometry;
    geometry.viewWidth = m_view->width();
    const QHash<QString, QWidget *> widgets = layoutWidgets();
    for (auto it = widgets.cbegin(); it != widgets.cend(); ++it)
        geometry.frames.insert(it.key(), FrameGeometry::frameInBottomLeft(it.value()));
    return geometry;
}

void MainViewController::applyGeometry(const MainWindowGeometry &geometry)
{
    const QHash<QString, QWidget *> widgets = layoutWidgets();
    for (auto it = geometry.frames.cbegin(); it != geometry.frames.cend(); ++it) {
        QWidget *widget = widgets.value(it.key());
        if (widget && widget->parentWidget())
            widget->setGeometry(FrameGeometry::toTopLeft(it.value(), widget->parentWidget()->height()));
    }
    for (auto it = geometry.fonts.cbegin(); it != geometry.fonts.cend(); ++it)
        if (QWidget *widget = widgets.value(it.key()))
            widget->setFont(systemFont(it.value()));
    for (auto it = geometry.hidden.cbegin(); it != geometry.hidden.cend(); ++it)
        if (QWidget *widget = widgets.value(it.key()))
            widget->setHidden(it.value());
}

void MainViewController::layoutMainWindow()
{
    const QHash<QString, QWidget *> widgets = layoutWidgets();
    const FitMeasure fit = [&widgets](const QString &name, const std::optional<LayoutFont> &font) {
        QWidget *widget = widgets.value(name);
        if (!widget)
            return CommonFunc::fittingWidth(QString(), QFont());
        QString title;
        if (auto *button = qobject_cast<QAbstractButton *>(widget))
            title = button->text();
        else if (auto *label = qobject_cast<QLabel *>(widget))
            title = label->text();
        return CommonFunc::fittingWidth(title, font ? systemFont(*font) : widget->font());
    };
    MainWindowGeometry geometry = currentGeometry();
    MainWindowLayout::layoutMainWindow(Localization::currentLanguageCode(), fit, geometry);
    applyGeometry(geometry);
    btnCompare->update();
}

void MainViewController::adjustLayoutForWidth()
{
    MainWindowGeometry geometry = currentGeometry();
    MainWindowLayout::adjustLayoutForWidth(Localization::currentLanguageCode(), ScanGlobals::scanType.load(),
                                           geometry);
    applyGeometry(geometry);
}

void MainViewController::addNotificationObservers()
{
    NotificationCenter &center = NotificationCenter::defaultCenter();
    center.addObserver(this, QStringLiteral("FileDragDropNotification"),
                       [this](const Notification &notification) { handleFileDragDropNotification(notification); });
    center.addObserver(this, QStringLiteral("PreferencesResetToDefaults"),
                       [this](const Notification &) { updateDefaultSetting(); });
}

void MainViewController::handleFileDragDropNotification(const Notification &notification)
{
    m_scanList->handleFileDragDropNotification(notification);
}

bool MainViewController::addPathNode(const QString &path, GlobalObjects::NodeType type)
{
    return m_scanList->addPathNode(path, type);
}

void MainViewController::btnAddPathToScan(int tag)
{
    m_scanList->btnAddPathToScan(tag);
}

void MainViewController::saveScanList()
{
    m_scanList->saveScanList();
}

void MainViewController::restoreScanList()
{
    m_scanList->restoreScanList();
}

void MainViewController::updatePathTableToolTip()
{
    m_scanList->updatePathTableToolTip();
}

void MainViewController::btnShowMenuList()
{
    auto *menu = new QMenu(m_view);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const QList<std::tuple<const char *, int, const char *>> items = {{"ID_ADD_PHOTOS", 0, "photos_icon.png"},
                                                                      {"ID_ADD_FOLDER", 2, "folder_icon.png"}};
    for (const auto &[key, tag, image] : items) {
        QAction *item = menu->addAction(QIcon(BundleImage::named(QString::fromLatin1(image)).pixmap(QSize(16, 16))),
                                        text(key));
        connect(item, &QAction::triggered, this, [this, tag = tag] { menuItemSelected(tag); });
    }
    menu->popup(QCursor::pos());
}

void MainViewController::menuItemSelected(int tag)
{
    if (tag == 0 || tag == 2)
        btnAddPathToScan(tag);
}

void MainViewController::removeFromScanList()
{
    m_scanList->removeScanListEntry(tvPath->clickedRow());
}

void MainViewController::removeAllFromScanList()
{
    m_scanList->removeAllFromScanList();
}

void MainViewController::checkAllInScanList()
{
    m_scanList->setAllScanListChecked(true);
}

void MainViewController::uncheckAllInScanList()
{
    m_scanList->setAllScanListChecked(false);
}

void MainViewController::revealInFinder()
{
    m_scanList->revealInFinder(tvPath->clickedRow());
}

void MainViewController::btnStartScanTapped()
{
}

void MainViewController::closeCloudAuthorizationSheet()
{
    if (windowCloudAuthorization)
        AlertPresenter::current().endSheet(windowCloudAuthorization);
}

void MainViewController::setupButtonStyles()
{
    ComparisonOptionsView::setupButtonStyles(*this);
}

void MainViewController::refreshSliderLabels()
{
    btnSliderBitMapSize();
    btnSliderGpsDistance();
    btnSliderTimeInterval();
}

void MainViewController::selectComparisonMethod(QObject *sender)
{
    ComparisonOptionsView::selectComparisonMethod(*this, sender && sender == btnExactMatch.data());
}

void MainViewController::btnSliderMatchingLevel()
{
    ComparisonOptionsView::applyMatchingLevel(*this);
}

void MainViewController::btnSliderBitMapSize()
{
    ComparisonOptionsView::showBitmapSize(*this);
}

void MainViewController::btnSliderTimeInterval()
{
    ComparisonOptionsView::showTimeInterval(*this);
}

void MainViewController::btnSliderGpsDistance()
{
    ComparisonOptionsView::showGpsDistance(*this);
}

void MainViewController::applyMatchingLevelThresholds()
{
    if (const std::optional<LevelThresholds> thresholds =
            ScanThresholds::thresholdsForLevel(ComparisonOptionsView::matchingLevel())) {
        ScanGlobals::matchThreshold = thresholds->matchThreshold;
        ScanGlobals::minimumMatchThreshold = thresholds->minimumMatchThreshold;
    }
}

void MainViewController::updateDefaultSetting()
{
    QPointer<MainViewController> self(this);
    Dispatch::main([self] {
        if (self)
            self->updateDefaultSetting_Main();
    });
}

void MainViewController::updateDefaultSetting_Main()
{
    ComparisonOptionsView::restoreFromDefaults(*this);
}

void MainViewController::btnScanVideoLinkButtonTapped()
{
    AlertSpec alert;
    alert.messageText = text("ID_WOULD_YOU_LIKE_SCAN_DUPLICATES");
    alert.informativeText = text("ID_DUPLICATE_VIDEOS_SCAN_ONLY_SUPPORTED");
    alert.buttons = {text("ID_YES"), text("ID_NO")};
    if (AlertPresenter::current().runAlert(alert, m_view) == AlertPresenter::kFirstButton)
        selectComparisonMethod(btnExactMatch);
}

void MainViewController::showToolTipInfo()
{
    if (ScanGlobals::scanType.load() != 0)
        return;
    m_optionPopover = std::make_unique<OptionPopover>();
    m_optionPopover->showOptionInfo(btnToolTip);
}
