// Fixed widgets of the results view.
#include "results/ui/ResultViewSkeleton.h"

#include <QActionGroup>
#include <QBoxLayout>
#include <QFrame>
#include <QGridLayout>

#include "controls/CFMButton.h"
#include "controls/IMGButton.h"

#include "app/LocalizedString.h"
#include "controls/DoubleSlider.h"
#include "results/ui/ResultWindowWidgets.h"
#include "results/ui/ResultsGridView.h"

namespace {

constexpr int kToolbarHeight = 52;
constexpr int kToolbarButtonHeight = 32;
constexpr int kFooterHeight = 56;
constexpr int kStatusBarHeight = 30;
// The partial-match slider keeps a length a level can be picked on.
constexpr int kPartialMatchSliderWidth = 240;

// The thin two-tone line between tool bar buttons; its artwork is set with the other images.
QWidget *separator(QWidget *parent)
{
    auto *line = new GradientBox(parent);
    line->setFixedSize(2, kToolbarButtonHeight);
    return line;
}

QPushButton *button(QWidget *parent, const QString &key)
{
    auto *b = new QPushButton(localizedString(key), parent);
    b->setFlat(true);
    b->setFixedHeight(kToolbarButtonHeight);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

IMGButton *imageButton(QWidget *parent, const QString &key, QSize size)
{
    auto *b = new IMGButton(parent);
    b->setText(localizedString(key));
    b->setFixedSize(size);
    return b;
}

// The box that fills a sheet window and holds its controls.
QWidget *sheetBox(QWidget *window, QSize size)
{
    window->setFixedSize(size);
    auto *box = new QFrame(window);
    auto *column = new QVBoxLayout(window);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(box);
    return box;
}

// A sheet's header strip with its title label, added as the first row of the sheet's column.
QLabel *sheetHeader(QVBoxLayout *column, QWidget *box, const QString &name, int height)
{
    auto *header = new GradientBox(box);
    header->setObjectName(name);
    header->setFixedHeight(height);
    auto *headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(20, 0, 20, 0);
    auto *title = new QLabel(header);
    headerRow->addWidget(title);
    column->addWidget(header);
    return title;
}

} // namespace

void ResultViewSkeleton::build(ResultWindowWidgets &c, QWidget *view)
{
    auto *layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(buildToolbar(c, view));
    layout->addWidget(buildHeader(c, view));
    layout->addWidget(buildHints(c, view));
    layout->addWidget(buildResultsArea(c, view), 1);
    layout->addWidget(buildFooter(c, view));
    buildScanCompleteSheet(c, view);
    buildMoveBackSheet(c, view);
}

QWidget *ResultViewSkeleton::buildToolbar(ResultWindowWidgets &c, QWidget *parent)
{
    c.boxTop = new GradientBox(parent);
    c.boxTop->setFixedHeight(kToolbarHeight);
    auto *row = new QHBoxLayout(c.boxTop);
    row->setContentsMargins(12, 0, 16, 0);
    row->setSpacing(0);
    c.btnBackToSetUp = imageButton(c.boxTop, QStringLiteral("ID_BACK"), QSize(84, kToolbarButtonHeight));
    c.imgViewSepratorBackBtn = separator(c.boxTop);
    c.btnAutoMark = button(c.boxTop, QStringLiteral("ID_AUTO_MARK"));
    c.imgViewSepratorAutoMarkBtn = separator(c.boxTop);
    c.btnUnmark = button(c.boxTop, QStringLiteral("ID_UNMARK"));
    c.imgViewSepratorUnMarkBtn = separator(c.boxTop);
    c.btnSelectionAssistance = button(c.boxTop, QStringLiteral("ID_SELECTION_ASSISTANCE"));
    // It offers no action yet, so it does not invite a click.
    c.btnSelectionAssistance->setEnabled(false);
    c.sepratorAssitance = separator(c.boxTop);
    c.btnTypeListing = button(c.boxTop, QStringLiteral("ID_IMAGE_VIEW"));
    c.imgViewSepListType = separator(c.boxTop);
    c.btnFileTypeMenu = button(c.boxTop, QStringLiteral("ID_ALL_ITEMS"));
    c.imgViewSeprator = separator(c.boxTop);
    c.menuFileType = new QMenu(c.btnFileTypeMenu);
    c.menuItemAllFile = c.menuFileType->addAction(localizedString(QStringLiteral("ID_ALL_ITEMS")));
    c.menuItemOnlyImage = c.menuFileType->addAction(localizedString(QStringLiteral("ID_ONLY_IMAGES")));
    c.menuItemOnlyVideo = c.menuFileType->addAction(localizedString(QStringLiteral("ID_ONLY_VIDEOS")));
    c.menuItemAllFile->setData(0);
    c.menuItemOnlyImage->setData(1);
    c.menuItemOnlyVideo->setData(2);
    auto *fileTypes = new QActionGroup(c.menuFileType);
    for (QAction *item : { c.menuItemAllFile.data(), c.menuItemOnlyImage.data(), c.menuItemOnlyVideo.data() }) {
        item->setCheckable(true);
        fileTypes->addAction(item);
    }
    c.menuItemAllFile->setChecked(true);
    c.menuListType = new QMenu(c.btnTypeListing);
    c.menuListType->addAction(localizedString(QStringLiteral("ID_LIST_VIEW")));
    c.menuListType->addAction(localizedString(QStringLiteral("ID_IMAGE_VIEW")));
    c.lblMatchingLabel = new QLabel(localizedString(QStringLiteral("ID_MATCHING_LEVEL")), c.boxTop);
    c.sliderMatchingLevel = new DoubleSlider(c.boxTop);
    c.sliderMatchingLevel->setContinuousSteps(DoubleSlider::kFineSteps);
    for (QWidget *w : {static_cast<QWidget *>(c.btnBackToSetUp), c.imgViewSepratorBackBtn.data(),
                       static_cast<QWidget *>(c.btnAutoMark), c.imgViewSepratorAutoMarkBtn.data(),
                       static_cast<QWidget *>(c.btnUnmark), c.imgViewSepratorUnMarkBtn.data(),
                       static_cast<QWidget *>(c.btnSelectionAssistance), c.sepratorAssitance.data(),
                       static_cast<QWidget *>(c.btnTypeListing), c.imgViewSepListType.data(),
                       static_cast<QWidget *>(c.btnFileTypeMenu), c.imgViewSeprator.data()})
        row->addWidget(w);
    row->insertSpacing(1, 10);
    row->addStretch(1);
    row->addWidget(c.lblMatchingLabel);
    row->addSpacing(8);
    c.sliderMatchingLevel->setFixedSize(147, 24);
    row->addWidget(c.sliderMatchingLevel);
    return c.boxTop;
}

QWidget *ResultViewSkeleton::buildHeader(ResultWindowWidgets &c, QWidget *parent)
{
    c.boxHeaderDetails = new QWidget(parent);
    auto *row = new QHBoxLayout(c.boxHeaderDetails);
    row->setContentsMargins(12, 8, 12, 8);
    // The counts sit on a light inner box, like a card on the dark strip.
    auto *inner = new QFrame(c.boxHeaderDetails);
    inner->setObjectName(QStringLiteral("boxHeaderDetailInner"));
    auto *counts = new QHBoxLayout(inner);
    counts->setContentsMargins(14, 4, 14, 4);
    counts->setSpacing(12);
    c.lblDuplicateFoundCount = new QLabel(inner);
    auto *line = new QFrame(inner);
    line->setObjectName(QStringLiteral("headerCountsSeparator"));
    line->setFixedSize(1, 18);
    c.lblSpaceSavedSize = new QLabel(inner);
    counts->addWidget(c.lblDuplicateFoundCount);
    counts->addWidget(line);
    counts->addWidget(c.lblSpaceSavedSize);
    row->addWidget(inner);
    row->addStretch(1);
    return c.boxHeaderDetails;
}

QWidget *ResultViewSkeleton::buildHints(ResultWindowWidgets &c, QWidget *parent)
{
    auto *holder = new QWidget(parent);
    auto *column = new QVBoxLayout(holder);
    column->setContentsMargins(12, 10, 12, 0);
    column->setSpacing(8);
    c.boxForHint = new GradientBox(holder);
    auto *hint = new QVBoxLayout(c.boxForHint);
    hint->setContentsMargins(20, 14, 20, 14);
    hint->setSpacing(6);
    c.lblNosSimillarPhoto = new QLabel(c.boxForHint);
    c.lblMatchingLevelHint = new QLabel(c.boxForHint);
    hint->addWidget(c.lblNosSimillarPhoto);
    hint->addWidget(c.lblMatchingLevelHint);
    c.boxHintPartialMatch = new GradientBox(holder);
    c.boxHintPartialMatch->setObjectName(QStringLiteral("boxHintPartialMatch"));
    // Three rows, so the texts keep the panel's width: the headline, the slider with its caption,
    // and the note below.
    auto *partial = new QVBoxLayout(c.boxHintPartialMatch);
    partial->setContentsMargins(20, 10, 20, 10);
    partial->setSpacing(6);
    auto *headline = new QHBoxLayout;
    auto *level = new QHBoxLayout;
    headline->setSpacing(12);
    level->setSpacing(12);
    c.lblSimilarPhotoClean = new QLabel(c.boxHintPartialMatch);
    c.sliderForMatch = new DoubleSlider(c.boxHintPartialMatch);
    c.sliderForMatch->setContinuousSteps(DoubleSlider::kFineSteps);
    c.sliderForMatch->setMinimumWidth(kPartialMatchSliderWidth);
    headline->addWidget(c.lblSimilarPhotoClean);
    level->addWidget(c.sliderForMatch);
    level->addStretch(1);
    partial->addLayout(headline);
    partial->addLayout(level);
    column->addWidget(c.boxForHint);
    column->addWidget(c.boxHintPartialMatch);
    c.boxForHint->hide();
    c.boxHintPartialMatch->hide();
    c.sliderForMatch->hide();
    return holder;
}

QWidget *ResultViewSkeleton::buildResultsArea(ResultWindowWidgets &c, QWidget *parent)
{
    auto *area = new QWidget(parent);
    auto *row = new QHBoxLayout(area);
    row->setContentsMargins(0, 0, 0, 0);
    c.boxLeft = new QWidget(area);
    auto *left = new QVBoxLayout(c.boxLeft);
    left->setContentsMargins(0, 0, 0, 0);
    c.viewResultContainer = new QWidget(c.boxLeft);
    // The grid and the list share one place; only one of them is shown at a time.
    auto *stack = new QGridLayout(c.viewResultContainer);
    stack->setContentsMargins(0, 0, 0, 0);
    c.viewThumbnailView = new QWidget(c.viewResultContainer);
    auto *thumbs = new QVBoxLayout(c.viewThumbnailView);
    thumbs->setContentsMargins(0, 0, 0, 0);
    c.collectionView = new ResultsGridView(c.viewThumbnailView);
    c.scrollCollectionView = c.collectionView.data();
    thumbs->addWidget(c.collectionView);
    c.viewListView = new QWidget(c.viewResultContainer);
    new QVBoxLayout(c.viewListView);
    stack->addWidget(c.viewThumbnailView, 0, 0);
    stack->addWidget(c.viewListView, 0, 0);
    left->addWidget(c.viewResultContainer);
    c.boxRightPattern = new GradientBox(area);
    c.boxRightPattern->setFixedWidth(300);
    auto *right = new QVBoxLayout(c.boxRightPattern);
    c.boxPreview = new QWidget(c.boxRightPattern);
    c.boxMetadata = new QWidget(c.boxRightPattern);
    new QVBoxLayout(c.boxPreview);
    new QVBoxLayout(c.boxMetadata);
    right->addWidget(c.boxPreview, 1);
    right->addWidget(c.boxMetadata, 1);
    row->addWidget(c.boxLeft, 1);
    row->addWidget(c.boxRightPattern);
    return area;
}

QWidget *ResultViewSkeleton::buildFooter(ResultWindowWidgets &c, QWidget *parent)
{
    c.boxBottom = new QFrame(parent);
    auto *column = new QVBoxLayout(c.boxBottom);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    // The Trash Marked button stands centred on the footer strip; the status bar runs below it.
    auto *footer = new GradientBox(c.boxBottom);
    footer->setObjectName(QStringLiteral("boxFooter"));
    footer->setFixedHeight(kFooterHeight);
    auto *centre = new QHBoxLayout(footer);
    centre->setContentsMargins(0, 0, 0, 0);
    c.btnTrashMarked = imageButton(footer, QStringLiteral("ID_TRASH_MARKED"), QSize(270, 36));
    c.btnTrashMarked->setEnabled(false);
    centre->addStretch(1);
    centre->addWidget(c.btnTrashMarked);
    centre->addStretch(1);
    auto *status = new QWidget(c.boxBottom);
    status->setFixedHeight(kStatusBarHeight);
    auto *row = new QHBoxLayout(status);
    row->setContentsMargins(10, 0, 10, 0);
    c.boxBotomMultiLang = new QWidget(status);
    auto *labels = new QHBoxLayout(c.boxBotomMultiLang);
    labels->setContentsMargins(0, 0, 0, 0);
    labels->setSpacing(5);
    c.lblBottomMarked = new QLabel(c.boxBotomMultiLang);
    c.lblBottomDuplicateGroups = new QLabel(c.boxBotomMultiLang);
    labels->addWidget(c.lblBottomMarked);
    labels->addWidget(c.lblBottomDuplicateGroups);
    c.boxBottomPathBar = new QWidget(status);
    new QHBoxLayout(c.boxBottomPathBar);
    row->addWidget(c.boxBotomMultiLang);
    row->addWidget(c.boxBottomPathBar, 1);
    column->addWidget(footer);
    column->addWidget(status);
    return c.boxBottom;
}

void ResultViewSkeleton::buildScanCompleteSheet(ResultWindowWidgets &c, QWidget *view)
{
    c.windowScanComplete = new CustomWindowNag(view);
    c.boxWindowScanComplete = sheetBox(c.windowScanComplete, QSize(560, 320));
    auto *column = new QVBoxLayout(c.boxWindowScanComplete);
    column->setContentsMargins(0, 0, 0, 20);
    column->setSpacing(0);
    c.lblScanned = sheetHeader(column, c.boxWindowScanComplete, QStringLiteral("boxAfterScanHeader"), 50);
    auto *body = new QHBoxLayout;
    body->setContentsMargins(30, 16, 20, 8);
    body->setSpacing(24);
    c.progressCircular = new CircularProgressBarView(c.boxWindowScanComplete);
    c.progressCircular->setFixedSize(130, 130);
    auto *texts = new QVBoxLayout;
    texts->setSpacing(8);
    c.lblDuplicatePhotosFound = new QLabel(c.boxWindowScanComplete);
    c.lblAutoMarkInstructionDesc = new QLabel(c.boxWindowScanComplete);
    c.lblAutoMarkInstructionDesc->setWordWrap(true);
    texts->addStretch(1);
    texts->addWidget(c.lblDuplicatePhotosFound);
    texts->addWidget(c.lblAutoMarkInstructionDesc);
    texts->addStretch(1);
    body->addWidget(c.progressCircular, 0, Qt::AlignVCenter);
    body->addLayout(texts, 1);
    auto *choices = new QHBoxLayout;
    choices->setContentsMargins(20, 0, 20, 0);
    choices->setSpacing(16);
    c.btnSelectManually = imageButton(c.boxWindowScanComplete, QStringLiteral("ID_SELECT_MANUALLY"), QSize(240, 44));
    c.btnAutoMarkPhotos = imageButton(c.boxWindowScanComplete, QStringLiteral("ID_AUTO_MARK"), QSize(240, 44));
    choices->addStretch(1);
    choices->addWidget(c.btnSelectManually);
    choices->addWidget(c.btnAutoMarkPhotos);
    choices->addStretch(1);
    column->addLayout(body, 1);
    column->addLayout(choices);
    // Return and Escape both leave the groups to be marked by hand.
    c.windowScanComplete->setKeyButtons(c.btnSelectManually, c.btnSelectManually);
    c.windowScanComplete->hide();
}

void ResultViewSkeleton::buildMoveBackSheet(ResultWindowWidgets &c, QWidget *view)
{
    c.windowOnMovesBack = new CustomWindowNag(view);
    c.boxMainMoveBack = sheetBox(c.windowOnMovesBack, QSize(460, 200));
    auto *column = new QVBoxLayout(c.boxMainMoveBack);
    column->setContentsMargins(0, 0, 0, 16);
    column->setSpacing(0);
    c.lblDoYouWantToContinue
        = sheetHeader(column, c.boxMainMoveBack, QStringLiteral("boxResultRefreshHeader"), 44);
    auto *body = new QVBoxLayout;
    body->setContentsMargins(20, 16, 20, 0);
    body->setSpacing(12);
    c.lblBelowScannedResult = new QLabel(c.boxMainMoveBack);
    c.lblBelowScannedResult->setWordWrap(true);
    c.btnDontShowAgainOnMoveBackWindow
        = new QCheckBox(localizedString(QStringLiteral("ID_DONT_SHOW_CONFIRMATION_ON_MOVING_BACK")), c.boxMainMoveBack);
    body->addWidget(c.lblBelowScannedResult);
    body->addWidget(c.btnDontShowAgainOnMoveBackWindow);
    body->addStretch(1);
    c.btnCanelOnMoveBackWindow = new CFMButton(c.boxMainMoveBack);
    c.btnCanelOnMoveBackWindow->setText(localizedString(QStringLiteral("ID_CANCEL")));
    c.btnCanelOnMoveBackWindow->setFixedSize(100, 28);
    c.btnOkMoveBackWindow = imageButton(c.boxMainMoveBack, QStringLiteral("ID_OK_CAPS"), QSize(100, 28));
    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(20, 0, 20, 0);
    buttons->setSpacing(10);
    buttons->addStretch(1);
    buttons->addWidget(c.btnCanelOnMoveBackWindow);
    buttons->addWidget(c.btnOkMoveBackWindow);
    column->addLayout(body, 1);
    column->addLayout(buttons);
    c.windowOnMovesBack->setKeyButtons(c.btnOkMoveBackWindow, c.btnCanelOnMoveBackWindow);
    c.windowOnMovesBack->hide();
}
