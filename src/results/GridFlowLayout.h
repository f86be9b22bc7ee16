// The flow layout of the results grid, computed rather than stored: each section is a header row
// followed by its items in rows of equal columns. Positions are found by binary search over the
// section tops, so a grid of thousands of groups lays out and answers hit tests in microseconds.
// Coordinates are content coordinates with the origin at the top left.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include <QRectF>
#include <QSizeF>

class GridFlowLayout
{
public:
    struct Metrics
    {
        QSizeF itemSize{288, 332};
        double insetTop = 30, insetLeft = 20, insetBottom = 30, insetRight = 20;
        double interItemSpacing = 20, lineSpacing = 20;
        // Zero in single-section mode: no header.
        double headerHeight = 30;
    };
    using Position = std::pair<int, int>; // section, item

    GridFlowLayout() = default;
    explicit GridFlowLayout(const Metrics &metrics) : m_metrics(metrics) {}

    void setSectionCounts(std::vector<int> counts);
    void setWidth(double width);
    void setHeaderHeight(double height);
    const Metrics &metrics() const { return m_metrics; }

    int numberOfSections() const { return int(m_counts.size()); }
    int numberOfItemsInSection(int section) const;
    int columns() const { return m_columns; }
    QSizeF contentSize() const;

    QRectF sectionFrame(int section) const;
    QRectF headerFrame(int section) const;
    // The header kept at the top of the visible area while its section scrolls under it.
    QRectF pinnedHeaderFrame(int section, double visibleTop) const;
    std::optional<QRectF> itemFrame(int section, int item) const;

    std::optional<Position> itemAt(const QPointF &point) const;
    // Sections and items that intersect `rect`, in order.
    std::vector<int> sectionsIn(const QRectF &rect) const;
    std::vector<Position> itemsIn(const QRectF &rect) const;
    // The item one row up or down (same column, clamped to the row), or the neighbour left/right,
    // across section boundaries; none at the ends.
    std::optional<Position> neighbour(const Position &from, int dx, int dy) const;

private:
    void relayout();
    int rowsOf(int section) const;
    int sectionAtY(double y) const;
    std::optional<Position> rowNeighbour(const Position &from, int dy) const;

    Metrics m_metrics;
    std::vector<int> m_counts;
    std::vector<double> m_tops; // section tops, plus the content height at the end
    double m_width = 0;
    int m_columns = 1;
};
