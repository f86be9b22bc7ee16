// The grid side of the results window's controller: the content arrays and section model, the
// configuration of cells and group headers, the first thumbnail loads, and what clicks, check boxes
// and right clicks do. Index paths from queued notifications are checked against the groups shown
// when they arrive, and ignored when the grid has changed since.
#pragma once

#include <memory>
#include <optional>

#include <QObject>

#include "controls/IndexPath.h"
#include "results/ui/ResultsGridView.h"

class ImageFileInfo;
class ResultViewController;
struct Notification;

class ResultGridSource : public QObject, public ResultsGridDataSource
{
    Q_OBJECT
public:
    explicit ResultGridSource(ResultViewController &controller);
    ~ResultGridSource() override;

    // Connects the grid's signals and registers the two notification observers.
    void attach(ResultsGridView *view);

    void reloadContentArrays();

    int numberOfSectionsInCollectionView() const override;
    int numberOfItemsInSection(int section) const override;
    double referenceHeightForHeaderInSection(int section) const override;
    void itemForRepresentedObjectAtIndexPath(CollectionViewItem *item, const IndexPath &indexPath) override;
    void viewForSupplementaryElementOfKind(HeaderView *header, const IndexPath &indexPath) override;

    // Observers: they only move the notification to the GUI thread.
    void selectImageAndReloadCollectionView(const Notification &notification);
    void cellSelectionChange(const Notification &notification);
    // `expected`: the record the index path named when the notification was posted; a different
    // record there now means the grid changed in between, and the notification is ignored.
    void selectImageAndReloadCollectionView_Main(const Notification &notification,
                                                 std::optional<std::weak_ptr<ImageFileInfo>> expected = {});
    void collectionCellSelectionChange_Main(const Notification &notification,
                                            std::optional<std::weak_ptr<ImageFileInfo>> expected = {});

    void selectItemAtIndexPath(const IndexPath &indexPath);
    void didSelectItemsAtIndexPaths(const QList<IndexPath> &indexPaths);
    void didDeselectItemsAtIndexPaths(const QList<IndexPath> &indexPaths);
    void rightClickSelected(const IndexPath &indexPath);

    // The strip of a cell for its record's mark state.
    static void applyMarkState(CollectionViewItem *item, const ImageFileInfo &record);

private:
    // The index path of a notification when it still names a shown record.
    std::optional<IndexPath> currentIndexPath(const Notification &notification,
                                              const std::optional<std::weak_ptr<ImageFileInfo>> &expected) const;
    // What the notification's index path names now (GUI thread), to compare when it is handled.
    std::optional<std::weak_ptr<ImageFileInfo>> namedRecord(const Notification &notification) const;
    void configureBadges(CollectionViewItem *item, const ImageFileInfo &record);
    void toggleMark(CollectionViewItem *cell, const IndexPath &indexPath);

    ResultViewController &m_controller;
};
