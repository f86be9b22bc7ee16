// Results grid: virtualised cells and headers over the computed flow layout.
#include "results/ui/ResultsGridView.h"

#include <algorithm>
#include <cmath>

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>

#include "controls/KeyboardMenu.h"

ResultsGridView::ResultsGridView(QWidget *parent) : MyCollectionView(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A fixed scroll bar keeps the layout width, and so the column count, steady.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundColors({QColor(Qt::black)});
    verticalScrollBar()->setSingleStep(40);
    connect(this, &MyCollectionView::selectionChanged, this, &ResultsGridView::applySelectionToCells);
}

int ResultsGridView::numberOfSections() const
{
    return m_layout.numberOfSections();
}

int ResultsGridView::numberOfItemsInSection(int section) const
{
    return m_layout.numberOfItemsInSection(section);
}

std::optional<QRectF> ResultsGridView::layoutAttributesForItemAtIndexPath(const IndexPath &indexPath) const
{
    return m_layout.itemFrame(indexPath.section, indexPath.item);
}

QRectF ResultsGridView::visibleRect() const
{
    return QRectF(0, verticalScrollBar()->value(), viewport()->width(), viewport()->height());
}

void ResultsGridView::reloadData()
{
    std::vector<int> counts;
    const int sections = m_dataSource ? m_dataSource->numberOfSectionsInCollectionView() : 0;
    counts.reserve(size_t(std::max(0, sections)));
    for (int s = 0; s < sections; ++s)
        counts.push_back(std::max(0, m_dataSource->numberOfItemsInSection(s)));
    m_layout.setHeaderHeight(m_dataSource && sections > 0 ? m_dataSource->referenceHeightForHeaderInSection(0) : 0);
    m_layout.setSectionCounts(std::move(counts));
    m_layout.setWidth(viewport()->width());
    updateScrollBars();
    relayoutCells(true);
}

void ResultsGridView::scrollToOffset(int y)
{
    verticalScrollBar()->setValue(y);
}

namespace {

// A view from the reuse pool, or none when the pool is empty.
template <typename View>
View *takeFromPool(std::vector<View *> &pool)
{
    if (pool.empty())
        return nullptr;
    View *view = pool.back();
    pool.pop_back();
    return view;
}

} // namespace

CollectionViewItem *ResultsGridView::dequeueItem()
{
    if (CollectionViewItem *item = takeFromPool(m_pool))
        return item;
    auto *item = new CollectionViewItem(viewport());
    // A click on the box is a click on its photo: the keys stay in the grid, and the mark's
    // handling makes that photo the selection they go on from.
    connect(item->btnCheckBox, &QAbstractButton::pressed, this, [this] { setFocus(Qt::MouseFocusReason); });
    return item;
}

HeaderView *ResultsGridView::dequeueHeader()
{
    if (HeaderView *header = takeFromPool(m_headerPool))
        return header;
    auto *header = new HeaderView(viewport());
    // One dark strip across the row, its two texts drawn straight on it.
    header->setAttribute(Qt::WA_StyledBackground);
    header->setStyleSheet(QStringLiteral("HeaderView { background-color: #1b2233; border-bottom: 1px solid #3d4966; }"
                                         "QLabel { color: #e8ebf0; background: transparent; }"));
    auto *title = new QLabel(header);
    auto *count = new QLabel(header);
    title->setGeometry(20, 5, 300, 20);
    count->setGeometry(330, 5, 200, 20);
    header->setBoxCollectionViewHeader(header);
    header->setSectionTitle(title);
    header->setImageCount(count);
    return header;
}

void ResultsGridView::relayoutCells(bool reconfigureAll)
{
    const QRectF visible = visibleRect();
    const QPointF offset(0, -visible.top());
    const std::optional<IndexPath> current = hasFocus() ? currentIndexPath() : std::nullopt;
    std::map<IndexPath, CollectionViewItem *> next;
    const auto items = m_layout.itemsIn(visible);
    for (const auto &[section, item] : items) {
        const IndexPath indexPath{section, item};
        const auto found = m_visible.find(indexPath);
        CollectionViewItem *cell = found != m_visible.end() ? found->second : nullptr;
        if (cell)
            m_visible.erase(found);
        const bool fresh = !cell;
        if (fresh)
            cell = dequeueItem();
        cell->setGeometry(m_layout.itemFrame(section, item)->translated(offset).toRect());
        if ((fresh || reconfigureAll) && m_dataSource)
            m_dataSource->itemForRepresentedObjectAtIndexPath(cell, indexPath);
        cell->setSelected(selectionIndexPaths().contains(indexPath));
        cell->setShowsFocusMark(current == indexPath);
        cell->show();
        next.emplace(indexPath, cell);
    }
    for (auto &[indexPath, cell] : m_visible) {
        cell->hide();
        m_pool.push_back(cell);
    }
    m_visible = std::move(next);
    if (reconfigureAll) {
        for (auto &[section, header] : m_headers) {
            header->hide();
            m_headerPool.push_back(header);
        }
        m_headers.clear();
    }
    layoutHeaders();
}

void ResultsGridView::layoutHeaders()
{
    const QRectF visible = visibleRect();
    std::map<int, HeaderView *> next;
    if (m_layout.metrics().headerHeight > 0) {
        for (int section : m_layout.sectionsIn(visible)) {
            const auto found = m_headers.find(section);
            HeaderView *header = found != m_headers.end() ? found->second : nullptr;
            if (header)
                m_headers.erase(found);
            else {
                header = dequeueHeader();
                if (m_dataSource)
                    m_dataSource->viewForSupplementaryElementOfKind(header, IndexPath{section, 0});
            }
            header->setGeometry(m_layout.pinnedHeaderFrame(section, visible.top()).translated(0, -visible.top()).toRect());
            header->show();
            header->raise();
            next.emplace(section, header);
        }
    }
    for (auto &[section, header] : m_headers) {
        header->hide();
        m_headerPool.push_back(header);
    }
    m_headers = std::move(next);
}

QList<CollectionViewItem *> ResultsGridView::visibleItems() const
{
    QList<CollectionViewItem *> cells;
    for (const auto &[indexPath, cell] : m_visible)
        cells.append(cell);
    return cells;
}

CollectionViewItem *ResultsGridView::itemAtIndexPath(const IndexPath &indexPath) const
{
    const auto found = m_visible.find(indexPath);
    return found != m_visible.end() ? found->second : nullptr;
}

QList<HeaderView *> ResultsGridView::visibleHeaders() const
{
    QList<HeaderView *> headers;
    for (const auto &[section, header] : m_headers)
        headers.append(header);
    return headers;
}

void ResultsGridView::applySelectionToCells()
{
    const QList<IndexPath> selection = selectionIndexPaths();
    const std::optional<IndexPath> current = hasFocus() ? currentIndexPath() : std::nullopt;
    for (const auto &[indexPath, cell] : m_visible) {
        cell->setSelected(selection.contains(indexPath));
        cell->setShowsFocusMark(current == indexPath);
    }
}

std::optional<IndexPath> ResultsGridView::currentIndexPath() const
{
    // Between the grid's reload and the window's new selection the lead may name a photo gone.
    const std::optional<IndexPath> lead = leadIndexPath();
    if (!lead || lead->item < 0 || lead->item >= numberOfItemsInSection(lead->section))
        return std::nullopt;
    return lead;
}

void ResultsGridView::focusInEvent(QFocusEvent *event)
{
    // Reached by Tab, the grid shows where its keys will act before any of them is pressed; a
    // click chooses its own photo, and the window selects one whenever it fills the grid.
    if (!currentIndexPath()
        && (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason))
        selectFirstVisible();
    MyCollectionView::focusInEvent(event);
    applySelectionToCells();
}

void ResultsGridView::selectFirstVisible()
{
    const std::vector<GridFlowLayout::Position> items = m_layout.itemsIn(visibleRect());
    if (items.empty())
        return;
    const IndexPath first { items.front().first, items.front().second };
    changeSelectionByUser({ first }, first, first);
}

void ResultsGridView::focusOutEvent(QFocusEvent *event)
{
    MyCollectionView::focusOutEvent(event);
    applySelectionToCells();
}

void ResultsGridView::scrollContentsBy(int, int)
{
    relayoutCells(false);
    viewport()->update();
    emit boundsDidChange();
}

void ResultsGridView::resizeEvent(QResizeEvent *event)
{
    m_layout.setWidth(viewport()->width());
    MyCollectionView::resizeEvent(event);
    relayoutCells(false);
    emit boundsDidChange();
}

QList<IndexPath> ResultsGridView::flatRange(const IndexPath &from, const IndexPath &to) const
{
    const IndexPath first = std::min(from, to);
    const IndexPath last = std::max(from, to);
    QList<IndexPath> range;
    for (int s = first.section; s <= last.section; ++s) {
        const int begin = s == first.section ? first.item : 0;
        const int end = s == last.section ? last.item : numberOfItemsInSection(s) - 1;
        for (int i = begin; i <= end; ++i)
            range.append(IndexPath{s, i});
    }
    return range;
}

void ResultsGridView::changeSelectionByUser(const QList<IndexPath> &newSelection,
    const std::optional<IndexPath> &lead, const std::optional<IndexPath> &anchor)
{
    const QList<IndexPath> old = selectionIndexPaths();
    QList<IndexPath> deselected;
    QList<IndexPath> selected;
    for (const IndexPath &indexPath : old) {
        if (!newSelection.contains(indexPath))
            deselected.append(indexPath);
    }
    for (const IndexPath &indexPath : newSelection) {
        if (!old.contains(indexPath))
            selected.append(indexPath);
    }
    replaceSelection(newSelection, lead, anchor);
    if (!deselected.isEmpty())
        emit didDeselectItemsAtIndexPaths(deselected);
    if (!selected.isEmpty())
        emit didSelectItemsAtIndexPaths(selected);
}

void ResultsGridView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        MyCollectionView::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    event->accept();
    const auto hit = m_layout.itemAt(event->position() + QPointF(0, verticalScrollBar()->value()));
    if (!hit) {
        changeSelectionByUser({}, std::nullopt, anchorIndexPath());
        return;
    }
    const IndexPath indexPath{hit->first, hit->second};
    const std::optional<IndexPath> anchor = anchorIndexPath();
    QList<IndexPath> selection = selectionIndexPaths();
    if (event->modifiers() & Qt::ControlModifier) {
        // A photo taken out of the selection hands the keys to the last one still in it.
        if (!selection.removeOne(indexPath))
            selection.append(indexPath);
        changeSelectionByUser(selection, indexPath, indexPath);
    } else if ((event->modifiers() & Qt::ShiftModifier) && anchor) {
        changeSelectionByUser(flatRange(*anchor, indexPath), indexPath, anchor);
    } else {
        changeSelectionByUser({ indexPath }, indexPath, indexPath);
    }
}

void ResultsGridView::keyPressEvent(QKeyEvent *event)
{
    static const std::map<int, QPoint> arrows { { Qt::Key_Left, { -1, 0 } }, { Qt::Key_Right, { 1, 0 } },
        { Qt::Key_Up, { 0, -1 } }, { Qt::Key_Down, { 0, 1 } } };
    const auto arrow = arrows.find(event->key());
    if (arrow != arrows.end())
        moveCurrent(arrow->second.x(), arrow->second.y(), event->modifiers());
    else if (event->key() == Qt::Key_PageDown || event->key() == Qt::Key_PageUp)
        movePage(event->key() == Qt::Key_PageDown ? 1 : -1, event->modifiers());
    else if (event->key() == Qt::Key_Home || event->key() == Qt::Key_End)
        moveToEnd(event->key() == Qt::Key_End ? 1 : -1, event->modifiers());
    else if (event->key() == Qt::Key_Space)
        toggleCurrentMark();
    else if (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)
        openCurrentMenu();
    else {
        MyCollectionView::keyPressEvent(event);
        return;
    }
    event->accept();
}

std::optional<IndexPath> ResultsGridView::endItem(int direction) const
{
    const int sections = numberOfSections();
    for (int step = 0; step < sections; ++step) {
        const int section = direction > 0 ? sections - 1 - step : step;
        if (const int count = numberOfItemsInSection(section); count > 0)
            return IndexPath { section, direction > 0 ? count - 1 : 0 };
    }
    return std::nullopt;
}

void ResultsGridView::moveToEnd(int direction, Qt::KeyboardModifiers modifiers)
{
    const std::optional<IndexPath> end = endItem(direction);
    if (!end)
        return;
    // The whole start or end of the grid shows, the first group's title in its own place.
    QScrollBar *bar = verticalScrollBar();
    bar->setValue(direction > 0 ? bar->maximum() : bar->minimum());
    goTo(*end, modifiers);
}

void ResultsGridView::moveCurrent(int dx, int dy, Qt::KeyboardModifiers modifiers)
{
    const std::optional<IndexPath> from = currentIndexPath();
    if (!from) {
        if (const auto first = endItem(-1))
            goTo(*first, modifiers);
        return;
    }
    if (const auto target = m_layout.neighbour({ from->section, from->item }, dx, dy))
        goTo(IndexPath { target->first, target->second }, modifiers);
}

void ResultsGridView::movePage(int direction, Qt::KeyboardModifiers modifiers)
{
    const std::optional<IndexPath> from = currentIndexPath();
    const auto startFrame = from ? m_layout.itemFrame(from->section, from->item) : std::nullopt;
    if (!startFrame) {
        moveCurrent(0, direction, modifiers);
        return;
    }
    // Rows are passed while they lie within a page of the current one, at least one of them; from
    // the first or last row the key goes on to the first or last photo.
    const double page = std::max(1.0, viewport()->height() - m_layout.metrics().headerHeight);
    const double start = startFrame->top();
    GridFlowLayout::Position at { from->section, from->item };
    while (const auto next = m_layout.neighbour(at, 0, direction)) {
        const double distance = std::abs(m_layout.itemFrame(next->first, next->second)->top() - start);
        if (distance > page && at != GridFlowLayout::Position { from->section, from->item })
            break;
        at = *next;
    }
    std::optional<IndexPath> target = IndexPath { at.first, at.second };
    if (target == from)
        target = endItem(direction);
    if (!target)
        return;
    // The view moves as far as the current photo, which so keeps its place on the screen.
    const double moved = m_layout.itemFrame(target->section, target->item)->top() - start;
    verticalScrollBar()->setValue(verticalScrollBar()->value() + int(moved));
    goTo(*target, modifiers);
}

void ResultsGridView::goTo(const IndexPath &indexPath, Qt::KeyboardModifiers modifiers)
{
    // A tip shown for the cell left behind (a refused mark) would now sit beside another one.
    QToolTip::hideText();
    const std::optional<IndexPath> anchor = anchorIndexPath();
    if ((modifiers & Qt::ShiftModifier) && anchor)
        changeSelectionByUser(flatRange(*anchor, indexPath), indexPath, anchor);
    else
        changeSelectionByUser({ indexPath }, indexPath, indexPath);
    revealItem(indexPath);
}

void ResultsGridView::revealItem(const IndexPath &indexPath)
{
    const auto frame = m_layout.itemFrame(indexPath.section, indexPath.item);
    if (!frame)
        return;
    const QRectF visible = visibleRect();
    if (frame->top() < visible.top() + m_layout.metrics().headerHeight)
        verticalScrollBar()->setValue(int(frame->top() - m_layout.metrics().headerHeight));
    else if (frame->bottom() > visible.bottom())
        verticalScrollBar()->setValue(int(frame->bottom() - visible.height()));
}

void ResultsGridView::toggleCurrentMark()
{
    const std::optional<IndexPath> current = currentIndexPath();
    if (!current)
        return;
    revealItem(*current);
    // The cell's own box takes the click, so a locked file (no box) and the group's last unmarked
    // file are refused exactly as a click on them is.
    CollectionViewItem *cell = itemAtIndexPath(*current);
    if (cell && cell->btnCheckBox && cell->btnCheckBox->isEnabled() && cell->btnCheckBox->isVisibleTo(cell))
        cell->btnCheckBox->click();
}

void ResultsGridView::openCurrentMenu()
{
    const std::optional<IndexPath> current = currentIndexPath();
    if (!current || !menu())
        return;
    revealItem(*current);
    selectForMenu(*current);
    const QPointF centre = layoutAttributesForItemAtIndexPath(*current)->center();
    KeyboardMenu::popup(
        menu(), viewport()->mapToGlobal(centre.toPoint() - QPoint(0, verticalScrollBar()->value())), true);
}

void ResultsGridView::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() == QContextMenuEvent::Mouse) {
        MyCollectionView::contextMenuEvent(event);
        return;
    }
    event->accept();
    openCurrentMenu();
}
