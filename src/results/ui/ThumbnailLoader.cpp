// Background thumbnail loading of the results grid.
#include "results/ui/ThumbnailLoader.h"

#include <QFileInfo>
#include <QThread>

#include "app/CommonFunc.h"
#include "model/ImageFileInfo.h"
#include "platform/Dispatch.h"
#include "results/PreviewRead.h"
#include "results/ResultState.h"
#include "results/ui/CollectionViewItem.h"
#include "results/ui/PreviewPane.h"
#include "results/ui/ResultsGridView.h"

// What a worker needs, copied on the GUI thread so workers never read the record itself.
struct ThumbnailLoader::Request
{
    QString filePath;
    QString localThumbPath;
    bool cloud = false;
};

ThumbnailLoader::ThumbnailLoader(ResultState &state, QObject *parent) : QObject(parent), m_state(state)
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMilliseconds);
    connect(&m_settle, &QTimer::timeout, this, &ThumbnailLoader::changeCellViewControllerInCollectionView);
}

ThumbnailLoader::~ThumbnailLoader()
{
    if (m_queue) {
        m_queue->cancelAllOperations();
        m_queue->waitUntilAllOperationsAreFinished();
    }
}

OperationQueue &ThumbnailLoader::ComapreSharedOperationQueue_ITEImageSharedOperationQueue()
{
    if (!m_queue)
        m_queue = std::make_unique<OperationQueue>(std::max(1, QThread::idealThreadCount()));
    return *m_queue;
}

void ThumbnailLoader::firstLoad(const std::shared_ptr<ImageFileInfo> &record, CollectionViewItem *cell)
{
    if (m_state.numToLoadPhotosFirstTime >= kFirstLoads)
        return;
    ++m_state.numToLoadPhotosFirstTime;
    loadThumbnailForCell(record, cell);
}

void ThumbnailLoader::scrollViewBoundDidChange()
{
    m_settle.start();
}

void ThumbnailLoader::changeCellViewControllerInCollectionView()
{
    if (!m_collectionView)
        return;
    for (CollectionViewItem *cell : m_collectionView->visibleItems()) {
        if (!cell->indexpathForCell)
            continue;
        const auto record = m_state.recordAt(cell->indexpathForCell->section, cell->indexpathForCell->item);
        if (record)
            loadThumbnailForCell(record, cell);
    }
}

void ThumbnailLoader::loadThumbnailForCell(const std::shared_ptr<ImageFileInfo> &record, CollectionViewItem *cell)
{
    ++m_loadsStarted;
    QPointer<CollectionViewItem> target(cell);
    QPointer<ThumbnailLoader> self(this);
    if (!record->imgThumbnail.isNull() || record->isVideo) {
        // Nothing to read: the cached image or the video placeholder goes to the cell on the next turn.
        ++m_pending;
        Dispatch::main([self, record, target] {
            if (!self)
                return;
            --self->m_pending;
            if (!record->imgThumbnail.isNull())
                setItemThumbnail(target, *record);
            else
                setItemVideoPlaceholder(target, *record);
        });
        return;
    }
    const Request request { record->filePath, record->localThumbPath, isCloudSource(record->scanType) };
    ++m_pending;
    ComapreSharedOperationQueue_ITEImageSharedOperationQueue().addOperation([self, record, target, request] {
        bool wantsIcon = false;
        QImage image = makeImage(request, &wantsIcon);
        const QString iconPath = request.localThumbPath.isEmpty() ? request.filePath : request.localThumbPath;
        Dispatch::main([self, record, target, image = std::move(image), wantsIcon, iconPath] {
            if (self)
                self->finishPhoto(record, target, image, wantsIcon, iconPath);
        });
    });
}

QImage ThumbnailLoader::makeImage(const Request &request, bool *wantsIcon)
{
    // Each read within the bound its mount has to answer: a worker never waits on a silent share for
    // good, so the queue always empties.
    const auto read = [](const QString &path) {
        return PreviewRead::read(
            { path, false, QSize(CollectionViewItem::kImageWidth, CollectionViewItem::kImageHeight) })
            .image;
    };
    if (!request.cloud)
        return read(request.filePath);
    if (!request.localThumbPath.isEmpty()) {
        QImage image = read(request.localThumbPath);
        if (!image.isNull())
            return image;
    }
    *wantsIcon = true;
    return {};
}

void ThumbnailLoader::finishPhoto(const std::shared_ptr<ImageFileInfo> &record, QPointer<CollectionViewItem> cell,
                                  QImage image, bool wantsIcon, const QString &iconPath)
{
    --m_pending;
    if (wantsIcon)
        image = PreviewPane::fileTypeIcon(iconPath);
    if (record->imgThumbnail.isNull() && !image.isNull())
        record->imgThumbnail = image;
    setItemThumbnailRedraw(cell, *record);
}

void ThumbnailLoader::waitForWorkers()
{
    if (m_queue)
        m_queue->waitUntilAllOperationsAreFinished();
}

void ThumbnailLoader::setItemThumbnail(CollectionViewItem *cell, const ImageFileInfo &record)
{
    if (!cell || !cell->isShowing(&record))
        return;
    cell->imageItem->setImage(record.imgThumbnail);
    cell->update();
}

void ThumbnailLoader::setItemThumbnailAndVideoBadge(CollectionViewItem *cell, const ImageFileInfo &record)
{
    if (!cell || !cell->isShowing(&record))
        return;
    cell->imageItem->setImage(record.imgThumbnail);
    cell->imgVideo->setVisible(record.isVideo);
}

void ThumbnailLoader::setItemVideoPlaceholder(CollectionViewItem *cell, const ImageFileInfo &record)
{
    if (!cell || !cell->isShowing(&record))
        return;
    if (record.videoThumbnail.isNull())
        cell->imageItem->setImageNamed(QStringLiteral("video_thumbnail.png"));
    else
        cell->imageItem->setImage(record.videoThumbnail);
}

void ThumbnailLoader::setItemThumbnailRedraw(CollectionViewItem *cell, const ImageFileInfo &record)
{
    if (!cell || !cell->isShowing(&record))
        return;
    // A record whose image could not be made keeps the placeholder.
    if (!record.imgThumbnail.isNull())
        cell->imageItem->setImage(record.imgThumbnail);
    cell->imageItem->update();
    cell->update();
    cell->imgVideo->setVisible(record.isVideo);
}
