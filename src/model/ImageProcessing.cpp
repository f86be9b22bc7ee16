// Thumbnails, grey copies, turned and mirrored copies, and the fixed-size preview.
#include "model/ImageProcessing.h"

#include <cmath>

#include <QPainter>
#include <QTransform>

#include "model/ThumbnailResampler.h"
#include "platform/ImageSource.h"
#include "platform/ImageSourceGeometry.h"

namespace
{

// How many times the canvas size the preview picture is decoded at, so it stays sharp on
// high-density screens.
constexpr int kPreviewDetail = 2;

// How many times the fingerprint side the picture is decoded at before it is reduced with a proper
// low-pass filter. Decoding straight to the side leaves the decoder's own quick reduction in
// charge, and its noise is what tells a resized, re-encoded or turned copy apart from its photo.
constexpr int kThumbnailDetail = 4;

// Angle as a whole number of quarter turns, when it is one.
std::optional<int> quarterTurns(double degree)
{
    const double turns = degree / 90.0;
    if (std::fabs(turns - std::round(turns)) > 1e-9)
        return std::nullopt;
    return int(std::lround(turns));
}

} // namespace

ImageProcessing::LabelledImage ImageProcessing::resizeImageWithFilePath(const QString &filePath, int size)
{
    if (size <= 0)
        return {};
    const ImageSource source(filePath);
    return resizeImage(source, size);
}

ImageProcessing::LabelledImage ImageProcessing::resizeImage(const ImageSource &source, int size)
{
    if (size <= 0)
        return {};
    ImageSource::ThumbnailOptions options;
    options.maxPixelSize = size;
    options.detailPixelSize = size * kThumbnailDetail;
    const QImage detailed = source.thumbnail(options);
    if (detailed.isNull())
        return {};
    const QSize fitted = ImageSourceGeometry::fittedSize(detailed.size(), size);
    QImage thumbnail = fitted == detailed.size() ? detailed : ThumbnailResampler::resampled(detailed, fitted);
    if (thumbnail.isNull())
        return {};
    return { std::move(thumbnail), QSize(size, size) };
}

QImage ImageProcessing::convertOriginalImageToBWImageWithOriginalImage(const LabelledImage &image)
{
    if (image.isNull())
        return {};
    // Stretched with the same symmetric filter as the reduction, so a turned or mirrored copy is
    // stretched along the other axis or the other way and still gives the same pixels.
    return ThumbnailResampler::resampled(image.image, image.size).convertToFormat(QImage::Format_Grayscale8);
}

QImage ImageProcessing::convertOriginalImageToBWImageWithOriginalImage(const QImage &image)
{
    return convertOriginalImageToBWImageWithOriginalImage(LabelledImage { image, image.size() });
}

QImage ImageProcessing::getOrientatedImage(const QImage &image, double degree)
{
    if (image.isNull())
        return {};
    // Qt's y axis points down, so a counter-clockwise turn is a negative Qt angle.
    const auto turns = quarterTurns(degree);
    if (turns && image.width() == image.height()) {
        // Whole quarter turns of a square move pixels exactly; fingerprints depend on that.
        return image.transformed(QTransform().rotate(-90.0 * *turns));
    }
    QImage canvas(image.size(), QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.translate(image.width() / 2.0, image.height() / 2.0);
        painter.rotate(-degree);
        painter.translate(-image.width() / 2.0, -image.height() / 2.0);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QPoint(0, 0), image);
    }
    return canvas.convertToFormat(image.format());
}

QImage ImageProcessing::getOrientatedFlipImage(const QImage &image, double /*degree*/)
{
    if (image.isNull())
        return {};
    return image.mirrored(true, false);
}

QImage ImageProcessing::getImageFromFile(const QString &filePath, float minWidth, float minHeight)
{
    const QSize canvasSize(static_cast<int>(minWidth), static_cast<int>(minHeight));
    if (canvasSize.isEmpty())
        return {};
    const ImageSource source(filePath);
    const QSize upright = ImageSourceGeometry::orientedSize(source.pixelSize(), source.orientation());
    if (upright.isEmpty())
        return {};
    const QImage picture
        = source.thumbnail(std::max(canvasSize.width(), canvasSize.height()) * kPreviewDetail);
    if (picture.isNull())
        return {};
    QImage canvas(canvasSize, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(previewRect(QSizeF(upright), QSizeF(canvasSize)), picture);
    return canvas;
}

QImage ImageProcessing::getImageThumbnailFromFilePath(
    const QString &filePath, float minWidth, float minHeight)
{
    return getImageFromFile(filePath, minWidth, minHeight);
}

QRectF ImageProcessing::previewRect(const QSizeF &imageSize, const QSizeF &canvas)
{
    if (imageSize.isEmpty() || canvas.isEmpty())
        return {};
    // Single precision, as the placement has always been computed.
    const float width = float(imageSize.width());
    const float height = float(imageSize.height());
    const float canvasWidth = float(canvas.width());
    const float canvasHeight = float(canvas.height());
    float drawnWidth = canvasWidth;
    float drawnHeight = canvasHeight;
    if (width > height)
        drawnHeight = height * canvasWidth / width;
    else
        drawnWidth = width * canvasHeight / height;
    // Centred horizontally and touching the top edge; a nearly square landscape picture overhangs
    // the bottom edge.
    return QRectF((canvasWidth - drawnWidth) / 2.0f, 0.0, drawnWidth, drawnHeight);
}
