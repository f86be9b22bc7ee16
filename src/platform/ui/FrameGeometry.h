// Conversion between bottom-left-origin frames (y grows upwards, as the layout values of the windows
// are given) and Qt's top-left-origin widget geometry. Every window converts through here, never by hand.
#pragma once

#include <QRect>
#include <QRectF>

class QScreen;
class QWidget;

class FrameGeometry
{
public:
    // A frame measured from the bottom edge of a container `parentHeight` high, as Qt geometry.
    // Edges are rounded, not the size, so frames that touch stay touching after rounding.
    static QRect toTopLeft(const QRectF &frame, double parentHeight);
    // The inverse of toTopLeft().
    static QRectF toBottomLeft(const QRect &geometry, double parentHeight);

    // Places `widget` at the bottom-left frame (x, y, w, h) inside a container `parentHeight` high.
    static void setFrameFromBottomLeft(
        QWidget *widget, double parentHeight, double x, double y, double w, double h);
    // The same with the height of the widget's parent (the screen's available height for a window).
    static void setFrameFromBottomLeft(QWidget *widget, const QRectF &frame);
    // The widget's frame measured from the bottom edge of its parent (or of its screen for a window).
    static QRectF frameInBottomLeft(const QWidget *widget);

    // Moves the top-level `window` so that it is centred over the top-level window of `over`
    // (over its screen when `over` is null), `downwards` pixels lower than the exact centre.
    static void centerOver(QWidget *window, const QWidget *over, int downwards = 0);

    // `frame` moved (and shrunk where it is larger) to lie inside `available`.
    static QRect fitInside(const QRect &frame, const QRect &available);
    // Moves and shrinks the top-level `window`, title bar and edges included, into `available`;
    // below its minimum size only where that does not fit.
    static void fitWindow(QWidget *window, const QRect &available);
    // fitWindow() on the available area of the screen the window stands on (the primary screen
    // when it stands on none): a frame saved on a larger screen comes back whole.
    static void keepOnScreen(QWidget *window);

    // Room a sheet sized to its texts leaves between itself and the screen's edges.
    static constexpr int kScreenMargin = 24;
    // The width a sheet on `screen` may take at the most.
    static int widestSheet(const QScreen &screen);
    // Sizes the top-level `sheet` to its layout: at least `leastWidth` wide and as tall as its
    // texts need at that width, yet within `screen` less kScreenMargin on each side.
    static void fitToTexts(QWidget *sheet, const QScreen *screen, int leastWidth);

private:
    static double containerHeight(const QWidget *widget);
};
