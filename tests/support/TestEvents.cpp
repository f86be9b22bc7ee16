#include "support/TestEvents.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTimer>

bool TestEvents::waitFor(const std::function<bool()> &done, int ms)
{
    const QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QEventLoop loop;
        QTimer::singleShot(5, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}
