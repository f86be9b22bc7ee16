// Fixed widgets of the results view.
#include "results/ui/ResultViewSkeleton.h"

#include <QBoxLayout>
#include <QFrame>
#include <QGridLayout>

#include "app/LocalizedString.h"
#include "results/ui/MatchingSlider.h"
#include "results/ui/ResultViewController.h"
#include "results/ui/ResultsGridView.h"

namespace {

QWidget *separator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::VLine);
    return line;
}

QPushButton *button(QWidget *parent, const QString &key)
{
    auto *b = new QPushButton(localizedString(key), parent);
    b->setFlat(true);
    return b;
}

// The box that fills a sheet window and holds its controls.
QWidget *sheetBox(QWidget *window)
{
    auto *box = new QWidget(window);
    auto *column = new QVBoxLayout(window);
    column->addWidget(box);
    return box;
}

} // namespace

void ResultViewSkeleton::build(ResultViewController &c, QWidget *view)
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

QWidget *ResultViewSkeleton::buildToolbar(ResultViewController &c, QWidget *parent)
{
    c.boxTop = new QFrame(parent);
    auto *row = new QHBoxLayout(c.boxTop);
    c.btnBackToSetUp = button(c.boxTop, QStringLiteral("ID_BACK"));
    c.imgViewSepratorBackBtn = separator(c.boxTop);
    c.btnAutoMark = button(c.boxTop, QStringLiteral("ID_AUTO_MARK"));
    c.imgViewSepratorAutoMarkBtn = separator(c.boxTop);
    c.btnUnmark = button(c.boxTop, QStringLiteral("ID_UNMARK"));
    c.imgViewSepratorUnMarkBtn = separator(c.boxTop);
    c.btnSelectionAssistance = button(c.boxTop, QStringLiteral("ID_SELECTION_ASSISTANCE"));
    c.sepratorAssitance = separator(c.boxTop);
    c.btnFileTypeMenu = button(c.boxTop, QStringLiteral("ID_ALL_ITEMS"));
    c.imgViewSeprator = separator(c.boxTop);
    c.btnTypeListing = button(c.boxTop, QStringLiteral("ID_IMAGE_VIEW"));
    c.imgViewSepListType = separator(c.boxTop);
    c.menuFileType = new QMenu(c.btnFileTypeMenu);
    c.menuItemAllFile = c.menuFileType->addAction(localizedString(QStringLiteral("ID_ALL_ITEMS")));
    c.menuItemOnlyImage = c.menuFileType->addAction(localizedString(QStringLiteral("ID_ONLY_IMAGES")));
    c.menuItemOnlyVideo = c.menuFileType->addAction(localizedString(QStringLiteral("ID_ONLY_VIDEOS")));
    c.menuItemAllFile->setData(0);
    c.menuItemOnlyImage->setData(1);
    c.menuItemOnlyVideo->setData(2);
    c.menuListType = new QMenu(c.btnTypeListing);
    c.menuListType->addAction(localizedString(QStringLiteral("ID_LIST_VIEW")));
    c.menuListType->addAction(localizedString(QStringLiteral("ID_IMAGE_VIEW")));
    c.lblMatchingLabel = new QLabel(localizedString(QStringLiteral("ID_MATCHING_LEVEL")), c.boxTop);
    c.sliderMatchingLevel = new MatchingSlider(c.boxTop);
    for (QWidget *w : {static_cast<QWidget *>(c.btnBackToSetUp), c.imgViewSepratorBackBtn.data(),
                       static_cast<QWidget *>(c.btnAutoMark), c.imgViewSepratorAutoMarkBtn.data(),
                       static_cast<QWidget *>(c.btnUnmark), c.imgViewSepratorUnMarkBtn.data(),
                       static_cast<QWidget *>(c.btnSelectionAssistance), c.sepratorAssitance.data(),
                       static_cast<QWidget *>(c.btnFileTypeMenu), c.imgViewSeprator.data(),
                       static_cast<QWidget *>(c.btnTypeListing), c.imgViewSepListType.data()})
        row->addWidget(w);
    row->addStretch(1);
    row->addWidget(c.lblMatchingLabel);
    row->addWidget(c.sliderMatchingLevel);
    return c.boxTop;
}

QWidget *ResultViewSkeleton::buildHeader(ResultViewController &c, QWidget *parent)
{
    c.boxHeaderDetails = new QFrame(parent);
    auto *row = new QHBoxLayout(c.boxHeaderDetails);
    c.lblDuplicateFoundCount = new QLabel(c.boxHeaderDetails);
    c.lblSpaceSavedSize = new QLabel(c.boxHeaderDetails);
    row->addWidget(c.lblDuplicateFoundCount);
    row->addWidget(c.lblSpaceSavedSize);
    row->addStretch(1);
    return c.boxHeaderDetails;
}

QWidget *ResultViewSkeleton::buildHints(ResultViewController &c, QWidget *parent)
{
    auto *holder = new QWidget(parent);
    auto *column = new QVBoxLayout(holder);
    column->setContentsMargins(0, 0, 0, 0);
    c.boxForHint = new GradientBox(holder);
    auto *hint = new QVBoxLayout(c.boxForHint);
    c.lblNosSimillarPhoto = new QLabel(c.boxForHint);
    c.lblMatchingLevelHint = new QLabel(c.boxForHint);
    hint->addWidget(c.lblNosSimillarPhoto);
    hint->addWidget(c.lblMatchingLevelHint);
    c.boxHintPartialMatch = new QFrame(holder);
    auto *partial = new QHBoxLayout(c.boxHintPartialMatch);
    c.lblSimilarPhotoClean = new QLabel(c.boxHintPartialMatch);
    c.sliderForMatch = new MatchingSlider(c.boxHintPartialMatch);
    partial->addWidget(c.lblSimilarPhotoClean);
    partial->addWidget(c.sliderForMatch);
    column->addWidget(c.boxForHint);
    column->addWidget(c.boxHintPartialMatch);
    c.boxForHint->hide();
    c.boxHintPartialMatch->hide();
    c.sliderForMatch->hide();
    return holder;
}

QWidget *ResultViewSkeleton::buildResultsArea(ResultViewController &c, QWidget *parent)
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
    c.boxRightPattern = new QWidget(area);
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

QWidget *ResultViewSkeleton::buildFooter(ResultViewController &c, QWidget *parent)
{
    c.boxBottom = new QFrame(parent);
    auto *row = new QHBoxLayout(c.boxBottom);
    c.boxBotomMultiLang = new QWidget(c.boxBottom);
    auto *labels = new QHBoxLayout(c.boxBotomMultiLang);
    c.lblBottomMarked = new QLabel(c.boxBotomMultiLang);
    c.lblBottomDuplicateGroups = new QLabel(c.boxBotomMultiLang);
    labels->addWidget(c.lblBottomMarked);
    labels->addWidget(c.lblBottomDuplicateGroups);
    c.boxBottomPathBar = new QWidget(c.boxBottom);
    new QHBoxLayout(c.boxBottomPathBar);
    c.btnTrashMarked = button(c.boxBottom, QStringLiteral("ID_TRASH_MARKED"));
    c.btnTrashMarked->setCheckable(true);
    c.btnTrashMarked->setEnabled(false);
    row->addWidget(c.boxBotomMultiLang);
    row->addWidget(c.boxBottomPathBar, 1);
    row->addWidget(c.btnTrashMarked);
    return c.boxBottom;
}

void ResultViewSkeleton::buildScanCompleteSheet(ResultViewController &c, QWidget *view)
{
    c.windowScanComplete = new CustomWindowNag(view);
    c.boxWindowScanComplete = sheetBox(c.windowScanComplete);
    auto *box = new QVBoxLayout(c.boxWindowScanComplete);
    c.progressCircular = new CircularProgressBarView(c.boxWindowScanComplete);
    c.progressCircular->setFixedSize(80, 80);
    c.lblScanned = new QLabel(c.boxWindowScanComplete);
    c.lblDuplicatePhotosFound = new QLabel(c.boxWindowScanComplete);
    c.lblAutoMarkInstructionDesc = new QLabel(c.boxWindowScanComplete);
    c.lblAutoMarkInstructionDesc->setWordWrap(true);
    c.btnAutoMarkPhotos = button(c.boxWindowScanComplete, QStringLiteral("ID_AUTO_MARK"));
    c.btnSelectManually = button(c.boxWindowScanComplete, QStringLiteral("ID_SELECT_MANUALLY"));
    for (QWidget *w : {static_cast<QWidget *>(c.progressCircular), static_cast<QWidget *>(c.lblScanned),
                       static_cast<QWidget *>(c.lblDuplicatePhotosFound),
                       static_cast<QWidget *>(c.lblAutoMarkInstructionDesc),
                       static_cast<QWidget *>(c.btnAutoMarkPhotos), static_cast<QWidget *>(c.btnSelectManually)})
        box->addWidget(w);
    c.windowScanComplete->hide();
}

void ResultViewSkeleton::buildMoveBackSheet(ResultViewController &c, QWidget *view)
{
    c.windowOnMovesBack = new CustomWindowNag(view);
    c.boxMainMoveBack = sheetBox(c.windowOnMovesBack);
    auto *box = new QVBoxLayout(c.boxMainMoveBack);
    c.btnDontShowAgainOnMoveBackWindow
        = new QCheckBox(localizedString(QStringLiteral("ID_DONT_SHOW_CONFIRMATION_ON_MOVING_BACK")), c.boxMainMoveBack);
    c.btnCanelOnMoveBackWindow = button(c.boxMainMoveBack, QStringLiteral("ID_CANCEL"));
    c.btnOkMoveBackWindow = button(c.boxMainMoveBack, QStringLiteral("ID_OK_CAPS"));
    box->addWidget(c.btnDontShowAgainOnMoveBackWindow);
    box->addWidget(c.btnCanelOnMoveBackWindow);
    box->addWidget(c.btnOkMoveBackWindow);
    c.windowOnMovesBack->hide();
}
