// Three-part image drawing.
#include "controls/ThreePartImage.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

qreal ThreePartImage::capLength(const BundleImage &cap, qreal thickness, Orientation orientation)
{
    if (cap.isNull())
        return 0.0;
    const QSizeF natural = cap.size();
    if (orientation == Orientation::Horizontal)
        return natural.height() > 0 ? natural.width() * thickness / natural.height() : 0.0;
    return natural.width() > 0 ? natural.height() * thickness / natural.width() : 0.0;
}

void ThreePartImage::draw(QPainter &painter, const QRectF &frame, const BundleImage &start,
    const BundleImage &middle, const BundleImage &end, Orientation orientation, qreal alpha)
{
    if (frame.isEmpty())
        return;
    const bool horizontal = orientation == Orientation::Horizontal;
    const qreal thickness = horizontal ? frame.height() : frame.width();
    const qreal run = horizontal ? frame.width() : frame.height();
    // Whole-pixel caps: parts meeting at a fractional edge would both be half-covered there and
    // leave a light seam.
    qreal startLength = std::round(capLength(start, thickness, orientation));
    qreal endLength = std::round(capLength(end, thickness, orientation));
    // Caps longer than the frame share it in proportion and leave no middle.
    if (startLength + endLength > run) {
        const qreal scale = run / (startLength + endLength);
        startLength = std::floor(startLength * scale);
        endLength = std::floor(endLength * scale);
    }
    const auto part = [&](qreal offset, qreal length) {
        return horizontal ? QRectF(frame.left() + offset, frame.top(), length, thickness)
                          : QRectF(frame.left(), frame.top() + offset, thickness, length);
    };
    painter.save();
    painter.setOpacity(painter.opacity() * alpha);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    middle.draw(painter, part(startLength, std::max<qreal>(0.0, run - startLength - endLength)));
    start.draw(painter, part(0.0, startLength));
    end.draw(painter, part(run - endLength, endLength));
    painter.restore();
}
