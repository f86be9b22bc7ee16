#include "platform/ui/WindowFocus.h"

#include <QApplication>
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
        // A modal window opened over it since (an alert over a sheet) has the keys now.
        const QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal != window)
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
