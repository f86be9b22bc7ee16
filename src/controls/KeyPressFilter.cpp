#include "controls/KeyPressFilter.h"

#include <QKeyEvent>
#include <QWidget>

KeyPressFilter::KeyPressFilter(QWidget *widget, Press press)
    : QObject(widget)
    , m_press(std::move(press))
{
}

KeyPressFilter *KeyPressFilter::install(QWidget *widget, Press press)
{
    auto *filter = new KeyPressFilter(widget, std::move(press));
    widget->installEventFilter(filter);
    return filter;
}

bool KeyPressFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress)
        return m_press(static_cast<QKeyEvent *>(event));
    return QObject::eventFilter(watched, event);
}
