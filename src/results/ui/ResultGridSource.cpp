// Grid content, cells, headers, clicks and selection of the results window.
#include "results/ui/ResultGridSource.h"

#include <QPointer>

#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "platform/Dispatch.h"
#include "platform/NotificationCenter.h"
#include "platform/OutsideText.h"
#include "platform/ui/BundleImage.h"
#include "removal/ManualMarking.h"
#include "results/ResultTexts.h"
#include "results/ui/MarkRefusalTip.h"
#include "results/ui/ResultViewController.h"
#include "results/ui/ThumbnailLoader.h"

namespace {

constexpr double kHeaderHeight = 30;

} // namespace

ResultGridSource::ResultGridSource(ResultViewController &controller) : m_controller(controller) {}

ResultGridSource::~ResultGridSource()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

void ResultGridSource::attach(ResultsGridView *view)
{
    view->setDataSource(this);
    connect(view, &ResultsGridView::didSelectItemsAtIndexPaths, this, &ResultGridSource::didSelectItemsAtIndexPaths);
    connect(view, &ResultsGridView::didDeselectItemsAtIndexPaths, this,
            &ResultGridSource::didDeselectItemsAtIndexPaths);
    connect(view, &MyCollectionView::rightClickSelected, this, &ResultGridSource::rightClickSelected);
    auto &center = NotificationCenter::defaultCenter();
    center.addObserver(this, QStringLiteral("SelectUnselectPhoto"),
                       [this](const Notification &n) { selectImageAndReloadCollectionView(n); });
    center.addObserver(this, QStringLiteral("cellselection"), [this](const Notification &n) { cellSelectionChange(n); });
}

void ResultGridSource::reloadContentArrays()
{
    ResultViewController &c = m_controller;
    c.rebuildContentArrays();
    if (c.collectionView)
        c.collectionView->reloadData();
    c.isPhotosLibAdded = c.hasPhotosLibraryItems();
    c.stepNumber = GlobalObjects::StepNumberForPhotos::stepNumberOneForPhotos;
    c.countSelected = 1;
    c.numToLoadPhotosFirstTime = 0;
    // A reload starts a fresh selection: the first item, when there is one.
    c.currentSelectedIndexs.clear();
    if (c.numberOfItemsInSection(0) > 0)
        c.currentSelectedIndexs.append(IndexPath{0, 0});
    if (c.collectionView)
        c.collectionView->viewport()->update();
}

int ResultGridSource::numberOfSectionsInCollectionView() const
{
    return m_controller.numberOfSections();
}

int ResultGridSource::numberOfItemsInSection(int section) const
{
    return m_controller.numberOfItemsInSection(section);
}

double ResultGridSource::referenceHeightForHeaderInSection(int) const
{
    return m_controller.imageDirectoryLoader.singleSectionMode ? 0.0 : kHeaderHeight;
}

void ResultGridSource::viewForSupplementaryElementOfKind(HeaderView *header, const IndexPath &indexPath)
{
    if (header->sectionTitle())
        header->sectionTitle()->setText(ResultTexts::groupTitle(indexPath.section));
    const auto group = m_controller.groupAt(indexPath.section);
    if (group && header->imageCount())
        header->imageCount()->setText(ResultTexts::groupCount(numberOfItemsInSection(indexPath.section), *group));
}

void ResultGridSource::configureBadges(CollectionViewItem *item, const ImageFileInfo &record)
{
    item->imgVideo->hide();
    if (record.isVideo)
        item->imageItem->setImageNamed(QStringLiteral("video_thumbnail.png"));
    const QString badge = record.isiPhotoNode   ? QStringLiteral("iphoto_img.png")
                          : record.isPhotosNode ? QStringLiteral("photoslib.png")
                                                : QString();
    item->imgViewiPhoto->setVisible(!badge.isEmpty());
    if (!badge.isEmpty())
        item->imgViewiPhoto->setPixmap(BundleImage::named(badge).pixmap(item->imgViewiPhoto->size()));
}

void ResultGridSource::applyMarkState(CollectionViewItem *item, const ImageFileInfo &record)
{
    if (record.isMark) {
        item->boxBottomForItem->setBackgroundImage(QStringLiteral("red_strip.png"));
        item->imgViewLock->hide();
        item->btnCheckBox->show();
        item->btnCheckBox->setChecked(true);
    } else if (record.isLocked) {
        item->btnCheckBox->hide();
        item->imgViewLock->show();
        item->boxBottomForItem->setBackgroundImage(QStringLiteral("grey_strip.png"));
    } else {
        item->btnCheckBox->show();
        item->btnCheckBox->setChecked(false);
        item->imgViewLock->hide();
        item->boxBottomForItem->setBackgroundImage(QStringLiteral("gree_strip.png"));
    }
    item->boxBottomForItem->update();
}

void ResultGridSource::itemForRepresentedObjectAtIndexPath(CollectionViewItem *item, const IndexPath &indexPath)
{
    item->imageItem->setImageNamed(QStringLiteral("place_holder"));
    const auto record = m_controller.recordAt(indexPath.section, indexPath.item);
    item->setRepresentedRecord(record);
    if (!record)
        return;
    item->indexpathForCell = indexPath;
    configureBadges(item, *record);
    if (!record->imgThumbnail.isNull()) {
        item->imageItem->setImage(record->imgThumbnail);
        item->imgVideo->setVisible(record->isVideo);
    } else {
        m_controller.thumbnailLoader().firstLoad(record, item);
    }
    item->lblImageInfo->setText(ResultTexts::cellInfo(record->createDate, record->fileSize));
    item->lblName->setWholeText(OutsideText::name(record->fileName));
    applyMarkState(item, *record);
}

std::optional<IndexPath> ResultGridSource::currentIndexPath(
    const Notification &notification, const std::optional<std::weak_ptr<ImageFileInfo>> &expected) const
{
    const QVariant value = notification.userInfo.value(QStringLiteral("indexpath"));
    if (value.metaType() != QMetaType::fromType<IndexPath>())
        return std::nullopt;
    const IndexPath indexPath = value.value<IndexPath>();
    const auto record = m_controller.recordAt(indexPath.section, indexPath.item);
    if (!record || (expected && expected->lock() != record))
        return std::nullopt;
    return indexPath;
}

std::optional<std::weak_ptr<ImageFileInfo>> ResultGridSource::namedRecord(const Notification &notification) const
{
    // Off the GUI thread the groups cannot be read; the bounds check alone applies then.
    const QVariant value = notification.userInfo.value(QStringLiteral("indexpath"));
    if (!Dispatch::isMainThread() || value.metaType() != QMetaType::fromType<IndexPath>())
        return std::nullopt;
    const IndexPath indexPath = value.value<IndexPath>();
    return std::weak_ptr<ImageFileInfo>(m_controller.recordAt(indexPath.section, indexPath.item));
}

void ResultGridSource::selectImageAndReloadCollectionView(const Notification &notification)
{
    QPointer<ResultGridSource> self(this);
    const auto expected = namedRecord(notification);
    Dispatch::main([self, notification, expected] {
        if (self)
            self->selectImageAndReloadCollectionView_Main(notification, expected);
    });
}

void ResultGridSource::cellSelectionChange(const Notification &notification)
{
    QPointer<ResultGridSource> self(this);
    const auto expected = namedRecord(notification);
    Dispatch::main([self, notification, expected] {
        if (self)
            self->collectionCellSelectionChange_Main(notification, expected);
    });
}

void ResultGridSource::toggleMark(CollectionViewItem *cell, const IndexPath &indexPath)
{
    ResultViewController &c = m_controller;
    const auto group = c.groupAt(indexPath.section);
    const auto record = c.recordAt(indexPath.section, indexPath.item);
    // A removal run decided its files from the marks when it started; they stay as they are.
    if (c.removalInProgress) {
        if (cell)
            cell->btnCheckBox->setChecked(record->isMark);
        return;
    }
    // A refused mark (the group's last unmarked file) turns the box off again and says why.
    const ManualMarking::Refusal refusal
        = record->isMark ? ManualMarking::Refusal::None : ManualMarking::refusal(*record, group.get());
    if (!ManualMarking(c).toggleMark(*record, group.get()) && cell)
        cell->btnCheckBox->setChecked(false);
    MarkRefusalTip::show(refusal, cell ? static_cast<QWidget *>(cell->btnCheckBox) : c.collectionView);
    if (cell && cell->boxBottomForItem) {
        cell->boxBottomForItem->setBackgroundImage(record->isMark ? QStringLiteral("red_strip.png")
                                                                  : QStringLiteral("gree_strip.png"));
        cell->boxBottomForItem->update();
    }
}

void ResultGridSource::selectImageAndReloadCollectionView_Main(
    const Notification &notification, std::optional<std::weak_ptr<ImageFileInfo>> expected)
{
    const auto indexPath = currentIndexPath(notification, expected);
    ResultViewController &c = m_controller;
    if (!indexPath || !c.collectionView)
        return;
    CollectionViewItem *cell = c.collectionView->itemAtIndexPath(*indexPath);
    // A cell reused for another file since the click does not belong to this index path.
    if (cell && cell->indexpathForCell != indexPath)
        cell = nullptr;
    toggleMark(cell, *indexPath);
    if (cell)
        cell->update();
    c.collectionView->deselectAll();
    c.currentSelectedIndexs.clear();
    // The box was clicked where it stands: the grid stays where it is, so the next click lands
    // where the user aims.
    if (c.numberOfItemsInSection(0) > 0)
        c.collectionView->selectItemsAtIndexPaths({*indexPath}, MyCollectionView::ScrollPosition::None);
    if (!c.currentSelectedIndexs.contains(*indexPath))
        c.currentSelectedIndexs.append(*indexPath);
    c.countSelected = int(c.collectionView->selectionIndexPaths().size());
    c.updateFooterInfo();
    selectItemAtIndexPath(*indexPath);
}

void ResultGridSource::selectItemAtIndexPath(const IndexPath &indexPath)
{
    ResultViewController &c = m_controller;
    const auto record = c.recordAt(indexPath.section, indexPath.item);
    if (!record)
        return;
    if (!c.currentSelectedIndexs.contains(indexPath))
        c.currentSelectedIndexs.append(indexPath);
    c.fillMetaDataTable(record);
    c.changeAllComponentsOnMainThread(record, true);
    c.countSelected = 1;
    c.updateFooterInfo();
}

void ResultGridSource::didSelectItemsAtIndexPaths(const QList<IndexPath> &indexPaths)
{
    if (!indexPaths.isEmpty())
        selectItemAtIndexPath(indexPaths.first());
}

void ResultGridSource::didDeselectItemsAtIndexPaths(const QList<IndexPath> &indexPaths)
{
    for (const IndexPath &indexPath : indexPaths)
        m_controller.currentSelectedIndexs.removeAll(indexPath);
}

void ResultGridSource::rightClickSelected(const IndexPath &indexPath)
{
    m_controller.currentSelectedIndexs = {indexPath};
}

void ResultGridSource::collectionCellSelectionChange_Main(
    const Notification &notification, std::optional<std::weak_ptr<ImageFileInfo>> expected)
{
    const auto indexPath = currentIndexPath(notification, expected);
    if (!indexPath)
        return;
    const auto record = m_controller.recordAt(indexPath->section, indexPath->item);
    m_controller.fillMetaDataTable(record);
    m_controller.changeAllComponentsOnMainThread(record, false);
}
