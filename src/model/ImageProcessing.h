// The image operations the fingerprint and the results window need: a thumbnail of a file, a grey
// copy, rotated and mirrored copies, and a preview fitted onto a fixed canvas. Safe on worker
// threads: everything here works on QImage and holds no shared state.
#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>

class ImageSource;

class ImageProcessing
{
public:
    // An image together with the size it is drawn at. The thumbnail of a file keeps its own
    // proportions in pixels but is labelled N x N, so the grey copy stretches it onto a square.
    struct LabelledImage {
        QImage image;
        QSize size;
        bool isNull() const { return image.isNull() || size.isEmpty(); }
    };

    // Thumbnail of the file: longer side at most `size` pixels, EXIF orientation applied, made from
    // the full image when there is no usable embedded one; labelled size x size. Null on failure.
    static LabelledImage resizeImageWithFilePath(const QString &filePath, int size);
    // The same from a file already opened.
    static LabelledImage resizeImage(const ImageSource &source, int size);

    // 8-bit grey copy drawn onto the labelled size (stretched). Null when the input is null.
    static QImage convertOriginalImageToBWImageWithOriginalImage(const LabelledImage &image);
    // The same for an image whose label is its pixel size.
    static QImage convertOriginalImageToBWImageWithOriginalImage(const QImage &image);

    // Copy of the same size, turned about its centre; positive degrees turn counter-clockwise, so
    // -90 is a quarter turn clockwise. Null in, null out.
    static QImage getOrientatedImage(const QImage &image, double degree);
    // Copy of the same size mirrored left to right; the angle is not used. Null in, null out.
    static QImage getOrientatedFlipImage(const QImage &image, double degree);

    // Preview of the file, upright, fitted onto a canvas of minWidth x minHeight (callers pass
    // 248 x 244): centred horizontally and touching the top edge. Null when the file has no image.
    static QImage getImageFromFile(const QString &filePath, float minWidth, float minHeight);
    static QImage getImageThumbnailFromFilePath(const QString &filePath, float minWidth, float minHeight);

    // Where a picture of `imageSize` is drawn on a canvas of `canvas`, in Qt's top-left coordinates.
    static QRectF previewRect(const QSizeF &imageSize, const QSizeF &canvas);
};
