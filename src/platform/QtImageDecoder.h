// QImageReader behind one door: the header of a JPEG, PNG, TIFF, WebP, GIF or BMP file (or of an
// in-memory JPEG preview) and a decode scaled to a thumbnail size. JPEG is scaled inside the
// decoder (DCT scaling), so even huge panoramas never allocate their full size.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

class QIODevice;
class QImageReader;

class QtImageDecoder
{
public:
    struct Header {
        QSize size; // as stored, before any EXIF orientation
        QByteArray format; // "jpeg", "png", "tiff", ...
        bool isGrey = false;
        bool isValid() const { return !size.isEmpty(); }
    };

    // Paths that are not regular files (fifos, devices) are refused without waiting.
    static Header readHeader(const QString &path);
    static Header readHeader(const QByteArray &data);
    // Decoded picture, as stored (no orientation applied), longer side at most `maxPixelSize`.
    // Reads `readPath` when given; log lines name `path`.
    static QImage decodeScaled(const QString &path, int maxPixelSize, const QString &readPath = QString());
    // An in-memory picture, charged together with the `heldBytes` its caller holds for it (the
    // bytes it is read from); log lines name `name`.
    static QImage decodeScaled(
        const QByteArray &data, int maxPixelSize, const QString &name, qint64 heldBytes);

private:
    static Header readHeader(QIODevice *device);
    static QImage decodeScaled(
        QIODevice *device, const QString &name, int maxPixelSize, qint64 heldBytes = 0);
    static QImage decodeLargeGrey(
        QImageReader &reader, const QString &name, int maxPixelSize, qint64 heldBytes);
};
