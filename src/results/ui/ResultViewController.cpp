// The results window's controller: entry after a scan, filters and counts, refresh, listing and the
// way back to the main window.
#include "results/ui/ResultViewController.h"

#include "app/LocalizedString.h"
#include "controls/CommonFuncUi.h"
#include "controls/CustomOutlineView.h"
#include "controls/DoubleSlider.h"
#include "controls/IMGButton.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/Dispatch.h"
#include "platform/UserDefaults.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/BundleImage.h"
#include "results/CountCaptions.h"
#include "results/MatchingLevel.h"
#include "results/ResultButtonStyles.h"
#include "results/ResultTexts.h"
#include "results/ui/MetadataTable.h"
#include "results/ui/OutlineList.h"
#include "results/ui/PreviewPane.h"
#include "results/ui/ResultGridSource.h"
#include "results/ui/ResultViewSkeleton.h"
#include "results/ui/ResultWindowBuilder.h"
#include "results/ui/ResultsGridView.h"
#include "results/ui/ThumbnailLoader.h"
#include "results/ui/TrashMarkedActions.h"
#include "results/ui/AfterTrashSummaryWindow.h"

namespace {

const QString kNoConfirmationKey = QStringLiteral("doNotShowConfirmationDialogOnReturnToMainView");
constexpr double kScanCompleteDelay = 0.5;
constexpr double kReloadDelay = 0.05;

void setAttributedText(QLabel *label, const AttributedTitle &title)
{
    if (!label)
        return;
    label->setTextFormat(Qt::RichText);
    label->setText(CountCaptions::toHtml(title));
}

} // namespace

ResultViewController::ResultViewController(QObject *parent)
    : QObject(parent), m_gridSource(std::make_unique<ResultGridSource>(*this)),
      m_thumbnailLoader(std::make_unique<ThumbnailLoader>(*this))
{
}

ResultViewController::~ResultViewController()
{
    // The grid points at the grid source, and the panes at this state: all of them go while both
    // still exist.
    delete m_view.data();
    const QObjectList parts = children();
    for (QObject *part : parts)
        delete part;
}

QWidget *ResultViewController::view()
{
    if (!m_view) {
        m_view = new QWidget;
        m_view->setObjectName(QStringLiteral("resultView"));
        viewDidLoad();
    }
    return m_view;
}

void ResultViewController::viewDidLoad()
{
    ResultViewSkeleton::build(*this, m_view);
    configureCollectionViewLayout();
    m_gridSource->attach(collectionView);
    m_thumbnailLoader->setCollectionView(collectionView);
    connect(collectionView, &ResultsGridView::boundsDidChange, m_thumbnailLoader.get(),
            &ThumbnailLoader::scrollViewBoundDidChange);
    applySliderSetting(MatchingLevel::initialSetting());
    connectActions();
    // The list, preview, metadata, hint panels, sheets and the localised look go into the skeleton.
    m_windowBuilder = new ResultWindowBuilder(*this, this);
    m_windowBuilder->build();
    reloadContentArrays();
    updateHintBoxesVisibility();
    showListingTypeView(true);
    emit viewLoaded();
}

void ResultViewController::applySliderSetting(const MatchingSliderSetting &setting)
{
    for (DoubleSlider *slider : { sliderMatchingLevel.data(), sliderForMatch.data() }) {
        slider->setMinValue(setting.minimum);
        slider->setMaxValue(setting.maximum);
        slider->setDoubleValue(setting.value);
        // The handle moves finely with the mouse; each arrow key goes one matching level.
        slider->setKeyStops(MatchingLevel::keyStops(setting.minimum, setting.maximum));
    }
}

void ResultViewController::connectActions()
{
    for (DoubleSlider *slider : {sliderMatchingLevel.data(), sliderForMatch.data()})
        connect(slider, &DoubleSlider::doubleValueChanged, this, [this, slider] { sliderMatchingValue(slider); });
    connect(btnFileTypeMenu, &QPushButton::clicked, this, [this] { openFileTypeMenu(btnFileTypeMenu); });
    connect(menuFileType, &QMenu::triggered, this, &ResultViewController::selectFileType);
    connect(btnTypeListing, &QPushButton::clicked, this, [this] { showMenuForResultListing(btnTypeListing); });
    connect(menuListType, &QMenu::triggered, this, [this] { btnChangeListingType(); });
    connect(btnBackToSetUp, &QAbstractButton::clicked, this, &ResultViewController::backFromToolbar);
    connect(btnOkMoveBackWindow, &QAbstractButton::clicked, this, &ResultViewController::returnToMainWindow);
    connect(btnCanelOnMoveBackWindow, &QAbstractButton::clicked, this, &ResultViewController::cancelReturnToMainWindow);
    connect(btnTrashMarked, &QAbstractButton::clicked, this, [this] { moveToTrash(btnTrashMarked); });
    // Either choice closes the scan-complete sheet before anything else opens over the window.
    for (IMGButton *b : {btnSelectManually.data(), btnAutoMarkPhotos.data()})
        connect(b, &QAbstractButton::clicked, this, [this] { AlertPresenter::current().endSheet(windowScanComplete); });
    connect(btnAutoMarkPhotos, &QAbstractButton::clicked, this, &ResultViewController::autoMarkAllItems);
    connect(btnAutoMark, &QAbstractButton::clicked, this, &ResultViewController::autoMarkAllItems);
}

void ResultViewController::configureCollectionViewLayout()
{
    collectionView->setBackgroundColors({QColor(Qt::black)});
}

void ResultViewController::invokeCollectionView(
    const QList<std::shared_ptr<DuplicatesGroup>> &groups, const ScanGlobalsSnapshot &scan)
{
    invokeCollectionView(std::vector<std::shared_ptr<DuplicatesGroup>>(groups.begin(), groups.end()), scan);
}

void ResultViewController::invokeCollectionView(
    const std::vector<std::shared_ptr<DuplicatesGroup>> &groups, const ScanGlobalsSnapshot &scan)
{
    view();
    hideResultToolbarButtons();
    stepNumber = GlobalObjects::StepNumberForPhotos::stepNumberOneForPhotos;
    scanSource = scan.scanType;
    scanCompareType = scan.compareType;
    scanMinimumFileSize = scan.minimumAllowFileSize;
    isPhotosAppTrashed = false;
    const MatchingSliderSetting current{sliderMatchingLevel->minValue(), sliderMatchingLevel->maxValue(),
                                        sliderMatchingLevel->doubleValue(), true};
    const MatchingSliderSetting setting
        = MatchingLevel::atEntry(scan.compareType, scan.matchThreshold, scan.minimumMatchThreshold, current);
    applySliderSetting(setting);
    sliderMatchingLevel->setVisible(setting.visible);
    lblMatchingLabel->setVisible(setting.visible);
    enterGroups(groups);
    applyMatchingLevel();
    updateNoResultHints(true, false);
    isPhotosLibAdded = hasPhotosLibraryItems();
    QPointer<ResultViewController> self(this);
    Dispatch::mainAfter(kScanCompleteDelay, [self] {
        if (self)
            self->showScanCompleteWindow();
    });
}

void ResultViewController::setToolbarHidden(bool hidden)
{
    for (QWidget *w : {static_cast<QWidget *>(btnUnmark), static_cast<QWidget *>(btnSelectionAssistance),
                       imgViewSepratorAutoMarkBtn.data(), imgViewSepratorBackBtn.data(),
                       imgViewSepratorUnMarkBtn.data(), sepratorAssitance.data(), static_cast<QWidget *>(btnAutoMark),
                       imgViewSeprator.data(), static_cast<QWidget *>(btnTypeListing), imgViewSepListType.data()})
        w->setHidden(hidden);
}

void ResultViewController::hideResultToolbarButtons()
{
    setToolbarHidden(true);
}

void ResultViewController::showScanCompleteWindow()
{
    if (cDup <= 0)
        return;
    progressCircular->progress = 100.0;
    progressCircular->update();
    if (!windowScanComplete)
        return;
    AlertPresenter &presenter = AlertPresenter::current();
    // It asks about the results alone: the window's menu, Quit and close button stay free.
    presenter.beginSheet(windowScanComplete, m_view, AlertPresenter::Blocking::Content);
    presenter.runModalForWindow(windowScanComplete);
    presenter.endSheet(windowScanComplete);
}

void ResultViewController::autoMarkAllItems()
{
    emit autoMarkAllItemsRequested();
}

void ResultViewController::applyMatchingLevel()
{
    allowedMatch = float(sliderMatchingLevel->doubleValue());
    filterGroups();
    recountTotals();
    QPointer<ResultViewController> self(this);
    Dispatch::main([self] {
        if (self)
            self->refreshDataOnScreenWithLatestResultsAfterFilter();
    });
}

void ResultViewController::setMatchingLevelAndApply(double value)
{
    sliderMatchingLevel->setDoubleValue(value);
    sliderForMatch->setDoubleValue(value);
    applyMatchingLevel();
}

void ResultViewController::sliderMatchingValue(DoubleSlider *sender)
{
    stepNumber = GlobalObjects::StepNumberForPhotos::stepNumberOneForPhotos;
    setMatchingLevelAndApply(sender->doubleValue());
    updateNoResultHints(false, false);
    isPhotosLibAdded = hasPhotosLibraryItems();
}

void ResultViewController::recountTotals()
{
    ResultState::recountTotals();
    if (!arrImageContent.empty()) {
        boxForHint->hide();
        scrollCollectionView->show();
        boxHeaderDetails->show();
        boxBotomMultiLang->show();
        viewListView->setHidden(isShowingThumbView);
    } else {
        scrollCollectionView->hide();
        boxHeaderDetails->hide();
        viewListView->hide();
    }
}

void ResultViewController::refreshDataOnScreenWithLatestResultsAfterFilter()
{
    const bool none = arrGroups.empty();
    btnFileTypeMenu->setHidden(none);
    btnAutoMark->setEnabled(true);
    btnUnmark->setEnabled(true);
    setToolbarHidden(none);
    reloadContentArrays();
    // The photo the user was on stays the current one while the filter still shows it.
    std::shared_ptr<ImageFileInfo> current = previewedRecord();
    if (!indexPathOf(current.get()))
        current.reset();
    if (!current && !scrollCollectionView->isHidden() && !arrGroups.empty()
        && !arrGroups.front()->filterChildren.isEmpty())
        current = arrGroups.front()->filterChildren.first();
    fillMetaDataTable(current);
    changeAllComponentsOnMainThread(current, false);
    QPointer<ResultViewController> self(this);
    Dispatch::mainAfter(kReloadDelay, [self] {
        if (self)
            self->reloadCollectionView();
    });
    updateFooterInfo();
}

void ResultViewController::reloadCollectionView()
{
    QPointer<ResultViewController> self(this);
    Dispatch::main([self] {
        if (self)
            self->reloadCollectionView_Main();
    });
}

void ResultViewController::reloadCollectionView_Main()
{
    if (isShowingThumbView)
        collectionView->reloadData();
    else
        emit reloadOutlineRequested();
    collectionView->deselectAll();
    currentSelectedIndexs.clear();
    // Start at the top, or at the photo being previewed when the reload still shows it; the visible
    // cells get their thumbnails once the view has settled.
    collectionView->scrollToOffset(0);
    const std::optional<IndexPath> previewed = indexPathOf(previewedRecord().get());
    if (previewed) {
        collectionView->selectItemsAtIndexPaths({*previewed}, MyCollectionView::ScrollPosition::Visible);
        currentSelectedIndexs.append(*previewed);
    } else if (numberOfItemsInSection(0) > 0) {
        collectionView->selectItemsAtIndexPaths({IndexPath{0, 0}}, MyCollectionView::ScrollPosition::None);
        currentSelectedIndexs.append(IndexPath{0, 0});
    }
    collectionView->viewport()->update();
    m_thumbnailLoader->scrollViewBoundDidChange();
    emit collectionViewReloaded();
}

void ResultViewController::updateHintBoxesVisibility()
{
    const bool none = arrGroups.empty();
    scrollCollectionView->setHidden(none);
    boxHintPartialMatch->hide();
    boxForHint->setHidden(!none);
}

void ResultViewController::reloadContentArrays()
{
    m_gridSource->reloadContentArrays();
}

void ResultViewController::selectItemAtIndexPath(const IndexPath &indexPath)
{
    m_gridSource->selectItemAtIndexPath(indexPath);
}

void ResultViewController::fillMetaDataTable(const std::shared_ptr<ImageFileInfo> &record)
{
    emit fillMetaDataTableRequested(record);
}

void ResultViewController::changeAllComponentsOnMainThread(const std::shared_ptr<ImageFileInfo> &record, bool wait)
{
    auto show = [this, record] {
        ++m_previewRequests;
        m_previewed = record;
        emit changeAllComponentsRequested(record);
    };
    if (wait) {
        show();
        return;
    }
    QPointer<ResultViewController> self(this);
    Dispatch::main([self, show] {
        if (self)
            show();
    });
}

void ResultViewController::openFileTypeMenu(QPushButton *sender)
{
    if (!sender || !menuFileType)
        return;
    menuFileType->popup(sender->mapToGlobal(QPoint(0, sender->height())));
    // It opens on the choice the button shows, so the arrows go on from there.
    for (QAction *item : menuFileType->actions()) {
        if (item->isChecked())
            menuFileType->setActiveAction(item);
    }
}

void ResultViewController::setFileTypeButton(const QString &title, const QString &imageName)
{
    btnFileTypeMenu->setIcon(QIcon(BundleImage::named(imageName).pixmap(QSize(16, 16))));
    CommonFuncUi::setTextFontAndColorOn(
        btnFileTypeMenu, title, ResultButtonStyles::toolbarTitleFontSize(Localization::currentLanguageCode()));
    // The menu ticks the choice the button shows.
    const int shown = int(typeSupport.value_or(GlobalObjects::TypeSupport::ALLFILES));
    for (QAction *item : menuFileType->actions())
        item->setChecked(item->data().toInt() == shown);
}

void ResultViewController::selectFileType(QAction *sender)
{
    const std::optional<int> tag = sender ? std::optional<int>(sender->data().toInt()) : std::nullopt;
    const FileTypeChoice choice = ResultButtonStyles::fileTypeForTag(tag);
    typeSupport = choice.typeSupport;
    filterGroups();
    recountTotals();
    QPointer<ResultViewController> self(this);
    const auto queueRefresh = [self] {
        Dispatch::main([self] {
            if (self)
                self->refreshDataOnScreenWithLatestResultsAfterFilter();
        });
    };
    queueRefresh();
    if (!arrImageContent.empty()) {
        setFileTypeButton(localizedString(choice.titleKey), choice.imageName);
        return;
    }
    AlertSpec alert;
    if (typeSupport == GlobalObjects::TypeSupport::ONLYVIDEO) {
        alert.messageText = localizedString(QStringLiteral("ID_NO_DUPLICATE_VIDEOS_FOUND"));
        alert.informativeText = ResultTexts::noDuplicateVideosHint(scanCompareType);
    } else if (typeSupport == GlobalObjects::TypeSupport::ONLYIMAGES) {
        alert.messageText = localizedString(QStringLiteral("ID_NO_DUPLICATE_PHOTOS_FOUND"));
        alert.informativeText = localizedString(QStringLiteral("ID_PLEASE_SELECT_ANOTHER_LOCATION_FOR_PHOTOS"));
    }
    typeSupport = GlobalObjects::TypeSupport::ALLFILES;
    filterGroups();
    recountTotals();
    queueRefresh();
    alert.buttons = {localizedString(QStringLiteral("ID_OK_CAPS"))};
    AlertPresenter::current().runAlert(alert, m_view);
}

void ResultViewController::updateFooterInfo()
{
    btnTrashMarked->setEnabled(countMarked > 0);
    btnTrashMarked->setState(countMarked > 0 ? IMGButton::OnState : IMGButton::OffState);
    btnTrashMarked->update();
    // Written also when nothing is shown: the footer never keeps the counts of earlier results.
    lblBottomMarked->setText(ResultTexts::photosMarked(countMarked));
    setAttributedText(lblDuplicateFoundCount,
                      CountCaptions::attributedCountText(ResultTexts::duplicatesFound(cDup), Qt::AlignLeft));
    const QString groupsLine = ResultTexts::duplicatesInGroups(cDup, int(arrGroups.size()));
    lblBottomDuplicateGroups->setText(groupsLine);
    lblBottomDuplicateGroups->setToolTip(groupsLine);
    setAttributedText(lblSpaceSavedSize,
                      CountCaptions::attributedCountText(ResultTexts::spaceToBeSaved(sizeToClean), Qt::AlignLeft));
    lblScanned->setText(ResultTexts::scanned());
    setAttributedText(lblDuplicatePhotosFound, CountCaptions::attributedHeadlineCountText(
                                                   ResultTexts::duplicatesFound(cDup), Qt::AlignLeft));
    lblAutoMarkInstructionDesc->setText(ResultTexts::autoMarkInstruction(cDup, sizeToClean));
    if (m_windowBuilder)
        m_windowBuilder->layoutBottomBar();
}

bool ResultViewController::retryAtMinimumMatchingLevel()
{
    const double minimum = sliderMatchingLevel->minValue();
    if (!hasGroupsAtLevel(float(minimum)))
        return false;
    setMatchingLevelAndApply(minimum);
    return true;
}

void ResultViewController::updateNoResultHints(bool isFreshResult, bool isAfterTrash)
{
    emit noResultHintsRequested(isFreshResult, isAfterTrash);
}

void ResultViewController::showFileTypeChoice()
{
    const FileTypeChoice fileType
        = ResultButtonStyles::fileTypeForTag(int(typeSupport.value_or(GlobalObjects::TypeSupport::ALLFILES)));
    setFileTypeButton(localizedString(fileType.titleKey), fileType.imageName);
}

void ResultViewController::showListingTypeView(bool showThumbnails)
{
    view();
    isShowingThumbView = showThumbnails;
    viewListView->setHidden(showThumbnails);
    viewThumbnailView->setHidden(!showThumbnails);
    const QString image = showThumbnails ? QStringLiteral("thumb_view") : QStringLiteral("list_view");
    btnTypeListing->setIcon(QIcon(BundleImage::named(image).pixmap(QSize(16, 16))));
    showFileTypeChoice();
    const QString title = localizedString(showThumbnails ? QStringLiteral("ID_IMAGE_VIEW") : QStringLiteral("ID_LIST_VIEW"));
    const ListingTitleStyle style = ResultButtonStyles::listingTitleStyle(Localization::currentLanguageCode());
    if (style.twoPart)
        CommonFuncUi::setTextFontAndColorOnNew(btnTypeListing, title, title + QStringLiteral(" ."), style.fontSize);
    else
        CommonFuncUi::setTextFontAndColorOn(btnTypeListing, title, style.fontSize);
    // The keys go to the listing that shows, not to a table beside it.
    QWidget *listing = showThumbnails ? static_cast<QWidget *>(collectionView.data())
        : outlineList                 ? outlineList->outlineDupliates()
                                      : nullptr;
    if (listing)
        listing->setFocus(Qt::OtherFocusReason);
}

void ResultViewController::showMenuForResultListing(QPushButton *sender)
{
    if (!sender || !menuListType || menuListType->actions().size() < 2)
        return;
    QAction *list = menuListType->actions().at(0);
    QAction *grid = menuListType->actions().at(1);
    list->setVisible(isShowingThumbView);
    grid->setVisible(!isShowingThumbView);
    list->setText(localizedString(QStringLiteral("ID_LIST_VIEW")));
    list->setIcon(QIcon(BundleImage::named(QStringLiteral("list_view_d")).pixmap(QSize(16, 16))));
    grid->setText(localizedString(QStringLiteral("ID_IMAGE_VIEW")));
    grid->setIcon(QIcon(BundleImage::named(QStringLiteral("image_view_d")).pixmap(QSize(16, 16))));
    menuListType->popup(sender->mapToGlobal(QPoint(5, 50)));
    menuListType->setActiveAction(isShowingThumbView ? list : grid);
}

void ResultViewController::btnChangeListingType()
{
    // The file previewed in one listing stays the current file in the other.
    const std::shared_ptr<ImageFileInfo> current = previewedRecord();
    showListingTypeView(!isShowingThumbView);
    if (!isShowingThumbView) {
        emit reloadOutlineRequested();
        return;
    }
    collectionView->reloadData();
    if (const auto indexPath = indexPathOf(current.get())) {
        collectionView->deselectAll();
        collectionView->selectItemsAtIndexPaths({*indexPath}, MyCollectionView::ScrollPosition::Top);
        currentSelectedIndexs = {*indexPath};
    }
}

std::optional<IndexPath> ResultViewController::indexPathOf(const ImageFileInfo *record) const
{
    if (const auto position = positionOf(record))
        return IndexPath{position->first, position->second};
    return std::nullopt;
}

void ResultViewController::backToMainWindow()
{
    const bool noConfirmation = UserDefaults::standard().boolForKey(kNoConfirmationKey);
    if (noConfirmation || arrGroups.empty() || !windowOnMovesBack) {
        resetResultsAndReturnToMain();
        return;
    }
    // The box shows the setting as it is now: Preferences or Reset to Defaults may have turned it off
    // since it was last ticked.
    if (btnDontShowAgainOnMoveBackWindow)
        btnDontShowAgainOnMoveBackWindow->setChecked(false);
    AlertPresenter::current().beginSheet(windowOnMovesBack, m_view);
}

void ResultViewController::backFromToolbar()
{
    for (QWidget *summary : { windowAfterTrashFolderFIles.data(), windowAfterTrash.data() })
        if (summary && AlertPresenter::current().isSheetOpen(summary))
            AlertPresenter::current().endSheet(summary);
    isAllTrashed = false;
    backToMainWindow();
}

void ResultViewController::returnToMainWindow()
{
    if (btnDontShowAgainOnMoveBackWindow && btnDontShowAgainOnMoveBackWindow->isChecked())
        UserDefaults::standard().setObject(kNoConfirmationKey, true);
    AlertPresenter::current().endSheet(windowOnMovesBack);
    resetResultsAndReturnToMain();
}

void ResultViewController::cancelReturnToMainWindow()
{
    AlertPresenter::current().endSheet(windowOnMovesBack);
}

void ResultViewController::resetResultsAndReturnToMain()
{
    lblSimilarPhotoClean->setText(localizedString(QStringLiteral("ID_NO_SIMILAR_PHOTOS_AT_MATCHING_LEVEL")));
    hideResultHintsShowHeader();
    m_view->hide();
    // The pane clears its path bars, image and metadata for no record.
    fillMetaDataTable(nullptr);
    changeAllComponentsOnMainThread(nullptr, true);
    emit returnToMainRequested();
}

void ResultViewController::hideResultHintsShowHeader()
{
    boxHintPartialMatch->hide();
    sliderForMatch->hide();
    boxForHint->hide();
    scrollCollectionView->show();
    boxHeaderDetails->show();
}

void ResultViewController::trashMsgCheckedInFIleFolder()
{
    if (windowAfterTrashFolderFIles)
        AlertPresenter::current().endSheet(windowAfterTrashFolderFIles);
    if (isAllTrashed)
        backToMainWindow();
    isAllTrashed = false;
}

void ResultViewController::moveToTrash(QObject *sender)
{
    confirmMoveToTrash(sender);
}

void ResultViewController::confirmMoveToTrash(QObject *)
{
    if (m_trashActions)
        m_trashActions->confirmMoveToTrash();
}

void ResultViewController::proceedToTrash()
{
    if (m_trashActions)
        m_trashActions->proceedToTrash();
}

void ResultViewController::reviewBeforeTrash()
{
    if (m_trashActions)
        m_trashActions->reviewBeforeTrash();
}

void ResultViewController::moveToTrashAfterConfirmation()
{
    if (m_trashActions)
        m_trashActions->moveToTrashAfterConfirmation();
}

void ResultViewController::showWindowAfterTrash()
{
    if (m_windowBuilder)
        m_windowBuilder->afterTrash().showWindowAfterTrash();
}
