#include "platform/ui/WindowFocus.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace
{

void request(QWidget *window)
{
    window->raise();
    window->activateWindow();
}

void retry(QPointer<QWidget> window, int left)
{
    QTimer::singleShot(WindowFocus::kTryIntervalMs, [window, left] {
        if (!window || !window->isVisible() || window->isActiveWindow() || left <= 0)
            return;
        request(window);
        retry(window, left - 1);
    });
}

} // namespace

void WindowFocus::take(QWidget *window)
{
    if (!window)
        return;
    request(window);
    retry(window, kTries);
}
