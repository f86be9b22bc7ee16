#include "controls/CellKeys.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QKeyEvent>
#include <QPersistentModelIndex>

#include "controls/CustomCell.h"
#include "controls/KeyPressFilter.h"

namespace
{

template <typename Part>
Part *partOfCurrentRow(const QAbstractItemView *view, Part *(CustomCell::*part)() const)
{
    const QAbstractItemModel *model = view->model();
    const QModelIndex current = view->currentIndex();
    if (!model || !current.isValid())
        return nullptr;
    // The box and the button sit in whichever column the list gives them; the cell names them.
    for (int column = 0; column < model->columnCount(current.parent()); ++column) {
        const auto *cell
            = qobject_cast<CustomCell *>(view->indexWidget(model->index(current.row(), column, current.parent())));
        if (Part *found = cell ? (cell->*part)() : nullptr)
            return found;
    }
    return nullptr;
}

} // namespace

void CellKeys::install(QAbstractItemView *view)
{
    KeyPressFilter::install(view, [view](const QKeyEvent *event) { return press(view, event); });
}

QAbstractButton *CellKeys::buttonFor(const QAbstractItemView *view, const QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier)
        return partOfCurrentRow(view, &CustomCell::btnCheckBox);
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace)
        return partOfCurrentRow(view, &CustomCell::btnDelete);
    return nullptr;
}

bool CellKeys::press(const QAbstractItemView *view, const QKeyEvent *event)
{
    QAbstractButton *button = buttonFor(view, event);
    if (!button || !button->isEnabled())
        return false;
    button->click();
    return true;
}

void CellKeys::followPresses(QAbstractItemView *view, const QModelIndex &index, QAbstractButton *button)
{
    // The rows may move (a rule dragged up) before the press: the index goes with its row.
    const QPersistentModelIndex cell(index);
    QObject::connect(button, &QAbstractButton::pressed, view, [view, cell] {
        if (cell.isValid())
            view->setCurrentIndex(cell);
    });
}
