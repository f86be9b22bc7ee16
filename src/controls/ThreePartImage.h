// Draws a face from three images: a start cap, a middle stretched between the caps and an end cap,
// left to right or top to bottom. The caps keep their aspect ratio at the frame's thickness.
#pragma once

#include <QRectF>

#include "platform/ui/BundleImage.h"

class QPainter;

class ThreePartImage
{
public:
    enum class Orientation { Horizontal, Vertical };

    // Any part may be null: its place stays empty. `alpha` multiplies the painter's opacity.
    static void draw(QPainter &painter, const QRectF &frame, const BundleImage &start,
        const BundleImage &middle, const BundleImage &end, Orientation orientation, qreal alpha = 1.0);

    // The extent of a cap along the run of the frame: its natural length scaled to the thickness.
    static qreal capLength(const BundleImage &cap, qreal thickness, Orientation orientation);
};
