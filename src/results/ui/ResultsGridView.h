// The results grid: MyCollectionView with the computed flow layout, sections headed by HeaderView,
// and cells made only for what is on screen. Cells and headers leaving the visible area go back to
// a reuse pool, so the widget count stays at about one screenful however many groups there are.
// It asks its data source for counts and for the configuration of each cell and header.
#pragma once

#include <map>
#include <vector>

#include <QList>
#include <QPointer>

#include "controls/HeaderView.h"
#include "controls/IndexPath.h"
#include "controls/MyCollectionView.h"
#include "results/GridFlowLayout.h"
#include "results/ui/CollectionViewItem.h"

class ResultsGridDataSource
{
public:
    virtual ~ResultsGridDataSource() = default;
    virtual int numberOfSectionsInCollectionView() const = 0;
    virtual int numberOfItemsInSection(int section) const = 0;
    // Zero in single-section mode.
    virtual double referenceHeightForHeaderInSection(int section) const = 0;
    virtual void itemForRepresentedObjectAtIndexPath(CollectionViewItem *item, const IndexPath &indexPath) = 0;
    virtual void viewForSupplementaryElementOfKind(HeaderView *header, const IndexPath &indexPath) = 0;
};

class ResultsGridView : public MyCollectionView
{
    Q_OBJECT
public:
    explicit ResultsGridView(QWidget *parent = nullptr);

    void setDataSource(ResultsGridDataSource *dataSource) { m_dataSource = dataSource; }
    // Reads the counts again and configures every visible cell afresh.
    void reloadData();

    int numberOfSections() const override;
    int numberOfItemsInSection(int section) const override;
    std::optional<QRectF> layoutAttributesForItemAtIndexPath(const IndexPath &indexPath) const override;
    QSizeF contentSize() const { return m_layout.contentSize(); }
    const GridFlowLayout &layout() const { return m_layout; }

    // Cells on screen, in section and item order.
    QList<CollectionViewItem *> visibleItems() const;
    // The cell on screen at the index path, if any.
    CollectionViewItem *itemAtIndexPath(const IndexPath &indexPath) const;
    QList<HeaderView *> visibleHeaders() const;
    // Cells made so far (on screen and in the reuse pool).
    int cellCount() const { return int(m_visible.size() + m_pool.size()); }

    void scrollToOffset(int y);

    // The item the keys act on: the selection's lead, so the one last clicked, reached with the
    // arrow, page, Home or End keys, or selected by the window (the list's choice, a reload).
    std::optional<IndexPath> currentIndexPath() const;
    // Space: ticks the current item's box as a click on it does.
    void toggleCurrentMark();
    // The Menu key and Shift+F10: the current item's context menu, as a right click opens it.
    void openCurrentMenu();

signals:
    // Selection changes made by the user (clicks and keys), as the grid's delegate hears them.
    void didSelectItemsAtIndexPaths(const QList<IndexPath> &indexPaths);
    void didDeselectItemsAtIndexPaths(const QList<IndexPath> &indexPaths);
    // The visible area moved (scrolling or resizing).
    void boundsDidChange();

protected:
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void relayoutCells(bool reconfigureAll);
    void layoutHeaders();
    CollectionViewItem *dequeueItem();
    HeaderView *dequeueHeader();
    void applySelectionToCells();
    // The first (direction -1) or last (+1) photo of the grid.
    std::optional<IndexPath> endItem(int direction) const;
    void moveCurrent(int dx, int dy, Qt::KeyboardModifiers modifiers);
    // Home (-1) and End (+1).
    void moveToEnd(int direction, Qt::KeyboardModifiers modifiers);
    // PgDn (+1) and PgUp (-1): the current item goes a page on and the view with it.
    void movePage(int direction, Qt::KeyboardModifiers modifiers);
    // Makes the item current, selects it (or extends the selection with Shift) and shows it.
    void goTo(const IndexPath &indexPath, Qt::KeyboardModifiers modifiers);
    // Reached by Tab with nothing selected: the first photo on screen, so the keys have a place.
    void selectFirstVisible();
    // Brings the item whole into view below its pinned header.
    void revealItem(const IndexPath &indexPath);
    QList<IndexPath> flatRange(const IndexPath &from, const IndexPath &to) const;
    void changeSelectionByUser(const QList<IndexPath> &newSelection, const std::optional<IndexPath> &lead,
        const std::optional<IndexPath> &anchor);
    QRectF visibleRect() const;

    ResultsGridDataSource *m_dataSource = nullptr;
    GridFlowLayout m_layout;
    std::map<IndexPath, CollectionViewItem *> m_visible;
    std::vector<CollectionViewItem *> m_pool;
    std::map<int, HeaderView *> m_headers;
    std::vector<HeaderView *> m_headerPool;
};
