// Sizes and turns shared by every decoder of ImageSource: how large a thumbnail is, whether an
// embedded thumbnail still shows the whole picture, and how an EXIF orientation is applied.
#pragma once

#include <QImage>
#include <QSize>

class ImageSourceGeometry
{
public:
    // `size` scaled so that its longer side is at most `maxPixelSize`; never enlarged, never below
    // one pixel on a side. Empty for an empty size or a non-positive maximum.
    static QSize fittedSize(const QSize &size, int maxPixelSize);
    // True when the two sizes have aspect ratios within 1 % of each other. An editor that crops or
    // turns a picture may leave the old embedded thumbnail behind; it must not stand for the image.
    static bool aspectAgrees(const QSize &thumbnail, const QSize &image);
    // True when an embedded thumbnail of `thumbnail` may stand for an image of `image` at the size
    // asked for: long side at least `maxPixelSize` and the same aspect.
    static bool isUsableEmbedded(const QSize &thumbnail, const QSize &image, int maxPixelSize);
    // The image reduced by area averaging to fit `maxPixelSize`; returned as it is when it fits.
    static QImage scaledToFit(const QImage &image, int maxPixelSize);
    // The stored picture turned upright for EXIF orientation 1..8; other values leave it as it is.
    static QImage applyOrientation(const QImage &image, int orientation);
    // The size after applying `orientation` (5 to 8 swap width and height).
    static QSize orientedSize(const QSize &size, int orientation);
};
