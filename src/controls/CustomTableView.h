// The dark list of the windows: dark alternating rows, a context menu only over a row, and a right
// click that goes further only over a row whose first cell is a CustomCell or drawn as one. The row
// colours are this view's own; nothing is written to the settings. The list is one stop of the Tab
// key, framed by the focus mark while it has the focus, its current row framed too; Space ticks the
// current row's box and Delete presses its delete button.
#pragma once

#include <QMenu>
#include <QPointer>
#include <QTableView>

class CustomTableView : public QTableView
{
    Q_OBJECT

public:
    explicit CustomTableView(QWidget *parent = nullptr);

    void setMenu(QMenu *menu) { m_menu = menu; }
    QMenu *menu() const { return m_menu; }
    // The menu for a right click at `pos` (viewport coordinates): the table's menu over a row,
    // none elsewhere.
    QMenu *menuForEvent(const QPoint &pos) const;
    // The row of the last right click that reached the table's menu; -1 when none did.
    int clickedRow() const { return m_clickedRow; }

protected:
    // Whether the row's first cell is a CustomCell, or drawn as one (CustomCell::DrawnRole).
    virtual bool hasCustomCell(int row) const;
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    // Scrolling moves the painted rows, the focus marks with them: both marks are painted afresh.
    void scrollContentsBy(int dx, int dy) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    QPointer<QMenu> m_menu;
    int m_clickedRow = -1;
    bool m_rightClickPassed = false;
};
