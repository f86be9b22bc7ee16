#include "platform/ui/WindowFrameAutosave.h"

#include <QEvent>
#include <QWidget>

#include "platform/UserDefaults.h"
#include "platform/ui/FrameGeometry.h"

namespace
{
// Dragging a window edge sends a resize per step; the frame is written once the user pauses.
constexpr int kSaveDelayMs = 400;
} // namespace

WindowFrameAutosave::WindowFrameAutosave(QWidget *window, const QString &key)
    : QObject(window)
    , m_window(window)
    , m_key(key)
{
    m_saveTimer.setSingleShot(true);
    m_saveTimer.setInterval(kSaveDelayMs);
    connect(&m_saveTimer, &QTimer::timeout, this, &WindowFrameAutosave::save);
    window->installEventFilter(this);
}

bool WindowFrameAutosave::restore()
{
    if (!m_window)
        return false;
    // Before the window manager has framed the window its title bar and edges are unknown, so the
    // frame is fitted again once they are.
    m_fitWhenFramed = !isFramed();
    const QByteArray saved = UserDefaults::standard().objectForKey(m_key).toByteArray();
    if (saved.isEmpty() || !m_window->restoreGeometry(saved))
        return false;
    FrameGeometry::keepOnScreen(m_window);
    return true;
}

bool WindowFrameAutosave::isFramed() const
{
    return m_window->isVisible() && m_window->frameGeometry() != m_window->geometry();
}

void WindowFrameAutosave::save()
{
    m_saveTimer.stop();
    if (m_window)
        UserDefaults::standard().setObject(m_key, m_window->saveGeometry());
}

bool WindowFrameAutosave::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        // The frame is known by the first paint, or by the move the window manager makes.
        if (m_fitWhenFramed && isFramed()) {
            m_fitWhenFramed = false;
            // Once this event is handled, not in the middle of a paint.
            QMetaObject::invokeMethod(
                this, [this] { FrameGeometry::keepOnScreen(m_window); }, Qt::QueuedConnection);
        }
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
            m_saveTimer.start();
        else if (event->type() == QEvent::Hide)
            save();
    }
    return QObject::eventFilter(watched, event);
}
