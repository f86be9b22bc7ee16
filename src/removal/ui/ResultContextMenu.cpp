#include "removal/ui/ResultContextMenu.h"

#include <QMenu>

#include "app/LocalizedString.h"
#include "app/MenuMnemonics.h"
#include "model/DuplicatesGroup.h"
#include "model/ImageFileInfo.h"
#include "results/ui/CollectionViewItem.h"
#include "results/ui/MarkRefusalTip.h"
#include "results/ui/MetadataTable.h"
#include "results/ui/OutlineList.h"
#include "results/ui/PreviewPane.h"
#include "results/ui/ResultGridSource.h"
#include "results/ui/ResultViewController.h"
#include "results/ui/ResultWindowBuilder.h"
#include "results/ui/ResultsGridView.h"

ResultContextMenu::ResultContextMenu(ResultViewController &controller, QObject *parent)
    : QObject(parent)
    , m_c(controller)
    , m_builder(controller.findChild<ResultWindowBuilder *>())
    , m_marking(controller)
{
    QMenu *menu = controller.menuForCollectionView;
    menuItemMarkUnmark = new QAction(localizedString(QStringLiteral("ID_MARK")), menu);
    menuItemLockUnLock = new QAction(localizedString(QStringLiteral("ID_LOCK")), menu);
    menu->insertActions(menu->actions().value(0), { menuItemMarkUnmark, menuItemLockUnLock });
    connect(menu, &QMenu::aboutToShow, this, &ResultContextMenu::validateMenu);
    connect(menuItemMarkUnmark, &QAction::triggered, this, &ResultContextMenu::markUnmarkImage);
    connect(menuItemLockUnLock, &QAction::triggered, this, &ResultContextMenu::lockUnLock);
    if (m_builder)
        connect(m_builder->menuItemRemoveFromPhotoList, &QAction::triggered, this,
            &ResultContextMenu::removeFromPhotoList);
    connect(controller.btnUnmark, &QAbstractButton::clicked, this, &ResultContextMenu::btnMarkUnmarkClicked);
    if (controller.outlineList)
        controller.outlineList->btnOutlineCheckBoxTapped
            = [this](const auto &record) { btnOutlineCheckBoxTapped(record); };
}

ResultContextMenu::~ResultContextMenu()
{
    if (m_c.outlineList)
        m_c.outlineList->btnOutlineCheckBoxTapped = nullptr;
}

std::shared_ptr<ImageFileInfo> ResultContextMenu::clickedRecord() const
{
    // The clicked list row, or the grid's last selected item (a right click selects only it).
    return m_builder ? m_builder->clickedRecord() : nullptr;
}

MenuValidation::Action ResultContextMenu::actionOf(const QAction *item) const
{
    using A = MenuValidation::Action;
    if (item == menuItemMarkUnmark)
        return A::MarkUnmark;
    if (item == menuItemLockUnLock)
        return A::LockUnlock;
    if (!m_builder)
        return A::None;
    if (item == m_builder->menuItemRemoveFromPhotoList)
        return A::RemoveFromPhotoList;
    if (item == m_builder->menuItemOpen || item == m_builder->menuItemRevealInFinder
        || item == m_builder->menuItemQuickLook)
        return A::FileAction;
    return A::None;
}

void ResultContextMenu::validateMenu()
{
    const std::shared_ptr<ImageFileInfo> record = clickedRecord();
    for (QAction *item : m_c.menuForCollectionView->actions()) {
        if (item->isSeparator())
            continue;
        MenuValidation::Input input;
        input.action = actionOf(item);
        input.record = record.get();
        input.inGrid = m_c.isShowingThumbView;
        input.scanSource = m_c.scanSource;
        input.isImmutable = isImmutable;
        const MenuValidation::Result result = MenuValidation::validateMenuItem(input);
        if (!result.titleKey.isEmpty())
            item->setText(localizedString(result.titleKey));
        item->setEnabled(result.enabled);
        if (result.flagMarkUnMark)
            m_c.flagMarkUnMark = *result.flagMarkUnMark;
        if (result.flagToLockUnLock)
            m_c.flagToLockUnLock = *result.flagToLockUnLock;
    }
    MenuMnemonics::applyTo(m_c.menuForCollectionView->actions());
}

void ResultContextMenu::showMarkState(const ImageFileInfo &record)
{
    if (!m_c.isShowingThumbView) {
        if (m_c.outlineList)
            m_c.outlineList->outlineDupliates()->viewport()->update();
        return;
    }
    if (const auto indexPath = m_c.indexPathOf(&record)) {
        CollectionViewItem *cell = m_c.collectionView->itemAtIndexPath(*indexPath);
        if (cell && cell->indexpathForCell == indexPath) {
            ResultGridSource::applyMarkState(cell, record);
            cell->update();
        }
    }
    m_c.collectionView->viewport()->update();
}

void ResultContextMenu::markUnmarkImage()
{
    if (!m_c.arrImageContent.empty()
        && m_c.currentSelectedIndexs.size() == qsizetype(m_c.arrImageContent.size())) {
        if (m_c.flagMarkUnMark)
            m_c.autoMarkAllItems();
        else
            btnMarkUnmarkClicked();
        return;
    }
    if (const std::shared_ptr<ImageFileInfo> record = clickedRecord()) {
        std::shared_ptr<DuplicatesGroup> group;
        if (m_c.isShowingThumbView)
            group = m_c.groupAt(m_c.currentSelectedIndexs.last().section);
        if (m_c.flagMarkUnMark && !m_marking.mark(*record, group.get()))
            MarkRefusalTip::show(ManualMarking::refusal(*record, group.get()), markedView());
        else if (!m_c.flagMarkUnMark)
            m_marking.unmark(*record);
        showMarkState(*record);
    }
    m_c.updateFooterInfo();
}

void ResultContextMenu::lockUnLock()
{
    const std::shared_ptr<ImageFileInfo> record = clickedRecord();
    if (!record)
        return;
    m_marking.lockUnLock(*record, m_c.flagToLockUnLock);
    showMarkState(*record);
    m_c.flagMarkUnMark = false;
    // Locking a marked file lowers the counters, which the footer shows at once.
    m_c.updateFooterInfo();
}

void ResultContextMenu::removeFromPhotoList()
{
    const std::shared_ptr<ImageFileInfo> record = clickedRecord();
    if (!record || !m_marking.removeFromPhotoList(record))
        return;
    m_c.applyMatchingLevel();
    m_c.updateNoResultHints(true, false);
    m_c.fillMetaDataTable(nullptr);
    m_c.changeAllComponentsOnMainThread(nullptr, true);
    emit m_c.removedFromResults(QUrl::fromLocalFile(record->filePath));
}

void ResultContextMenu::btnOutlineCheckBoxTapped(const std::shared_ptr<ImageFileInfo> &record)
{
    if (!record)
        return;
    // A refused mark leaves the file unmarked, and the row is drawn from the file: its box is off.
    const bool wasMarked = record->isMark;
    if (!m_marking.toggleMark(*record) && !wasMarked)
        MarkRefusalTip::show(ManualMarking::refusal(*record, nullptr), markedView());
    showMarkState(*record);
    m_c.updateFooterInfo();
}

void ResultContextMenu::btnMarkUnmarkClicked()
{
    m_marking.btnMarkUnmarkClicked();
    m_c.updateFooterInfo();
    if (m_c.isShowingThumbView)
        m_c.collectionView->reloadData();
    else if (m_c.outlineList)
        m_c.outlineList->reloadData(m_c.outlineList->selectedRecord());
}

QWidget *ResultContextMenu::markedView() const
{
    if (m_c.isShowingThumbView || !m_c.outlineList)
        return m_c.collectionView;
    return m_c.outlineList->outlineDupliates();
}
