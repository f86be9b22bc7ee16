#include "controls/RowKeys.h"

#include <algorithm>
#include <map>

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QScrollBar>

#include "controls/KeyPressFilter.h"

namespace
{

bool scroll(QAbstractItemView *view, int key)
{
    static const std::map<int, QAbstractSlider::SliderAction> actions {
        { Qt::Key_Up, QAbstractSlider::SliderSingleStepSub },
        { Qt::Key_Down, QAbstractSlider::SliderSingleStepAdd },
        { Qt::Key_PageUp, QAbstractSlider::SliderPageStepSub },
        { Qt::Key_PageDown, QAbstractSlider::SliderPageStepAdd },
        { Qt::Key_Home, QAbstractSlider::SliderToMinimum }, { Qt::Key_End, QAbstractSlider::SliderToMaximum } };
    const auto action = actions.find(key);
    if (action == actions.end())
        return false;
    view->verticalScrollBar()->triggerAction(action->second);
    return true;
}

bool goToEndRow(QAbstractItemView *view, int key)
{
    const QAbstractItemModel *model = view->model();
    if ((key != Qt::Key_Home && key != Qt::Key_End) || !model || model->rowCount() == 0)
        return false;
    const int row = key == Qt::Key_Home ? 0 : model->rowCount() - 1;
    view->setCurrentIndex(model->index(row, std::max(0, view->currentIndex().column())));
    return true;
}

} // namespace

void RowKeys::install(QAbstractItemView *view)
{
    KeyPressFilter::install(view, [view](const QKeyEvent *event) { return press(view, event); });
}

bool RowKeys::press(QAbstractItemView *view, const QKeyEvent *event)
{
    if (event->modifiers() & ~Qt::KeypadModifier)
        return false;
    if (view->selectionMode() == QAbstractItemView::NoSelection)
        return scroll(view, event->key());
    return goToEndRow(view, event->key());
}
