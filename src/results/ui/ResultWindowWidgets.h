// The results window's widgets, filled by ResultViewSkeleton and the window builder; null until the
// view is loaded. A public base of ResultViewController; the window's helpers take it instead of
// the controller.
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>

#include "controls/CFMButton.h"
#include "controls/CircularProgressBarView.h"
#include "controls/CustomWindowNag.h"
#include "controls/GradientBox.h"
#include "controls/IMGButton.h"

class DoubleSlider;
class MetadataTable;
class OutlineList;
class PreviewPane;
class ResultsGridView;
class QWidget;

struct ResultWindowWidgets
{
    // Tool bar and listing.
    QPointer<IMGButton> btnBackToSetUp;
    QPointer<QPushButton> btnAutoMark, btnUnmark, btnSelectionAssistance, btnFileTypeMenu, btnTypeListing;
    QPointer<QAction> menuItemAllFile, menuItemOnlyImage, menuItemOnlyVideo;
    QPointer<QMenu> menuFileType, menuListType;
    QPointer<QWidget> imgViewSeprator, imgViewSepratorUnMarkBtn, imgViewSepratorAutoMarkBtn, imgViewSepratorBackBtn,
        imgViewSepListType, sepratorAssitance;
    QPointer<QWidget> viewResultContainer, viewThumbnailView, viewListView;
    QPointer<ResultsGridView> collectionView;
    // The grid scrolls itself, so its scroll view is the grid.
    QPointer<QWidget> scrollCollectionView;
    QPointer<QMenu> menuForCollectionView;

    // Results area and right-hand pane (the preview pane and metadata table go into these).
    QPointer<QWidget> boxLeft, boxRightPattern, boxPreview, boxMetadata;

    // Header, hints and matching.
    QPointer<QWidget> boxTop, boxHeaderDetails, boxHintPartialMatch;
    QPointer<GradientBox> boxForHint;
    QPointer<QLabel> lblDuplicateFoundCount, lblSpaceSavedSize, lblNosSimillarPhoto, lblMatchingLevelHint,
        lblSimilarPhotoClean, lblMatchingLabel;
    QPointer<DoubleSlider> sliderMatchingLevel, sliderForMatch;

    // Footer (the bottom path bar goes into boxBottomPathBar).
    QPointer<QWidget> boxBottom, boxBotomMultiLang, boxBottomPathBar;
    QPointer<QLabel> lblBottomMarked, lblBottomDuplicateGroups;
    QPointer<IMGButton> btnTrashMarked;

    // Scan-complete sheet.
    QPointer<CustomWindowNag> windowScanComplete;
    QPointer<QWidget> boxWindowScanComplete;
    QPointer<CircularProgressBarView> progressCircular;
    QPointer<QLabel> lblDuplicatePhotosFound, lblScanned, lblAutoMarkInstructionDesc;
    QPointer<IMGButton> btnAutoMarkPhotos, btnSelectManually;

    // Back-to-main confirmation sheet.
    QPointer<CustomWindowNag> windowOnMovesBack;
    QPointer<QWidget> boxMainMoveBack;
    QPointer<QLabel> lblDoYouWantToContinue, lblBelowScannedResult;
    QPointer<QCheckBox> btnDontShowAgainOnMoveBackWindow;
    QPointer<CFMButton> btnCanelOnMoveBackWindow;
    QPointer<IMGButton> btnOkMoveBackWindow;

    // The panes plugged into the host places: list, preview and metadata.
    QPointer<OutlineList> outlineList;
    QPointer<PreviewPane> previewPane;
    QPointer<MetadataTable> metadataTable;

    // The after-trash sheets: folder files and library album.
    QPointer<CustomWindowNag> windowAfterTrashFolderFIles;
    QPointer<CustomWindowNag> windowAfterTrash;
};
