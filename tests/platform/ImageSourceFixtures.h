// Fixture pictures made at test time: marked images (so orientation can be checked), files in every
// Qt format, EXIF written with Exiv2, and embedded thumbnails. Header-only, so the model tests can
// use the same fixtures.
#pragma once

#include <functional>

#include <gtest/gtest.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <exiv2/exiv2.hpp>
#pragma GCC diagnostic pop

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QTemporaryDir>
#include <QTransform>

#include "platform/ImageSource.h"

namespace ImageSourceFixtures
{

// A test with the image libraries ready and a temporary folder for the files it makes.
class ImageFileTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { ImageSource::initializeLibraries(); }
    QString path(const QString &name) const { return dir.filePath(name); }
    QTemporaryDir dir;
};

// An upright picture: blue, with a red block in the top-left corner (a quarter of each side).
inline QImage markedImage(const QSize &size, const QColor &base = Qt::blue, const QColor &mark = Qt::red)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(base);
    QPainter painter(&image);
    painter.fillRect(QRect(0, 0, size.width() / 4, size.height() / 4), mark);
    return image;
}

// The picture as a camera stores it when it records EXIF orientation `orientation` for it: turning
// the stored picture by the orientation gives `upright` again.
inline QImage storedFor(const QImage &upright, int orientation)
{
    switch (orientation) {
    case 3:
        return upright.transformed(QTransform().rotate(180));
    case 6: // shown turned a quarter clockwise, so stored a quarter anticlockwise
        return upright.transformed(QTransform().rotate(-90));
    case 8:
        return upright.transformed(QTransform().rotate(90));
    default:
        return upright;
    }
}

inline QByteArray encoded(const QImage &image, const char *format, int quality = 90)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes;
}

// Opens the file with Exiv2, lets `fill` change its EXIF (and IPTC) data, writes it back.
inline bool editMetadata(const QString &path, const std::function<void(Exiv2::ExifData &)> &fill,
    const std::function<void(Exiv2::IptcData &)> &fillIptc = {})
{
    try {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        auto image = Exiv2::ImageFactory::open(std::string(QFile::encodeName(path).constData()));
#pragma GCC diagnostic pop
        image->readMetadata();
        if (fill)
            fill(image->exifData());
        if (fillIptc)
            fillIptc(image->iptcData());
        image->writeMetadata();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

inline void setEmbeddedThumbnail(Exiv2::ExifData &exif, const QImage &thumbnail)
{
    const QByteArray jpeg = encoded(thumbnail, "JPEG", 85);
    Exiv2::ExifThumb thumb(exif);
    thumb.setJpegThumbnail(reinterpret_cast<const Exiv2::byte *>(jpeg.constData()), jpeg.size());
}

// Colour at a point given in fractions of the width and height.
inline QColor colorAt(const QImage &image, double x, double y)
{
    return image.pixelColor(int(x * (image.width() - 1)), int(y * (image.height() - 1)));
}

inline bool isRed(const QColor &c)
{
    return c.red() > 160 && c.green() < 90 && c.blue() < 90;
}
inline bool isBlue(const QColor &c)
{
    return c.blue() > 160 && c.red() < 90 && c.green() < 90;
}
inline bool isGreen(const QColor &c)
{
    return c.green() > 160 && c.red() < 90 && c.blue() < 90;
}

// True when the mark sits in the top-left corner and nowhere else: the picture is upright.
inline bool isUprightMarked(const QImage &image)
{
    return isRed(colorAt(image, 0.05, 0.05)) && isBlue(colorAt(image, 0.95, 0.05))
        && isBlue(colorAt(image, 0.05, 0.95)) && isBlue(colorAt(image, 0.95, 0.95));
}

} // namespace ImageSourceFixtures
