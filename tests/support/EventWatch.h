// Hands every event of a watched object to a test, which lets it through.
#pragma once

#include <functional>

#include <QEvent>
#include <QObject>

class EventWatch : public QObject
{
public:
    EventWatch(QObject *watched, std::function<void(QEvent *)> seen)
        : m_seen(std::move(seen))
    {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        m_seen(event);
        return false;
    }

private:
    std::function<void(QEvent *)> m_seen;
};
