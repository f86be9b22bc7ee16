// Sizes and turns shared by the decoders of ImageSource.
#include "platform/ImageSourceGeometry.h"

#include <algorithm>
#include <cmath>

#include <QTransform>

#include "platform/AreaAverage.h"

namespace
{
constexpr double kAspectTolerance = 0.01;
}

QSize ImageSourceGeometry::fittedSize(const QSize &size, int maxPixelSize)
{
    if (size.isEmpty() || maxPixelSize <= 0)
        return {};
    const int longSide = std::max(size.width(), size.height());
    if (longSide <= maxPixelSize)
        return size;
    const double scale = double(maxPixelSize) / double(longSide);
    const int width = std::max(1, int(std::lround(size.width() * scale)));
    const int height = std::max(1, int(std::lround(size.height() * scale)));
    return { std::min(width, maxPixelSize), std::min(height, maxPixelSize) };
}

bool ImageSourceGeometry::aspectAgrees(const QSize &thumbnail, const QSize &image)
{
    if (thumbnail.isEmpty() || image.isEmpty())
        return false;
    const double thumbnailAspect = double(thumbnail.width()) / double(thumbnail.height());
    const double imageAspect = double(image.width()) / double(image.height());
    return std::fabs(thumbnailAspect / imageAspect - 1.0) <= kAspectTolerance;
}

bool ImageSourceGeometry::isUsableEmbedded(const QSize &thumbnail, const QSize &image, int maxPixelSize)
{
    return std::max(thumbnail.width(), thumbnail.height()) >= maxPixelSize && aspectAgrees(thumbnail, image);
}

QImage ImageSourceGeometry::scaledToFit(const QImage &image, int maxPixelSize)
{
    if (image.isNull())
        return {};
    const QSize target = fittedSize(image.size(), maxPixelSize);
    if (target.isEmpty() || target == image.size())
        return image;
    return AreaAverage::reduced(image, target);
}

QImage ImageSourceGeometry::applyOrientation(const QImage &image, int orientation)
{
    if (image.isNull() || orientation <= 1 || orientation > 8)
        return image;
    QTransform turn;
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        turn.rotate(180);
        break;
    case 4:
        return image.mirrored(false, true);
    case 5: // mirrored along the main diagonal
        turn.rotate(90);
        return image.transformed(turn).mirrored(true, false);
    case 6:
        turn.rotate(90);
        break;
    case 7: // mirrored along the other diagonal
        turn.rotate(-90);
        return image.transformed(turn).mirrored(true, false);
    case 8:
        turn.rotate(-90);
        break;
    }
    return image.transformed(turn);
}

QSize ImageSourceGeometry::orientedSize(const QSize &size, int orientation)
{
    return orientation >= 5 && orientation <= 8 ? size.transposed() : size;
}
