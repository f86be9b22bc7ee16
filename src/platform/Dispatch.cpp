#include "platform/Dispatch.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <QThreadPool>
#include <QTimer>

namespace {

QObject *mainContext()
{
    return QCoreApplication::instance();
}

} // namespace

void Dispatch::main(std::function<void()> job)
{
    QObject *context = mainContext();
    if (!context)
        return;
    QMetaObject::invokeMethod(context, std::move(job), Qt::QueuedConnection);
}

void Dispatch::mainAfter(double seconds, std::function<void()> job)
{
    QObject *context = mainContext();
    if (!context)
        return;
    const int ms = seconds <= 0 ? 0 : int(seconds * 1000.0 + 0.5);
    QMetaObject::invokeMethod(
        context, [ms, job = std::move(job)]() { QTimer::singleShot(ms, mainContext(), job); },
        Qt::QueuedConnection);
}

void Dispatch::global(std::function<void()> job)
{
    QThreadPool::globalInstance()->start(std::move(job));
}

bool Dispatch::isMainThread()
{
    QObject *context = mainContext();
    return context && QThread::currentThread() == context->thread();
}

void Dispatch::mainSync(const std::function<void()> &job)
{
    if (isMainThread() || !mainContext()) {
        job();
        return;
    }
    QMetaObject::invokeMethod(mainContext(), job, Qt::BlockingQueuedConnection);
}
