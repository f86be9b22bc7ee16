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

bool isBehind(const QWidget *window, const QWidget *active)
{
    for (const QWidget *parent = window->parentWidget(); parent; parent = parent->window()->parentWidget()) {
        if (parent->window() == active)
            return true;
    }
    return false;
}

// While `before` (which had the keys when they were asked for), a window behind, or none of ours
// has the keys, the window manager has not given them yet; another of our windows has them
// because the user chose it.
void retry(QPointer<QWidget> window, QPointer<QWidget> before, int left)
{
    QTimer::singleShot(WindowFocus::kTryIntervalMs, [window, before, left] {
        if (!window || !window->isVisible() || window->isActiveWindow() || left <= 0)
            return;
        const QWidget *active = QApplication::activeWindow();
        if (active && active != before && !isBehind(window, active))
            return;
        // A modal window opened over it since (an alert over a sheet) has the keys now.
        const QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal != window)
            return;
        request(window);
        retry(window, before, left - 1);
    });
}

} // namespace

void WindowFocus::take(QWidget *window)
{
    if (!window)
        return;
    const QPointer<QWidget> before = QApplication::activeWindow();
    request(window);
    retry(window, before, kTries);
}
