#include "scan/ui/MainViewController.h"

#include <algorithm>

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
#include "cloud/ui/GoogleDriveAccessVC.h"
#include "controls/ControlFonts.h"
#include "controls/DoubleSlider.h"
#include "controls/SettingsBinding.h"
#include "platform/Dispatch.h"
#include "platform/Log.h"
#include "platform/NotificationCenter.h"
#include "platform/TextFormat.h"
#include "platform/UserDefaults.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/BundleImage.h"
#include "platform/ui/FrameGeometry.h"
#include "results/ui/ResultViewController.h"
#include "scan/ScanThresholds.h"
#include "scan/ui/AddingSheet.h"
#include "scan/ui/CloudModeController.h"
#include "scan/ui/ComparisonOptionsView.h"
#include "scan/ui/GoogleDriveScanSource.h"
#include "scan/ui/MainWindowFrames.h"
#include "scan/ui/MainWindowInterface.h"
#include "scan/ui/MainWindowLayout.h"
#include "scan/ui/MainWindowSetup.h"
#include "scan/ui/OptionPopover.h"
#include "scan/ui/PopUpButton.h"
#include "scan/ui/ScanListController.h"
#include "scan/ui/ScanRunController.h"

namespace
{

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

QFont systemFont(const LayoutFont &font)
{
    return ControlFonts::systemFont(font.pointSize, font.semibold ? QFont::DemiBold : QFont::Normal);
}

// The width the widget's title needs; a pop-up has to fit whichever of its items it shows.
double fittingWidthOf(const QWidget *widget, const QFont &font)
{
    QStringList titles;
    if (auto *popUp = qobject_cast<const PopUpButton *>(widget))
        for (int index = 0; index < popUp->numberOfItems(); ++index)
            titles.append(popUp->itemAtIndex(index)->text());
    else if (auto *button = qobject_cast<const QAbstractButton *>(widget))
        titles.append(button->text());
    else if (auto *label = qobject_cast<const QLabel *>(widget))
        titles.append(label->text());
    double widest = CommonFunc::fittingWidth(QString(), font);
    for (const QString &title : titles)
        widest = std::max(widest, CommonFunc::fittingWidth(title, font));
    return widest;
}

} // namespace

MainViewController::MainViewController(QObject *parent)
    : QObject(parent)
    , result(std::make_unique<ResultViewController>())
    , m_scanList(std::make_unique<ScanListController>(*this, *this,
          ScanListWindow { [this] { return view(); }, [this] { emit preferencesRequested(); } }))
    , m_scanRun(std::make_unique<ScanRunController>(*this, *this, *this, *result))
    , m_googleDrive(std::make_unique<GoogleDriveScanSource>(*this, *this, *this))
    , m_cloudMode(std::make_unique<CloudModeController>(*this, *this, *this))
{
    m_scanRun->startCloudListing = [this] { m_cloudMode->startCloudListing(); };
    m_scanRun->stopCloudListing = [this] { m_cloudMode->stopCloudListing(); };
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
        connectActions();
        viewDidLoad();
    }
    return m_view;
}

void MainViewController::viewDidLoad()
{
    setupAddMenuButton();
    MainWindowSetup::setupCloudSheetTexts(*this);
    MainWindowSetup::setupTitles(*this);
    QPalette quiet = tvPath->palette();
    quiet.setColor(QPalette::Highlight, Qt::transparent);
    quiet.setColor(QPalette::HighlightedText, quiet.color(QPalette::Text));
    tvPath->setPalette(quiet);
    setupButtonStyles();
    addNotificationObservers();
    m_cloudMode->connectActions();
    sliderInitialMatching->setMinValue(ScanThresholds::kSliderMinValue);
    lblBitMapSize->setText(formatText(QStringLiteral("%dx%d %@"), 48, 48, text("ID_PIXELS")));
    sliderInitialMatching->setDoubleValue(
        UserDefaults::standard().doubleForKey(QStringLiteral("setInitialMatching")));
    lblDragPhotosTitle->setText(text("ID_DRAG_DROP_PHOTOS"));
    refreshSliderLabels();
    restoreScanList();
    applyMatchingLevelThresholds();
    updatePathTableToolTip();
    configurePhotosLibraryAvailability();
    MainWindowSetup::styleCloudButtons(*this);
    MainWindowSetup::setupScanSourcePopup(*this);
    ScanGlobals::scanType = ScanSource::thisComputer;
    m_googleDrive->makeController();
    MainWindowSetup::setupProgressSheet(*this);
    restoreDateFilter();
    btnScanAllImagesCheckBoxTapped(btnScanLastImport);
}

void MainViewController::setupAddMenuButton()
{
    customButtonForMenu = new QPushButton(m_view);
    customButtonForMenu->setObjectName(QStringLiteral("customButtonForMenu"));
    customButtonForMenu->setGeometry(FrameGeometry::toTopLeft(
        MainWindowFrames::frame(QStringLiteral("customButtonForMenu")), m_view->height()));
    customButtonForMenu->setIcon(
        QIcon(BundleImage::named(QStringLiteral("folder_icon.png")).pixmap(QSize(16, 16))));
    customButtonForMenu->setText(text("ID_ADD_FOLDER"));
    customButtonForMenu->setFont(ControlFonts::systemFont(11));
    connect(customButtonForMenu, &QPushButton::clicked, this, &MainViewController::btnShowMenuList);
    customButtonForMenu->hide();
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
    btnCaptureDate->selectItemWithTag(storedIndex(QStringLiteral("scanFilesFromDate")));
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
    if (QFileInfo::exists(QStringLiteral("/Applications/Photos.app")) || OSVersionFlags::isOS1015
        || OSVersionFlags::isOS11OrLater)
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
        return fittingWidthOf(widget, font ? systemFont(*font) : widget->font());
    };
    MainWindowGeometry geometry = currentGeometry();
    MainWindowLayout::layoutMainWindow(Localization::currentLanguageCode(), fit, geometry);
    applyGeometry(geometry);
    btnCompare->update();
}

void MainViewController::adjustLayoutForWidth()
{
    MainWindowGeometry geometry = currentGeometry();
    MainWindowLayout::adjustLayoutForWidth(
        Localization::currentLanguageCode(), ScanGlobals::scanType.load(), geometry);
    applyGeometry(geometry);
}

void MainViewController::placeSourceControls(const QRectF &addFolderHome)
{
    MainWindowGeometry geometry = currentGeometry();
    const QString language = Localization::currentLanguageCode();
    const ScanSource source = ScanGlobals::scanType.load();
    MainWindowLayout::placeAddControls(language, source, addFolderHome, geometry);
    if (language != QLatin1String("en"))
        MainWindowLayout::placeScanSourcePopup(language, source, geometry);
    applyGeometry(geometry);
}

QRectF MainViewController::addFolderFrame() const
{
    return FrameGeometry::frameInBottomLeft(btnAddFolder);
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
    if (isCloudSource(ScanGlobals::scanType.load()))
        m_cloudMode->addInCloudMode();
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
    const QList<std::tuple<const char *, int, const char *>> items
        = { { "ID_ADD_PHOTOS", 0, "photos_icon.png" }, { "ID_ADD_FOLDER", 2, "folder_icon.png" } };
    for (const auto &[key, tag, image] : items) {
        QAction *item = menu->addAction(
            QIcon(BundleImage::named(QString::fromLatin1(image)).pixmap(QSize(16, 16))), text(key));
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
    m_scanRun->btnStartScanTapped();
}

void MainViewController::btnStopAddPhotosTapped()
{
    m_scanRun->btnStopAddPhotosTapped();
}

void MainViewController::closeCloudAuthorizationSheet()
{
    if (windowCloudAuthorization)
        AlertPresenter::current().endSheet(windowCloudAuthorization);
}

void MainViewController::setupButtonStyles()
{
    ComparisonOptionsView::setupButtonStyles(*this, *this);
}

void MainViewController::refreshSliderLabels()
{
    btnSliderBitMapSize();
    btnSliderGpsDistance();
    btnSliderTimeInterval();
}

void MainViewController::selectComparisonMethod(QObject *sender)
{
    ComparisonOptionsView::selectComparisonMethod(*this, *this, sender && sender == btnExactMatch.data());
}

void MainViewController::btnSliderMatchingLevel()
{
    ComparisonOptionsView::applyMatchingLevel(*this, *this);
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
    ComparisonOptionsView::applyMatchingLevelThresholds();
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
    ComparisonOptionsView::restoreFromDefaults(*this, *this);
    restoreDateFilter();
    btnScanAllImagesCheckBoxTapped(btnScanLastImport);
}

void MainViewController::btnScanVideoLinkButtonTapped()
{
    AlertSpec alert;
    alert.messageText = text("ID_WOULD_YOU_LIKE_SCAN_DUPLICATES");
    alert.informativeText = text("ID_DUPLICATE_VIDEOS_SCAN_ONLY_SUPPORTED");
    alert.buttons = { text("ID_YES"), text("ID_NO") };
    alert.escapeButton = 1;
    if (AlertPresenter::current().runAlert(alert, m_view) == AlertPresenter::kFirstButton)
        selectComparisonMethod(btnExactMatch);
}

void MainViewController::showToolTipInfo()
{
    if (isCloudSource(ScanGlobals::scanType.load()))
        return;
    m_optionPopover = std::make_unique<OptionPopover>();
    m_optionPopover->showOptionInfo(btnToolTip);
}

void MainViewController::showAddingPhotosSheet()
{
    AddingSheet::showAddingPhotosSheet(*this, compareType, view());
}

void MainViewController::dismissAddingPhotosSheet()
{
    QPointer<MainViewController> self(this);
    Dispatch::main([self] {
        if (self)
            AddingSheet::dismissAddingPhotosSheetOnMain(*self);
    });
}

void MainViewController::returnFromResults()
{
    Log::line(QStringLiteral("Back from the results to the main window"));
    view()->show();
    if (btnCompare)
        btnCompare->setState(IMGButton::OnState);
    // The keys go back to the scan list.
    if (tvPath)
        tvPath->setFocus(Qt::OtherFocusReason);
}

void MainViewController::connectActions()
{
    MainViewController *c = this;
    SettingsBinding::bindSlider(c->sliderInitialMatching, QStringLiteral("setInitialMatching"));
    SettingsBinding::bindSlider(c->sliderBitMap, QStringLiteral("setBitMapSize"));
    SettingsBinding::bindSlider(c->sliderTimeInterval, QStringLiteral("setTimeInterval"));
    SettingsBinding::bindSlider(c->sliderGPSDistance, QStringLiteral("setGpsDistance"));
    SettingsBinding::bindCheckBox(c->btnIncludeRotateImages, QStringLiteral("isCompareRotateImages"));
    SettingsBinding::bindCheckBox(c->btnIncludeFlipImages, QStringLiteral("isCompareFlipImages"));
    SettingsBinding::bindCheckBox(c->btnScanVideo, QStringLiteral("allowVideoScanning"));
    // The date filter is what the next scan reads from the settings.
    SettingsBinding::bindCheckBox(c->btnScanLastImport, QStringLiteral("allowPhotosLibScanInTimePeriod"));
    QObject::connect(c->btnCaptureDate, &PopUpButton::itemSelected, c, [c](int index) {
        UserDefaults::standard().setObject(
            QStringLiteral("scanFilesFromDate"), qlonglong(c->btnCaptureDate->tagOfItem(index)));
    });
    QObject::connect(c->btnCapturePeriod, &PopUpButton::itemSelected, c, [](int index) {
        UserDefaults::standard().setObject(QStringLiteral("scanPhotosFrom"), qlonglong(index));
    });
    QObject::connect(c->btnCompare, &QAbstractButton::clicked, c, &MainViewController::btnStartScanTapped);
    QObject::connect(c->btnScanLastImport, &QAbstractButton::clicked, c,
        [c] { c->btnScanAllImagesCheckBoxTapped(c->btnScanLastImport); });
    QObject::connect(
        c->btnExactMatch, &QAbstractButton::clicked, c, [c] { c->selectComparisonMethod(c->btnExactMatch); });
    QObject::connect(c->btnSimilarMatch, &QAbstractButton::clicked, c,
        [c] { c->selectComparisonMethod(c->btnSimilarMatch); });
    for (QPushButton *add : { c->btnAddPhotos.data(), c->btnAddPhotosLib.data(), c->btnAddFolder.data() })
        QObject::connect(add, &QAbstractButton::clicked, c,
            [c, add] { c->btnAddPathToScan(add->property("tag").toInt()); });
    QObject::connect(c->menuItemRevealInFinder, &QAction::triggered, c, &MainViewController::revealInFinder);
    QObject::connect(c->menuItemCheckAll, &QAction::triggered, c, &MainViewController::checkAllInScanList);
    QObject::connect(
        c->menuItemUncheckAll, &QAction::triggered, c, &MainViewController::uncheckAllInScanList);
    QObject::connect(
        c->menuItemRemoveFromScanList, &QAction::triggered, c, &MainViewController::removeFromScanList);
    QObject::connect(
        c->menuItemRemoveAllFromScanList, &QAction::triggered, c, &MainViewController::removeAllFromScanList);
    QObject::connect(
        c->btnLinkScanVideo, &QAbstractButton::clicked, c, &MainViewController::btnScanVideoLinkButtonTapped);
    QObject::connect(c->btnToolTip, &QAbstractButton::clicked, c, &MainViewController::showToolTipInfo);
    QObject::connect(c->sliderInitialMatching, &DoubleSlider::doubleValueChanged, c,
        &MainViewController::btnSliderMatchingLevel);
    QObject::connect(
        c->sliderBitMap, &DoubleSlider::doubleValueChanged, c, &MainViewController::btnSliderBitMapSize);
    QObject::connect(c->sliderTimeInterval, &DoubleSlider::doubleValueChanged, c,
        &MainViewController::btnSliderTimeInterval);
    QObject::connect(c->sliderGPSDistance, &DoubleSlider::doubleValueChanged, c,
        &MainViewController::btnSliderGpsDistance);
}
