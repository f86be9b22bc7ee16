// Dark table view.
#include "controls/CustomTableView.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include "controls/CellKeys.h"
#include "controls/ChangeTableColor.h"
#include "controls/ControlStyles.h"
#include "controls/CustomCell.h"
#include "controls/KeyboardMenu.h"

CustomTableView::CustomTableView(QWidget *parent)
    : QTableView(parent)
{
    setAlternatingRowColors(true);
    const auto colors = ChangeTableColor::controlAlternatingRowBackgroundColors(true);
    QPalette rows = palette();
    rows.setColor(QPalette::Base, colors[0]);
    rows.setColor(QPalette::AlternateBase, colors[1]);
    setPalette(rows);
    setTabKeyNavigation(false);
}

QMenu *CustomTableView::menuForEvent(const QPoint &pos) const
{
    if (rowAt(pos.y()) < 0)
        return nullptr;
    return m_menu;
}

bool CustomTableView::hasCustomCell(int row) const
{
    if (!model() || row < 0)
        return false;
    return qobject_cast<CustomCell *>(indexWidget(model()->index(row, 0))) != nullptr;
}

void CustomTableView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::RightButton) {
        QTableView::mousePressEvent(event);
        return;
    }
    const int row = rowAt(event->position().toPoint().y());
    // Only a row with a CustomCell gets the click (and then its menu); the selection stays.
    m_rightClickPassed = row >= 0 && hasCustomCell(row);
    if (m_rightClickPassed)
        m_clickedRow = row;
    event->accept();
}

void CustomTableView::contextMenuEvent(QContextMenuEvent *event)
{
    event->accept();
    QPoint pos = event->pos();
    if (event->reason() == QContextMenuEvent::Mouse) {
        const bool passed = m_rightClickPassed;
        m_rightClickPassed = false;
        if (!passed)
            return;
    } else {
        pos = visualRect(currentIndex()).center();
        m_clickedRow = currentIndex().row();
    }
    KeyboardMenu::popup(
        menuForEvent(pos), viewport()->mapToGlobal(pos), event->reason() != QContextMenuEvent::Mouse);
}

void CustomTableView::keyPressEvent(QKeyEvent *event)
{
    if (!CellKeys::press(this, event))
        QTableView::keyPressEvent(event);
}

void CustomTableView::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(viewport());
    ControlStyles::drawFocusMark(painter, viewport()->rect());
    // The selection is not drawn on these lists, so the current row is framed on its own.
    const QModelIndex current = currentIndex();
    if (current.isValid()) {
        const QRect row(0, rowViewportPosition(current.row()), viewport()->width(), rowHeight(current.row()));
        ControlStyles::drawFocusMark(painter, row.adjusted(2, 1, -2, -1));
    }
}

void CustomTableView::scrollContentsBy(int dx, int dy)
{
    QTableView::scrollContentsBy(dx, dy);
    if (hasFocus())
        viewport()->update();
}

void CustomTableView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    viewport()->update();
}

void CustomTableView::focusInEvent(QFocusEvent *event)
{
    QTableView::focusInEvent(event);
    viewport()->update();
}

void CustomTableView::focusOutEvent(QFocusEvent *event)
{
    QTableView::focusOutEvent(event);
    viewport()->update();
}
