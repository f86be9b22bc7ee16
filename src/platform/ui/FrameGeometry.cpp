// Bottom-left frames to top-left geometry and back.
#include "platform/ui/FrameGeometry.h"

#include <algorithm>
#include <cmath>

#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QWidget>

QRect FrameGeometry::toTopLeft(const QRectF &frame, double parentHeight)
{
    const int left = static_cast<int>(std::lround(frame.x()));
    const int right = static_cast<int>(std::lround(frame.x() + frame.width()));
    const int top = static_cast<int>(std::lround(parentHeight - (frame.y() + frame.height())));
    const int bottom = static_cast<int>(std::lround(parentHeight - frame.y()));
    return QRect(left, top, right - left, bottom - top);
}

QRectF FrameGeometry::toBottomLeft(const QRect &geometry, double parentHeight)
{
    const double y = parentHeight - (geometry.y() + geometry.height());
    return QRectF(geometry.x(), y, geometry.width(), geometry.height());
}

void FrameGeometry::setFrameFromBottomLeft(
    QWidget *widget, double parentHeight, double x, double y, double w, double h)
{
    if (!widget)
        return;
    widget->setGeometry(toTopLeft(QRectF(x, y, w, h), parentHeight));
}

void FrameGeometry::setFrameFromBottomLeft(QWidget *widget, const QRectF &frame)
{
    if (!widget)
        return;
    widget->setGeometry(toTopLeft(frame, containerHeight(widget)));
}

QRectF FrameGeometry::frameInBottomLeft(const QWidget *widget)
{
    if (!widget)
        return {};
    return toBottomLeft(widget->geometry(), containerHeight(widget));
}

void FrameGeometry::centerOver(QWidget *window, const QWidget *over, int downwards)
{
    if (!window)
        return;
    QRect area;
    if (over) {
        area = over->window()->frameGeometry();
    } else if (QScreen *screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    if (area.isEmpty())
        return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(area.center());
    window->move(frame.topLeft() + QPoint(0, downwards));
}

QRect FrameGeometry::fitInside(const QRect &frame, const QRect &available)
{
    const QSize size = frame.size().boundedTo(available.size());
    const int x = std::clamp(frame.x(), available.left(), available.left() + available.width() - size.width());
    const int y = std::clamp(frame.y(), available.top(), available.top() + available.height() - size.height());
    return QRect(QPoint(x, y), size);
}

void FrameGeometry::fitWindow(QWidget *window, const QRect &available)
{
    if (!window || available.isEmpty())
        return;
    // The window manager's frame around the client area; none is known before the first showing.
    const QRect outer = window->frameGeometry();
    const QRect inner = window->geometry();
    const QMargins decoration(inner.left() - outer.left(), inner.top() - outer.top(),
        outer.right() - inner.right(), outer.bottom() - inner.bottom());
    const QRect fitted = fitInside(outer, available);
    const QSize room = fitted.marginsRemoved(decoration).size();
    // A minimum size the screen has no room for gives way: the window is then as large as it may be.
    window->setMinimumSize(window->minimumSize().boundedTo(room));
    // Before the window manager has framed it, the window's frame is its client area: moving the
    // frame there would put the client area lower by the title bar at every start.
    if (outer == inner) {
        window->setGeometry(QRect(fitted.topLeft(), room));
        return;
    }
    window->resize(room);
    // A window's position is that of its frame.
    window->move(fitted.topLeft());
}

void FrameGeometry::keepOnScreen(QWidget *window)
{
    if (!window)
        return;
    QScreen *screen = QGuiApplication::screenAt(window->geometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        fitWindow(window, screen->availableGeometry());
}

double FrameGeometry::containerHeight(const QWidget *widget)
{
    if (!widget->isWindow() && widget->parentWidget())
        return widget->parentWidget()->height();
    const QScreen *screen = widget->screen() ? widget->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry().height() : 0.0;
}

int FrameGeometry::widestSheet(const QScreen &screen)
{
    return screen.availableGeometry().width() - 2 * kScreenMargin;
}

void FrameGeometry::fitToTexts(QWidget *sheet, const QScreen *screen, int leastWidth)
{
    QLayout *column = sheet ? sheet->layout() : nullptr;
    if (!column || !screen)
        return;
    // A label's new text reaches the layouts above it only by posted events, and not at all while
    // the sheet has never been shown: each layout and size hint inside the sheet is measured anew,
    // or the sheet keeps the height of the texts it showed before.
    for (QWidget *child : sheet->findChildren<QWidget *>())
        child->updateGeometry();
    for (QLayout *layout : sheet->findChildren<QLayout *>())
        layout->invalidate();
    column->activate();
    const int width = std::min(std::max(leastWidth, column->totalMinimumSize().width()), widestSheet(*screen));
    const int height
        = column->hasHeightForWidth() ? column->totalHeightForWidth(width) : column->totalSizeHint().height();
    sheet->resize(width, std::min(height, screen->availableGeometry().height() - 2 * kScreenMargin));
}
