// Loads the grid's thumbnails on the results window's own queue, only for cells on screen: three
// when the grid is filled, then every visible cell once scrolling has paused for 0.3 s. Workers
// only read files and return QImages; the GUI thread stores the image on the record and updates a
// cell only while it still shows that record.
#pragma once

#include <atomic>
#include <memory>

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "platform/OperationQueue.h"

class CollectionViewItem;
class ImageFileInfo;
class ResultState;
class ResultsGridView;

class ThumbnailLoader : public QObject
{
    Q_OBJECT
public:
    static constexpr int kFirstLoads = 3;
    static constexpr int kSettleMilliseconds = 300;

    ThumbnailLoader(ResultState &state, QObject *parent = nullptr);
    ~ThumbnailLoader() override;

    void setCollectionView(ResultsGridView *view) { m_collectionView = view; }

    // The thumbnail queue, made on first use with the system's default width.
    OperationQueue &ComapreSharedOperationQueue_ITEImageSharedOperationQueue();

    // Cell configuration of a record without an image: loads at most kFirstLoads between resets.
    void firstLoad(const std::shared_ptr<ImageFileInfo> &record, CollectionViewItem *cell);
    // Every movement of the visible area re-arms one delayed visible-cells pass.
    void scrollViewBoundDidChange();
    void changeCellViewControllerInCollectionView();
    // Queues the load of one record for one cell.
    void loadThumbnailForCell(const std::shared_ptr<ImageFileInfo> &record, CollectionViewItem *cell);

    bool isSettlePending() const { return m_settle.isActive(); }
    int loadsStarted() const { return m_loadsStarted; }
    // Loads queued or running on workers, plus results not yet handed to the GUI thread.
    int pendingLoads() const { return m_pending.load(); }
    // Blocks until the workers are done; their results still arrive through the event loop.
    void waitForWorkers();

    // The four cell updates; each does nothing without a cell or when the cell shows another record.
    static void setItemThumbnail(CollectionViewItem *cell, const ImageFileInfo &record);
    static void setItemThumbnailAndVideoBadge(CollectionViewItem *cell, const ImageFileInfo &record);
    static void setItemVideoPlaceholder(CollectionViewItem *cell, const ImageFileInfo &record);
    static void setItemThumbnailRedraw(CollectionViewItem *cell, const ImageFileInfo &record);

private:
    struct Request;
    static QImage makeImage(const Request &request, bool *wantsIcon);
    void finishPhoto(const std::shared_ptr<ImageFileInfo> &record, QPointer<CollectionViewItem> cell, QImage image,
                     bool wantsIcon, const QString &iconPath);

    ResultState &m_state;
    QPointer<ResultsGridView> m_collectionView;
    std::unique_ptr<OperationQueue> m_queue;
    QTimer m_settle;
    int m_loadsStarted = 0;
    std::atomic<int> m_pending{0};
};
