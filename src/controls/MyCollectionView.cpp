// Results grid clicks and selection.
#include "controls/MyCollectionView.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "controls/KeyboardMenu.h"
#include "platform/NotificationCenter.h"

namespace
{

// The platform's mouse-in-rectangle test for top-down coordinates: left and top edges inside,
// right and bottom edges outside, so neighbouring items never both take a point.
bool mouseInRect(const QPointF &p, const QRectF &r)
{
    return p.x() >= r.left() && p.x() < r.right() && p.y() >= r.top() && p.y() < r.bottom();
}

} // namespace

MyCollectionView::MyCollectionView(QWidget *parent)
    : QAbstractScrollArea(parent)
{
}

void MyCollectionView::setItemFrames(const std::vector<std::vector<QRectF>> &frames)
{
    m_frames = frames;
    updateScrollBars();
    viewport()->update();
}

int MyCollectionView::numberOfSections() const
{
    return static_cast<int>(m_frames.size());
}

int MyCollectionView::numberOfItemsInSection(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return 0;
    return static_cast<int>(m_frames[section].size());
}

std::optional<QRectF> MyCollectionView::layoutAttributesForItemAtIndexPath(const IndexPath &indexPath) const
{
    if (indexPath.item < 0 || indexPath.item >= numberOfItemsInSection(indexPath.section))
        return std::nullopt;
    return m_frames[indexPath.section][indexPath.item];
}

QPointF MyCollectionView::contentOffset() const
{
    return QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

std::optional<IndexPath> MyCollectionView::indexPathForItemAtPoint(const QPoint &pos) const
{
    const QPointF point = QPointF(pos) + contentOffset();
    for (int section = 0; section < numberOfSections(); ++section) {
        for (int item = 0; item < numberOfItemsInSection(section); ++item) {
            const QRectF frame = layoutAttributesForItemAtIndexPath({ section, item }).value_or(QRectF());
            if (mouseInRect(point, frame))
                return IndexPath { section, item };
        }
    }
    return std::nullopt;
}

void MyCollectionView::deselectAll()
{
    m_lead.reset();
    m_anchor.reset();
    if (m_selection.isEmpty())
        return;
    m_selection.clear();
    viewport()->update();
    emit selectionChanged();
}

void MyCollectionView::selectItemsAtIndexPaths(const QList<IndexPath> &indexPaths, ScrollPosition position)
{
    for (const IndexPath &indexPath : indexPaths) {
        if (!m_selection.contains(indexPath))
            m_selection.push_back(indexPath);
    }
    if (!indexPaths.isEmpty()) {
        if (!m_lead || !m_selection.contains(*m_lead)) {
            m_lead = indexPaths.front();
            m_anchor = m_lead;
        }
        scrollToItem(indexPaths.front(), position);
    }
    viewport()->update();
    emit selectionChanged();
}

void MyCollectionView::replaceSelection(
    const QList<IndexPath> &selection, std::optional<IndexPath> lead, std::optional<IndexPath> anchor)
{
    m_selection.clear();
    for (const IndexPath &indexPath : selection) {
        if (!m_selection.contains(indexPath))
            m_selection.push_back(indexPath);
    }
    if (lead && !m_selection.contains(*lead))
        lead.reset();
    if (!lead && !m_selection.isEmpty())
        lead = m_selection.last();
    m_lead = lead;
    m_anchor = m_lead ? anchor.value_or(*m_lead) : anchor;
    viewport()->update();
    emit selectionChanged();
}

void MyCollectionView::scrollToItem(const IndexPath &indexPath, ScrollPosition position)
{
    const auto frame = layoutAttributesForItemAtIndexPath(indexPath);
    if (!frame || position == ScrollPosition::None)
        return;
    const QRectF visible(contentOffset(), QSizeF(maximumViewportSize()));
    if (position == ScrollPosition::Left)
        horizontalScrollBar()->setValue(static_cast<int>(frame->left()));
    if (position == ScrollPosition::Top || frame->top() < visible.top() || frame->bottom() > visible.bottom())
        verticalScrollBar()->setValue(static_cast<int>(frame->top()));
}

QMenu *MyCollectionView::menuForEvent(const QPoint &pos) const
{
    const auto hit = indexPathForItemAtPoint(pos);
    if (!hit)
        return nullptr;
    return m_menu;
}

void MyCollectionView::setBackgroundColors(const QList<QColor> &colors)
{
    m_backgroundColors = colors;
    viewport()->update();
}

void MyCollectionView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::RightButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    event->accept();
    const auto hit = indexPathForItemAtPoint(event->position().toPoint());
    m_rightClickHit = hit.has_value();
    if (hit)
        selectForMenu(*hit);
}

void MyCollectionView::selectForMenu(const IndexPath &indexPath)
{
    NotificationCenter::defaultCenter().post(
        QStringLiteral("cellselection"), { { QStringLiteral("indexpath"), QVariant::fromValue(indexPath) } });
    deselectAll();
    selectItemsAtIndexPaths({ indexPath }, ScrollPosition::Left);
    emit rightClickSelected(indexPath);
}

void MyCollectionView::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    if (event->reason() == QContextMenuEvent::Mouse) {
        const bool hit = m_rightClickHit;
        m_rightClickHit = false;
        if (!hit)
            return;
    }
    KeyboardMenu::popup(menuForEvent(event->pos()), viewport()->mapToGlobal(event->pos()),
        event->reason() != QContextMenuEvent::Mouse);
}

void MyCollectionView::paintEvent(QPaintEvent *)
{
    if (m_backgroundColors.isEmpty())
        return;
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), m_backgroundColors.front());
}

void MyCollectionView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void MyCollectionView::updateScrollBars()
{
    QRectF content;
    for (int section = 0; section < numberOfSections(); ++section) {
        for (int item = 0; item < numberOfItemsInSection(section); ++item)
            content |= layoutAttributesForItemAtIndexPath({ section, item }).value_or(QRectF());
    }
    // The largest viewport, not the current one: it is known before the first layout.
    const QSize visible = maximumViewportSize();
    horizontalScrollBar()->setRange(0, std::max(0, static_cast<int>(content.right()) - visible.width()));
    verticalScrollBar()->setRange(0, std::max(0, static_cast<int>(content.bottom()) - visible.height()));
    horizontalScrollBar()->setPageStep(visible.width());
    verticalScrollBar()->setPageStep(visible.height());
}
