#include "platform/ImageDensity.h"

#include <QFile>
#include <QtEndian>

#include "platform/RegularFile.h"

namespace
{

constexpr double kInchesPerMetre = 0.0254;
constexpr double kCentimetresPerInch = 2.54;
// The JFIF header follows the start of the image, at most after a few other segments.
constexpr int kJpegSegmentsLooked = 16;
// A PNG file declares its density before the image data; the chunks before it are few.
constexpr int kPngChunksLooked = 64;

std::optional<QByteArray> readExactly(QIODevice &file, qint64 size)
{
    QByteArray bytes = file.read(size);
    if (bytes.size() != size)
        return std::nullopt;
    return bytes;
}

quint16 be16(const QByteArray &bytes, int at)
{
    return qFromBigEndian<quint16>(bytes.constData() + at);
}

quint32 be32(const QByteArray &bytes, int at)
{
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

std::optional<QSizeF> positive(double x, double y)
{
    if (x <= 0 || y <= 0)
        return std::nullopt;
    return QSizeF(x, y);
}

} // namespace

std::optional<QSizeF> ImageDensity::read(const QString &path)
{
    QFile file;
    if (!RegularFile::openQFile(file, path))
        return std::nullopt;
    return read(file);
}

std::optional<QSizeF> ImageDensity::read(QIODevice &file)
{
    const QByteArray start = file.peek(8);
    if (start.startsWith("\xFF\xD8"))
        return file.skip(2) == 2 ? fromJfif(file) : std::nullopt;
    if (start == QByteArray("\x89PNG\r\n\x1A\n", 8))
        return file.skip(8) == 8 ? fromPng(file) : std::nullopt;
    return std::nullopt;
}

// APP0 "JFIF\0", version (2), units (1: per inch, 2: per centimetre, 0: aspect only), X density (2),
// Y density (2).
std::optional<QSizeF> ImageDensity::fromJfif(QIODevice &file)
{
    for (int i = 0; i < kJpegSegmentsLooked; ++i) {
        const auto header = readExactly(file, 4);
        if (!header || quint8(header->at(0)) != 0xFF)
            return std::nullopt;
        const quint8 marker = quint8(header->at(1));
        const quint16 length = be16(*header, 2);
        // Start of scan: the header segments are over.
        if (marker == 0xDA || length < 2)
            return std::nullopt;
        const auto body = readExactly(file, length - 2);
        if (!body)
            return std::nullopt;
        if (marker != 0xE0 || body->size() < 12 || !body->startsWith(QByteArray("JFIF\0", 5)))
            continue;
        const quint8 units = quint8(body->at(7));
        const double perInch = units == 1 ? 1.0 : units == 2 ? kCentimetresPerInch : 0.0;
        return positive(be16(*body, 8) * perInch, be16(*body, 10) * perInch);
    }
    return std::nullopt;
}

// pHYs: pixels per unit X (4), Y (4), unit (1: metre, 0: aspect only).
std::optional<QSizeF> ImageDensity::fromPng(QIODevice &file)
{
    for (int i = 0; i < kPngChunksLooked; ++i) {
        const auto header = readExactly(file, 8);
        if (!header)
            return std::nullopt;
        const quint32 length = be32(*header, 0);
        const QByteArray type = header->mid(4, 4);
        if (type == "IDAT" || type == "IEND")
            return std::nullopt;
        if (type != "pHYs") {
            // The chunk's data and its check sum.
            if (file.skip(qint64(length) + 4) != qint64(length) + 4)
                return std::nullopt;
            continue;
        }
        const auto body = readExactly(file, 9);
        if (!body || length != 9 || quint8(body->at(8)) != 1)
            return std::nullopt;
        return positive(be32(*body, 0) * kInchesPerMetre, be32(*body, 4) * kInchesPerMetre);
    }
    return std::nullopt;
}
