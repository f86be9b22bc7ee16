#include "controls/CellKeys.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QKeyEvent>

#include "controls/CustomCell.h"

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
    if (!view->model() || !view->currentIndex().isValid())
        return nullptr;
    const auto *cell
        = qobject_cast<CustomCell *>(view->indexWidget(view->model()->index(view->currentIndex().row(), 0)));
    if (!cell)
        return nullptr;
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier)
        return cell->btnCheckBox();
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace)
        return cell->btnDelete();
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
