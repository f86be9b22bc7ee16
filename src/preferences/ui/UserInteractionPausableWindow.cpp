#include "preferences/ui/UserInteractionPausableWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSet>

namespace
{

// Input the user makes on purpose. Plain pointer moves, hover, enter and leave, modifier changes
// and tablet proximity stay, so the window keeps tracking the pointer while paused.
const QSet<QEvent::Type> &userInteractionEventTypes()
{
    static const QSet<QEvent::Type> types = {
        QEvent::MouseButtonPress,
        QEvent::MouseButtonRelease,
        QEvent::MouseButtonDblClick,
        QEvent::ContextMenu,
        QEvent::KeyPress,
        QEvent::KeyRelease,
        QEvent::ShortcutOverride,
        QEvent::Shortcut,
        QEvent::Wheel,
        QEvent::TabletPress,
        QEvent::TabletMove,
        QEvent::TabletRelease,
        QEvent::Gesture,
        QEvent::GestureOverride,
        QEvent::NativeGesture,
        QEvent::TouchBegin,
        QEvent::TouchUpdate,
        QEvent::TouchEnd,
        QEvent::TouchCancel,
    };
    return types;
}

} // namespace

UserInteractionPausableWindow::UserInteractionPausableWindow(QWidget *parent)
    : QMainWindow(
        parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("preferencesWindow"));
}

UserInteractionPausableWindow::~UserInteractionPausableWindow()
{
    if (!m_userInteractionEnabled && qApp)
        qApp->removeEventFilter(this);
}

void UserInteractionPausableWindow::setUserInteractionEnabled(bool enabled)
{
    if (enabled == m_userInteractionEnabled)
        return;
    m_userInteractionEnabled = enabled;
    // Input goes straight to the child widget under the pointer or in focus, so only an
    // application-wide filter sees all of it; it is installed only while input is paused.
    if (enabled)
        qApp->removeEventFilter(this);
    else
        qApp->installEventFilter(this);
}

bool UserInteractionPausableWindow::isUserInteractionEvent(const QEvent *event)
{
    if (event->type() == QEvent::MouseMove)
        return static_cast<const QMouseEvent *>(event)->buttons() != Qt::NoButton;
    return userInteractionEventTypes().contains(event->type());
}

bool UserInteractionPausableWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_userInteractionEnabled && watched->isWidgetType() && isUserInteractionEvent(event)
        && static_cast<QWidget *>(watched)->window() == this)
        return true;
    return QMainWindow::eventFilter(watched, event);
}

void UserInteractionPausableWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void UserInteractionPausableWindow::setTitle(const QString &title)
{
    m_title = title;
    applyTitle();
}

void UserInteractionPausableWindow::setTitleVisible(bool visible)
{
    m_titleVisible = visible;
    applyTitle();
}

void UserInteractionPausableWindow::applyTitle()
{
    setWindowTitle(m_titleVisible ? m_title : QString());
}
