#include "platform/NotificationCenter.h"

#include <algorithm>

NotificationCenter &NotificationCenter::defaultCenter()
{
    static NotificationCenter center;
    return center;
}

int NotificationCenter::addObserver(const void *owner, const QString &name, Handler handler)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    const int token = m_nextToken++;
    m_entries.push_back({token, owner, name, std::move(handler)});
    return token;
}

void NotificationCenter::removeObserver(int token)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::erase_if(m_entries, [token](const Entry &e) { return e.token == token; });
}

void NotificationCenter::removeObserver(const void *owner)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::erase_if(m_entries, [owner](const Entry &e) { return e.owner == owner; });
}

void NotificationCenter::post(const QString &name, const QVariantMap &userInfo)
{
    std::vector<Handler> handlers;
    {
        // Handlers run outside the lock, so one may add or remove observers.
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const Entry &e : m_entries) {
            if (e.name == name)
                handlers.push_back(e.handler);
        }
    }
    const Notification note{name, userInfo};
    for (const Handler &h : handlers)
        h(note);
}
