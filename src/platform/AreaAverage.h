// Reduction of a decoded picture by exact area averaging: every output pixel is the mean of the
// part of the picture it covers, fractional edges weighed by how much of them it covers. It treats
// both axes and both directions of an axis alike, so a turned or mirrored picture reduces exactly
// to the turned or mirrored reduction. Safe on worker threads: no shared state.
#pragma once

#include <functional>

#include <QImage>
#include <QSize>

class AreaAverage
{
public:
    // The picture reduced to `target` (each side at most the picture's). Premultiplied ARGB when the
    // picture has an alpha channel, else RGB32. Null when the picture is null, the target empty or
    // larger than the picture.
    static QImage reduced(const QImage &image, const QSize &target);

    // Row `y` of a picture in premultiplied ARGB, valid until the next row is asked for.
    using RowReader = std::function<const QRgb *(int y)>;

    // A picture of `size` read one row at a time, top to bottom, reduced to `target` exactly as
    // the whole picture would be, so a decoder need never hold it all.
    static QImage reduced(const QSize &size, bool alpha, const QSize &target, const RowReader &rowAt);

    // An opaque picture of `size` read one row at a time, fitted within `maxPixelSize`: reduced as
    // above, or copied whole when it fits already. RGB32.
    static QImage fittedOpaque(const QSize &size, int maxPixelSize, const RowReader &rowAt);
};
