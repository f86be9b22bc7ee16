// Delivers work to the thread of one QObject for as long as that object lives. Callbacks that
// come back from another thread (token refreshes, sleepers) post through it; once the object is
// gone they are dropped instead of reaching a destroyed receiver.
#pragma once

#include <functional>
#include <memory>
#include <mutex>

class QObject;

class ThreadMailbox
{
public:
    explicit ThreadMailbox(QObject *receiver);
    static std::shared_ptr<ThreadMailbox> create(QObject *receiver);

    // Queued to the receiver's thread; false (and dropped) once the receiver closed the mailbox.
    bool post(std::function<void()> job);
    // Called by the receiver before it is destroyed.
    void close();

private:
    std::mutex m_mutex;
    QObject *m_receiver;
};
