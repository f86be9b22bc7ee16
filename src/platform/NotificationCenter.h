// In-process notifications by name with a user-info map, delivered on the posting thread.
#pragma once

#include <functional>
#include <mutex>
#include <vector>

#include <QString>
#include <QVariantMap>

struct Notification
{
    QString name;
    QVariantMap userInfo;
};

class NotificationCenter
{
public:
    using Handler = std::function<void(const Notification &)>;

    static NotificationCenter &defaultCenter();

    // Registers `handler` for `name` on behalf of `owner` (any address that identifies the
    // observer); returns a token for removeObserver(token).
    int addObserver(const void *owner, const QString &name, Handler handler);
    void removeObserver(int token);
    // Removes every registration of `owner`; observers call it before they are destroyed.
    void removeObserver(const void *owner);
    // Calls every handler registered for `name`, in registration order, on this thread.
    void post(const QString &name, const QVariantMap &userInfo = {});

private:
    struct Entry
    {
        int token;
        const void *owner;
        QString name;
        Handler handler;
    };
    std::mutex m_mutex;
    std::vector<Entry> m_entries;
    int m_nextToken = 1;
};
