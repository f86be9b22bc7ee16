// The results window's controller: receives the groups of a finished scan, filters them by match
// level and file type, counts them, and shows them in the thumbnail grid inside the main window in
// place of the scan view. Its widget-free state (groups, filters, counts) is ResultState; the grid's
// data source and selection handling is ResultGridSource; the fixed widgets come from
// ResultViewSkeleton, which also leaves the places where the list, preview, metadata and sheets go.
#pragma once

#include <memory>
#include <vector>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QList>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QUrl>

#include "app/ScanGlobals.h"
#include "controls/CFMButton.h"
#include "controls/CircularProgressBarView.h"
#include "controls/CustomWindowNag.h"
#include "controls/GradientBox.h"
#include "controls/IMGButton.h"
#include "controls/IndexPath.h"
#include "results/MatchingLevel.h"
#include "results/ResultState.h"
#include "results/ui/ResultWindowWidgets.h"

class DuplicatesGroup;
class ImageFileInfo;
class DoubleSlider;
class MetadataTable;
class OutlineList;
class PreviewPane;
class ResultGridSource;
class ResultWindowBuilder;
class ResultsGridView;
class ScanWrapper;
class ThumbnailLoader;
class TrashMarkedActions;
class QWidget;

class ResultViewController : public QObject, public ResultWindowWidgets, public ResultState
{
    Q_OBJECT
public:
    explicit ResultViewController(QObject *parent = nullptr);
    ~ResultViewController() override;

    // The results view; the first call builds it (viewDidLoad).
    QWidget *view();
    bool isViewLoaded() const { return !m_view.isNull(); }
    void viewDidLoad();

    // Entry after a scan, on the GUI thread, with the groups and the values of the scan that found
    // them (its source, mode and thresholds).
    void invokeCollectionView(
        const std::vector<std::shared_ptr<DuplicatesGroup>> &groups, const ScanGlobalsSnapshot &scan);
    void invokeCollectionView(
        const QList<std::shared_ptr<DuplicatesGroup>> &groups, const ScanGlobalsSnapshot &scan);
    void hideResultToolbarButtons();
    void showScanCompleteWindow();
    // The auto-mark command of the tool bar and the scan-complete sheet; the marking side answers.
    void autoMarkAllItems();

    // Filters and counts.
    void applyMatchingLevel();
    void sliderMatchingValue(DoubleSlider *sender);
    // Both sliders to `value`, then the full filter pass.
    void setMatchingLevelAndApply(double value);
    void recountTotals();
    void refreshDataOnScreenWithLatestResultsAfterFilter();
    void reloadCollectionView();
    void reloadCollectionView_Main();
    void updateHintBoxesVisibility();
    void openFileTypeMenu(QPushButton *sender);
    void selectFileType(QAction *sender);
    void updateFooterInfo();
    // The no-result hints; the hint panels call back into setMatchingLevelAndApply() when the
    // retry at the lowest level finds groups, so counts, grid and buttons always agree.
    void updateNoResultHints(bool isFreshResult, bool isAfterTrash);
    // The retry at the sliders' minimum: true when groups were found and are now shown.
    bool retryAtMinimumMatchingLevel();

    // Listing and the way back.
    void showListingTypeView(bool showThumbnails);
    // The file-type button and its menu show typeSupport.
    void showFileTypeChoice();
    void showMenuForResultListing(QPushButton *sender);
    void btnChangeListingType();
    void backToMainWindow();
    // The toolbar's Back: a summary of the last removal run closes with the results it tells about.
    void backFromToolbar();
    void returnToMainWindow();
    void cancelReturnToMainWindow();
    void resetResultsAndReturnToMain();
    void hideResultHintsShowHeader();
    void trashMsgCheckedInFIleFolder();

    // Trash Marked and the confirmation, carried out by the installed removal side (not owned);
    // without one they do nothing.
    void setTrashActions(TrashMarkedActions *actions) { m_trashActions = actions; }
    void moveToTrash(QObject *sender = nullptr);
    void confirmMoveToTrash(QObject *sender = nullptr);
    void proceedToTrash();
    void reviewBeforeTrash();
    void moveToTrashAfterConfirmation();
    // The summary after a removal run, shown on the GUI thread.
    void showWindowAfterTrash();

    // Grid content and selection (forwarded to the grid source).
    void configureCollectionViewLayout();
    void reloadContentArrays();
    void selectItemAtIndexPath(const IndexPath &indexPath);
    // Where a record is shown in the grid; none when it is not shown.
    std::optional<IndexPath> indexPathOf(const ImageFileInfo *record) const;

    void fillMetaDataTable(const std::shared_ptr<ImageFileInfo> &record);
    // Updates the pane now (`wait`) or on the next turn of the event loop.
    void changeAllComponentsOnMainThread(const std::shared_ptr<ImageFileInfo> &record, bool wait);
    // The record the pane was last asked to show (null for none).
    std::shared_ptr<ImageFileInfo> previewedRecord() const { return m_previewed.lock(); }
    int previewRequestCount() const { return m_previewRequests; }

    ResultGridSource &gridSource() { return *m_gridSource; }
    ThumbnailLoader &thumbnailLoader() { return *m_thumbnailLoader; }

    QList<IndexPath> currentSelectedIndexs;

signals:
    // The grid was reloaded (tests and the list wait on it).
    void collectionViewReloaded();
    // The view and its parts exist; the marking side attaches here.
    void viewLoaded();
    void autoMarkAllItemsRequested();
    // The preferences window should show the pane of `identifier` ("automark").
    void preferencesPaneRequested(const QString &identifier);

    // The window asks; whoever owns it decides. The metadata table and preview pane answer the
    // first two, the hint panels the third, the outline list the fourth (the window builder
    // connects them); the owner of both windows answers the rest.
    void fillMetaDataTableRequested(const std::shared_ptr<ImageFileInfo> &record);
    void changeAllComponentsRequested(const std::shared_ptr<ImageFileInfo> &record);
    void noResultHintsRequested(bool isFreshResult, bool isAfterTrash);
    void reloadOutlineRequested();
    void returnToMainRequested();
    void quickLookRequested(const QList<QUrl> &urls);
    // The file of `url` has left the results (Remove from list): a preview of it is out of date.
    void removedFromResults(const QUrl &url);

private:
    void connectActions();
    // The range, value and arrow-key stops of both matching sliders.
    void applySliderSetting(const MatchingSliderSetting &setting);
    void setFileTypeButton(const QString &title, const QString &imageName);
    void setToolbarHidden(bool hidden);

    QPointer<QWidget> m_view;
    QPointer<ResultWindowBuilder> m_windowBuilder;
    std::unique_ptr<ResultGridSource> m_gridSource;
    std::unique_ptr<ThumbnailLoader> m_thumbnailLoader;
    std::weak_ptr<ImageFileInfo> m_previewed;
    int m_previewRequests = 0;
    int m_refreshGeneration = 0;
    TrashMarkedActions *m_trashActions = nullptr;
};
