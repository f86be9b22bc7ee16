#include "platform/ThreadMailbox.h"

#include <QMetaObject>
#include <QObject>

ThreadMailbox::ThreadMailbox(QObject *receiver)
    : m_receiver(receiver)
{
}

std::shared_ptr<ThreadMailbox> ThreadMailbox::create(QObject *receiver)
{
    return std::make_shared<ThreadMailbox>(receiver);
}

bool ThreadMailbox::post(std::function<void()> job)
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_receiver)
        return false;
    QMetaObject::invokeMethod(m_receiver, std::move(job), Qt::QueuedConnection);
    return true;
}

void ThreadMailbox::close()
{
    const std::lock_guard<std::mutex> lock(m_mutex);
    m_receiver = nullptr;
}
