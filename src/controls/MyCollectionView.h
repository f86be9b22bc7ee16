// The thumbnail grid of the results window, as far as clicks and selection go: a right click on an
// item makes it the only selected item, announces it with "cellselection" and then opens the
// context menu; a right click between items does nothing. Item frames come from
// layoutAttributesForItemAtIndexPath(), which the grid's layout provides.
#pragma once

#include <optional>
#include <vector>

#include <QAbstractScrollArea>
#include <QColor>
#include <QList>
#include <QMenu>
#include <QPointer>
#include <QRectF>

#include "controls/IndexPath.h"

class MyCollectionView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    // Where a scroll to an item puts it: None leaves the view as it is, Visible scrolls only when the
    // item is not wholly shown, Top brings it to the top, Left to the left edge.
    enum class ScrollPosition { None, Left, Top, Visible };

    explicit MyCollectionView(QWidget *parent = nullptr);

    // The layout: item frames in content coordinates, per section. Subclasses may instead answer
    // the three methods below from their own layout.
    void setItemFrames(const std::vector<std::vector<QRectF>> &frames);
    virtual int numberOfSections() const;
    virtual int numberOfItemsInSection(int section) const;
    virtual std::optional<QRectF> layoutAttributesForItemAtIndexPath(const IndexPath &indexPath) const;

    // The item under `pos` (viewport coordinates): sections and items are tried in order.
    std::optional<IndexPath> indexPathForItemAtPoint(const QPoint &pos) const;

    QList<IndexPath> selectionIndexPaths() const { return m_selection; }
    // The selected item the keys act on, and the fixed end of a Shift range. Both belong to the
    // selection: whatever sets it moves them along, so they never name an item left unselected.
    std::optional<IndexPath> leadIndexPath() const { return m_lead; }
    std::optional<IndexPath> anchorIndexPath() const { return m_anchor; }
    void deselectAll();
    // Adds the items; the first of them leads unless an item still selected already does.
    void selectItemsAtIndexPaths(const QList<IndexPath> &indexPaths, ScrollPosition position);
    void scrollToItem(const IndexPath &indexPath, ScrollPosition position);

    void setMenu(QMenu *menu) { m_menu = menu; }
    QMenu *menu() const { return m_menu; }
    // The context menu for a click at `pos`: the grid's menu over an item, none elsewhere.
    QMenu *menuForEvent(const QPoint &pos) const;

    void setBackgroundColors(const QList<QColor> &colors);
    QList<QColor> backgroundColors() const { return m_backgroundColors; }

signals:
    void selectionChanged();
    // After a right click has made `indexPath` the only selected item; the results window's
    // controller resets its own list of selected index paths to it.
    void rightClickSelected(const IndexPath &indexPath);

protected:
    // What a right click on an item does before its menu opens: the item alone is selected and
    // announced.
    void selectForMenu(const IndexPath &indexPath);
    // The selection as a whole, as the user's clicks and keys make it. A lead that is not among
    // `selection` gives way to its last item.
    void replaceSelection(
        const QList<IndexPath> &selection, std::optional<IndexPath> lead, std::optional<IndexPath> anchor);
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    QPointF contentOffset() const;
    void updateScrollBars();

private:
    std::vector<std::vector<QRectF>> m_frames;
    QList<IndexPath> m_selection;
    std::optional<IndexPath> m_lead;
    std::optional<IndexPath> m_anchor;
    QList<QColor> m_backgroundColors;
    QPointer<QMenu> m_menu;
    bool m_rightClickHit = false;
};
