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
    const QByteArray saved = UserDefaults::standard().objectForKey(m_key).toByteArray();
    if (!m_window || saved.isEmpty() || !m_window->restoreGeometry(saved))
        return false;
    FrameGeometry::keepOnScreen(m_window);
    return true;
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
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize)
            m_saveTimer.start();
        else if (event->type() == QEvent::Hide)
            save();
    }
    return QObject::eventFilter(watched, event);
}
