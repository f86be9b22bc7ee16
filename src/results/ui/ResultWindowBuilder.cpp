// Construction of the results window's fixed parts.
#include "results/ui/ResultWindowBuilder.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QMenu>

#include "app/LocalizedString.h"
#include "app/OpenFailureTexts.h"
#include "app/ScanGlobals.h"
#include "controls/CommonFuncUi.h"
#include "controls/ControlFonts.h"
#include "controls/DefaultButtonKeys.h"
#include "controls/DoubleSlider.h"
#include "controls/GradientBox.h"
#include "controls/KeyboardMenu.h"
#include "platform/Log.h"
#include "platform/TextFormat.h"
#include "platform/ui/AlertPresenter.h"
#include "platform/ui/BundleImage.h"
#include "platform/ui/FrameGeometry.h"
#include "results/ResultTexts.h"
#include "results/ui/AfterTrashSummaryWindow.h"
#include "results/ui/MetadataTable.h"
#include "results/ui/NoResultHintsPanel.h"
#include "results/ui/OutlineList.h"
#include "results/ui/PreviewPane.h"
#include "results/ui/ResultFileActions.h"
#include "results/ui/ResultSheets.h"
#include "results/ui/ResultViewController.h"
#include "results/ui/ResultWindowStyles.h"
#include "results/ui/ResultsGridView.h"

namespace
{

constexpr int kToolbarTitleSize = 12;
constexpr int kSmallToolbarTitleSize = 10;

QString text(const char *key)
{
    return localizedString(QString::fromLatin1(key));
}

QLabel *sectionTitle(QWidget *box)
{
    auto *title = new QLabel(box);
    title->setStyleSheet(QStringLiteral("color: white; font-weight: bold;"));
    if (auto *column = qobject_cast<QBoxLayout *>(box->layout()))
        column->insertWidget(0, title);
    return title;
}

} // namespace

ResultWindowBuilder::ResultWindowBuilder(ResultViewController &controller, QObject *parent)
    : QObject(parent)
    , m_c(controller)
{
}

ResultWindowBuilder::~ResultWindowBuilder() = default;

void ResultWindowBuilder::build()
{
    hostParts();
    registerNames();
    connectParts();
    ResultWindowStyles::applyTheme(m_c);
    ResultWindowStyles::styleImageButtons(m_c);
    ResultWindowStyles::styleFlatButtons(m_c);
    m_c.btnBackToSetUp->setEnabled(true);
    // The grid's background is the list's odd-group colour, so both listings read as one surface.
    m_c.collectionView->setBackgroundColors({ QColor(51, 58, 81) });
    setFixedTexts();
    setSheetTexts();
    buildContextMenu();
    applyRules(ResultWindowLayout::constructionRules());
    setButtonFontsAndTitles();
    setFontsAndFrames();
    setAuthorizationTexts();
    setBottomTexts();
    setKeyboardOrder();
}

void ResultWindowBuilder::setKeyboardOrder()
{
    // The toolbar, the grid or the list (whichever shows), the metadata beside the preview, and
    // last Trash Marked, which Return presses from anywhere in the window.
    const QList<QWidget *> order { m_c.btnBackToSetUp, m_c.btnAutoMark, m_c.btnUnmark, m_c.btnSelectionAssistance,
        m_c.btnTypeListing, m_c.btnFileTypeMenu, m_c.sliderMatchingLevel, m_c.collectionView,
        m_outline->outlineDupliates(), m_metadata->tvMetaData, m_c.btnTrashMarked };
    for (qsizetype i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
    DefaultButtonKeys::install(m_c.view(), m_c.btnTrashMarked);
}

void ResultWindowBuilder::hostParts()
{
    QWidget *view = m_c.viewResultContainer->window();
    if (!m_c.metadataTable)
        m_c.metadataTable = new MetadataTable(m_c.boxMetadata, &m_c);
    if (!m_c.previewPane)
        m_c.previewPane = new PreviewPane(m_c.boxPreview, m_c.boxBottomPathBar, &m_c);
    if (!m_c.outlineList)
        m_c.outlineList = new OutlineList(m_c, m_c.viewListView, &m_c);
    m_outline = m_c.outlineList;
    m_preview = m_c.previewPane;
    m_metadata = m_c.metadataTable;
    lblPreview = sectionTitle(m_c.boxPreview);
    lblMetaData = sectionTitle(m_c.boxMetadata);
    m_hints = std::make_unique<NoResultHintsPanel>(m_c, m_c, [controller = QPointer<ResultViewController>(&m_c)] {
        return controller && controller->retryAtMinimumMatchingLevel();
    });
    m_sheets = std::make_unique<ResultSheets>(m_c, view);
    m_afterTrash = std::make_unique<AfterTrashSummaryWindow>(m_c, view);
    m_fileActions = std::make_unique<ResultFileActions>();
    m_c.windowAfterTrashFolderFIles = m_afterTrash->windowAfterTrashFolderFIles;
    m_c.windowAfterTrash = m_afterTrash->windowAfterTrash;
    if (auto *box = qobject_cast<GradientBox *>(m_c.boxForHint.data()))
        box->setBackgroundImages(QStringLiteral("center_box_left"), QStringLiteral("center_box_center"),
            QStringLiteral("center_box_right"));
    // The pane's patterned strip stands behind the preview, the partial-match panel has its own box.
    m_c.boxRightPattern->setObjectName(QStringLiteral("boxRightPattern"));
    if (auto *pattern = qobject_cast<GradientBox *>(m_c.boxRightPattern.data()))
        pattern->setRepeatingBackgroundImage(QStringLiteral("right_pattern"));
    if (auto *partial = qobject_cast<GradientBox *>(m_c.boxHintPartialMatch.data()))
        partial->setBackgroundImages(QStringLiteral("center_box_left_Slider"),
            QStringLiteral("center_box_center_Slider"), QStringLiteral("center_box_right_Slider"));
}

void ResultWindowBuilder::connectParts()
{
    ResultViewController &c = m_c;
    QPointer<MetadataTable> table = m_metadata;
    QPointer<PreviewPane> pane = m_preview;
    QPointer<OutlineList> list = m_outline;
    connect(&c, &ResultViewController::fillMetaDataTableRequested, this, [&c, table](const auto &record) {
        if (table)
            table->fillMetaDataTable(record, c.scanSource);
    });
    connect(table, &MetadataTable::fileNotAnswering, this, [pane](const QString &mount) {
        if (pane)
            pane->showNotAnswering(mount);
    });
    connect(&c, &ResultViewController::changeAllComponentsRequested, this, [&c, pane](const auto &record) {
        if (pane)
            pane->changeAllComponents(record, c.scanSource);
    });
    if (!m_preview->reloadMetaData)
        m_preview->reloadMetaData = [table] {
            if (table)
                table->reloadData();
        };
    connect(&c, &ResultViewController::noResultHintsRequested, this,
        [this](bool fresh, bool afterTrash) { m_hints->updateNoResultHints(fresh, afterTrash); });
    connect(&c, &ResultViewController::reloadOutlineRequested, this, [this, list] {
        if (list)
            list->reloadData(m_c.previewedRecord());
    });
    if (!m_outline->fillMetaDataTable)
        m_outline->fillMetaDataTable = [this](const auto &record) { m_c.fillMetaDataTable(record); };
    if (!m_outline->changeAllComponents)
        m_outline->changeAllComponents
            = [this](const auto &record) { m_c.changeAllComponentsOnMainThread(record, true); };
    m_afterTrash->updateNoResultHints = [this] { m_c.updateNoResultHints(false, true); };
    m_afterTrash->summaryArea = [this] {
        QWidget *view = m_c.view();
        QRect area(view->mapToGlobal(QPoint(0, 0)), view->size());
        if (m_c.boxBottom && m_c.boxBottom->isVisibleTo(view))
            area.setBottom(m_c.boxBottom->mapTo(view, QPoint(0, 0)).y() + area.top() - 1);
        return area;
    };
    m_afterTrash->showNothingLeft = [this](GlobalObjects::CompareType type) {
        if (type == GlobalObjects::CompareType::ctMD5) {
            m_c.boxForHint->show();
            m_c.boxHintPartialMatch->hide();
            m_c.sliderForMatch->hide();
        } else {
            m_c.scrollCollectionView->hide();
            m_c.boxHeaderDetails->hide();
        }
    };
    m_fileActions->chosenRecord = [this] { return clickedRecord(); };
    m_fileActions->quickLookUrl = [this](const QUrl &url) { emit m_c.quickLookRequested({ url }); };
    m_fileActions->desktopRefused = [this](const QUrl &url) { showDesktopRefusal(url); };
    connect(m_afterTrash->btnOkOnAfterTrash, &QAbstractButton::clicked, &m_c,
        &ResultViewController::trashMsgCheckedInFIleFolder);
    connect(m_afterTrash->btnClosePhotoInstruction, &QAbstractButton::clicked, this,
        [this] { m_sheets->btnClosePhotoInstructionTapped(m_afterTrash->windowAfterTrash); });
}

std::shared_ptr<ImageFileInfo> ResultWindowBuilder::clickedRecord() const
{
    if (!m_c.isShowingThumbView)
        return m_outline->clickedRecord();
    if (m_c.currentSelectedIndexs.isEmpty())
        return nullptr;
    const IndexPath last = m_c.currentSelectedIndexs.last();
    return m_c.recordAt(last.section, last.item);
}

void ResultWindowBuilder::setFixedTexts()
{
    OutlineList &list = *m_outline;
    list.lblFileName->setText(text("ID_FILE_NAME"));
    list.lblFileSize->setText(text("ID_SIZE"));
    list.lblCreatedDate->setText(text("ID_CREATED_DATE"));
    list.lblFileType->setText(text("ID_FILE_TYPE"));
    list.lblFolderPath->setText(text("ID_FOLDER_PATH"));
    setToolbarTitles(kToolbarTitleSize, false);
    m_c.btnAutoMark->setEnabled(true);
    m_c.btnUnmark->setEnabled(true);
    m_preview->lblNoPhotoSelectedForPreview->setText(text("ID_NO_PHOTOS_SELECTED"));
    m_c.btnTrashMarked->setText(text("ID_TRASH_MARKED"));
    m_c.lblMatchingLabel->setText(text("ID_MATCHING_LEVEL"));
    m_c.btnBackToSetUp->setText(text("ID_BACK"));
    m_c.btnSelectManually->setText(text("ID_SELECT_MANUALLY"));
    m_c.btnAutoMarkPhotos->setText(text("ID_AUTO_MARK_RESULT"));
    for (QWidget *choice :
        { static_cast<QWidget *>(m_c.btnSelectManually), static_cast<QWidget *>(m_c.btnAutoMarkPhotos) })
        applyChange(choice, LayoutChange { 0, 0, 0, {}, {}, 18.0, true, {} });
    m_c.menuItemAllFile->setText(text("ID_ALL_ITEMS"));
    m_c.menuItemOnlyVideo->setText(text("ID_ONLY_VIDEOS"));
    m_c.menuItemOnlyImage->setText(text("ID_ONLY_IMAGES"));
    lblPreview->setText(text("ID_PREVIEW"));
    lblMetaData->setText(text("ID_META_DATA"));
}

void ResultWindowBuilder::setSheetTexts()
{
    AfterTrashSummaryWindow &a = *m_afterTrash;
    const QString album = ScanGlobals::markedPhotosAlbumName();
    a.lblHowToDelFromPhotoLib->setText(text("ID_HOW_TO__DELETE_FROM_PHOTOS_LIB"));
    a.lblAfterTrashStep1->setText(formatText(text("ID_LIBRARY_AFTER_STEP1_OPEN_ALBUM_FILE"), album));
    a.lblAfterTrashTopHeader->setText(
        formatText(text("ID_DUPLICATE_PHOTOS_ARE_MOVED_SUCCESFULLY_PLS_SEE_INSTRUCTIONS"), album));
    a.lblDeletedImagesWillAppearLater->setText(text("ID_MOVING_DELETED_IMAGES_APPEAR_LATER"));
    a.lblSpaceRemoved->setText(text("ID_SPACE_REMOVED"));
    a.lblUniquePhotoRetained->setText(text("ID_UNIQUE_PHOTOS_RETAINED"));
    a.btnOkOnAfterTrash->setTitle(text("ID_BACK"));
    // The link draws its own colour; the sheet's light text colour keeps it readable on the dark sheet.
    a.btnOkOnAfterTrash->setTitleColor(QColor(198, 207, 229));
    m_c.btnDontShowAgainOnMoveBackWindow->setText(text("ID_DONT_SHOW_AGAIN"));
    m_c.btnDontShowAgainOnMoveBackWindow->setStyleSheet(QStringLiteral("color: white;"));
    m_c.lblBelowScannedResult->setText(text("ID_BELOW_SCAN_RESULT_REFRESED"));
    m_c.lblDoYouWantToContinue->setText(text("ID_DOYOU_WANT_CONTINUE"));
    m_c.btnCanelOnMoveBackWindow->setText(text("ID_CANCEL"));
    m_c.btnOkMoveBackWindow->setText(text("ID_OK"));
    m_c.lblMatchingLevelHint->setWordWrap(true);
}

void ResultWindowBuilder::setAuthorizationTexts()
{
    ResultSheets &s = *m_sheets;
    const QString app = QCoreApplication::applicationName();
    // The album is a file of this program: what stands in the way is that file's permissions.
    s.lblAuthorizationHeading->setText(formatText(text("ID_ALBUM_FILE_NOT_WRITTEN"), app));
    s.lblAuthorizationSubHeading->setText(formatText(text("ID_ALBUM_FILE_CHECK_STEPS"), app));
    const QString point = QStringLiteral("%d. %@");
    s.lblAuthorizationFirstPoint->setText(formatText(point, 1, text("ID_ALBUM_FILE_POINT_SHOW")));
    s.lblAuthorizationSecondPoint->setText(formatText(point, 2, text("ID_ALBUM_FILE_POINT_WRITABLE")));
    s.lblAuthorizationThirdPoint->setText(formatText(point, 3, text("ID_ALBUM_FILE_POINT_RETRY")));
    for (QLabel *unused : { s.lblAuthorizationFourthPoint.data(), s.lblAuthorizationFifthPoint.data(),
             s.lblAuthorizationSixthPoint.data() })
        unused->hide();
    s.btnOkAuthorization->setText(text("ID_OK"));
}

void ResultWindowBuilder::buildContextMenu()
{
    if (!m_c.menuForCollectionView)
        m_c.menuForCollectionView = new QMenu(m_c.viewResultContainer);
    QMenu *menu = m_c.menuForCollectionView;
    menuItemRevealInFinder = menu->addAction(text("ID_REVEAL_IN_FINDER"));
    menuItemRemoveFromPhotoList = menu->addAction(text("ID_REMOVE_FROM_PHOTOLIST"));
    menuItemOpen = menu->addAction(text("ID_OPEN"));
    menuItemQuickLook = menu->addAction(text("ID_QUICK_LOOK"));
    m_c.collectionView->setMenu(menu);
    ResultFileActions *actions = m_fileActions.get();
    connect(menuItemOpen, &QAction::triggered, this, [actions] { actions->openFile(); });
    connect(menuItemRevealInFinder, &QAction::triggered, this, [actions] { actions->revealInFinder(); });
    connect(menuItemQuickLook, &QAction::triggered, this, [actions] { actions->quickLook(); });
    m_outline->showContextMenu
        = [menu](const QPoint &at, bool byKeyboard) { KeyboardMenu::popup(menu, at, byKeyboard); };
}

void ResultWindowBuilder::setBottomTexts()
{
    m_c.boxBotomMultiLang->show();
    m_preview->pathViewController->hide();
    m_c.lblBottomMarked->setText(ResultTexts::photosMarked(m_c.countMarked));
    const QString groups = ResultTexts::duplicatesInGroups(0, 0);
    m_c.lblBottomDuplicateGroups->setText(groups);
    m_c.lblBottomDuplicateGroups->setToolTip(groups);
}

void ResultWindowBuilder::registerNames()
{
    ResultViewController &c = m_c;
    AfterTrashSummaryWindow &a = *m_afterTrash;
    ResultSheets &s = *m_sheets;
    OutlineList &l = *m_outline;
    const std::initializer_list<std::pair<const char *, QWidget *>> named { { "lblDuplicatePhotosFound",
                                                                                c.lblDuplicatePhotosFound },
        { "lblMatchingLabel", c.lblMatchingLabel }, { "sliderMatchingLevel", c.sliderMatchingLevel },
        { "lblDuplicateFoundCount", c.lblDuplicateFoundCount }, { "lblSpaceSavedSize", c.lblSpaceSavedSize },
        { "imgSeparator", c.imgViewSeprator }, { "btnOkMoveBackWindow", c.btnOkMoveBackWindow },
        { "btnCanelOnMoveBackWindow", c.btnCanelOnMoveBackWindow },
        { "btnDontShowAgainOnMoveBackWindow", c.btnDontShowAgainOnMoveBackWindow },
        { "lblBottomDuplicateGroups", c.lblBottomDuplicateGroups }, { "lblBottomMarked", c.lblBottomMarked },
        { "lblScanned", c.lblScanned }, { "lblBelowScannedResult", c.lblBelowScannedResult }, { "lblAutoMarkInstructionDesc", c.lblAutoMarkInstructionDesc },
        { "lblMatchingLevelHint", c.lblMatchingLevelHint },
        { "lblSimilarPhotoClean", c.lblSimilarPhotoClean }, { "btnAutoMarkPhotos", c.btnAutoMarkPhotos },
        { "btnSelectManually", c.btnSelectManually },
        { "lblHintThereAreStillsimilarphotos", m_hints->lblHintThereAreStillsimilarphotos },
        { "lblPreview", lblPreview }, { "lblMetaData", lblMetaData }, { "lblFileName", l.lblFileName },
        { "lblFileSize", l.lblFileSize }, { "lblCreatedDate", l.lblCreatedDate },
        { "lblFileType", l.lblFileType }, { "lblFolderPath", l.lblFolderPath },
        { "lblAfterTrashStep1", a.lblAfterTrashStep1 }, { "lblDuplicatesRemoved", a.lblDuplicatesRemoved },
        { "lblSpaceRemoved", a.lblSpaceRemoved }, { "lblUniquePhotoRetained", a.lblUniquePhotoRetained },
        { "lblDeletedImagesWillAppearLater", a.lblDeletedImagesWillAppearLater },
        { "lblPhtosAppTitel", s.lblPhtosAppTitel },
        { "btnCountinueForPhotosApp", s.btnCountinueForPhotosApp },
        { "btnPreviousForPhotosApp", s.btnPreviousForPhotosApp },
        { "btnCancelForPhotosApp", s.btnCancelForPhotosApp },
        { "btnNextForPhotosApp", s.btnNextForPhotosApp },
        { "lblAuthorizationFirstPoint", s.lblAuthorizationFirstPoint },
        { "lblAuthorizationSecondPoint", s.lblAuthorizationSecondPoint },
        { "lblAuthorizationThirdPoint", s.lblAuthorizationThirdPoint },
        { "lblAuthorizationFourthPoint", s.lblAuthorizationFourthPoint },
        { "lblAuthorizationFifthPoint", s.lblAuthorizationFifthPoint },
        { "lblAuthorizationSixthPoint", s.lblAuthorizationSixthPoint } };
    for (const auto &[name, widget] : named) {
        if (widget)
            m_named.insert(QString::fromLatin1(name), widget);
    }
}

void ResultWindowBuilder::applyRules(const std::vector<LayoutRule> &table)
{
    for (const LayoutRule &rule : ResultWindowLayout::rulesFor(table, Localization::currentLanguageCode())) {
        for (const QString &name : rule.controls)
            applyChange(m_named.value(name), rule.change);
    }
}

// Fonts always apply. Frames apply as given to a control placed by hand; for one that a layout
// places, only the width change applies (as a minimum width), since the layout owns its position.
void ResultWindowBuilder::applyChange(QWidget *widget, const LayoutChange &change)
{
    if (!widget)
        return;
    if (change.fontSize) {
        const QFont::Weight weight = change.bold ? QFont::Bold : QFont::Normal;
        widget->setFont(ControlFonts::systemFont(*change.fontSize, weight));
        if (auto *image = qobject_cast<IMGButton *>(widget)) {
            image->setFontSizeForButton(int(*change.fontSize));
            image->setMakeBoldFont(change.bold);
        }
    }
    if (change.titleMargins) {
        const int margin = int(*change.titleMargins);
        widget->setContentsMargins(0, margin, 0, margin);
        if (auto *image = qobject_cast<IMGButton *>(widget)) {
            image->setMarginTop(margin);
            image->setMarginBottom(margin);
        }
    }
    QWidget *parent = widget->parentWidget();
    const bool laidOut = parent && parent->layout() && parent->layout()->indexOf(widget) >= 0;
    if (laidOut) {
        if (change.dw != 0)
            widget->setMinimumWidth(std::max(0, widget->sizeHint().width() + int(change.dw)));
        return;
    }
    QRectF frame = change.frame.value_or(FrameGeometry::frameInBottomLeft(widget));
    if (!change.frame)
        frame.adjust(change.dx, change.dy, change.dx + change.dw, change.dy);
    if (change.height)
        frame.setHeight(*change.height);
    FrameGeometry::setFrameFromBottomLeft(widget, frame);
}

void ResultWindowBuilder::setButtonFontsAndTitles()
{
    applyRules(ResultWindowLayout::buttonFontsAndTitlesRules());
    layoutTopToolbar();
}

void ResultWindowBuilder::setFontsAndFrames()
{
    applyRules(ResultWindowLayout::fontsAndFramesRules());
}

void ResultWindowBuilder::setToolbarTitles(int fontSize, bool withListing)
{
    for (auto [button, key] : { std::pair { m_c.btnAutoMark.data(), "ID_AUTO_MARK" },
             std::pair { m_c.btnUnmark.data(), "ID_UNMARK_ALL" },
             std::pair { m_c.btnSelectionAssistance.data(), "ID_SELECTION_ASSISTANCE" },
             std::pair { m_c.btnFileTypeMenu.data(), "ID_ALL_ITEMS" } })
        CommonFuncUi::setTextFontAndColorOn(button, text(key), fontSize);
    if (!withListing)
        return;
    CommonFuncUi::setTextFontAndColorOn(m_c.btnTypeListing, text("ID_IMAGE_VIEW"), fontSize);
    const QString image = m_c.isShowingThumbView ? QStringLiteral("thumb_view") : QStringLiteral("list_view");
    m_c.btnTypeListing->setIcon(QIcon(BundleImage::named(image).pixmap(QSize(16, 16))));
}

void ResultWindowBuilder::layoutTopToolbar()
{
    const QString language = Localization::currentLanguageCode();
    if (ResultWindowLayout::toolbarUsesSmallTitles(language))
        setToolbarTitles(kSmallToolbarTitleSize, true);
    ToolbarInput input { language, double(m_c.btnAutoMark->x()), CommonFuncUi::fittingWidth(m_c.btnAutoMark),
        CommonFuncUi::fittingWidth(m_c.btnUnmark), CommonFuncUi::fittingWidth(m_c.btnSelectionAssistance),
        CommonFuncUi::fittingWidth(m_c.btnTypeListing), double(m_c.btnFileTypeMenu->sizeHint().width()),
        CommonFuncUi::fittingWidth(m_c.btnTrashMarked), double(m_c.viewResultContainer->window()->width()) };
    const std::optional<ToolbarLayout> t = ResultWindowLayout::layoutTopToolbar(input);
    if (!t)
        return;
    // The tool bar's row places the buttons; their widths follow the flow.
    m_c.btnAutoMark->setFixedWidth(int(t->autoMarkWidth));
    m_c.btnUnmark->setFixedWidth(int(t->unmarkWidth));
    m_c.btnSelectionAssistance->setFixedWidth(int(t->selectionWidth));
    m_c.btnTypeListing->setFixedWidth(int(t->typeListingWidth));
    m_c.btnFileTypeMenu->setFixedWidth(int(t->fileTypeMenuWidth));
    m_c.btnTrashMarked->setFixedWidth(int(t->trashMarkedWidth));
    m_c.btnTrashMarked->update();
}

void ResultWindowBuilder::layoutBottomBar()
{
    const BottomBarLayout b = ResultWindowLayout::layoutBottomBar(
        { double(m_c.lblBottomDuplicateGroups->x()), CommonFuncUi::fittingWidth(m_c.lblBottomDuplicateGroups),
            CommonFuncUi::fittingWidth(m_c.lblBottomMarked), 1.0, double(m_c.boxBottom->width()) });
    m_c.lblBottomDuplicateGroups->setFixedWidth(int(b.groupsWidth));
    m_c.lblBottomMarked->setFixedWidth(int(b.markedWidth));
}

void ResultWindowBuilder::showDesktopRefusal(const QUrl &url)
{
    Log::line(QStringLiteral("The desktop opened nothing for ") + url.toString());
    const OpenFailureText failure = OpenFailureTexts::forLocalUrl(url);
    AlertSpec alert;
    alert.messageText = failure.message;
    alert.informativeText = failure.informative;
    alert.buttons = { localizedString(QStringLiteral("ID_OK_CAPS")) };
    AlertPresenter::current().runAlert(alert, m_c.view()->window());
}
