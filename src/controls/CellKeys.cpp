#include "controls/CellKeys.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QKeyEvent>

#include "controls/CustomCell.h"

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

CellKeys::CellKeys(QAbstractItemView *view)
    : QObject(view)
{
}

CellKeys *CellKeys::install(QAbstractItemView *view)
{
    auto *keys = new CellKeys(view);
    view->installEventFilter(keys);
    return keys;
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

bool CellKeys::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress)
        return press(static_cast<QAbstractItemView *>(watched), static_cast<QKeyEvent *>(event));
    return QObject::eventFilter(watched, event);
}
