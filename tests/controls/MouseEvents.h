// Mouse and hover events delivered straight to a widget, as a window system would send them.
#pragma once

#include <QApplication>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QWidget>

namespace MouseEvents
{

inline void send(QWidget *widget, QEvent::Type type, const QPointF &pos, Qt::MouseButton button)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::NoButton;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

inline void press(QWidget *widget, const QPointF &pos, Qt::MouseButton button = Qt::LeftButton)
{
    send(widget, QEvent::MouseButtonPress, pos, button);
}

inline void release(QWidget *widget, const QPointF &pos, Qt::MouseButton button = Qt::LeftButton)
{
    send(widget, QEvent::MouseButtonRelease, pos, button);
}

// A right click: the press, then the context menu request that follows it on this platform.
inline void rightClick(QWidget *widget, const QPoint &pos)
{
    press(widget, pos, Qt::RightButton);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, pos, widget->mapToGlobal(pos));
    QApplication::sendEvent(widget, &menu);
    release(widget, pos, Qt::RightButton);
}

inline void enter(QWidget *widget)
{
    QEnterEvent event(QPointF(1, 1), QPointF(1, 1), widget->mapToGlobal(QPointF(1, 1)));
    QApplication::sendEvent(widget, &event);
}

inline void leave(QWidget *widget)
{
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(widget, &event);
}

} // namespace MouseEvents
