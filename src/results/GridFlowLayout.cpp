// Flow layout of the results grid.
#include "results/GridFlowLayout.h"

#include <algorithm>
#include <cmath>

void GridFlowLayout::setSectionCounts(std::vector<int> counts)
{
    m_counts = std::move(counts);
    relayout();
}

void GridFlowLayout::setWidth(double width)
{
    m_width = width;
    relayout();
}

void GridFlowLayout::setHeaderHeight(double height)
{
    m_metrics.headerHeight = height;
    relayout();
}

int GridFlowLayout::numberOfItemsInSection(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return 0;
    return m_counts[size_t(section)];
}

int GridFlowLayout::rowsOf(int section) const
{
    const int count = numberOfItemsInSection(section);
    return (count + m_columns - 1) / m_columns;
}

void GridFlowLayout::relayout()
{
    const Metrics &m = m_metrics;
    const double available = m_width - m.insetLeft - m.insetRight;
    m_columns = std::max(1, int(std::floor((available + m.interItemSpacing) / (m.itemSize.width() + m.interItemSpacing))));
    m_tops.assign(m_counts.size() + 1, 0.0);
    double y = 0;
    for (size_t s = 0; s < m_counts.size(); ++s) {
        m_tops[s] = y;
        const int rows = rowsOf(int(s));
        const double itemsHeight = rows > 0 ? rows * m.itemSize.height() + (rows - 1) * m.lineSpacing : 0.0;
        y += m.headerHeight + m.insetTop + itemsHeight + m.insetBottom;
    }
    m_tops.back() = y;
}

QSizeF GridFlowLayout::contentSize() const
{
    const Metrics &m = m_metrics;
    const double minWidth = m.insetLeft + m.itemSize.width() + m.insetRight;
    return {std::max(m_width, minWidth), m_tops.empty() ? 0.0 : m_tops.back()};
}

QRectF GridFlowLayout::sectionFrame(int section) const
{
    if (section < 0 || section >= numberOfSections())
        return {};
    return QRectF(0, m_tops[size_t(section)], contentSize().width(), m_tops[size_t(section) + 1] - m_tops[size_t(section)]);
}

QRectF GridFlowLayout::headerFrame(int section) const
{
    const QRectF frame = sectionFrame(section);
    return frame.isNull() ? frame : QRectF(frame.left(), frame.top(), frame.width(), m_metrics.headerHeight);
}

QRectF GridFlowLayout::pinnedHeaderFrame(int section, double visibleTop) const
{
    QRectF header = headerFrame(section);
    const QRectF frame = sectionFrame(section);
    if (header.isNull())
        return header;
    const double lowest = frame.bottom() - header.height();
    header.moveTop(std::clamp(visibleTop, frame.top(), std::max(frame.top(), lowest)));
    return header;
}

std::optional<QRectF> GridFlowLayout::itemFrame(int section, int item) const
{
    if (item < 0 || item >= numberOfItemsInSection(section))
        return std::nullopt;
    const Metrics &m = m_metrics;
    const int row = item / m_columns;
    const int column = item % m_columns;
    const double x = m.insetLeft + column * (m.itemSize.width() + m.interItemSpacing);
    const double y = m_tops[size_t(section)] + m.headerHeight + m.insetTop + row * (m.itemSize.height() + m.lineSpacing);
    return QRectF(QPointF(x, y), m.itemSize);
}

int GridFlowLayout::sectionAtY(double y) const
{
    if (m_counts.empty())
        return -1;
    const auto it = std::upper_bound(m_tops.begin(), m_tops.end() - 1, y);
    return std::max(0, int(it - m_tops.begin()) - 1);
}

std::optional<GridFlowLayout::Position> GridFlowLayout::itemAt(const QPointF &point) const
{
    const int section = sectionAtY(point.y());
    if (section < 0 || point.y() < 0 || point.y() >= m_tops.back())
        return std::nullopt;
    const Metrics &m = m_metrics;
    const double rowPitch = m.itemSize.height() + m.lineSpacing;
    const double columnPitch = m.itemSize.width() + m.interItemSpacing;
    const double localY = point.y() - m_tops[size_t(section)] - m.headerHeight - m.insetTop;
    const double localX = point.x() - m.insetLeft;
    if (localY < 0 || localX < 0)
        return std::nullopt;
    const int row = int(localY / rowPitch);
    const int column = int(localX / columnPitch);
    if (column >= m_columns || localY - row * rowPitch >= m.itemSize.height()
        || localX - column * columnPitch >= m.itemSize.width())
        return std::nullopt;
    const int item = row * m_columns + column;
    if (item >= numberOfItemsInSection(section))
        return std::nullopt;
    return Position{section, item};
}

std::vector<int> GridFlowLayout::sectionsIn(const QRectF &rect) const
{
    std::vector<int> sections;
    const int first = sectionAtY(rect.top());
    for (int s = std::max(0, first); s >= 0 && s < numberOfSections() && m_tops[size_t(s)] < rect.bottom(); ++s) {
        if (m_tops[size_t(s) + 1] > rect.top())
            sections.push_back(s);
    }
    return sections;
}

std::vector<GridFlowLayout::Position> GridFlowLayout::itemsIn(const QRectF &rect) const
{
    std::vector<Position> items;
    for (int s : sectionsIn(rect)) {
        for (int i = 0; i < numberOfItemsInSection(s); ++i) {
            const QRectF frame = *itemFrame(s, i);
            if (frame.top() >= rect.bottom())
                break;
            if (frame.intersects(rect))
                items.emplace_back(s, i);
        }
    }
    return items;
}

std::optional<GridFlowLayout::Position> GridFlowLayout::rowNeighbour(const Position &from, int dy) const
{
    const int column = from.second % m_columns;
    const int count = numberOfItemsInSection(from.first);
    const int row = from.second / m_columns + dy;
    if (row >= 0 && row <= (count - 1) / m_columns)
        return Position{from.first, std::min(row * m_columns + column, count - 1)};
    // Into the next or previous non-empty section, keeping the column where that row allows.
    for (int s = from.first + dy; s >= 0 && s < numberOfSections(); s += dy) {
        const int count = numberOfItemsInSection(s);
        if (count == 0)
            continue;
        const int rowStart = dy > 0 ? 0 : ((count - 1) / m_columns) * m_columns;
        return Position{s, std::min(rowStart + column, count - 1)};
    }
    return std::nullopt;
}

std::optional<GridFlowLayout::Position> GridFlowLayout::neighbour(const Position &from, int dx, int dy) const
{
    if (dy != 0)
        return rowNeighbour(from, dy > 0 ? 1 : -1);
    int section = from.first;
    int item = from.second + (dx > 0 ? 1 : -1);
    while (section >= 0 && section < numberOfSections()) {
        if (item >= 0 && item < numberOfItemsInSection(section))
            return Position{section, item};
        section += dx > 0 ? 1 : -1;
        item = dx > 0 ? 0 : numberOfItemsInSection(section) - 1;
    }
    return std::nullopt;
}
